#include "platform/RegistryAdapterKeys.h"

namespace quorrel::platform {

namespace {

constexpr const char* kConnectionKeyPrefix =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
constexpr const char* kConnectionKeySuffix = "\\Connection";
constexpr const char* kInterfaceKeyPrefix =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";

// Size of the buffer a key path is formed in, terminating zero included.
constexpr std::size_t kPathBufferSize = 1024;

std::string fitted(std::string path) {
    return path.size() < kPathBufferSize ? path : std::string();
}

class RegistryAdapterKey final : public AdapterKey {
public:
    explicit RegistryAdapterKey(std::unique_ptr<RegistryKey> key) : key_(std::move(key)) {}

    bool readString(std::string_view valueName, std::size_t bufferSize,
                    std::string& value) override {
        std::string text;
        if (key_->queryString(valueName, bufferSize, text) != RegStatus::Ok) {
            return false;
        }
        value = std::move(text);
        return true;
    }

private:
    std::unique_ptr<RegistryKey> key_;
};

}  // namespace

RegistryAdapterKeys::RegistryAdapterKeys(RegistryStore& store) : store_(store) {}

RegistryAdapterKeys::RegistryAdapterKeys(std::unique_ptr<RegistryStore> store)
    : owned_(std::move(store)), store_(*owned_) {}

std::string RegistryAdapterKeys::connectionKeyPath(const std::string& adapterId) {
    return fitted(kConnectionKeyPrefix + adapterId + kConnectionKeySuffix);
}

std::string RegistryAdapterKeys::interfaceKeyPath(const std::string& adapterId) {
    return fitted(kInterfaceKeyPrefix + adapterId);
}

std::unique_ptr<AdapterKey> RegistryAdapterKeys::open(const std::string& path) {
    if (path.empty()) {
        return nullptr;
    }
    std::unique_ptr<RegistryKey> key;
    if (store_.openKey(path, RegAccess::Read, key) != RegStatus::Ok || !key) {
        return nullptr;
    }
    return std::make_unique<RegistryAdapterKey>(std::move(key));
}

std::unique_ptr<AdapterKey> RegistryAdapterKeys::openConnectionKey(const std::string& adapterId) {
    return open(connectionKeyPath(adapterId));
}

std::unique_ptr<AdapterKey> RegistryAdapterKeys::openInterfaceKey(const std::string& adapterId) {
    return open(interfaceKeyPath(adapterId));
}

}  // namespace quorrel::platform
