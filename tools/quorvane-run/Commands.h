// The subcommands of quorvane-run; each file registers its own.
#pragma once

#include <CLI/CLI.hpp>

void RegisterListCommands(CLI::App& app);      // list, resave
void RegisterSimulateCommand(CLI::App& app);   // simulate
void RegisterRenderCommand(CLI::App& app);     // render
void RegisterAnimateCommand(CLI::App& app);    // animate
void RegisterEnergyCommand(CLI::App& app);     // energy
