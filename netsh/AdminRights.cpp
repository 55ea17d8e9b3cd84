#include "netsh/AdminRights.h"

#include <sys/auxv.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace quorrel::netsh {

namespace {
constexpr int kCapNetAdmin = 12;
}

bool statusGrantsNetAdmin(const std::string& statusText) {
    std::istringstream in(statusText);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("CapEff:", 0) != 0) {
            continue;
        }
        std::istringstream hex(line.substr(7));
        unsigned long long bits = 0;
        if (!(hex >> std::hex >> bits)) {
            return false;
        }
        return (bits >> kCapNetAdmin) & 1ULL;
    }
    return false;
}

bool hasNetworkAdminRights() {
    if (::geteuid() == 0) {
        return true;
    }
    std::ifstream in("/proc/self/status");
    std::ostringstream text;
    text << in.rdbuf();
    return statusGrantsNetAdmin(text.str());
}

bool runsWithRights() {
    // AT_SECURE: the kernel started us with more rights than our caller had.
    return hasNetworkAdminRights() || ::getauxval(AT_SECURE) != 0;
}

}  // namespace quorrel::netsh
