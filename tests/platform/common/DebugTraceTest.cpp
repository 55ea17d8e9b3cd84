#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/DebugTrace.h"

namespace quorrel {
namespace {

class DebugTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setDebugSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    void TearDown() override { platform::setDebugSink({}); }
    std::vector<std::string> lines;
};

TEST_F(DebugTraceTest, FormatsOneLineWithTheCallingThreadsId) {
    DebugTrace("%s", "x");
    unsigned long otherId = 0;
    std::thread([&otherId] {
        otherId = platform::currentThreadId();
        DebugTrace("apply %d", 2);
    }).join();

    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "[Quorrel](" + std::to_string(platform::currentThreadId()) + "): x\n");
    EXPECT_EQ(lines[1], "[Quorrel](" + std::to_string(otherId) + "): apply 2\n");
    EXPECT_NE(otherId, platform::currentThreadId());
}

TEST_F(DebugTraceTest, AnOverlongMessageStaysWithinTheBuffer) {
    const std::string longText(3000, 'q');
    DebugTrace("%s", longText.c_str());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_LE(lines[0].size(), 1023u);
    EXPECT_EQ(lines[0].back(), '\n');
}

}  // namespace
}  // namespace quorrel
