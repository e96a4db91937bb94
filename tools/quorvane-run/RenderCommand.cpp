// render: draws a run of one system off screen, through the same tick as the
// simulation window, and writes the last frame shown as an 800×600 PNG.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/SimulationDlg.h"
#include "platform/Locale.h"
#include "store/ConfigFile.h"
#include "tools/quorvane-run/Commands.h"

namespace {

struct RenderOptions {
    std::string file;
    int system = 0;
    int ticks = 1;
    std::string out;
    int speed = 0;
    bool vectors = false;
    bool labels = false;
    bool noTraces = false;
};

[[noreturn]] void Fail(int nCode, const std::string& message)
{
    std::fprintf(stderr, "quorvane-run render: %s\n", message.c_str());
    throw CLI::RuntimeError(nCode);
}

void Render(const RenderOptions& o)
{
    // Text drawing needs a GUI application; no window is ever opened.
    std::unique_ptr<QGuiApplication> app;
    static int argc = 1;
    static char name[] = "quorvane-run";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        QvFixNumericLocale();
    }

    CSystemList systems;
    if (!LoadSystemsFromFile(o.file.c_str(), systems)) Fail(1, "cannot read " + o.file);
    if (o.system < 0 || o.system >= systems.GetSize())
        Fail(2, "no system " + std::to_string(o.system) + " in " + o.file + " (it has " +
                    std::to_string(systems.GetSize()) + ")");

    CSimulationDlg dlg(&systems[o.system]);
    dlg.m_bTraces = o.noTraces ? 0 : 1;
    dlg.m_bVectors = o.vectors ? 1 : 0;
    dlg.m_bLabels = o.labels ? 1 : 0;
    if (o.speed) dlg.OnKeyDown(static_cast<UINT>(0x30 + o.speed), 1, 0);
    dlg.SetUpDisplay(nullptr);
    for (int t = 0; t < o.ticks; ++t) dlg.OnTimer(101);
    const QImage frame = dlg.m_pPrimarySurface->Image().copy();
    dlg.TearDownDisplay();
    if (!frame.save(QString::fromStdString(o.out), "PNG")) Fail(1, "cannot write " + o.out);
}

}  // namespace

void RegisterRenderCommand(CLI::App& app)
{
    auto opts = std::make_shared<RenderOptions>();
    CLI::App* cmd = app.add_subcommand("render", "Draws the frame of a system after some ticks, as the simulation window shows it.");
    cmd->add_option("FILE", opts->file, "configuration file")->required();
    cmd->add_option("--system", opts->system, "index of the system in the file (0 = first)")->required();
    cmd->add_option("--ticks", opts->ticks, "timer ticks to run (300 Euler steps each unless paused)")
        ->required()
        ->check(CLI::Range(1, 1000000));
    cmd->add_option("--out", opts->out, "PNG file to write (800x600)")->required();
    cmd->add_option("--speed", opts->speed, "speed key 1..9 (5 is the starting time step)")->check(CLI::Range(1, 9));
    cmd->add_flag("--vectors", opts->vectors, "draw force and velocity vectors");
    cmd->add_flag("--labels", opts->labels, "draw the planets' names");
    cmd->add_flag("--no-traces", opts->noTraces, "no trace pixels");
    cmd->callback([opts] { Render(*opts); });
}
