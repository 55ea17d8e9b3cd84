#pragma once

#include "platform/WindowLookup.h"

namespace quorrel::platform {

// FindWindowA by the exact title, any window class; the window found is restored
// (SW_SHOWNORMAL) and made the foreground window.
class Win32WindowLookup final : public WindowLookup {
public:
    bool restoreWindowTitled(const std::string& title) override;
};

}  // namespace quorrel::platform
