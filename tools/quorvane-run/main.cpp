// quorvane-run: the command-line companion of Quorvane, for scripts, tests and
// teaching material. The main program itself takes no arguments.
#include "tools/quorvane-run/Commands.h"

int main(int argc, char** argv)
{
    return QvRunCommandLine(argc, argv, "quorvane-run: reads, checks, simulates and draws Quorvane systems without the window.",
                            {RegisterListCommands, RegisterSimulateCommand, RegisterRenderCommand,
                             RegisterAnimateCommand, RegisterEnergyCommand});
}
