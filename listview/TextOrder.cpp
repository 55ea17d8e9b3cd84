#include "listview/TextOrder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quorrel {

namespace {

// A text's first 16 bytes as two numbers that compare as the bytes do (missing bytes count
// as 0), and the text's place.
struct Key {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::size_t index = 0;
};

std::uint64_t bytesFrom(std::string_view text, std::size_t from) {
    unsigned char bytes[8] = {};
    if (from < text.size()) {
        std::memcpy(bytes, text.data() + from, std::min<std::size_t>(8, text.size() - from));
    }
    std::uint64_t value = 0;
    for (const unsigned char byte : bytes) {
        value = (value << 8) | byte;
    }
    return value;
}

}  // namespace

std::vector<std::size_t> stableTextOrder(std::size_t count, const TextAt& textAt, bool ascending) {
    std::vector<Key> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text = textAt(i);
        keys[i] = {bytesFrom(text, 0), bytesFrom(text, 8), i};
    }
    // Where the padded beginnings differ, the shorter text's missing byte (0) is below the
    // other's byte, or both are 0 and the comparison moves on: the texts' own order. Equal
    // texts go by their places, which keeps the sort stable without a second buffer.
    const auto compare = [&textAt](const Key& a, const Key& b) {
        if (a.high != b.high) {
            return a.high < b.high ? -1 : 1;
        }
        if (a.low != b.low) {
            return a.low < b.low ? -1 : 1;
        }
        return textAt(a.index).compare(textAt(b.index));
    };
    std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        const int order = ascending ? compare(a, b) : compare(b, a);
        return order < 0 || (order == 0 && a.index < b.index);
    });
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        order[i] = keys[i].index;
    }
    return order;
}

std::vector<std::size_t> stableTextOrder(const std::vector<std::string_view>& texts,
                                         bool ascending) {
    return stableTextOrder(
        texts.size(), [&texts](std::size_t index) { return texts[index]; }, ascending);
}

}  // namespace quorrel
