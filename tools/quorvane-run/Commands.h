// The subcommands of quorvane-run; each file registers its own.
#pragma once

#include <CLI/CLI.hpp>
#include <initializer_list>

#include "platform/Locale.h"

void RegisterListCommands(CLI::App& app);      // list, resave
void RegisterSimulateCommand(CLI::App& app);   // simulate
void RegisterRenderCommand(CLI::App& app);     // render
void RegisterAnimateCommand(CLI::App& app);    // animate
void RegisterEnergyCommand(CLI::App& app);     // energy

// The tool's command line with these subcommands, one of them required; the
// desktop and the Node builds differ only in the list.
inline int QvRunCommandLine(int argc, char** argv, const char* about,
                            std::initializer_list<void (*)(CLI::App&)> commands)
{
    QvFixNumericLocale();
    CLI::App app{about};
    app.set_version_flag("--version", QV_VERSION);
    app.require_subcommand(1);
    for (auto add : commands) add(app);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
