// PLACEHOLDER
#include "tools/quorvane-run/Commands.h"

void RegisterRenderCommand(CLI::App&) {}
