#include "app/FrameLayout.h"

#include "base/TextFormat.h"
#include "resources/AppTexts.h"

namespace quorrel {

FrameRect centredFrameRect(int screenWidth, int screenHeight) {
    return FrameRect{screenWidth / 2 - kFrameWidth / 2, screenHeight / 2 - kFrameHeight / 2,
                     kFrameWidth, kFrameHeight};
}

std::string frameTitle(const IpProfile* currentSettings) {
    const std::string adapter = currentSettings ? currentSettings->connectionName : std::string();
    return fillFormat(texts::kTitleFormat, {texts::kAppTitle, adapter});
}

}  // namespace quorrel
