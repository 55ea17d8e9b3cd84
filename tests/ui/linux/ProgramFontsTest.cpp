#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <optional>

#include "app/ui/ProgramFonts.h"
#include "apply/ApplyPlan.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "base/ui/QtText.h"
#include "resources/AppTexts.h"
#include "resources/ApplyTexts.h"

namespace quorrel {
namespace {

// The rows of ink of one character drawn on a baseline: the first row below the baseline
// is 0, rows above it are negative. Pixels lighter than mid-grey count as paper.
struct Ink {
    int top = 0;
    int bottom = 0;
    int pixels = 0;
};

Ink inkOf(const QFont& font, QChar character) {
    constexpr int kBaseline = 24;
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(8, kBaseline, QString(character));
    painter.end();
    Ink ink{99, -99, 0};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink.top = std::min(ink.top, y - kBaseline);
                ink.bottom = std::max(ink.bottom, y - kBaseline);
                ++ink.pixels;
            }
        }
    }
    return ink;
}

QFont face(const char* family, int points, int pixels) {
    QFont font(qs(family));
    if (points > 0) {
        font.setPointSize(points);
    } else {
        font.setPixelSize(pixels);
    }
    return font;
}

class ProgramFontsTest : public ::testing::Test {
protected:
    ProgramFontsTest() { applyProgramFonts(); }
};

TEST_F(ProgramFontsTest, TheKoreanFacesAreInstalledOnes) {
    EXPECT_EQ(QFontInfo(face(texts::kGulim, 9, 0)).family(), qs(texts::kGulimSubstitute));
    EXPECT_EQ(QFontInfo(face(texts::kGulimChe, 9, 0)).family(), qs(texts::kGulimCheSubstitute));
    EXPECT_EQ(QApplication::font().family(), qs(texts::kApplicationFont));
}

// A full stop and a comma are told apart at each size the list and the dialogs use, so an
// address never reads as a list of numbers: either the stop ends above the baseline while
// the comma reaches below it, or the comma is at least two rows taller than the stop.
// (NanumGothic fails at 9 points: both are one or two pixels on the same row.)
bool toldApart(const QFont& font) {
    const Ink stop = inkOf(font, '.');
    const Ink comma = inkOf(font, ',');
    if (stop.pixels == 0 || comma.pixels == 0) {
        return false;
    }
    const bool stopOnBaseline = stop.bottom < 0 && comma.bottom >= 0;
    const bool commaTaller = (comma.bottom - comma.top) - (stop.bottom - stop.top) >= 2;
    return stopOnBaseline || commaTaller;
}

TEST_F(ProgramFontsTest, AFullStopAndACommaLookDifferentAtTheDialogSizes) {
    struct Use {
        const char* family;
        int points;
        int pixels;
    };
    const Use uses[] = {
        {texts::kApplicationFont, 9, 0},  {texts::kApplicationFont, 0, 12},
        {texts::kApplicationFont, 0, 13}, {texts::kApplicationFont, 0, 14},
        {texts::kApplicationFont, 0, 16}, {texts::kGulim, 9, 0},
        {texts::kGulimChe, 9, 0},         {texts::kGulimChe, 0, 12},
        {texts::kGulimChe, 0, 13},
    };
    for (const Use& use : uses) {
        EXPECT_TRUE(toldApart(face(use.family, use.points, use.pixels)))
            << use.family << " " << use.points << "pt " << use.pixels << "px";
    }
    // The face this replaced, as the measure's own check.
    if (QFontInfo(face("NanumGothic", 9, 0)).family() == "NanumGothic") {
        EXPECT_FALSE(toldApart(face("NanumGothic", 9, 0)));
    }
}

// The fixed-width face: a Hangul syllable takes exactly two Latin cells, so text padded
// with spaces lines up to the pixel as laid out on screen.
TEST_F(ProgramFontsTest, TheFixedFaceSetsHangulInTwoLatinCells) {
    for (int pixels : {11, 12, 13, 14, 15, 16}) {
        const QFontMetrics metrics(face(texts::kGulimChe, 0, pixels));
        const int twenty = metrics.horizontalAdvance(QString(20, 'a'));
        EXPECT_EQ(metrics.horizontalAdvance(qs("가나다라마바사아자차")), twenty) << pixels;
        EXPECT_EQ(metrics.horizontalAdvance(QString(20, ' ')), twenty) << pixels;
        EXPECT_EQ(metrics.horizontalAdvance(QString(20, ':')), twenty) << pixels;
        EXPECT_EQ(metrics.horizontalAdvance(qs("IP주소       ")),
                  metrics.horizontalAdvance(qs("서브넷마스크 ")))
            << pixels;
    }
}

TEST_F(ProgramFontsTest, TheConfirmationsPaddedLabelsPutTheirColonsInOneColumn) {
    CApplyConfirmDlg dialog(makeConfirmationTexts("eth0", "10.0.0.1", "255.0.0.0", "10.0.0.254"));
    std::optional<int> column;
    int found = 0;
    for (const char* text :
         {texts::kConfirmIpLabel, texts::kConfirmMaskLabel, texts::kConfirmGatewayLabel}) {
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text() != qs(text)) {
                continue;
            }
            ++found;
            EXPECT_EQ(QFontInfo(label->font()).family(), qs(texts::kGulimCheSubstitute));
            const QFontMetrics metrics(label->font());
            const int colon =
                label->geometry().x() + label->contentsRect().x() +
                metrics.horizontalAdvance(label->text().left(label->text().indexOf(':')));
            if (!column) {
                column = colon;
            }
            EXPECT_EQ(colon, *column) << text;
        }
    }
    EXPECT_EQ(found, 3);
}

}  // namespace
}  // namespace quorrel
