#include "system/win32/Win32CodePage.h"

#include <windows.h>

namespace quorrel::system::win32 {

namespace {

std::wstring toWide(std::string_view bytes, unsigned codePage, DWORD flags) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
    return wide;
}

// One character (a code point, perhaps a surrogate pair) in `codePage`; false when the
// code page has no form for it.
bool oneCharacter(std::wstring_view character, unsigned codePage, std::string& out) {
    char buffer[8];
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, character.data(),
                                        static_cast<int>(character.size()), buffer, sizeof buffer,
                                        nullptr, &usedDefault);
    if (n <= 0 || usedDefault) {
        return false;
    }
    out.append(buffer, static_cast<std::size_t>(n));
    return true;
}

}  // namespace

std::wstring utf8ToWide(std::string_view utf8) {
    return toWide(utf8, CP_UTF8, 0);
}

std::string wideToUtf8(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::string utf8ToCodePage(std::string_view utf8, unsigned codePage, bool* lossless) {
    const std::wstring wide = utf8ToWide(utf8);
    if (codePage == CP_UTF8) {
        if (lossless != nullptr) {
            *lossless = wide.find(L'\xFFFD') == std::wstring::npos;
        }
        return wideToUtf8(wide);
    }
    std::string out;
    bool complete = true;
    // Character by character, so that each unmappable character (a surrogate pair
    // included) becomes exactly one '?'.
    for (std::size_t i = 0; i < wide.size();) {
        std::size_t length = 1;
        if (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() &&
            wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            length = 2;
        }
        const std::wstring_view character(wide.data() + i, length);
        if (wide[i] == 0xFFFD || !oneCharacter(character, codePage, out)) {
            out += '?';
            complete = false;
        }
        i += length;
    }
    if (lossless != nullptr) {
        *lossless = complete;
    }
    return out;
}

std::string codePageToUtf8(std::string_view bytes, unsigned codePage) {
    if (codePage == CP_UTF8) {
        return wideToUtf8(toWide(bytes, CP_UTF8, 0));
    }
    std::wstring wide;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            wide += static_cast<wchar_t>(byte);
            ++i;
            continue;
        }
        // A lead byte and its trail byte, or a lone byte; whatever does not convert is
        // replaced and skipped one byte at a time.
        std::size_t length = ::IsDBCSLeadByteEx(codePage, byte) && i + 1 < bytes.size() ? 2 : 1;
        std::wstring converted = toWide(bytes.substr(i, length), codePage, MB_ERR_INVALID_CHARS);
        if (converted.empty()) {
            converted = L"\xFFFD";
            length = 1;
        }
        wide += converted;
        i += length;
    }
    return wideToUtf8(wide);
}

}  // namespace quorrel::system::win32
