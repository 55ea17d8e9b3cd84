#include "listview/TextOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace quorrel {
namespace {

using namespace std::string_literals;

// The order std::stable_sort gives by the texts themselves.
std::vector<std::size_t> plainOrder(const std::vector<std::string>& texts, bool ascending) {
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return ascending ? texts[a] < texts[b] : texts[b] < texts[a];
    });
    return order;
}

TEST(TextOrder, SortsAsTheTextsCompareAndKeepsEqualTextsInOrder) {
    // Texts that differ only after their first 16 bytes, a shorter text that begins a longer
    // one, a byte 0 inside a text, bytes above 0x7F (Korean), and equal texts.
    const std::vector<std::string> texts = {
        "사무실 10",
        "사무실 2",
        "사무실 1",
        "abcdefghijklmnopB",
        "abcdefghijklmnopA",
        "abcdefghijklmnop",
        "ab",
        "ab\0"s,
        "ab\0c"s,
        "",
        "집",
        "lab-2",
        "사무실 2",
        "\xff",
        "\x7f",
        "abcdefgh",
        "abcdefgh\x01",
        "abcdefghijklmnopA",
    };
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    for (const bool ascending : {true, false}) {
        EXPECT_EQ(stableTextOrder(views, ascending), plainOrder(texts, ascending))
            << (ascending ? "ascending" : "descending");
    }
    EXPECT_TRUE(stableTextOrder({}, true).empty());
}

// Enough rows to be sorted in two halves and merged: many equal texts in both halves, texts
// that begin alike past their first 16 bytes.
TEST(TextOrder, ALongListSortedInHalvesIsInTheSameOrder) {
    std::vector<std::string> texts;
    for (unsigned i = 0; i < 50000; ++i) {
        const unsigned mixed = i * 7919u % 1000u;
        texts.push_back((i % 2 == 0 ? "사무실 공유기 " : "lab-") + std::to_string(mixed));
    }
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    for (const bool ascending : {true, false}) {
        EXPECT_EQ(stableTextOrder(views, ascending), plainOrder(texts, ascending))
            << (ascending ? "ascending" : "descending");
    }
}

}  // namespace
}  // namespace quorrel
