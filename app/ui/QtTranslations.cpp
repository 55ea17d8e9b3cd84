#include "app/ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quorrel {

bool installQtTranslations() {
    auto* application = QCoreApplication::instance();
    if (application == nullptr) {
        return false;
    }
    // Installed once per application; the translator lives as long as the application.
    if (auto* installed = application->findChild<QTranslator*>("qtbaseKorean")) {
        return !installed->isEmpty();
    }
    auto* translator = new QTranslator(application);
    translator->setObjectName("qtbaseKorean");
    if (!translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace quorrel
