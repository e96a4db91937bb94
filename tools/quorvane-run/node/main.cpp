// quorvane-run for Node: the commands that read, write and simulate, without
// the drawing ones (they need Qt). The same bytes as the native tool.
#include "tools/quorvane-run/Commands.h"

int main(int argc, char** argv)
{
    return QvRunCommandLine(argc, argv, "quorvane-run: reads, checks and simulates Quorvane systems without the window.",
                            {RegisterListCommands, RegisterSimulateCommand});
}
