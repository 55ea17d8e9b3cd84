#pragma once

#include <memory>
#include <string>

#include "platform/AdapterKeys.h"
#include "platform/RegistryStore.h"

namespace quorrel::platform {

// The per-adapter keys where the Windows registry keeps them, under HKEY_LOCAL_MACHINE:
//   SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}\<id>\Connection
//   SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces\<id>
// Both are opened for reading only: the inventory never writes them, and asking for more
// would lock out users without administrator rights.
class RegistryAdapterKeys final : public AdapterKeys {
public:
    explicit RegistryAdapterKeys(RegistryStore& store);
    explicit RegistryAdapterKeys(std::unique_ptr<RegistryStore> store);

    std::unique_ptr<AdapterKey> openConnectionKey(const std::string& adapterId) override;
    std::unique_ptr<AdapterKey> openInterfaceKey(const std::string& adapterId) override;

    // The two key paths of an adapter; "" when the path would not fit the 1024-byte
    // buffer the system's functions are given.
    static std::string connectionKeyPath(const std::string& adapterId);
    static std::string interfaceKeyPath(const std::string& adapterId);

private:
    std::unique_ptr<AdapterKey> open(const std::string& path);

    std::unique_ptr<RegistryStore> owned_;
    RegistryStore& store_;
};

}  // namespace quorrel::platform
