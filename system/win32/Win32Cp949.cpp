#include "system/CodePage.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::system {

bool utf8ToCp949(std::string_view utf8, std::string& out) {
    bool lossless = true;
    out = win32::utf8ToCodePage(utf8, win32::kProgramCodePage, &lossless);
    return lossless;
}

std::string cp949ToUtf8(std::string_view bytes) {
    return win32::codePageToUtf8(bytes, win32::kProgramCodePage);
}

}  // namespace quorrel::system
