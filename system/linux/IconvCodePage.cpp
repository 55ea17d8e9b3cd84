#include "system/CodePage.h"

#include <iconv.h>

#include <cerrno>

namespace quorrel::system {

namespace {

// One conversion with iconv. `onInvalid` is appended in place of a sequence that cannot
// be converted, and that sequence is skipped: one input byte when `byteWise`, else one
// UTF-8 character. Returns whether the conversion was lossless.
bool convert(const char* to, const char* from, std::string_view in, std::string& out,
             std::string_view onInvalid, bool byteWise) {
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out.assign(in);
        return false;
    }
    bool lossless = true;
    std::string input(in);
    char* inPtr = input.data();
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL (a sequence cut off at the end): replace and skip it.
        lossless = false;
        out += onInvalid;
        std::size_t skip = 1;
        if (!byteWise) {
            const auto lead = static_cast<unsigned char>(*inPtr);
            skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            // Continuation bytes of a damaged sequence are skipped with it.
            while (skip > 1 && skip > inLeft) {
                --skip;
            }
        }
        inPtr += skip;
        inLeft -= skip;
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    iconv_close(cd);
    return lossless;
}

}  // namespace

bool utf8ToCp949(std::string_view utf8, std::string& out) {
    return convert("CP949", "UTF-8", utf8, out, "?", false);
}

std::string cp949ToUtf8(std::string_view bytes) {
    std::string out;
    convert("UTF-8", "CP949", bytes, out, "\xEF\xBF\xBD", true);
    return out;
}

}  // namespace quorrel::system
