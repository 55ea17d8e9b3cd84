#include "netsh/DnsConfigurator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "netsh/Process.h"
#include "platform/linux/NetworkState.h"
#include "system/linux/AtomicFile.h"
#include "system/linux/FdWrite.h"

namespace quorrel::netsh {

namespace {

// For a file that cannot be replaced: the new bytes over the old ones, then the rest cut
// off, so that a reader never finds it empty.
std::string writeInPlace(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return "cannot write " + path + ": " + std::strerror(errno);
    }
    const bool ok = system::writeAllToFd(fd, text) &&
                    ::ftruncate(fd, static_cast<off_t>(text.size())) == 0 && ::fsync(fd) == 0;
    const std::string why = std::strerror(errno);
    ::close(fd);
    return ok ? "" : "cannot write " + path + ": " + why;
}

// Whether the file is the root of a mount of its own; nothing when the kernel cannot say.
std::optional<bool> isMountRoot(const std::string& path) {
    struct statx info {};
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &info) != 0 ||
        (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) == 0) {
        return std::nullopt;
    }
    return (info.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
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
    const std::string target = system::resolveFinalLink(path);
    const auto mounted = isMountRoot(target);
    if (mounted.value_or(false)) {
        return writeInPlace(target, text);
    }
    std::string error;
    if (system::replaceFileAtomically(path, text, error, system::linkFollowed())) {
        return "";
    }
    // A kernel that cannot tell mount points: the rename failing is how one shows.
    if (!mounted) {
        return writeInPlace(target, text);
    }
    return "cannot write " + path + ": " + error;
}

std::unique_ptr<DnsConfigurator> makeResolvConfDns(std::string path) {
    return std::make_unique<ResolvConfDns>(std::move(path));
}

std::unique_ptr<DnsConfigurator> makeResolvectlDns(CommandRunner& runner) {
    return std::make_unique<ResolvectlDns>(runner);
}

std::unique_ptr<DnsConfigurator> makeSystemDnsConfigurator(
    CommandRunner& runner, const std::optional<std::string>& resolvConf,
    const std::string& searchPath) {
    if (resolvConf) {
        return makeResolvConfDns(*resolvConf);
    }
    const std::string system = "/etc/resolv.conf";
    const std::string text = readFile(system);
    const auto stub = text.find("nameserver 127.0.0.53");
    const bool usesStub = stub != std::string::npos && (stub == 0 || text[stub - 1] == '\n');
    if (usesStub && findProgram("resolvectl", searchPath)) {
        return makeResolvectlDns(runner);
    }
    return makeResolvConfDns(system);
}

}  // namespace quorrel::netsh
