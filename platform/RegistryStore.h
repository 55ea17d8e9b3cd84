#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorrel::platform {

// The machine-wide registry (HKEY_LOCAL_MACHINE) behind a small interface with the
// success rules of the Windows registry functions. On Windows it is the real registry; on
// Linux a human-readable store file stands in for it. Key paths use backslashes
// ("SOFTWARE\\Varnok\\Quorrel"); names and values are UTF-8.

enum class RegStatus {
    Ok,
    NotFound,      // no such key or value
    MoreData,      // the value does not fit into the caller's buffer: a failed read
    AccessDenied,  // the key cannot be opened with the access asked for
    WrongType,     // the value exists with another type
    Failed,        // anything else (damaged store, I/O error)
};

enum class RegAccess { Read, AllAccess };

// An open key; closing it is destroying it.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // Reads a string value as into a buffer of `bufferSize` bytes that must also hold the
    // terminating zero: a value of bufferSize bytes or more is MoreData.
    virtual RegStatus queryString(std::string_view name, std::size_t bufferSize,
                                  std::string& value) = 0;
    virtual RegStatus queryDword(std::string_view name, std::uint32_t& value) = 0;
    virtual RegStatus setString(std::string_view name, std::string_view value) = 0;
    virtual RegStatus setDword(std::string_view name, std::uint32_t value) = 0;
};

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Opens an existing key; NotFound when it does not exist.
    virtual RegStatus openKey(std::string_view path, RegAccess access,
                              std::unique_ptr<RegistryKey>& key) = 0;

    // Opens the key for writing, creating it and any missing parent keys.
    virtual RegStatus createKey(std::string_view path, std::unique_ptr<RegistryKey>& key) = 0;
};

// The registry of this machine (the store file on Linux, at its default place or where
// the environment variable QUORREL_REGISTRY_DIR points).
std::unique_ptr<RegistryStore> makeSystemRegistryStore();

}  // namespace quorrel::platform
