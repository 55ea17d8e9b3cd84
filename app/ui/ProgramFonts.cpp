#include "app/ui/ProgramFonts.h"

#include <QApplication>
#include <QFont>

#include "platform/ui/SystemWindows.h"
#include "resources/AppTexts.h"

namespace quorrel {

void applyProgramFonts() {
    if (platform::systemHasKoreanWindowsFaces()) {
        // A Korean Windows: its own 굴림, the face its dialogs use.
        QFont font = QApplication::font();
        font.setFamily(QString::fromUtf8(texts::kGulim));
        QApplication::setFont(font);
        return;
    }
    QFont::insertSubstitution(QString::fromUtf8(texts::kGulimChe),
                              QString::fromUtf8(texts::kGulimCheSubstitute));
    QFont::insertSubstitution(QString::fromUtf8(texts::kGulim),
                              QString::fromUtf8(texts::kGulimSubstitute));
    QFont font = QApplication::font();
    font.setFamily(QString::fromUtf8(texts::kApplicationFont));
    QApplication::setFont(font);
}

}  // namespace quorrel
