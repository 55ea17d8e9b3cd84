#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quorrel::system {

// How a child is started. Whatever is set, it gets standard input from /dev/null, no
// descriptor of ours beyond its standard streams, no blocked signals and the default
// signal dispositions, and it is never started through a shell.
struct ChildSetup {
    // Standard output goes to this descriptor; -1: ours.
    int outputFd = -1;
    // When not empty, standard output is appended to this file instead (created when
    // missing).
    std::string outputFile;
    // Standard error goes where standard output goes; otherwise it stays ours.
    bool errorsWithOutput = false;
    // Standard error goes to this descriptor instead; -1: as errorsWithOutput says.
    int errorFd = -1;
    // A session of its own, so that signals of our terminal do not reach it.
    bool ownSession = false;
    // "NAME=value" entries laid over our environment.
    std::vector<std::string> environment;
};

struct SpawnedChild {
    pid_t pid = -1;      // -1 when nothing was started
    std::string reason;  // why not
};

// Starts the program file `program` with the arguments `argv` (argv[0] included).
SpawnedChild startProgram(const std::string& program, const std::vector<std::string>& argv,
                          const ChildSetup& setup);

// Starts `commandLine` (split by the Windows rules, program looked up as findProgram
// says) in a session of its own, with standard output on `outputFd` (or ours when -1).
SpawnedChild spawnCommandLine(const std::string& commandLine, int outputFd);

// How a child ended. A child killed by a signal counts as exit code 128 + signal.
struct ChildEnd {
    bool waited = false;
    bool signalled = false;
    int exitCode = 0;
    std::string reason;
};

// Waits for the child to end. Interrupted waits are resumed.
ChildEnd waitForChild(pid_t pid);

// Reaps the child once it ends, without keeping the caller waiting for a child that goes
// on running.
void reapLater(pid_t pid);

// This process's environment with `extra` ("NAME=value") laid over it: an entry of
// `extra` replaces ours of the same name.
std::vector<std::string> environmentWith(const std::vector<std::string>& extra);

}  // namespace quorrel::system
