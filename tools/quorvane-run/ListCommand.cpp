// PLACEHOLDER
#include "tools/quorvane-run/Commands.h"

void RegisterListCommands(CLI::App&) {}
