#pragma once

// Shows the internal-error message with the code (on stderr when there is no
// display) and ends the process with the code as exit status.
[[noreturn]] void InternalErrorExit(int nCode);
