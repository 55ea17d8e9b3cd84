#include "base/CompactText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace quorrel {
namespace {

// Lengths on both sides of the 15 bytes held in the object itself.
TEST(CompactText, KeepsEveryLengthWithItsEndingZeroThroughCopyMoveAndAssign) {
    for (const std::size_t length : {0U, 1U, 14U, 15U, 16U, 17U, 300U}) {
        std::string text(length, 'a');
        for (std::size_t i = 0; i < length; ++i) {
            text[i] = static_cast<char>('a' + i % 26);
        }
        const CompactText original(text);
        EXPECT_EQ(original.view(), text) << length;
        EXPECT_EQ(original.c_str()[length], '\0') << length;

        CompactText copy(original);
        CompactText moved(std::move(copy));
        EXPECT_EQ(moved, text) << length;
        EXPECT_TRUE(copy.empty()) << length;  // NOLINT: a moved-from text is empty

        // Every change of storage: short to long, long to short, long to long.
        CompactText changed("x");
        changed = original;
        EXPECT_EQ(changed, text) << length;
        changed = std::string(length + 20, 'z');
        EXPECT_EQ(changed.size(), length + 20) << length;
        changed = std::move(moved);
        EXPECT_EQ(changed, text) << length;
    }
}

// A text assigned from a part of itself (inline and on the heap) is read before it goes.
TEST(CompactText, AssignsFromItsOwnBytes) {
    for (const std::string text : {"0123456789", "0123456789abcdefghijklmnopqrstuvwxyz"}) {
        CompactText value(text);
        value.assign(value.view().substr(1));
        EXPECT_EQ(value, text.substr(1));
        value.assign(value.view().substr(0, 3));
        EXPECT_EQ(value, text.substr(1, 3));
        EXPECT_EQ(value.c_str()[3], '\0');
    }
}

}  // namespace
}  // namespace quorrel
