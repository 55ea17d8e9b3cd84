#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/AboutLayout.h"

namespace quorrel {
namespace {

TEST(DialogUnits, ConvertWithTheFontsAverageWidthAndHeightRoundingHalvesUp) {
    const DialogBaseUnits base{6, 12};
    EXPECT_EQ(dialogRectToPixels(7, 7, 242, 127, base), (PixelRect{11, 11, 363, 191}));
    // 255 * 6 / 4 = 382.5 and 201 * 12 / 8 = 301.5 round up.
    EXPECT_EQ(dialogUnitsToPixels(255, 6, 4), 383);
    EXPECT_EQ(dialogUnitsToPixels(201, 12, 8), 302);
    EXPECT_EQ(dialogUnitsToPixels(-3, 6, 4), -5);
    EXPECT_EQ(dialogUnitsToPixels(5, 6, 0), 0);

    // The average over the 52 letters, rounded: 338 / 52 = 6.5 gives 7, 312 / 52 = 6.
    EXPECT_EQ(averageCharWidth(338), 7);
    EXPECT_EQ(averageCharWidth(312), 6);
}

AboutContent smallContent() {
    AboutContent content;
    content.bannerWidth = 300;
    content.bannerHeight = 100;
    content.iconSize = 16;
    content.versionTextWidth = 40;
    content.productLinkTextWidth = 40;
    content.separatorTextWidth = 4;
    content.makerLinkTextWidth = 40;
    content.freeOfChargeTextWidth = 60;
    return content;
}

TEST(AboutLayout, KeepsTheTemplatesPlacesWhenEverythingFits) {
    // The banner the template was drawn for, in its 12-pixel font: the places as given.
    const DialogBaseUnits base{6, 12};
    AboutContent content = smallContent();
    content.bannerWidth = 420;
    content.bannerHeight = 150;
    const AboutLayout l = layoutAboutDialog(base, content);
    const int shift = l.icon.y - dialogRectToPixels(7, 119, 20, 20, base).y;
    EXPECT_LE(std::abs(shift), 1) << "the template's own banner needs (almost) no shift";
    const auto moved = [shift](PixelRect rect) {
        rect.y += shift;
        return rect;
    };
    EXPECT_EQ(l.icon, moved(dialogRectToPixels(7, 119, 20, 20, base)));
    EXPECT_EQ(l.version, moved(dialogRectToPixels(34, 119, 177, 8, base)));
    EXPECT_EQ(l.productLink, moved(dialogRectToPixels(34, 153, 82, 8, base)));
    EXPECT_EQ(l.separator, moved(dialogRectToPixels(118, 154, 8, 8, base)));
    EXPECT_EQ(l.makerLink, moved(dialogRectToPixels(127, 154, 86, 8, base)));
    EXPECT_EQ(l.okButton.y, moved(dialogRectToPixels(198, 178, 50, 16, base)).y);
    EXPECT_EQ(l.height, 302 + shift);
    // The banner is shown at its own size inside its edge.
    EXPECT_EQ(l.banner, (PixelRect{11, 11, 422, 152}));
}

TEST(AboutLayout, NoWideBandUnderTheBannerWhateverTheFontOrBanner) {
    // A taller font (as NanumBarunGothic's 14 pixels) or a smaller banner would leave the
    // rows where the template's units put them, far under the banner.
    struct Case {
        DialogBaseUnits base;
        int bannerHeight;
    };
    for (const Case c : {Case{{7, 14}, 150}, Case{{6, 12}, 100}, Case{{8, 17}, 150}}) {
        AboutContent content = smallContent();
        content.bannerHeight = c.bannerHeight;
        const AboutLayout l = layoutAboutDialog(c.base, content);
        const int gap = std::min(l.icon.y, l.version.y) - l.banner.bottom();
        EXPECT_EQ(gap, dialogUnitsToPixels(11, c.base.charHeight, 8)) << c.base.charHeight;
        // The rows keep their spacing, and the dialog ends under the button.
        EXPECT_EQ(l.productLink.y - l.version.y,
                  dialogUnitsToPixels(153, c.base.charHeight, 8) -
                      dialogUnitsToPixels(119, c.base.charHeight, 8));
        EXPECT_EQ(l.height - l.okButton.bottom(),
                  dialogUnitsToPixels(201, c.base.charHeight, 8) -
                      dialogUnitsToPixels(178, c.base.charHeight, 8) -
                      dialogUnitsToPixels(16, c.base.charHeight, 8));
    }
}

bool overlap(const PixelRect& a, const PixelRect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

TEST(AboutLayout, WideTextsAndATallBannerPushTheirNeighboursAndTheEdgesOut) {
    const DialogBaseUnits base{6, 12};
    AboutContent content = smallContent();
    content.bannerWidth = 420;
    content.bannerHeight = 150;
    content.iconSize = 32;
    content.productLinkTextWidth = 182;
    content.makerLinkTextWidth = 158;
    const AboutLayout l = layoutAboutDialog(base, content);

    EXPECT_EQ(l.productLink.width, 182);
    EXPECT_EQ(l.separator.x, l.productLink.right());
    EXPECT_EQ(l.makerLink.x, l.separator.right());
    EXPECT_EQ(l.makerLink.width, 158);
    EXPECT_EQ(l.icon.width, 32);

    const std::vector<PixelRect> all{l.banner,    l.icon,      l.version,      l.productLink,
                                     l.separator, l.makerLink, l.freeOfCharge, l.okButton};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_GE(all[i].x, 0) << i;
        EXPECT_LE(all[i].right(), l.width) << i;
        EXPECT_LE(all[i].bottom(), l.height) << i;
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            EXPECT_FALSE(overlap(all[i], all[j])) << i << " overlaps " << j;
        }
    }
    // The button keeps the template's distance from the right edge (383 - 372 = 11).
    EXPECT_EQ(l.width - l.okButton.right(), 11);
}

TEST(AboutLayout, ALargeFontStillLeavesTheRowsBelowTheBanner) {
    // With a small font the template's rows would start inside a 150-pixel banner.
    const DialogBaseUnits base{4, 8};
    AboutContent content = smallContent();
    content.bannerHeight = 150;
    const AboutLayout l = layoutAboutDialog(base, content);
    EXPECT_GT(l.icon.y, l.banner.bottom());
    EXPECT_GT(l.version.y, l.banner.bottom());
    EXPECT_GT(l.productLink.y, l.version.bottom());
    EXPECT_LE(l.okButton.bottom(), l.height);
}

}  // namespace
}  // namespace quorrel
