#include "adapters/ui/DialogFonts.h"

#include <QStringList>

#include "resources/AppTexts.h"

namespace quorrel {

namespace {

constexpr int kHeadingPixels = 14;
constexpr int kSubheadingPixels = 13;
constexpr int kBodyPixels = 12;
constexpr int kBold = 700;
constexpr int kNormal = 400;

QFont dialogFont(int pixels, int weight) {
    QFont font(QString::fromUtf8(texts::kGulimChe));
    font.setPixelSize(pixels);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

DialogFonts makeDialogFonts() {
    const QString face = QString::fromUtf8(texts::kGulimChe);
    if (QFont::substitutes(face).isEmpty()) {
        QFont::insertSubstitution(face, QString::fromUtf8(texts::kGulimCheSubstitute));
    }
    return DialogFonts{dialogFont(kHeadingPixels, kBold), dialogFont(kSubheadingPixels, kBold),
                       dialogFont(kBodyPixels, kNormal)};
}

}  // namespace quorrel
