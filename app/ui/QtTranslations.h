#pragma once

namespace quorrel {

// Qt's own texts (standard buttons, the folder prompt, the print dialog and the print
// preview) in Korean, whatever the system's language: the program's own texts are Korean,
// and a dialog that mixes both languages reads as broken. Loads Qt's Korean catalogue
// ("qtbase_ko.qm", Debian package qt6-translations-l10n) from Qt's translations folder
// once. Returns whether the catalogue is installed; without it Qt's texts stay English.
// Call once a QApplication exists.
bool installQtTranslations();

}  // namespace quorrel
