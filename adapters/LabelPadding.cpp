#include "adapters/LabelPadding.h"

#include <cstdint>

namespace quorrel {

namespace {

// Decodes the code point at `text[i]`, advancing `i` past it; a broken sequence yields
// U+FFFD and advances by one byte.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        ++i;
        return U'\uFFFD';
    }
    if (i + length > text.size()) {
        ++i;
        return U'\uFFFD';
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<std::uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        value = (value << 6) | (next & 0x3F);
    }
    i += length;
    return value;
}

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) ||  // Hangul jamo (leading consonants)
           (c >= 0x2E80 && c <= 0x303E) ||  // CJK radicals, punctuation
           (c >= 0x3041 && c <= 0x33FF) ||  // kana, compatibility jamo, CJK symbols
           (c >= 0x3400 && c <= 0x4DBF) ||  // CJK extension A
           (c >= 0x4E00 && c <= 0x9FFF) ||  // CJK ideographs
           (c >= 0xA960 && c <= 0xA97F) ||  // Hangul jamo extended A
           (c >= 0xAC00 && c <= 0xD7A3) ||  // Hangul syllables
           (c >= 0xF900 && c <= 0xFAFF) ||  // CJK compatibility ideographs
           (c >= 0xFE30 && c <= 0xFE4F) ||  // CJK compatibility forms
           (c >= 0xFF00 && c <= 0xFF60) ||  // full-width forms
           (c >= 0xFFE0 && c <= 0xFFE6) ||  // full-width signs
           (c >= 0x20000 && c <= 0x3FFFD);  // CJK extensions B and later
}

}  // namespace

int displayColumns(std::string_view text) {
    int columns = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        columns += isWide(nextCodePoint(text, i)) ? 2 : 1;
    }
    return columns;
}

std::string paddedLabel(std::string_view caption, int columns) {
    std::string label(caption);
    for (int used = displayColumns(caption); used < columns; ++used) {
        label += ' ';
    }
    label += ": ";
    return label;
}

}  // namespace quorrel
