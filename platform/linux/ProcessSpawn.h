#pragma once

#include <sys/types.h>

#include <string>

namespace quorrel::platform {

struct SpawnedChild {
    pid_t pid = -1;      // -1 when nothing was started
    std::string reason;  // why not
};

// Starts `commandLine` (split by the Windows rules, program looked up as findProgram
// says) in a session of its own, with standard input from /dev/null, standard output on
// `outputFd` (or ours when -1), and no other descriptor of ours. Never uses a shell.
SpawnedChild spawnCommandLine(const std::string& commandLine, int outputFd);

// Waits for the child to end. Interrupted waits are resumed.
struct ChildEnd {
    bool waited = false;
    int exitCode = 0;
    std::string reason;
};
ChildEnd waitForChild(pid_t pid);

}  // namespace quorrel::platform
