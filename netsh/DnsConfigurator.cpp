#include "netsh/DnsConfigurator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "netsh/Process.h"
#include "platform/linux/NetworkState.h"
#include "system/linux/FdWrite.h"

namespace quorrel::netsh {

namespace {

std::string writeInPlace(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return "cannot write " + path + ": " + std::strerror(errno);
    }
    const bool ok = system::writeAllToFd(fd, text) && ::fsync(fd) == 0;
    const std::string why = std::strerror(errno);
    ::close(fd);
    return ok ? "" : "cannot write " + path + ": " + why;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ResolvConfDns final : public DnsConfigurator {
public:
    explicit ResolvConfDns(std::string path) : path_(std::move(path)) {}

    std::string publish(const std::string&, const AdapterDnsServers& all) override {
        return replaceFileContents(path_, rewriteResolvConf(readFile(path_), all));
    }

private:
    std::string path_;
};

class ResolvectlDns final : public DnsConfigurator {
public:
    explicit ResolvectlDns(CommandRunner& runner) : runner_(runner) {}

    std::string publish(const std::string& changed, const AdapterDnsServers& all) override {
        std::vector<std::string> argv = {"resolvectl", "dns", changed};
        const auto servers = all.find(changed);
        if (servers == all.end() || servers->second.empty()) {
            argv.emplace_back("");  // an empty server list clears the link's servers
        } else {
            argv.insert(argv.end(), servers->second.begin(), servers->second.end());
        }
        const RunResult result = runner_.run(argv);
        return result.exitCode == 0 ? "" : "resolvectl failed: " + result.output;
    }

private:
    CommandRunner& runner_;
};

}  // namespace

std::string rewriteResolvConf(const std::string& text, const AdapterDnsServers& all) {
    std::string ours;
    std::set<std::string> written;
    for (const auto& [ifname, servers] : all) {
        for (const auto& server : servers) {
            if (written.insert(server).second) {
                ours += platform::resolvConfLineFor(server, ifname) + "\n";
            }
        }
    }
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    const std::vector<bool> netshLine = platform::netshResolvConfLines(lines);
    std::string result;
    bool placed = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (netshLine[i]) {
            continue;
        }
        if (!placed && platform::isNameserverLine(lines[i])) {
            result += ours;
            placed = true;
        }
        result += lines[i] + "\n";
    }
    if (!placed) {
        result += ours;
    }
    return result;
}

std::string replaceFileContents(const std::string& path, const std::string& text) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        return writeInPlace(path, text);
    }
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return writeInPlace(path, text);
    }
    ::fchmod(fd, 0644);
    const bool ok = system::writeAllToFd(fd, text) && ::fsync(fd) == 0;
    ::close(fd);
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) {
        return "";
    }
    // EBUSY: the file is a mount point of its own.
    ::unlink(temp.c_str());
    return writeInPlace(path, text);
}

std::unique_ptr<DnsConfigurator> makeResolvConfDns(std::string path) {
    return std::make_unique<ResolvConfDns>(std::move(path));
}

std::unique_ptr<DnsConfigurator> makeResolvectlDns(CommandRunner& runner) {
    return std::make_unique<ResolvectlDns>(runner);
}

std::unique_ptr<DnsConfigurator> makeSystemDnsConfigurator(CommandRunner& runner) {
    if (const char* path = std::getenv("QUORREL_RESOLV_CONF"); path != nullptr && *path != 0) {
        return makeResolvConfDns(path);
    }
    const std::string system = "/etc/resolv.conf";
    const std::string text = readFile(system);
    const auto stub = text.find("nameserver 127.0.0.53");
    const bool usesStub = stub != std::string::npos && (stub == 0 || text[stub - 1] == '\n');
    if (usesStub && findProgram("resolvectl")) {
        return makeResolvectlDns(runner);
    }
    return makeResolvConfDns(system);
}

}  // namespace quorrel::netsh
