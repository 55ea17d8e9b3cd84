#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "netsh/DhcpClient.h"
#include "netsh/LeaseWatch.h"
#include "netsh/Process.h"
#include "platform/linux/NetworkState.h"
#include "system/linux/AtomicFile.h"
#include "system/linux/FileRead.h"

namespace quorrel::netsh {

namespace {

using namespace std::chrono_literals;

// Gone, or a zombie that only waits to be collected by its parent.
bool processGone(pid_t pid) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid || ::kill(pid, 0) != 0) {
        return true;
    }
    const std::string stat =
        system::readWholeFile("/proc/" + std::to_string(pid) + "/stat").value_or("");
    const auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

bool waitUntilGone(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!processGone(pid)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

std::string lastLines(const std::string& text) {
    std::string tail = text.size() > 600 ? text.substr(text.size() - 600) : text;
    while (!tail.empty() && tail.back() == '\n') {
        tail.pop_back();
    }
    return tail;
}

class ProcessDhcpClient final : public DhcpClient {
public:
    ProcessDhcpClient(std::string folder, std::chrono::milliseconds leaseWait,
                      std::string searchPath)
        : folder_(std::move(folder)), leaseWait_(leaseWait), searchPath_(std::move(searchPath)) {}

    Done availability() override {
        if (findProgram("udhcpc", searchPath_) || findProgram("dhclient", searchPath_)) {
            return {};
        }
        return failure("no DHCP client is installed (udhcpc or dhclient)");
    }

    bool running(const std::string& ifname) override {
        return platform::dhcpClientRunning(folder_, ifname);
    }

    DhcpStart start(const std::string& ifname, bool waitForLease) override {
        std::error_code ec;
        const std::string folder = std::filesystem::absolute(folder_, ec).string();
        std::filesystem::create_directories(folder, ec);
        const std::string self = ownExecutablePath();
        if (self.empty()) {
            return {failure("cannot find this program's own path for the DHCP event script")};
        }
        const std::vector<std::string> env = {"QUORREL_DHCP_HOOK=1",
                                              "QUORREL_NETSTATE_DIR=" + folder};
        std::vector<std::string> argv;
        if (const auto udhcpc = findProgram("udhcpc", searchPath_)) {
            // -B: ask for broadcast replies, which reach a client without an address on
            // every kind of link. -R: give the lease back when stopped.
            argv = {*udhcpc, "-f", "-B", "-R", "-i", ifname, "-s",
                    self,    "-t", "3",  "-T", "1",  "-A",   "3"};
        } else if (const auto dhclient = findProgram("dhclient", searchPath_)) {
            argv = {*dhclient, "-d",
                    "-sf",     self,
                    "-pf",     folder + "/" + ifname + ".dhclient.pid",
                    "-lf",     folder + "/" + ifname + ".leases",
                    "-e",      env[0],
                    "-e",      env[1],
                    ifname};
        } else {
            return {availability()};
        }

        const std::string logPath = platform::dhcpLogPath(folder, ifname);
        emptyLog(logPath);
        const auto pid = startDetached(argv, env, logPath);
        if (!pid) {
            return {failure(pid.error())};
        }
        // Written before the wait, so that a netsh killed meanwhile leaves the client known.
        // Not flushed to disk: after a power cut no client runs, and a record of one is
        // taken for nothing (platform::dhcpClientRunning checks the process).
        if (const Done recorded = system::replaceFileAtomically(
                platform::dhcpPidPath(folder, ifname), std::to_string(*pid) + "\n",
                system::noLinkFollowed(false));
            !recorded) {
            ::kill(*pid, SIGTERM);
            waitUntilGone(*pid, 3s);
            return {
                failure("cannot record the DHCP client of " + ifname + ": " + recorded.error())};
        }
        if (!waitForLease) {
            return {};
        }

        const auto deadline = std::chrono::steady_clock::now() + leaseWait_;
        LeaseWatch watch(folder, ifname, *pid);
        do {
            const auto state = platform::readInterfaceState(folder, ifname);
            if (state && state->dhcp.value_or(false) && state->lease) {
                return {};
            }
            // The event script said no to what the server offered: the apply has failed.
            if (state && state->dhcp.value_or(false) && !state->refusedLease.empty()) {
                return {failure(state->refusedLease)};
            }
            if (::waitpid(*pid, nullptr, WNOHANG) == *pid) {
                std::filesystem::remove(platform::dhcpPidPath(folder, ifname), ec);
                return {failure("the DHCP client for " + ifname + " ended without a lease: " +
                                lastLines(system::readWholeFile(logPath).value_or("")))};
            }
        } while (watch.wait(deadline));
        const long long ms = leaseWait_.count();
        return {failure("no DHCP lease for " + ifname + " within " + std::to_string(ms / 1000) +
                        "." + std::to_string(ms % 1000 / 100) +
                        " s; the DHCP client keeps trying in the background"),
                true};
    }

    Done stop(const std::string& ifname) override {
        const std::string pidPath = platform::dhcpPidPath(folder_, ifname);
        std::error_code ec;
        if (!platform::dhcpClientRunning(folder_, ifname)) {
            std::filesystem::remove(pidPath, ec);
            return {};
        }
        const pid_t pid =
            static_cast<pid_t>(std::stol(system::readWholeFile(pidPath).value_or("")));
        ::kill(pid, SIGTERM);
        if (!waitUntilGone(pid, 3s)) {
            ::kill(pid, SIGKILL);
            if (!waitUntilGone(pid, 1s)) {
                return failure("cannot stop the DHCP client (process " + std::to_string(pid) +
                               ") of " + ifname);
            }
        }
        std::filesystem::remove(pidPath, ec);
        return {};
    }

private:
    // The log of the previous client goes; a link in its place is not followed.
    static void emptyLog(const std::string& path) {
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
        }
    }

    std::string folder_;
    std::chrono::milliseconds leaseWait_;
    std::string searchPath_;
};

}  // namespace

std::unique_ptr<DhcpClient> makeProcessDhcpClient(std::string stateFolder,
                                                  std::chrono::milliseconds leaseWait,
                                                  std::string searchPath) {
    return std::make_unique<ProcessDhcpClient>(std::move(stateFolder), leaseWait,
                                               std::move(searchPath));
}

}  // namespace quorrel::netsh
