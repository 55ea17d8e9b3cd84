#pragma once

#include <functional>
#include <memory>
#include <string>

namespace quorrel::platform {

// Tells when the network behind an adapter may have changed: its link came up, or its
// default gateway changed (came, went to another address). It watches from a thread of its
// own from construction on and calls `changed` there, never after it has gone.
class NetworkWatch {
public:
    virtual ~NetworkWatch() = default;
};

// Watches the adapter `connectionName` of the calling thread's network. Null when the
// system cannot be watched.
std::unique_ptr<NetworkWatch> watchSystemNetwork(const std::string& connectionName,
                                                 std::function<void()> changed);

}  // namespace quorrel::platform
