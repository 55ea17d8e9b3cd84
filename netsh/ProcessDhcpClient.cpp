#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "netsh/DhcpClient.h"
#include "netsh/Process.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

namespace {

using namespace std::chrono_literals;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Gone, or a zombie that only waits to be collected by its parent.
bool processGone(pid_t pid) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid || ::kill(pid, 0) != 0) {
        return true;
    }
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
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
    ProcessDhcpClient(std::string folder, std::chrono::milliseconds leaseWait)
        : folder_(std::move(folder)), leaseWait_(leaseWait) {}

    std::string availability() override {
        return findProgram("udhcpc") || findProgram("dhclient")
                   ? ""
                   : "no DHCP client is installed (udhcpc or dhclient)";
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
            return {"cannot find this program's own path for the DHCP event script"};
        }
        const std::vector<std::string> env = {"QUORREL_DHCP_HOOK=1",
                                              "QUORREL_NETSTATE_DIR=" + folder};
        std::vector<std::string> argv;
        if (const auto udhcpc = findProgram("udhcpc")) {
            // -B: ask for broadcast replies, which reach a client without an address on
            // every kind of link. -R: give the lease back when stopped.
            argv = {*udhcpc, "-f", "-B", "-R", "-i", ifname, "-s",
                    self,    "-t", "3",  "-T", "1",  "-A",   "3"};
        } else if (const auto dhclient = findProgram("dhclient")) {
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
        std::ofstream(logPath, std::ios::trunc).close();
        std::string error;
        const auto pid = startDetached(argv, env, logPath, error);
        if (!pid) {
            return {error};
        }
        std::ofstream(platform::dhcpPidPath(folder, ifname), std::ios::trunc) << *pid << "\n";
        if (!waitForLease) {
            return {};
        }

        const auto deadline = std::chrono::steady_clock::now() + leaseWait_;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto state = platform::readInterfaceState(folder, ifname);
            if (state && state->dhcp.value_or(false) && state->lease) {
                return {};
            }
            if (::waitpid(*pid, nullptr, WNOHANG) == *pid) {
                std::filesystem::remove(platform::dhcpPidPath(folder, ifname), ec);
                return {"the DHCP client for " + ifname +
                        " ended without a lease: " + lastLines(readFile(logPath))};
            }
            std::this_thread::sleep_for(20ms);
        }
        const long long ms = leaseWait_.count();
        return {"no DHCP lease for " + ifname + " within " + std::to_string(ms / 1000) + "." +
                    std::to_string(ms % 1000 / 100) +
                    " s; the DHCP client keeps trying in the background",
                true};
    }

    std::string stop(const std::string& ifname) override {
        const std::string pidPath = platform::dhcpPidPath(folder_, ifname);
        std::error_code ec;
        if (!platform::dhcpClientRunning(folder_, ifname)) {
            std::filesystem::remove(pidPath, ec);
            return "";
        }
        const pid_t pid = static_cast<pid_t>(std::stol(readFile(pidPath)));
        ::kill(pid, SIGTERM);
        if (!waitUntilGone(pid, 3s)) {
            ::kill(pid, SIGKILL);
            if (!waitUntilGone(pid, 1s)) {
                return "cannot stop the DHCP client (process " + std::to_string(pid) + ") of " +
                       ifname;
            }
        }
        std::filesystem::remove(pidPath, ec);
        return "";
    }

private:
    std::string folder_;
    std::chrono::milliseconds leaseWait_;
};

}  // namespace

std::unique_ptr<DhcpClient> makeProcessDhcpClient(std::string stateFolder,
                                                  std::chrono::milliseconds leaseWait) {
    return std::make_unique<ProcessDhcpClient>(std::move(stateFolder), leaseWait);
}

}  // namespace quorrel::netsh
