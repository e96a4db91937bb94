// render: draws a run of one system off screen, through the same tick as the
// simulation window, and writes the last frame shown as an 800×600 PNG, or the
// whole screen of a given size as the desktop shows the frame on it.
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

#include "platform/ScreenImage.h"
#include "tools/quorvane-run/Commands.h"
#include "tools/quorvane-run/QtApplication.h"
#include "tools/quorvane-run/RunSetup.h"
#include "tools/quorvane-run/SurfaceImage.h"

namespace {

struct RenderOptions {
    CRunOptions run;
    int ticks = 1;
    std::string out;
    int screenWidth = 0, screenHeight = 0;  // 0: the frame alone
};

// "WxH" with both sides from 1 to kQvMaxScreenSide, digits only.
bool ParseScreen(const std::string& text, int& w, int& h)
{
    const auto side = [](const std::string& digits, int& v) {
        if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        v = std::stoi(digits);
        return v >= 1 && v <= kQvMaxScreenSide;
    };
    const size_t x = text.find('x');
    return x != std::string::npos && side(text.substr(0, x), w) && side(text.substr(x + 1), h);
}

void Render(const RenderOptions& o)
{
    const auto app = QvEnsureApplication();
    auto dlg = QvOpenRun("render", o.run);
    dlg->SetUpDisplay(nullptr);
    for (int t = 0; t < o.ticks; ++t) dlg->OnTimer(101);
    QImage frame = QvImageOf(*dlg->m_pPrimarySurface).copy();
    dlg->TearDownDisplay();
    if (o.screenWidth > 0) {
        // The desktop's own painting: black bars, the frame scaled into its box.
        QImage screen(o.screenWidth, o.screenHeight, QImage::Format_RGB32), scaled;
        QPainter painter(&screen);
        QvPaintFrame(painter, screen.size(), frame, scaled);
        painter.end();
        frame = screen;
    }
    if (!frame.save(QString::fromStdString(o.out), "PNG")) QvFail("render", 1, "cannot write " + o.out);
}

}  // namespace

void RegisterRenderCommand(CLI::App& app)
{
    auto opts = std::make_shared<RenderOptions>();
    CLI::App* cmd = app.add_subcommand("render", "Draws the frame of a system after some ticks, as the simulation window shows it.");
    QvAddRunOptions(cmd, opts->run, true);
    cmd->add_option("--ticks", opts->ticks, "timer ticks to run (300 Euler steps each unless paused)")
        ->required()
        ->check(CLI::Range(1, 1000000));
    cmd->add_option("--out", opts->out, "PNG file to write (800x600, or the size of --screen)")->required();
    cmd->add_option_function<std::string>(
           "--screen",
           [opts](const std::string& text) {
               if (!ParseScreen(text, opts->screenWidth, opts->screenHeight))
                   throw CLI::ValidationError("--screen", "WxH, each side 1.." + std::to_string(kQvMaxScreenSide));
           },
           "writes the whole screen of this size, WxH, as it shows the frame: scaled to the largest fit, black bars")
        ->type_name("WxH");
    cmd->callback([opts] { Render(*opts); });
}
