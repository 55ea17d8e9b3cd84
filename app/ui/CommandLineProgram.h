#pragma once

#include "cli/CommandLineOptions.h"

namespace quorrel {

// The command line with the system's own services: the registry (or its store file), the
// profile files, the adapters, the process runner and the adapter report of the window,
// standard output and standard error. No window, no display and no instance lock: a
// window that runs is neither blocked nor raised. Returns the exit code.
int runCommandLineProgram(const CommandLineOptions& options);

}  // namespace quorrel
