#include "system/CodePage.h"

#include "system/Cp949Run.h"

namespace quorrel::system {

bool utf8ToCp949(std::string_view utf8, std::string& out) {
    out.clear();
    if (isAscii(utf8)) {
        out.assign(utf8);
        return true;
    }
    bool lossless = true;
    std::size_t start = 0;
    const auto convertUpTo = [&](std::size_t end) {
        if (end > start) {
            lossless = appendCp949Run(utf8.substr(start, end - start), out) && lossless;
        }
    };
    for (std::size_t pos = 0; pos < utf8.size();) {
        unsigned char carried = 0;
        if (carriedByteAt(utf8, pos, carried)) {
            convertUpTo(pos);
            out += static_cast<char>(carried);
            pos += kCarriedByteLength;
            start = pos;
        } else {
            ++pos;
        }
    }
    convertUpTo(utf8.size());
    return lossless;
}

}  // namespace quorrel::system
