#include "app/ui/ProgramFonts.h"

#include <QApplication>
#include <QFont>

#include "resources/AppTexts.h"

namespace quorrel {

void applyProgramFonts() {
    QFont::insertSubstitution(QString::fromUtf8(texts::kGulimChe),
                              QString::fromUtf8(texts::kGulimCheSubstitute));
    QFont::insertSubstitution(QString::fromUtf8(texts::kGulim),
                              QString::fromUtf8(texts::kGulimSubstitute));
    QFont font = QApplication::font();
    font.setFamily(QString::fromUtf8(texts::kApplicationFont));
    QApplication::setFont(font);
}

}  // namespace quorrel
