#if !defined(_WIN32)

#include "tests/support/NetworkNamespace.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/WaitUntil.h"

extern char** environ;

namespace quorrel::test {

namespace fs = std::filesystem;

namespace {

// Between two looks at another process: it takes a process start to look.
void betweenLooks() {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// This process's environment with `extra` ("NAME=value") laid over it.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        const std::string entry(*e);
        const auto key = entry.substr(0, entry.find('=') + 1);
        bool overridden = false;
        for (const auto& x : extra) {
            if (x.compare(0, key.size(), key) == 0) {
                overridden = true;
            }
        }
        if (!overridden) {
            result.push_back(entry);
        }
    }
    result.insert(result.end(), extra.begin(), extra.end());
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& t : texts) {
        result.push_back(t.data());
    }
    result.push_back(nullptr);
    return result;
}

std::string joined(const std::vector<std::string>& argv) {
    std::string text;
    for (const auto& a : argv) {
        text += (text.empty() ? "" : " ") + a;
    }
    return text;
}

void mustRun(const std::vector<std::string>& argv) {
    const CommandOutput out = runCommand(argv);
    if (out.exitCode != 0) {
        throw std::runtime_error(joined(argv) + " failed: " + out.output);
    }
}

bool programFound(const std::string& name) {
    for (const char* dir : {"/usr/sbin/", "/sbin/", "/usr/bin/", "/bin/", "/usr/local/sbin/"}) {
        if (::access((std::string(dir) + name).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

std::string resolvConfPath(const std::string& ns) {
    return "/etc/netns/" + ns + "/resolv.conf";
}

}  // namespace

CommandOutput runCommand(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         int timeoutSeconds) {
    CommandOutput result;
    int fds[2];
    if (argv.empty() || ::pipe2(fds, O_CLOEXEC) != 0) {
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);

    std::vector<std::string> args = argv;
    std::vector<std::string> envTexts = mergedEnvironment(env);
    auto argp = pointersTo(args);
    auto envp = pointersTo(envTexts);
    pid_t pid = -1;
    const int rc = ::posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        result.output = "cannot start " + argv[0] + ": " + std::strerror(rc);
        return result;
    }

    // Read until the command has ended and its output is drained. A grandchild that keeps
    // the pipe open must not hold us up, so after the command ended only what is already
    // there is read.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    bool ended = false;
    while (true) {
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, ended ? 0 : 50);
        if (ready > 0) {
            char buffer[4096];
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n > 0) {
                result.output.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n == 0 && !ended) {
                ::waitpid(pid, &status, 0);
                ended = true;
                break;
            }
        }
        if (ended) {
            break;
        }
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            ended = true;
            continue;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ::close(fds[0]);
            result.output += "\n[timed out after " + std::to_string(timeoutSeconds) + " s]";
            return result;
        }
    }
    ::close(fds[0]);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string NetworkNamespace::unavailableReason() {
    static const std::string reason = [] {
        if (::geteuid() != 0) {
            return std::string("needs root to create network namespaces");
        }
        if (!programFound("ip")) {
            return std::string("the ip program (iproute2) is not installed");
        }
        const std::string probe = "qprobe-" + std::to_string(::getpid());
        const CommandOutput added = runCommand({"ip", "netns", "add", probe});
        if (added.exitCode != 0) {
            return "ip netns add fails here: " + added.output;
        }
        runCommand({"ip", "netns", "del", probe});
        return std::string();
    }();
    return reason;
}

std::string NetworkNamespace::dhcpServerUnavailableReason() {
    return programFound("dnsmasq") ? std::string() : "dnsmasq (package dnsmasq-base) is missing";
}

NetworkNamespace::NetworkNamespace() {
    static std::atomic<unsigned> counter{0};
    name_ = "qt" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    createNamespace(name_);
    mustRun({"ip", "-n", name_, "link", "set", "lo", "up"});
}

NetworkNamespace::~NetworkNamespace() {
    if (dhcpServer_ > 0) {
        ::kill(dhcpServer_, SIGTERM);
        ::waitpid(dhcpServer_, nullptr, 0);
    }
    for (const auto& ns : created_) {
        killEverythingIn(ns);
        runCommand({"ip", "netns", "del", ns});
        std::error_code ec;
        fs::remove_all("/etc/netns/" + ns, ec);
    }
    if (!leaseFile_.empty()) {
        ::unlink(leaseFile_.c_str());
    }
}

void NetworkNamespace::createNamespace(const std::string& ns) {
    mustRun({"ip", "netns", "add", ns});
    created_.push_back(ns);
    fs::create_directories("/etc/netns/" + ns);
    std::ofstream(resolvConfPath(ns)) << "# resolver of test namespace " << ns << "\n";
}

