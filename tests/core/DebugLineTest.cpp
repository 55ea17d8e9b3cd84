#include <gtest/gtest.h>

#include "base/DebugLine.h"

namespace quorrel {
namespace {

TEST(DebugLine, PrefixMessageAndLineFeed) {
    EXPECT_EQ(formatDebugLine(77, "x"), "[Quorrel](77): x\n");
    EXPECT_EQ(formatDebugLine(1234, ""), "[Quorrel](1234): \n");
}

TEST(DebugLine, LongMessageIsCutToFitTheBufferWithoutSplittingACharacter) {
    const std::string ascii = formatDebugLine(4294967295ul, std::string(5000, 'a'));
    EXPECT_EQ(ascii.size(), kDebugLineBufferSize - 1);  // the zero takes the last byte
    EXPECT_EQ(ascii.back(), '\n');

    std::string korean;
    for (int i = 0; i < 1000; ++i) {
        korean += "설";
    }
    const std::string line = formatDebugLine(7, korean);
    EXPECT_LE(line.size(), kDebugLineBufferSize - 1);
    EXPECT_EQ(line.back(), '\n');
    const std::string body = line.substr(std::string("[Quorrel](7): ").size());
    EXPECT_EQ((body.size() - 1) % 3, 0u);  // whole three-byte characters only
}

}  // namespace
}  // namespace quorrel
