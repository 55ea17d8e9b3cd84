#include "tests/support/linux/NetworkNamespace.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "system/linux/CollectedRun.h"
#include "system/linux/ProcessSpawn.h"
#include "system/linux/ProgramLookup.h"
#include "tests/support/WaitUntil.h"

namespace quorrel::test {

namespace fs = std::filesystem;

namespace {

// Searched after PATH, which a test run's environment may have cut short.
constexpr const char* kSystemFolders = "/usr/sbin:/sbin:/usr/bin:/bin:/usr/local/sbin";

// Between two looks at another process: it takes a process start to look.
void betweenLooks() {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// The program file to start for `name`: a path as it stands, else the first one found.
std::string programPath(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    const char* path = std::getenv("PATH");
    return system::findInSearchPath(
        name, std::string(path != nullptr ? path : "") + ":" + kSystemFolders);
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
    return !programPath(name).empty();
}

std::string resolvConfPath(const std::string& ns) {
    return "/etc/netns/" + ns + "/resolv.conf";
}

}  // namespace

CommandOutput runCommand(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         int timeoutSeconds) {
    CommandOutput result;
    if (argv.empty()) {
        return result;
    }
    const std::string program = programPath(argv[0]);
    if (program.empty()) {
        result.output = "cannot start " + argv[0] + ": not found";
        return result;
    }
    system::CollectOptions options;
    options.environment = env;
    options.timeLimit = std::chrono::seconds(timeoutSeconds);
    const system::CollectedRun run = system::runCollectingOutput(program, argv, options);
    result.exitCode = run.exitCode;
    result.output = run.started ? run.output : run.reason;
    if (run.timedOut) {
        result.output += "\n[timed out after " + std::to_string(timeoutSeconds) + " s]";
    }
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
    system::ChildSetup quiet;
    quiet.outputFile = "/dev/null";
    quiet.errorsWithOutput = true;
    const system::SpawnedChild server = system::startProgram(programPath(argv[0]), argv, quiet);
    if (server.pid < 0) {
        throw std::runtime_error("cannot start dnsmasq: " + server.reason);
    }
    dhcpServer_ = server.pid;
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

pid_t NetworkNamespace::start(const std::vector<std::string>& argv,
                              const std::vector<std::string>& env) const {
    std::vector<std::string> full = {"ip", "netns", "exec", name_};
    full.insert(full.end(), argv.begin(), argv.end());
    system::ChildSetup setup;
    setup.outputFile = "/dev/null";
    setup.errorsWithOutput = true;
    // A session of its own is a process group of its own too, whose id is the child's.
    setup.ownSession = true;
    setup.environment = env;
    const system::SpawnedChild child = system::startProgram(programPath("ip"), full, setup);
    if (child.pid < 0) {
        throw std::runtime_error("cannot start " + joined(full) + ": " + child.reason);
    }
    return child.pid;
}

namespace {

// Whether a live (not zombie) process of the group is left, from /proc/<pid>/stat.
bool groupAlive(pid_t group) {
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        // A process that ends while its file is read fails the read (ESRCH); the stream
        // then sets its fail bit and the text ends, where an iterator would throw.
        std::ifstream in(it->path() / "stat");
        std::ostringstream text;
        text << in.rdbuf();
        const std::string stat = text.str();
        const auto close = stat.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream rest(stat.substr(close + 2));
        char state = 0;
        long parent = 0;
        long processGroup = 0;
        if (rest >> state >> parent >> processGroup && processGroup == group && state != 'Z' &&
            state != 'X') {
            return true;
        }
    }
    return false;
}

}  // namespace

bool killGroup(pid_t group, int timeoutSeconds) {
    ::kill(-group, SIGKILL);
    ::waitpid(group, nullptr, 0);
    // A process of the group may start another while the group is being killed.
    return waitUntil(
        [group] {
            if (!groupAlive(group)) {
                return true;
            }
            ::kill(-group, SIGKILL);
            return false;
        },
        std::chrono::seconds(timeoutSeconds));
}

std::string NetworkNamespace::resolvConf() const {
    std::ifstream in(resolvConfPath(name_), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void NetworkNamespace::writeResolvConf(const std::string& text) const {
    std::ofstream(resolvConfPath(name_), std::ios::binary | std::ios::trunc) << text;
}

}  // namespace quorrel::test
