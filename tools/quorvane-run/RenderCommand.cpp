// render: draws a run of one system off screen, through the same tick as the
// simulation window, and writes the last frame shown as an 800×600 PNG.
#include <QImage>
#include <memory>
#include <string>

#include "platform/qt/FramePainter.h"
#include "tools/quorvane-run/Commands.h"
#include "tools/quorvane-run/QtApplication.h"
#include "tools/quorvane-run/RunSetup.h"

namespace {

struct RenderOptions {
    CRunOptions run;
    int ticks = 1;
    std::string out;
};

void Render(const RenderOptions& o)
{
    const auto app = QvEnsureApplication();
    auto dlg = QvOpenRun("render", o.run);
    dlg->SetUpDisplay(nullptr);
    for (int t = 0; t < o.ticks; ++t) dlg->OnTimer(101);
    const QImage frame = QvImageOf(*dlg->m_pPrimarySurface).copy();
    dlg->TearDownDisplay();
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
    cmd->add_option("--out", opts->out, "PNG file to write (800x600)")->required();
    cmd->callback([opts] { Render(*opts); });
}
