#include "netsh/DnsConfigurator.h"
#include "system/linux/FdWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "netsh/Process.h"

namespace quorrel::netsh {

namespace {

constexpr const char* kMarker = "# DNS servers set by quorrel's netsh for ";

bool isNameserverLine(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
        ++i;
    }
    return line.compare(i, 10, "nameserver") == 0 &&
           (line.size() == i + 10 || line[i + 10] == ' ' || line[i + 10] == '\t');
}

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

    std::string apply(const std::string& ifname, const std::vector<std::string>& servers) override {
        return replaceFileContents(path_, rewriteResolvConf(readFile(path_), servers, ifname));
    }

private:
    std::string path_;
};

class ResolvectlDns final : public DnsConfigurator {
public:
    explicit ResolvectlDns(CommandRunner& runner) : runner_(runner) {}

    std::string apply(const std::string& ifname, const std::vector<std::string>& servers) override {
        std::vector<std::string> argv = {"resolvectl", "dns", ifname};
        if (servers.empty()) {
            argv.emplace_back("");  // an empty server list clears the interface's servers
        }
        argv.insert(argv.end(), servers.begin(), servers.end());
        const RunResult result = runner_.run(argv);
        return result.exitCode == 0 ? "" : "resolvectl failed: " + result.output;
    }

private:
    CommandRunner& runner_;
};

}  // namespace

std::string rewriteResolvConf(const std::string& text, const std::vector<std::string>& servers,
                              const std::string& ifname) {
    std::string ours = std::string(kMarker) + ifname + "\n";
    for (const auto& server : servers) {
        ours += "nameserver " + server + "\n";
    }
    std::string result;
    bool placed = false;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(kMarker, 0) == 0) {
            continue;
        }
        if (isNameserverLine(line)) {
            if (!placed) {
                result += ours;
                placed = true;
            }
            continue;
        }
        result += line + "\n";
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
