// quorvane-run for Node: the commands that read, write and simulate, without
// the drawing ones (they need Qt). The same bytes as the native tool.
#include <CLI/CLI.hpp>

#include "platform/Locale.h"
#include "tools/quorvane-run/Commands.h"

int main(int argc, char** argv)
{
    QvFixNumericLocale();
    CLI::App app{"quorvane-run: reads, checks and simulates Quorvane systems without the window."};
    app.set_version_flag("--version", QV_VERSION);
    app.require_subcommand(1);
    RegisterListCommands(app);
    RegisterSimulateCommand(app);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
