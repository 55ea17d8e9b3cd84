#include <windows.h>

#include "system/CodePage.h"
#include "system/Cp949Run.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel::system {

namespace {

// One character of the code page at the start of `bytes` (a lead and a trail byte, or a
// single byte) in UTF-16; empty when it is not valid there.
std::wstring oneCharacter(std::string_view bytes, std::size_t& length) {
    const auto byte = static_cast<unsigned char>(bytes.front());
    length = ::IsDBCSLeadByteEx(win32::kProgramCodePage, byte) && bytes.size() > 1 ? 2 : 1;
    wchar_t wide[4];
    const int n = ::MultiByteToWideChar(win32::kProgramCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                        static_cast<int>(length), wide, 4);
    return n > 0 ? std::wstring(wide, static_cast<std::size_t>(n)) : std::wstring();
}

}  // namespace

bool appendCp949Run(std::string_view utf8, std::string& out) {
    bool complete = true;
    out += win32::utf8ToCodePage(utf8, win32::kProgramCodePage, &complete);
    return complete;
}

std::string cp949ToUtf8(std::string_view bytes) {
    if (isAscii(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    std::wstring pending;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (byte < 0x80) {
            pending += static_cast<wchar_t>(byte);
            ++pos;
            continue;
        }
        std::size_t length = 1;
        const std::wstring converted = oneCharacter(bytes.substr(pos), length);
        if (!converted.empty()) {
            pending += converted;
            pos += length;
            continue;
        }
        // Not valid here: carry this one byte and go on with the next.
        out += win32::wideToUtf8(pending);
        pending.clear();
        appendCarriedByte(out, byte);
        ++pos;
    }
    out += win32::wideToUtf8(pending);
    return out;
}

}  // namespace quorrel::system
