#pragma once

#include <optional>

#include "cli/CommandLineOptions.h"

namespace quorrel {

// The command line with the system's own services: the registry (or its store file), the
// profile files, the adapters, the process runner and the adapter report of the window,
// standard output and standard error. No window, no display and no instance lock: a
// window that runs is neither blocked nor raised. Returns the exit code.
int runCommandLineProgram(const CommandLineOptions& options);

// Where every start of the program begins: a closed standard error must not end it, and
// options of ours run without a window, decided before anything of Qt exists, so that no
// display is needed and the running instance's lock is never asked for. Returns the exit
// code when the arguments ask for the command line, none when they ask for the window.
std::optional<int> runCommandLineIfAsked(int argc, char** argv);

}  // namespace quorrel
