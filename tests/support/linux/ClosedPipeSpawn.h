#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quorrel::test {

// Starts the program file `argv[0]` as a shell would start it (a write to a closed pipe
// ends it, as SIGPIPE keeps its default action), with the descriptor `closedFd`
// (STDOUT_FILENO or STDERR_FILENO) a pipe whose reading end is already closed: the case of
// a caller that has gone. `environment` holds "NAME=value" entries laid over ours. Returns
// the child's process id, or -1 when it could not be started; system::waitForChild
// collects it.
pid_t spawnWithClosedPipe(const std::vector<std::string>& argv,
                          const std::vector<std::string>& environment, int closedFd);

}  // namespace quorrel::test
