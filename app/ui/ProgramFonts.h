#pragma once

namespace quorrel {

// On Windows the application font is the system's 굴림. Elsewhere it is NanumBarunGothic,
// and the Korean Windows faces the dialogs name are mapped to the faces installed here:
// "굴림체" to NanumGothicCoding (fixed pitch with a Hangul syllable exactly two Latin cells
// wide at every size, so padded labels line up), "굴림" to NanumBarunGothic. Both keep "."
// on the baseline and "," below it at the dialogs' sizes. Call once a QApplication exists.
void applyProgramFonts();

}  // namespace quorrel
