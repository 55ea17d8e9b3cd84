#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string_view>

#include "platform/DebugOutput.h"

namespace quorrel::platform {

void writeSystemDebugOutput(std::string_view line) {
    // One write call per line, so lines of different threads never interleave.
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, line.data(), line.size());
}

void keepRunningWhenOutputCloses() {
    // Ignored rather than handled: process starts reset it to the default for the child.
    ::signal(SIGPIPE, SIG_IGN);
}

unsigned long currentThreadId() {
    return static_cast<unsigned long>(::syscall(SYS_gettid));
}

}  // namespace quorrel::platform
