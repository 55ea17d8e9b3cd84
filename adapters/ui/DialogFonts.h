#pragma once

#include <QFont>

namespace quorrel {

// The fonts of the adapter dialogs, all in the fixed-pitch face "굴림체" (which the
// program maps to NanumGothicCoding), sized in pixels.
struct DialogFonts {
    QFont heading;     // 14 pixels, bold: the list heading, the status heading
    QFont subheading;  // 13 pixels, bold: the details heading
    QFont body;        // 12 pixels, normal: labels, value fields, the list, the check box
};

// Makes the three fonts, mapping "굴림체" to its stand-in first if nobody has yet.
DialogFonts makeDialogFonts();

}  // namespace quorrel
