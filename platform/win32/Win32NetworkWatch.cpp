// The watch on Windows: NotifyAddrChange and NotifyRouteChange signal every change of the
// system's IPv4 address and route tables (a cable plugged in brings an address, a move
// another gateway). They do not say which adapter changed, so each signal counts as a
// possible move; the recognition only acts on a network other than the one it saw last.

// winsock2.h before windows.h, which would otherwise bring the old winsock.h.
#include <winsock2.h>
// After winsock2.h.
#include <windows.h>
// After windows.h: it relies on its types.
#include <iphlpapi.h>

#include <thread>

#include "platform/NetworkWatch.h"

namespace quorrel::platform {

namespace {

// One overlapped change notification, armed again after each signal.
class ChangeSignal {
public:
    using Arm = DWORD(WINAPI*)(PHANDLE, LPOVERLAPPED);
    explicit ChangeSignal(Arm request) : arm_(request) {
        overlapped_.hEvent = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    ~ChangeSignal() {
        if (armed_) {
            ::CancelIPChangeNotify(&overlapped_);
        }
        if (overlapped_.hEvent != nullptr) {
            ::CloseHandle(overlapped_.hEvent);
        }
    }
    ChangeSignal(const ChangeSignal&) = delete;
    ChangeSignal& operator=(const ChangeSignal&) = delete;

    bool arm() {
        HANDLE unused = nullptr;
        armed_ = overlapped_.hEvent != nullptr && arm_(&unused, &overlapped_) == ERROR_IO_PENDING;
        return armed_;
    }
    HANDLE event() const { return overlapped_.hEvent; }

private:
    Arm arm_;
    OVERLAPPED overlapped_{};
    bool armed_ = false;
};

class Win32NetworkWatch final : public NetworkWatch {
public:
    Win32NetworkWatch(HANDLE stop, std::function<void()> changed) : stop_(stop) {
        thread_ = std::thread([this, changed = std::move(changed)] {
            ChangeSignal addresses(::NotifyAddrChange);
            ChangeSignal routes(::NotifyRouteChange);
            if (!addresses.arm() || !routes.arm()) {
                return;
            }
            for (;;) {
                const HANDLE waits[3] = {stop_, addresses.event(), routes.event()};
                const DWORD woken = ::WaitForMultipleObjects(3, waits, FALSE, INFINITE);
                if (woken == WAIT_OBJECT_0 + 1) {
                    addresses.arm();
                } else if (woken == WAIT_OBJECT_0 + 2) {
                    routes.arm();
                } else {
                    return;
                }
                changed();
            }
        });
    }
    ~Win32NetworkWatch() override {
        ::SetEvent(stop_);
        thread_.join();
        ::CloseHandle(stop_);
    }
    Win32NetworkWatch(const Win32NetworkWatch&) = delete;
    Win32NetworkWatch& operator=(const Win32NetworkWatch&) = delete;

private:
    HANDLE stop_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<NetworkWatch> watchSystemNetwork(const std::string&,
                                                 std::function<void()> changed) {
    HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stop == nullptr) {
        return nullptr;
    }
    return std::make_unique<Win32NetworkWatch>(stop, std::move(changed));
}

}  // namespace quorrel::platform
