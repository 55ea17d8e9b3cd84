#include "netsh/Ipv4.h"

namespace quorrel::netsh {

std::optional<std::uint32_t> parseIpv4(std::string_view text) {
    std::uint32_t address = 0;
    int fields = 0;
    std::size_t i = 0;
    while (true) {
        const std::size_t start = i;
        unsigned value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3) {
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
            ++i;
        }
        const std::size_t digits = i - start;
        if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) {
            return std::nullopt;
        }
        address = (address << 8) | value;
        ++fields;
        if (fields == 4) {
            break;
        }
        if (i >= text.size() || text[i] != '.') {
            return std::nullopt;
        }
        ++i;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return address;
}

std::string formatIpv4(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

std::optional<int> prefixLengthOf(std::uint32_t mask) {
    int length = 0;
    while (length < 32 && (mask & (0x80000000u >> length)) != 0) {
        ++length;
    }
    if (maskOfPrefix(length) != mask) {
        return std::nullopt;
    }
    return length;
}

std::uint32_t maskOfPrefix(int prefixLength) {
    if (prefixLength <= 0) {
        return 0;
    }
    if (prefixLength >= 32) {
        return 0xFFFFFFFFu;
    }
    return ~(0xFFFFFFFFu >> prefixLength);
}

bool isUnicastHostAddress(std::uint32_t address) {
    const std::uint32_t first = address >> 24;
    return address != 0 && first != 127 && first < 224;
}

}  // namespace quorrel::netsh
