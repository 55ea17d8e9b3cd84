#pragma once

#include <string>

namespace quorrel::platform {

// Finds the running instance's top-level window whose title is exactly `title` and, when
// there is one, restores it (from minimised too) and brings it to the front.
//   Windows: FindWindowA, ShowWindow(SW_SHOWNORMAL), SetForegroundWindow.
//   Linux:   the running instance answers on its local channel
//            (platform/ui/linux/InstanceChannel.h).
class WindowLookup {
public:
    virtual ~WindowLookup() = default;
    // True when such a window was found (and raised).
    virtual bool restoreWindowTitled(const std::string& title) = 0;
};

}  // namespace quorrel::platform