void NetworkNamespace::killEverythingIn(const std::string& ns) {
    // Processes left behind (DHCP clients started by the code under test, the server),
    // until none is left; a process may start another while it is being killed.
    waitUntil(
        [&] {
            const CommandOutput pids = runCommand({"ip", "netns", "pids", ns});
            std::istringstream in(pids.output);
            bool any = false;
            for (long pid = 0; in >> pid;) {
                if (pid > 1) {
                    ::kill(static_cast<pid_t>(pid), SIGKILL);
                    any = true;
                }
            }
            return !any;
        },
        kPatience, betweenLooks);
}

void NetworkNamespace::addVeth(const std::string& inner, const std::string& outer) {
    if (peer_.empty()) {
        createNamespace(name_ + "p");
        peer_ = name_ + "p";
        mustRun({"ip", "-n", peer_, "link", "set", "lo", "up"});
    }
    mustRun({"ip", "-n", name_, "link", "add", inner, "type", "veth", "peer", "name", outer,
             "netns", peer_});
    mustRun({"ip", "-n", name_, "link", "set", inner, "up"});
    mustRun({"ip", "-n", peer_, "link", "set", outer, "up"});
}

void NetworkNamespace::startDhcpServer(const std::string& outer, const DhcpServerOptions& o) {
    if (peer_.empty() || dhcpServer_ > 0) {
        throw std::runtime_error("startDhcpServer needs a veth pair and runs once");
    }
    mustRun({"ip", "-n", peer_, "addr", "add", o.serverAddress, "dev", outer});
    leaseFile_ = "/tmp/" + name_ + ".leases";
    std::vector<std::string> argv = {"ip",
                                     "netns",
                                     "exec",
                                     peer_,
                                     "dnsmasq",
                                     "--keep-in-foreground",
                                     "--no-resolv",
                                     "--no-hosts",
                                     "--port=0",
                                     "--no-ping",
                                     "--bind-interfaces",
                                     "--interface=" + outer,
                                     "--user=root",
                                     "--pid-file=",
                                     "--log-facility=/dev/null",
                                     "--dhcp-leasefile=" + leaseFile_,
                                     "--dhcp-range=" + o.rangeFirst + "," + o.rangeLast + "," +
                                         o.mask + "," + std::to_string(o.leaseSeconds)};
    if (!o.router.empty()) {
        argv.push_back("--dhcp-option=option:router," + o.router);
    }
    if (!o.dnsServers.empty()) {
        std::string list;
        for (const auto& s : o.dnsServers) {
            list += "," + s;
        }
        argv.push_back("--dhcp-option=option:dns-server" + list);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    auto argp = pointersTo(argv);
    const int rc = ::posix_spawnp(&dhcpServer_, argp[0], &actions, nullptr, argp.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        dhcpServer_ = -1;
        throw std::runtime_error(std::string("cannot start dnsmasq: ") + std::strerror(rc));
    }
    // Ready once it listens on the DHCP port.
    bool ended = false;
    const bool listening = waitUntil(
        [&] {
            if (::waitpid(dhcpServer_, nullptr, WNOHANG) == dhcpServer_) {
                ended = true;
                return true;
            }
            return runInPeer({"ss", "-uln", "sport", "=", ":67"}).output.find(":67") !=
                   std::string::npos;
        },
        kPatience, betweenLooks);
    if (ended) {
        dhcpServer_ = -1;
        throw std::runtime_error("dnsmasq ended at once: " + joined(argv));
    }
    if (!listening) {
        throw std::runtime_error("dnsmasq did not start listening");
    }
}

CommandOutput NetworkNamespace::run(const std::vector<std::string>& argv,
                                    const std::vector<std::string>& env, int timeoutSeconds) const {
    std::vector<std::string> full = {"ip", "netns", "exec", name_};
    full.insert(full.end(), argv.begin(), argv.end());
    return runCommand(full, env, timeoutSeconds);
}

CommandOutput NetworkNamespace::runInPeer(const std::vector<std::string>& argv) const {
    std::vector<std::string> full = {"ip", "netns", "exec", peer_};
    full.insert(full.end(), argv.begin(), argv.end());
    return runCommand(full);
}

std::string NetworkNamespace::resolvConf() const {
    std::ifstream in(resolvConfPath(name_), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void NetworkNamespace::writeResolvConf(const std::string& text) const {
    std::ofstream(resolvConfPath(name_), std::ios::binary | std::ios::trunc) << text;
}

}  // namespace quorrel::test

#endif  // !_WIN32
