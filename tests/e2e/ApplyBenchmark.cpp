// Timings of an apply, run by scripts/bench-apply.sh (the tests are disabled, so the
// suite never runs them): from "예" of the confirmation to the success message, for a
// fixed and for a DHCP profile in a network namespace (and for the fixed one over itself,
// which needs no duplicate-address probe), and a refill of the list with 10,000 profiles. They
// report figures and check only that every apply succeeded.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "listview/CTessupDoc.h"
#include "listview/ui/CTessupView.h"
#include "resources/ApplyTexts.h"
#include "tests/e2e/ApplyStage.h"
#include "tests/support/ProfileBuilder.h"

namespace quorrel {
namespace {

using test::ApplyStage;

int benchRuns() {
    const char* text = std::getenv("QUORREL_BENCH_RUNS");
    const int runs = text != nullptr ? std::atoi(text) : 0;
    return runs > 0 ? runs : 7;
}

void report(const char* what, std::vector<double> ms) {
    if (ms.empty()) {
        return;
    }
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    const double median = n % 2 == 1 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    std::printf("%-34s runs %2zu   min %8.1f ms   median %8.1f ms   max %8.1f ms\n", what, n,
                ms.front(), median, ms.back());
    std::fflush(stdout);
}

TEST(ApplyBenchmark, DISABLED_FromYesToTheSuccessMessage) {
    if (const std::string why = ApplyStage::unavailableReason(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    ApplyStage stage(QUORREL_NETSH_PATH);
    stage.open({test::fixedProfile("고정", "10.77.0.20").gateway("10.77.0.1").dns("10.77.0.53"),
                test::dhcpProfile("자동")});
    std::vector<double> fixed;
    std::vector<double> dhcp;
    for (int run = 0; run < benchRuns(); ++run) {
        for (const char* name : {"고정", "자동"}) {
            const std::size_t before = stage.prompter.messages.size();
            stage.apply(name);
            ASSERT_EQ(stage.prompter.messages.size(), before + 1);
            ASSERT_EQ(stage.prompter.messages.back().text, texts::kApplyDoneText) << name;
            const double ms = std::chrono::duration<double, std::milli>(
                                  stage.prompter.messageTimes.back() - stage.prompter.confirmedAt)
                                  .count();
            (std::string(name) == "고정" ? fixed : dhcp).push_back(ms);
        }
    }
    report("fixed profile, yes -> success", fixed);
    report("DHCP profile, yes -> success", dhcp);

    // The same fixed profile over itself: netsh does the same work but needs no probe of
    // the link for an address the interface has, so the difference to the fixed profile
    // above (from a leased address) is what the probe costs.
    std::vector<double> again;
    for (int run = 0; run <= benchRuns(); ++run) {
        const std::size_t before = stage.prompter.messages.size();
        stage.apply("고정");
        ASSERT_EQ(stage.prompter.messages.size(), before + 1);
        ASSERT_EQ(stage.prompter.messages.back().text, texts::kApplyDoneText);
        if (run > 0) {
            again.push_back(std::chrono::duration<double, std::milli>(
                                stage.prompter.messageTimes.back() - stage.prompter.confirmedAt)
                                .count());
        }
    }
    report("fixed profile over itself, no probe", again);
}

TEST(ApplyBenchmark, DISABLED_RefreshListOf10000Profiles) {
    ProfileList profiles;
    for (int i = 0; i < 10000; ++i) {
        IpProfile p;
        p.name = "설정 " + std::to_string(i);
        p.ipAddress = "10." + std::to_string(i / 65536 % 256) + "." +
                      std::to_string(i / 256 % 256) + "." + std::to_string(i % 256);
        p.subnetMask = "255.255.0.0";
        p.gateway = "10.0.0.1";
        p.useDhcp = i % 7 == 0 ? 1 : 0;
        p.dnsAuto = i % 3 == 0 ? 1 : 0;
        p.isCurrent = i == 5000 ? 1 : 0;
        profiles.append(p);
    }
    CTessupDoc document;
    CTessupView view(&document);
    view.resize(750, 400);
    view.show();
    view.OnInitialUpdate(profiles);
    std::vector<double> times;
    for (int run = 0; run < benchRuns(); ++run) {
        QElapsedTimer clock;
        clock.start();
        view.RefreshList(profiles);
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    EXPECT_EQ(view.rowCount(), 10000);
    report("RefreshList, 10,000 profiles", times);
}

}  // namespace
}  // namespace quorrel
