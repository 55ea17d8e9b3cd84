#include "netsh/RunEnvironment.h"

#include "netsh/CommandValidator.h"

namespace quorrel::netsh {

RunEnvironment readRunEnvironment(const EnvironmentLookup& env, bool withRights,
                                  bool overridesWithRights) {
    RunEnvironment run;
    run.withRights = withRights;
    run.trustsCaller = !withRights || overridesWithRights;
    run.stateFolder = kFixedStateFolder;
    run.toolSearchPath = kSystemToolFolders;
    if (!run.trustsCaller) {
        return run;
    }
    if (const auto folder = env("QUORREL_NETSTATE_DIR"); folder && !folder->empty()) {
        run.stateFolder = *folder;
        while (run.stateFolder.size() > 1 && run.stateFolder.back() == '/') {
            run.stateFolder.pop_back();
        }
    }
    if (const auto file = env("QUORREL_RESOLV_CONF"); file && !file->empty()) {
        run.resolvConf = *file;
    }
    if (const auto text = env("QUORREL_DHCP_WAIT_MS")) {
        if (const auto ms = parseBoundedNumber(*text, 1, 600000)) {
            run.leaseWait = std::chrono::milliseconds(*ms);
        }
    }
    // A desktop session's PATH often lacks the sbin folders, so they come after it.
    if (const auto path = env("PATH"); path && !path->empty()) {
        run.toolSearchPath = *path + ":" + kSystemToolFolders;
    }
    return run;
}

}  // namespace quorrel::netsh
