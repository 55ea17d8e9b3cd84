#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorrel::platform {

// One adapter as the platform's adapter table reports it. Texts are UTF-8; the address
// texts are dotted decimal, "" when the adapter has no such address.
struct AdapterTableEntry {
    std::string adapterId;              // GUID in braces on Windows, interface name on Linux
    std::vector<std::uint8_t> address;  // hardware address bytes, at most 8
    std::uint32_t dhcpEnabled = 0;      // as reported; only the value 1 means DHCP
    std::string ipAddress;              // first address of the adapter
    std::string subnetMask;             // mask of that address
    std::string gateway;                // first default gateway
};

enum class AdapterFetch {
    Ok,
    // The table grew since `size` was learnt; `size` now holds the size it needs.
    BufferTooSmall,
    // The table could not be read.
    Failed,
};

// The machine's adapter table, read in two calls like the system's own interface: first
// its size in bytes, then the table itself into a buffer of that size.
class AdapterTable {
public:
    virtual ~AdapterTable() = default;

    // Size of the table in bytes; 0 means that there is no adapter.
    virtual std::size_t probeSize() = 0;

    // Reads the table, as into a buffer of `size` bytes, in the platform's order. On
    // BufferTooSmall `size` is updated and `entries` is left empty.
    virtual AdapterFetch fetch(std::size_t& size, std::vector<AdapterTableEntry>& entries) = 0;
};

// The adapter table of this machine (GetAdaptersInfo on Windows, the kernel's interfaces
// on Linux).
std::unique_ptr<AdapterTable> makeSystemAdapterTable();

}  // namespace quorrel::platform
