// PLACEHOLDER
#include "engine/InternalError.h"

#include <cstdlib>

void InternalErrorExit(int nCode) { std::exit(nCode); }
