#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "apply/ApplyProgress.h"
#include "apply/ProgressTicker.h"
#include "tests/core/FakeProcessRunner.h"
#include "tests/core/RecordingPresenter.h"
#include "tests/core/UiQueue.h"
#include "tests/support/WaitUntil.h"

namespace quorrel {
namespace {

using Action = ProgressTicker::Step::Action;

struct FakeTimer : ProgressTimer {
    void start(int id, int period) override { events.push_back({true, id, period}); }
    void stop(int id) override { events.push_back({false, id, 0}); }
    struct Event {
        bool start;
        int id;
        int period;
    };
    std::vector<Event> events;
};

struct FakeDisplay : ProgressDisplay {
    void showFrame(int bitmap) override { frames.push_back(bitmap); }
    void end(ProgressResult result) override { ends.push_back(result); }
    std::vector<int> frames;
    std::vector<ProgressResult> ends;
};

TEST(ProgressTicker, AWorkerDoneBeforeTheFirstTickEndsItWithoutAnimating) {
    FakeTimer timer;
    ProgressTicker ticker(timer);
    ticker.start();
    ASSERT_EQ(timer.events.size(), 1u);
    EXPECT_TRUE(timer.events[0].start);
    EXPECT_EQ(timer.events[0].id, 1125);
    EXPECT_EQ(timer.events[0].period, 200);

    const auto step = ticker.tick(1125, false);
    EXPECT_EQ(step.action, Action::Finish);
    EXPECT_EQ(ticker.nextFrame(), 1);
    ASSERT_EQ(timer.events.size(), 2u);
    EXPECT_FALSE(timer.events[1].start);
    EXPECT_EQ(ticker.tick(1125, false).action, Action::None);  // a tick still queued
}

TEST(ProgressTicker, PicturesRunFrom169To182AndBackTo168) {
    FakeTimer timer;
    ProgressTicker ticker(timer);
    std::vector<int> bitmaps;
    for (int i = 0; i < 17; ++i) {
        const auto step = ticker.tick(1125, true);
        ASSERT_EQ(step.action, Action::ShowFrame);
        bitmaps.push_back(step.bitmap);
    }
    const std::vector<int> expected = {169, 170, 171, 172, 173, 174, 175, 176, 177,
                                       178, 179, 180, 181, 182, 168, 169, 170};
    EXPECT_EQ(bitmaps, expected);
}

TEST(ProgressTicker, GivesUpOnlyOnThe501stTickThatStillFindsTheWorkerRunning) {
    FakeTimer timer;
    ProgressTicker finishing(timer);
    ProgressTicker stuck(timer);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(finishing.tick(1125, true).action, Action::ShowFrame) << i;
        ASSERT_EQ(stuck.tick(1125, true).action, Action::ShowFrame) << i;
    }
    EXPECT_EQ(finishing.tick(1125, false).action, Action::Finish);
    EXPECT_EQ(stuck.tick(1125, true).action, Action::GiveUp);
    EXPECT_EQ(stuck.tickCount(), -1);
    EXPECT_EQ(stuck.tick(1125, false).action, Action::None);
}

TEST(ProgressTicker, OtherTimersAndTicksAfterCancelDoNothing) {
    FakeTimer timer;
    ProgressTicker ticker(timer);
    EXPECT_EQ(ticker.tick(1124, false).action, Action::None);
    EXPECT_EQ(ticker.tickCount(), 0);
    ticker.cancel();
    EXPECT_EQ(ticker.tick(1125, false).action, Action::None);
    EXPECT_EQ(ticker.tick(1125, true).action, Action::None);
    EXPECT_TRUE(timer.events.empty());
}

class ApplyProgressTest : public ::testing::Test {
protected:
    CommandThreadServices services() {
        CommandThreadServices s;
        s.runner = runner;
        return s;
    }
    // Waits (on the steady clock) until the worker has finished, then gives the dialog
    // the tick that finds it so.
    static void tickOnceFinished(ApplyProgress& progress) {
        EXPECT_TRUE(test::waitUntil([&] { return !progress.workerRunning(); }));
        progress.onTimer(1125);
    }
    // The worker is gone once the test holds the only reference to the runner.
    bool workerGone() {
        return test::waitUntil([&] { return runner.use_count() == 1; });
    }

