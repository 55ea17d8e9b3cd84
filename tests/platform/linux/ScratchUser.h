#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "system/linux/CollectedRun.h"
#include "tests/support/WaitUntil.h"

namespace quorrel::test {

// A local user of its own for tests about other users: added with useradd when the test
// runs as root, removed with userdel when the object goes. Without root nothing is made
// and whyNot() says so, for the test to skip with that reason.
class ScratchUser {
public:
    ScratchUser() {
        if (::geteuid() != 0) {
            whyNot_ = "adding a second user (useradd) needs root";
            return;
        }
        static std::atomic<int> counter{0};
        name_ = "qrltest" + std::to_string(::getpid()) + "u" + std::to_string(counter++);
        // Another useradd may hold the lock of /etc/passwd for a moment.
        made_ = retry({"/usr/sbin/useradd", "--system", "--no-create-home", "--shell",
                       "/usr/sbin/nologin", name_});
        const passwd* entry = made_ ? ::getpwnam(name_.c_str()) : nullptr;
        if (entry == nullptr) {
            whyNot_ = "useradd could not add " + name_;
            made_ = false;
            return;
        }
        uid_ = entry->pw_uid;
        gid_ = entry->pw_gid;
    }
    ~ScratchUser() {
        if (made_) {
            retry({"/usr/sbin/userdel", name_});
        }
    }
    ScratchUser(const ScratchUser&) = delete;
    ScratchUser& operator=(const ScratchUser&) = delete;

    bool made() const { return made_; }
    const std::string& whyNot() const { return whyNot_; }
    uid_t uid() const { return uid_; }
    gid_t gid() const { return gid_; }

    // Runs `body` in a child process with this user's ids (and no supplementary groups).
    // Returns the child's exit code; -1 when it did not end normally, 99 when the ids
    // could not be taken.
    int runAs(const std::function<int()>& body) const {
        const pid_t child = ::fork();
        if (child < 0) {
            return -1;
        }
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid_) != 0 || ::setuid(uid_) != 0) {
                ::_exit(99);
            }
            ::_exit(body());
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }

private:
    static int run(const std::vector<std::string>& argv) {
        return system::runCollectingOutput(argv[0], argv).exitCode;
    }

    // Runs the command until it succeeds (another process may hold the user's files for a
    // moment), for at most ten seconds: a useradd that cannot work here skips soon.
    static bool retry(const std::vector<std::string>& argv) {
        return test::waitUntil([&] { return run(argv) == 0; }, std::chrono::seconds(10),
                               [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
    }

    std::string name_;
    std::string whyNot_;
    bool made_ = false;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
};

}  // namespace quorrel::test
