#include "netsh/DnsConfigurator.h"

#include <unistd.h>

#include <set>
#include <sstream>

#include "netsh/Process.h"
#include "netsh/ResolverFile.h"
#include "platform/linux/NetworkState.h"

namespace quorrel::netsh {

namespace {

class ResolvConfDns final : public DnsConfigurator {
public:
    explicit ResolvConfDns(std::string path) : path_(std::move(path)) {}

    Done publish(const std::string&, const AdapterDnsServers& all) override {
        return rewriteResolverFile(
            path_, [&all](const std::string& text) { return rewriteResolvConf(text, all); },
            ::geteuid());
    }

private:
    std::string path_;
};

class ResolvectlDns final : public DnsConfigurator {
public:
    explicit ResolvectlDns(CommandRunner& runner) : runner_(runner) {}

    Done publish(const std::string& changed, const AdapterDnsServers& all) override {
        std::vector<std::string> argv = {"resolvectl", "dns", changed};
        const auto servers = all.find(changed);
        if (servers == all.end() || servers->second.empty()) {
            argv.emplace_back("");  // an empty server list clears the link's servers
        } else {
            argv.insert(argv.end(), servers->second.begin(), servers->second.end());
        }
        const RunResult result = runner_.run(argv);
        if (result.exitCode != 0) {
            return failure("resolvectl failed: " + result.output);
        }
        return {};
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
    // Unreadable or unsafe: the resolver file's own road then says why when it is written.
    const auto read = readResolverFile(system, ::geteuid());
    const std::string text = read ? *read : std::string();
    const auto stub = text.find("nameserver 127.0.0.53");
    const bool usesStub = stub != std::string::npos && (stub == 0 || text[stub - 1] == '\n');
    if (usesStub && findProgram("resolvectl", searchPath)) {
        return makeResolvectlDns(runner);
    }
    return makeResolvConfDns(system);
}

}  // namespace quorrel::netsh
