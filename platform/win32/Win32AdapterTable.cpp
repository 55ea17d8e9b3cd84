// The adapter table on Windows: GetAdaptersInfo, asked twice (size, then table).

#include <windows.h>
// windows.h first: iphlpapi.h relies on its types.
#include <iphlpapi.h>

#include <cstring>
#include <vector>

#include "platform/AdapterTable.h"
#include "platform/RegistryAdapterKeys.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::platform {

namespace win32 = system::win32;

namespace {

// A fixed-size character field of the table, up to its first zero.
template <std::size_t N>
std::string fieldText(const char (&field)[N]) {
    return std::string(field, ::strnlen(field, N));
}

class Win32AdapterTable final : public AdapterTable {
public:
    // Asked without a buffer, GetAdaptersInfo writes the size the table needs; it stays 0
    // when there is no adapter.
    std::size_t probeSize() override {
        ULONG size = 0;
        ::GetAdaptersInfo(nullptr, &size);
        return size;
    }

    AdapterFetch fetch(std::size_t& size, std::vector<AdapterTableEntry>& entries) override {
        entries.clear();
        if (size == 0) {
            return AdapterFetch::Failed;
        }
        // Whole records, so that the table is aligned as the system expects.
        std::vector<IP_ADAPTER_INFO> buffer((size + sizeof(IP_ADAPTER_INFO) - 1) /
                                            sizeof(IP_ADAPTER_INFO));
        ULONG length = static_cast<ULONG>(size);
        const DWORD result = ::GetAdaptersInfo(buffer.data(), &length);
        if (result == ERROR_BUFFER_OVERFLOW) {
            size = length;
            return AdapterFetch::BufferTooSmall;
        }
        if (result != NO_ERROR) {
            return AdapterFetch::Failed;
        }
        for (const IP_ADAPTER_INFO* info = buffer.data(); info != nullptr; info = info->Next) {
            AdapterTableEntry entry;
            entry.adapterId = win32::codePageToUtf8(fieldText(info->AdapterName), CP_ACP);
            const std::size_t bytes = info->AddressLength < MAX_ADAPTER_ADDRESS_LENGTH
                                          ? info->AddressLength
                                          : MAX_ADAPTER_ADDRESS_LENGTH;
            entry.address.assign(info->Address, info->Address + bytes);
            entry.dhcpEnabled = info->DhcpEnabled;
            entry.ipAddress = fieldText(info->IpAddressList.IpAddress.String);
            entry.subnetMask = fieldText(info->IpAddressList.IpMask.String);
            entry.gateway = fieldText(info->GatewayList.IpAddress.String);
            entries.push_back(std::move(entry));
        }
        return AdapterFetch::Ok;
    }
};

}  // namespace

std::unique_ptr<AdapterTable> makeSystemAdapterTable() {
    return std::make_unique<Win32AdapterTable>();
}

std::unique_ptr<AdapterKeys> makeSystemAdapterKeys() {
    return std::make_unique<RegistryAdapterKeys>(makeSystemRegistryStore());
}

}  // namespace quorrel::platform
