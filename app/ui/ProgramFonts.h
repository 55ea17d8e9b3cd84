#pragma once

namespace quorrel {

// The application font (NanumGothic), and the Korean Windows faces the dialogs name mapped
// to the faces installed here: "굴림체" to NanumGothicCoding (fixed pitch, so padded labels
// line up), "굴림" to NanumGothic. Call once a QApplication exists.
void applyProgramFonts();

}  // namespace quorrel
