#pragma once

#include "app/DialogUnits.h"

namespace quorrel {

// Where the controls of the about dialog go, in pixels. The rows under the banner start a
// fixed distance below it and keep the template's spacing among themselves (the dialog's
// height follows them); across, the template's places are kept;
// where a text or the banner is wider than its place, the control grows to fit, the
// controls to its right move along, and the dialog widens, so nothing is cut off.
struct AboutLayout {
    PixelRect banner;
    PixelRect icon;
    PixelRect version;
    PixelRect productLink;
    PixelRect separator;
    PixelRect makerLink;
    PixelRect freeOfCharge;
    PixelRect okButton;
    int width = 0;  // the client area
    int height = 0;
};

// Sizes the layout needs besides the dialog font: the banner picture, the icon, and the
// widths of the texts in their fonts (the links use a font of their own).
struct AboutContent {
    int bannerWidth = 0;
    int bannerHeight = 0;
    int iconSize = 0;
    int versionTextWidth = 0;
    int productLinkTextWidth = 0;
    int separatorTextWidth = 0;
    int makerLinkTextWidth = 0;
    int freeOfChargeTextWidth = 0;
};

AboutLayout layoutAboutDialog(DialogBaseUnits base, const AboutContent& content);

}  // namespace quorrel
