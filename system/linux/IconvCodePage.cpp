#include "system/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>

#include "system/Cp949Run.h"

namespace quorrel::system {

namespace {

// One direction of iconv, opened once and reused: opening a converter costs far more than
// converting a line, and a data file has a line per profile.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (usable()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts `in` and appends the result to `out`. Stops at the first sequence that cannot
    // be converted and returns how many input bytes were taken; all of them when none.
    std::size_t convert(std::string_view in, std::string& out) {
        const std::lock_guard lock(mutex_);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());  // iconv does not write its input
        std::size_t inLeft = in.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                break;  // EILSEQ, or EINVAL for a sequence cut off at the end
            }
        }
        return in.size() - inLeft;
    }

private:
    iconv_t cd_;
    std::mutex mutex_;
};

// Length of the UTF-8 sequence that a lead byte starts, for skipping one that cannot be
// converted.
std::size_t utf8SequenceLength(unsigned char lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

Converter& toCp949() {
    static Converter converter("CP949", "UTF-8");
    return converter;
}

Converter& fromCp949() {
    static Converter converter("UTF-8", "CP949");
    return converter;
}

// Appends a byte that is not CP949 where it stands: ASCII as itself, any other carried.
void carry(std::string& out, unsigned char byte) {
    if (byte < 0x80) {
        out += static_cast<char>(byte);
    } else {
        appendCarriedByte(out, byte);
    }
}

}  // namespace

bool appendCp949Run(std::string_view utf8, std::string& out) {
    Converter& converter = toCp949();
    if (!converter.usable()) {
        out.append(utf8);
        return false;
    }
    bool lossless = true;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        pos += converter.convert(utf8.substr(pos), out);
        if (pos < utf8.size()) {
            // A character CP949 has no room for, or broken UTF-8.
            lossless = false;
            out += '?';
            pos += std::min(utf8SequenceLength(static_cast<unsigned char>(utf8[pos])),
                            utf8.size() - pos);
        }
    }
    return lossless;
}

std::string cp949ToUtf8(std::string_view bytes) {
    if (isAscii(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    Converter& converter = fromCp949();
    if (!converter.usable()) {
        for (const char c : bytes) {
            carry(out, static_cast<unsigned char>(c));
        }
        return out;
    }
    out.reserve(bytes.size() * 3 / 2);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        pos += converter.convert(bytes.substr(pos), out);
        if (pos < bytes.size()) {
            // Not CP949 here: carry this one byte and go on with the next.
            carry(out, static_cast<unsigned char>(bytes[pos]));
            ++pos;
        }
    }
    return out;
}

}  // namespace quorrel::system
