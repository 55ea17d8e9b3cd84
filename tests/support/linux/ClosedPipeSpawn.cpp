#include "tests/support/linux/ClosedPipeSpawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include "system/linux/ProcessSpawn.h"

namespace quorrel::test {

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

pid_t spawnWithClosedPipe(const std::vector<std::string>& argv,
                          const std::vector<std::string>& environment, int closedFd) {
    std::vector<std::string> arguments = argv;
    std::vector<std::string> entries = system::environmentWith(environment);
    const std::vector<char*> argvPointers = pointersTo(arguments);
    const std::vector<char*> envPointers = pointersTo(entries);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return -1;
    }
    ::close(pipeFds[0]);  // nobody will ever read it
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], closedFd);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argvPointers[0], &actions, &attributes,
                                      argvPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeFds[1]);
    return spawned == 0 ? child : -1;
}

}  // namespace quorrel::test
