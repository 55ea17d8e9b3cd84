#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "base/Expected.h"
#include "netsh/CommandRunner.h"

namespace quorrel::netsh {

// The full path of an installed program: a name containing '/' is taken as it is, other
// names are searched in the folders of `searchPath` (separated by ':'; see
// RunEnvironment::toolSearchPath). Nothing when not found.
std::optional<std::string> findProgram(const std::string& name, const std::string& searchPath);

// Runs argv[0] (a full path) and collects its output.
RunResult runAndCollect(const std::vector<std::string>& argv);

// Starts a long-running program in a session of its own, detached from our standard
// streams: standard input from /dev/null, output and errors appended to `logPath`.
// `extraEnv` ("NAME=value") is laid over this process's environment. Returns the process
// id.
Expected<pid_t> startDetached(const std::vector<std::string>& argv,
                              const std::vector<std::string>& extraEnv, const std::string& logPath);

// The absolute path of the running program.
std::string ownExecutablePath();

}  // namespace quorrel::netsh
