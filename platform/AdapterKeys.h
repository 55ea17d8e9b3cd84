#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quorrel::platform {

// Value names of the two per-adapter keys.
inline constexpr const char* kConnectionNameValue = "Name";    // in the connection key
inline constexpr const char* kNameServerValue = "NameServer";  // in the interface key

// One open per-adapter key, opened for reading; closing it is destroying it.
class AdapterKey {
public:
    virtual ~AdapterKey() = default;

    // Reads a text value as into a buffer of `bufferSize` bytes that must also hold the
    // terminating zero. False when the value is missing, unreadable or does not fit;
    // `value` is then left alone.
    virtual bool readString(std::string_view valueName, std::size_t bufferSize,
                            std::string& value) = 0;
};

// The two keys the system keeps per adapter: the connection key, whose "Name" is the
// connection name the user knows, and the TCP/IP interface key, whose "NameServer" holds
// the hand-set DNS servers joined by commas ("" when they are obtained automatically).
class AdapterKeys {
public:
    virtual ~AdapterKeys() = default;

    // nullptr when the key cannot be opened.
    virtual std::unique_ptr<AdapterKey> openConnectionKey(const std::string& adapterId) = 0;
    virtual std::unique_ptr<AdapterKey> openInterfaceKey(const std::string& adapterId) = 0;
};

// The keys of this machine (the registry on Windows; on Linux the interface itself and
// the network state kept by our netsh).
std::unique_ptr<AdapterKeys> makeSystemAdapterKeys();

}  // namespace quorrel::platform
