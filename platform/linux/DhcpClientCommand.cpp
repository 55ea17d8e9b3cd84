#include "platform/linux/DhcpClientCommand.h"

namespace quorrel::platform {

std::vector<std::string> commandLineArguments(const std::string& cmdline) {
    std::vector<std::string> argv;
    std::size_t start = 0;
    while (start < cmdline.size()) {
        std::size_t end = cmdline.find('\0', start);
        if (end == std::string::npos) {
            end = cmdline.size();
        }
        argv.push_back(cmdline.substr(start, end - start));
        start = end + 1;
    }
    return argv;
}

std::size_t dhcpClientArgumentsStart(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return 0;
    }
    const std::size_t slash = argv[0].rfind('/');
    const std::string program = slash == std::string::npos ? argv[0] : argv[0].substr(slash + 1);
    if (program == "busybox") {
        return argv.size() > 1 && argv[1] == "udhcpc" ? 2 : 0;
    }
    return program == "udhcpc" || program == "dhclient" || program == "dhcpcd" ? 1 : 0;
}

bool dhcpClientCommandNames(const std::vector<std::string>& argv, const std::string& ifname) {
    const std::size_t first = dhcpClientArgumentsStart(argv);
    if (first == 0 || ifname.empty()) {
        return false;
    }
    for (std::size_t i = first; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (arg == ifname || arg == "-i" + ifname || arg == "--interface=" + ifname) {
            return true;
        }
    }
    return false;
}

}  // namespace quorrel::platform
