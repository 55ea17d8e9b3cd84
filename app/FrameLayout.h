#pragma once

#include <string>

#include "profiles/IpProfile.h"

namespace quorrel {

// Where the main window opens: 750 x 400 pixels in the middle of the primary screen.
struct FrameRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kFrameWidth = 750;
inline constexpr int kFrameHeight = 400;

// x = screenWidth / 2 - 375, y = screenHeight / 2 - 200; each halving truncates toward
// zero, so a 1024 x 768 screen gives 137, 184.
FrameRect centredFrameRect(int screenWidth, int screenHeight);

// The window title with the chosen adapter: "Quorrel v2.1.1  [선택 어댑터 : <name>]", the
// name being currentSettings' connectionName, or empty when there is no currentSettings.
std::string frameTitle(const IpProfile* currentSettings);

}  // namespace quorrel
