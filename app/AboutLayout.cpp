#include "app/AboutLayout.h"

#include <algorithm>

namespace quorrel {

namespace {

// The template: client area 255 x 201, places as x, y, width, height.
constexpr int kDialogWidth = 255;
constexpr int kDialogHeight = 201;
constexpr int kMargin = 7;
// Between the banner's lower edge and the row of the icon and the version, down: the 16
// pixels the template leaves there with its own banner and font.
constexpr int kBannerGap = 11;

// Widens `rect` to `width` when that is more.
void fitWidth(PixelRect& rect, int width) {
    rect.width = std::max(rect.width, width);
}

// Puts `rect` at least `gap` to the right of `left`.
void keepRightOf(PixelRect& rect, const PixelRect& left, int gap) {
    rect.x = std::max(rect.x, left.right() + gap);
}

}  // namespace

AboutLayout layoutAboutDialog(DialogBaseUnits base, const AboutContent& content) {
    AboutLayout l;
    l.banner = dialogRectToPixels(7, 7, 242, 127, base);
    // The picture is shown at its own size, inside a sunken edge of one pixel on each side.
    l.banner.width = content.bannerWidth + 2;
    l.banner.height = content.bannerHeight + 2;
    l.icon = dialogRectToPixels(7, 119, 20, 20, base);
    l.icon.width = std::max(l.icon.width, content.iconSize);
    l.icon.height = std::max(l.icon.height, content.iconSize);
    l.version = dialogRectToPixels(34, 119, 177, 8, base);
    l.productLink = dialogRectToPixels(34, 153, 82, 8, base);
    l.separator = dialogRectToPixels(118, 154, 8, 8, base);
    l.makerLink = dialogRectToPixels(127, 154, 86, 8, base);
    l.freeOfCharge = dialogRectToPixels(34, 169, 120, 8, base);
    l.okButton = dialogRectToPixels(198, 178, 50, 16, base);

    // The rows under the banner keep one distance from it, whatever the banner's height
    // and the font's: the template's places assume a 150-pixel banner and a 12-pixel font,
    // so a taller font would leave a wide empty band and a taller banner would cover them.
    const int belowBanner = l.banner.bottom() + dialogUnitsToPixels(kBannerGap, base.charHeight, 8);
    const int shift = belowBanner - std::min(l.icon.y, l.version.y);
    for (PixelRect* rect : {&l.icon, &l.version, &l.productLink, &l.separator, &l.makerLink,
                            &l.freeOfCharge, &l.okButton}) {
        rect->y += shift;
    }

    fitWidth(l.version, content.versionTextWidth);
    fitWidth(l.productLink, content.productLinkTextWidth);
    fitWidth(l.separator, content.separatorTextWidth);
    fitWidth(l.makerLink, content.makerLinkTextWidth);
    fitWidth(l.freeOfCharge, content.freeOfChargeTextWidth);
    keepRightOf(l.separator, l.productLink, 0);
    keepRightOf(l.makerLink, l.separator, 0);

    const int margin = dialogUnitsToPixels(kMargin, base.charWidth, 4);
    const int contentRight = std::max(
        {l.banner.right(), l.version.right(), l.makerLink.right(), l.freeOfCharge.right()});
    l.width = std::max(dialogUnitsToPixels(kDialogWidth, base.charWidth, 4), contentRight + margin);
    // The button keeps its distance from the right edge.
    const int buttonMargin =
        dialogUnitsToPixels(kDialogWidth, base.charWidth, 4) - l.okButton.right();
    l.okButton.x = l.width - buttonMargin - l.okButton.width;
    l.height = std::max(dialogUnitsToPixels(kDialogHeight, base.charHeight, 8) + shift,
                        l.okButton.bottom() + margin);
    return l;
}

}  // namespace quorrel
