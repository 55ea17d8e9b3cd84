#include "listview/TextOrder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <future>
#include <system_error>

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

// From this many rows on, two threads sort.
constexpr std::size_t kSortInHalvesFrom = 20000;

}  // namespace

std::vector<std::size_t> stableTextOrder(std::size_t count, const TextAt& textAt, bool ascending) {
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
    const auto before = [&](const Key& a, const Key& b) {
        const int order = ascending ? compare(a, b) : compare(b, a);
        return order < 0 || (order == 0 && a.index < b.index);
    };
    std::vector<Key> keys(count);
    const auto sortPart = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            const std::string_view text = textAt(i);
            keys[i] = {bytesFrom(text, 0), bytesFrom(text, 8), i};
        }
        std::sort(keys.begin() + static_cast<std::ptrdiff_t>(from),
                  keys.begin() + static_cast<std::ptrdiff_t>(to), before);
    };
    // A long list is sorted in two halves side by side, which are then merged; as no two
    // keys are equal in `before`, that is the one order a whole sort gives.
    std::size_t half = count >= kSortInHalvesFrom ? count / 2 : count;
    std::future<void> second;
    if (half < count) {
        try {
            second = std::async(std::launch::async, sortPart, half, count);
        } catch (const std::system_error&) {
            half = count;  // no thread to be had: all on this one
        }
    }
    sortPart(0, half);
    if (second.valid()) {
        second.get();
    }
    std::vector<std::size_t> order(count);
    std::size_t a = 0;
    std::size_t b = half;
    for (std::size_t& next : order) {
        const bool fromSecond = a == half || (b < count && before(keys[b], keys[a]));
        next = fromSecond ? keys[b++].index : keys[a++].index;
    }
    return order;
}

std::vector<std::size_t> stableTextOrder(const std::vector<std::string_view>& texts,
                                         bool ascending) {
    return stableTextOrder(
        texts.size(), [&texts](std::size_t index) { return texts[index]; }, ascending);
}

}  // namespace quorrel
