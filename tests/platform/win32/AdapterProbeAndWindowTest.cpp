#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/AdapterProbe.h"
#include "platform/win32/Win32WindowLookup.h"
#include "tests/platform/win32/RunSelf.h"

namespace quorrel::platform {
namespace {

TEST(Win32AdapterProbe, TheSystemReportsAnAdapterTable) {
    // wine reports its adapters (at least the host's) through GetAdaptersInfo.
    EXPECT_TRUE(makeSystemAdapterProbe()->hasAdapter());
}

// Under wine without a display no window can be made with the usual graphics driver; its
// "null" driver makes real windows that are never drawn. Chosen only in that case, in the
// wine prefix of the tests, before the first window of the process.
void useWineNullDriverWithoutDisplay() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    const bool underWine =
        ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    char display[8];
    const bool hasDisplay =
        ::GetEnvironmentVariableA("DISPLAY", display, sizeof display) > 0 ||
        ::GetEnvironmentVariableA("WAYLAND_DISPLAY", display, sizeof display) > 0;
    if (!underWine || hasDisplay) {
        return;
    }
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", 0, nullptr, 0,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    if (::RegQueryValueExA(key, "Graphics", nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        static const char kNull[] = "null";
        ::RegSetValueExA(key, "Graphics", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNull),
                         sizeof kNull);
    }
    ::RegCloseKey(key);
}

// A plain top-level window of our own class, with the given title.
class TestWindow {
public:
    explicit TestWindow(const std::string& title) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuorrelLookupTestWindow";
        ::RegisterClassA(&windowClass);  // fails harmlessly when already registered
        handle_ =
            ::CreateWindowExA(0, windowClass.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 10,
                              10, 200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~TestWindow() {
        if (handle_ != nullptr) {
            ::DestroyWindow(handle_);
        }
    }
    HWND handle() const { return handle_; }

private:
    HWND handle_ = nullptr;
};

TEST(Win32WindowLookup, FindsAndRestoresOnlyTheWindowWithExactlyThatTitle) {
    const std::string title = "Quorrel v2.1.1 lookup " + std::to_string(::GetCurrentProcessId());
    useWineNullDriverWithoutDisplay();
    TestWindow window(title);
    if (window.handle() == nullptr) {
        // The graphics driver is chosen when a process starts: a process started now runs
        // with the driver just chosen.
        std::string child;
        ASSERT_FALSE(test::childValue("QUORREL_WINDOW_CHILD", child)) << "no window here";
        EXPECT_EQ(test::runSelf("Win32WindowLookup.*", "QUORREL_WINDOW_CHILD", "1"), 0);
        return;
    }
    ::ShowWindow(window.handle(), SW_MINIMIZE);

    Win32WindowLookup lookup;
    EXPECT_FALSE(lookup.restoreWindowTitled(title + "  [x]"));
    EXPECT_FALSE(lookup.restoreWindowTitled(title.substr(0, title.size() - 1)));
    EXPECT_TRUE(::IsIconic(window.handle()));

    EXPECT_TRUE(lookup.restoreWindowTitled(title));
    EXPECT_FALSE(::IsIconic(window.handle())) << "restored from minimised";
    EXPECT_TRUE(::IsWindowVisible(window.handle()));
}

}  // namespace
}  // namespace quorrel::platform