    std::shared_ptr<test::FakeProcessRunner> runner = std::make_shared<test::FakeProcessRunner>();
    FakeTimer timer;
    FakeDisplay display;
    ApplyPlan plan{"A", "B", ""};
};

TEST_F(ApplyProgressTest, FinishedWorkerEndsWithOkAndItsVerdict) {
    ApplyProgress progress(plan, services(), timer, display);
    progress.start();
    tickOnceFinished(progress);
    ASSERT_EQ(display.ends, std::vector<ProgressResult>{ProgressResult::Ok});
    EXPECT_EQ(progress.outcome(), ApplyOutcome::Succeeded);
    EXPECT_EQ(runner->started(), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(display.frames.empty());

    runner = std::make_shared<test::FakeProcessRunner>();
    runner->answer("B", platform::ProcessOutcome::exited(1));
    FakeDisplay failedDisplay;
    ApplyProgress failed(plan, services(), timer, failedDisplay);
    failed.start();
    tickOnceFinished(failed);
    ASSERT_EQ(failedDisplay.ends, std::vector<ProgressResult>{ProgressResult::Ok});
    EXPECT_EQ(failed.outcome(), ApplyOutcome::Failed);
}

TEST_F(ApplyProgressTest, StopByTheUserEndsOnceWithCancelAndNoFurtherLineRuns) {
    runner->hold("A");
    ApplyProgress progress(plan, services(), timer, display);
    progress.start();
    ASSERT_TRUE(runner->awaitStarted(1));
    progress.onTimer(1125);
    progress.cancel();
    progress.cancel();
    progress.onTimer(1125);
    EXPECT_EQ(display.ends, std::vector<ProgressResult>{ProgressResult::Cancel});
    EXPECT_EQ(progress.outcome(), ApplyOutcome::Cancelled);
    EXPECT_EQ(display.frames, std::vector<int>{169});

    runner->release("A");
    EXPECT_TRUE(workerGone());
    EXPECT_EQ(runner->started(), std::vector<std::string>{"A"});
}

TEST_F(ApplyProgressTest, TimeLimitEndsWithCancel) {
    runner->hold("A");
    ApplyProgress progress(plan, services(), timer, display);
    progress.start();
    ASSERT_TRUE(runner->awaitStarted(1));
    for (int i = 0; i < 501; ++i) {
        progress.onTimer(1125);
    }
    EXPECT_EQ(display.ends, std::vector<ProgressResult>{ProgressResult::Cancel});
    EXPECT_EQ(display.frames.size(), 500u);
    runner->release("A");
    EXPECT_TRUE(workerGone());
    EXPECT_EQ(runner->started(), std::vector<std::string>{"A"});
}

// A box of the worker that is still open when the dialog ends, by its time limit or by
// the user's stop, goes with the dialog, so that the apply's failure message follows at
// once.
TEST_F(ApplyProgressTest, AWorkerBoxStillOpenWhenTheDialogEndsIsClosedWithIt) {
    const std::vector<std::pair<const char*, std::function<void(ApplyProgress&)>>> ends = {
        {"time limit",
         [](ApplyProgress& p) {
             for (int i = 0; i < 501; ++i) {
                 p.onTimer(1125);
             }
         }},
        {"stop", [](ApplyProgress& p) { p.cancel(); }},
    };
    for (const auto& [name, endIt] : ends) {
        SCOPED_TRACE(name);
        runner = std::make_shared<test::FakeProcessRunner>();
        runner->answer("A", platform::ProcessOutcome::waitFailed("lost"));
        auto presenter = std::make_shared<test::RecordingPresenter>();
        auto queue = std::make_shared<test::UiQueue>();
        CommandThreadServices s = services();
        s.presenter = presenter;
        s.postToUi = [queue](std::function<void()> call) { queue->post(std::move(call)); };
        FakeDisplay shown;
        ApplyProgress progress(plan, std::move(s), timer, shown);
        progress.start();
        ASSERT_TRUE(queue->awaitCall());

        std::vector<ProgressResult> endsWhileOpen;
        presenter->whileOpen = [&] {
            endIt(progress);
            endsWhileOpen = shown.ends;
        };
        queue->runAll();

        EXPECT_EQ(endsWhileOpen, std::vector<ProgressResult>{ProgressResult::Cancel});
        EXPECT_EQ(presenter->closedByOwner(), 1);
        EXPECT_EQ(presenter->closedByUser(), 0);
        EXPECT_EQ(progress.outcome(), ApplyOutcome::Cancelled);
        EXPECT_TRUE(workerGone());
        EXPECT_EQ(runner->started(), std::vector<std::string>{"A"});
    }
}

}  // namespace
}  // namespace quorrel
