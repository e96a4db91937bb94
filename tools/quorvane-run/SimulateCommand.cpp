// PLACEHOLDER
#include "tools/quorvane-run/Commands.h"

void RegisterSimulateCommand(CLI::App&) {}
