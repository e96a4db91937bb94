// quorvane-run: the command-line companion of Quorvane, for scripts, tests and
// teaching material. The main program itself takes no arguments.
#include <CLI/CLI.hpp>

#include "platform/Locale.h"
#include "tools/quorvane-run/Commands.h"

int main(int argc, char** argv)
{
    QvFixNumericLocale();
    CLI::App app{"quorvane-run: reads, checks, simulates and draws Quorvane systems without the window."};
    app.set_version_flag("--version", QV_VERSION);
    app.require_subcommand(1);
    RegisterListCommands(app);
    RegisterSimulateCommand(app);
    RegisterRenderCommand(app);
    RegisterAnimateCommand(app);
    RegisterEnergyCommand(app);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
