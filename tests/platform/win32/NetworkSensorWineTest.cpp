// The Windows network sensor and watch where wine allows it: nothing leaves the machine, so
// the tests hold the sensor and the gateway question to their time limits and the watch to
// a prompt start and stop; the recognition on a real link change is tested on Linux.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "platform/NetworkSensor.h"
#include "platform/NetworkWatch.h"
#include "platform/win32/Win32ConnectionProbe.h"

namespace quorrel::platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(Win32NetworkSensor, AnUnknownAdapterOrASilentGatewayLeavesTheNetworkUnknownInTime) {
    const auto began = Clock::now();
    EXPECT_TRUE(makeSystemNetworkSensor()->look("no such connection", milliseconds(500)).empty());
    EXPECT_EQ(win32GatewayLinkAddress("10.0.0.256", milliseconds(500)), "");
    // The loopback has no link address to give, whatever wine makes of the question.
    EXPECT_EQ(win32GatewayLinkAddress("127.0.0.1", milliseconds(500)), "");
    EXPECT_LT(Clock::now() - began, milliseconds(3 * 500 + 1500));
}

TEST(Win32NetworkWatch, StartsAndStopsPromptly) {
    std::atomic<int> changes{0};
    const auto began = Clock::now();
    {
        const auto watch = watchSystemNetwork("로컬 영역 연결", [&] { ++changes; });
        ASSERT_NE(watch, nullptr);
    }
    EXPECT_LT(Clock::now() - began, milliseconds(2000)) << "the watch's thread ends on its own";
}

}  // namespace
}  // namespace quorrel::platform
