#include "listview/AddressValue.h"

#include <array>
#include <cstddef>

namespace quorrel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c, unsigned base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

// One part of an address starting at `pos`: its number, and `pos` moved past it. Fails on
// an empty part, a digit outside the base, or a number beyond 32 bits.
std::optional<std::uint32_t> parsePart(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || !isDigit(text[pos])) {
        return std::nullopt;
    }
    unsigned base = 10;
    if (text[pos] == '0') {
        base = 8;
        ++pos;
        if (pos < text.size() && (text[pos] == 'x' || text[pos] == 'X')) {
            base = 16;
            ++pos;
            if (pos >= text.size() || digitValue(text[pos], 16) < 0) {
                return std::nullopt;
            }
        }
    }
    std::uint64_t value = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '.' || c == ' ' || c == '\t') {
            break;
        }
        const int digit = digitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
        ++pos;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<AddressValue> parseAddress(std::string_view text) {
    std::array<std::uint32_t, 4> parts{};
    std::size_t count = 0;
    std::size_t pos = 0;
    while (true) {
        const auto part = parsePart(text, pos);
        if (!part) {
            return std::nullopt;
        }
        parts[count++] = *part;
        if (pos < text.size() && text[pos] == '.') {
            if (count == parts.size()) {
                return std::nullopt;
            }
            ++pos;
            continue;
        }
        break;
    }
    for (; pos < text.size(); ++pos) {
        if (text[pos] != ' ' && text[pos] != '\t') {
            return std::nullopt;
        }
    }
    // Every part but the last is one byte; the last fills the bytes that are left.
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (parts[i] > 0xFF) {
            return std::nullopt;
        }
    }
    const unsigned lastBits = 8 * static_cast<unsigned>(4 - (count - 1));
    if (lastBits < 32 && parts[count - 1] >= (std::uint64_t{1} << lastBits)) {
        return std::nullopt;
    }
    AddressValue value = parts[count - 1];
    for (std::size_t i = 0; i + 1 < count; ++i) {
        value |= parts[i] << (24 - 8 * i);
    }
    return value;
}

std::string formatAddress(AddressValue value) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        text += std::to_string((value >> shift) & 0xFFu);
        if (shift != 0) {
            text += '.';
        }
    }
    return text;
}

std::string formatAddressOrBlank(AddressValue value) {
    return value == 0 ? std::string() : formatAddress(value);
}

AddressValue addressOrBlank(std::string_view text) {
    return parseAddress(text).value_or(0);
}

}  // namespace quorrel
