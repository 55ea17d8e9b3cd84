#include "netsh/LeaseWatch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/syscall.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quorrel::netsh {

namespace {

using namespace std::chrono_literals;

// How often to look without a notification from the kernel.
constexpr auto kWithoutNotification = 20ms;

int openProcessFd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

}  // namespace

LeaseWatch::LeaseWatch(const std::string& stateFolder, const std::string& ifname, pid_t client)
    : stateName_(ifname + ".state"),
      folderChanges_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
      client_(openProcessFd(client)) {
    // The state file is only ever replaced by a rename (system/linux/AtomicFile.h).
    if (folderChanges_.valid() &&
        ::inotify_add_watch(folderChanges_.get(), stateFolder.c_str(), IN_MOVED_TO) < 0) {
        folderChanges_ = system::OwnedFd();
    }
}

bool LeaseWatch::stateFileReplaced() {
    alignas(inotify_event) char buffer[4096];
    bool replaced = false;
    while (true) {
        const ssize_t n = ::read(folderChanges_.get(), buffer, sizeof buffer);
        if (n <= 0) {
            return replaced || (n < 0 && errno != EAGAIN && errno != EINTR);
        }
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            replaced = replaced || (event->mask & IN_Q_OVERFLOW) != 0 ||
                       (event->len > 0 && stateName_ == event->name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

bool LeaseWatch::wait(std::chrono::steady_clock::time_point deadline) {
    while (true) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        auto timeout = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        if (!folderChanges_.valid() || !client_.valid()) {
            timeout = std::min<std::chrono::milliseconds>(timeout, kWithoutNotification);
        }
        pollfd watched[] = {{folderChanges_.get(), POLLIN, 0}, {client_.get(), POLLIN, 0}};
        const int ready = ::poll(watched, 2, static_cast<int>(timeout.count()));
        if (ready < 0 && errno != EINTR) {
            return true;
        }
        if (ready == 0 && timeout.count() > 0 && (!folderChanges_.valid() || !client_.valid())) {
            return true;  // the tick that stands in for a missing notification
        }
        if ((watched[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            return true;
        }
        if ((watched[0].revents & POLLIN) != 0 && stateFileReplaced()) {
            return true;
        }
    }
}

}  // namespace quorrel::netsh
