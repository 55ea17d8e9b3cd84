#include "listview/TextOrder.h"

#include <algorithm>
#include <cstdint>

namespace quorrel {

namespace {

// A text's first 16 bytes as two numbers that compare as the bytes do (missing bytes count
// as 0), and the text itself for texts that begin alike.
struct Key {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    const std::string* text = nullptr;
    std::size_t index = 0;
};

std::uint64_t bytesFrom(const std::string& text, std::size_t from) {
    std::uint64_t value = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        value = (value << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return value;
}

// Where the padded beginnings differ, the shorter text's missing byte (0) is below the
// other's byte, or both are 0 and the comparison moves on: the texts' own order.
bool before(const Key& a, const Key& b) {
    if (a.high != b.high) {
        return a.high < b.high;
    }
    if (a.low != b.low) {
        return a.low < b.low;
    }
    return *a.text < *b.text;
}

}  // namespace

std::vector<std::size_t> stableTextOrder(const std::vector<const std::string*>& texts,
                                         bool ascending) {
    std::vector<Key> keys(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        keys[i] = {bytesFrom(*texts[i], 0), bytesFrom(*texts[i], 8), texts[i], i};
    }
    if (ascending) {
        std::stable_sort(keys.begin(), keys.end(), before);
    } else {
        std::stable_sort(keys.begin(), keys.end(),
                         [](const Key& a, const Key& b) { return before(b, a); });
    }
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        order[i] = keys[i].index;
    }
    return order;
}

}  // namespace quorrel
