#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <mutex>

#include "apply/CommandThread.h"
#include "resources/AppTexts.h"
#include "resources/ApplyTexts.h"
#include "tests/core/FakeProcessRunner.h"
#include "tests/core/RecordingPresenter.h"
#include "tests/core/UiQueue.h"
#include "tests/support/WaitUntil.h"

namespace quorrel {
namespace {

using platform::ProcessOutcome;
using test::waitUntil;

constexpr std::chrono::seconds kEndLimit{10};

class CommandThreadTest : public ::testing::Test {
protected:
    CommandThreadServices services() {
        CommandThreadServices s;
        s.runner = runner;
        s.presenter = presenter;
        s.trace = [this](const std::string& line) { record("trace " + line); };
        s.debugOutput = [this](const std::string& text) { record("debug " + text); };
        return s;
    }
    void record(const std::string& entry) {
        const std::lock_guard lock(logMutex);
        log.push_back(entry);
    }
    std::vector<std::string> logged() {
        const std::lock_guard lock(logMutex);
        return log;
    }
    // Runs a worker to its end and keeps it for inspection.
    std::unique_ptr<CCommandThread> runToEnd(const std::string& a, const std::string& b,
                                             const std::string& c) {
        auto worker = std::make_unique<CCommandThread>(ApplyPlan{a, b, c}, services());
        EXPECT_TRUE(worker->waitUntilEnded(std::chrono::steady_clock::now() + kEndLimit));
        EXPECT_FALSE(worker->running());
        return worker;
    }
    // The worker's state is gone once the test holds the only reference to the runner.
    bool workerGone() {
        return waitUntil([&] { return runner.use_count() == 1; });
    }

    std::shared_ptr<test::FakeProcessRunner> runner = std::make_shared<test::FakeProcessRunner>();
    std::shared_ptr<test::RecordingPresenter> presenter =
        std::make_shared<test::RecordingPresenter>();
    std::mutex logMutex;
    std::vector<std::string> log;
};

TEST_F(CommandThreadTest, RunsNonEmptyLinesInOrderEachTracedFirst) {
    auto worker = runToEnd("A", "B", "C");
    EXPECT_TRUE(worker->succeeded());
    EXPECT_EQ(runner->started(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(logged(), (std::vector<std::string>{"trace A", "trace B", "trace C"}));
    EXPECT_TRUE(presenter->shown().empty());

    auto second = std::make_shared<test::FakeProcessRunner>();
    runner = second;
    EXPECT_TRUE(runToEnd("A", "", "")->succeeded());
    EXPECT_EQ(second->started(), (std::vector<std::string>{"A"}));
}

TEST_F(CommandThreadTest, ANonZeroExitLetsTheRestRunButTheApplyFails) {
    runner->answer("A", ProcessOutcome::exited(1));
    auto worker = runToEnd("A", "B", "C");
    EXPECT_FALSE(worker->succeeded());
    EXPECT_EQ(runner->started(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_TRUE(presenter->shown().empty());

    auto last = std::make_shared<test::FakeProcessRunner>();
    last->answer("C", ProcessOutcome::exited(3));
    runner = last;
    EXPECT_FALSE(runToEnd("A", "B", "C")->succeeded());
}

TEST_F(CommandThreadTest, TheFailingLinesReasonsBecomeTheDetailsAndAllAreTraced) {
    runner->answer("A", ProcessOutcome::exited(1, "netsh: Not authorized to control networking"));
    runner->answer("B", ProcessOutcome::exited(0, "netsh: a note"));
    runner->answer("C", ProcessOutcome::exited(77, "netsh: needs rights\npkexec: refused"));
    auto worker = runToEnd("A", "B", "C");
    EXPECT_FALSE(worker->succeeded());
    EXPECT_EQ(worker->failureDetails(),
              "netsh: Not authorized to control networking\nnetsh: needs rights\npkexec: refused");
    EXPECT_EQ(logged(), (std::vector<std::string>{
                            "trace A", "trace exit code 1",
                            "trace netsh: Not authorized to control networking", "trace B",
                            "trace netsh: a note", "trace C", "trace exit code 77",
                            "trace netsh: needs rights\npkexec: refused"}));

    auto quiet = std::make_shared<test::FakeProcessRunner>();
    quiet->answer("A", ProcessOutcome::exited(2));
    runner = quiet;
    EXPECT_EQ(runToEnd("A", "", "")->failureDetails(), "");
}

struct FailureCase {
    const char* name;
    std::string failingLine;
    ProcessOutcome outcome;
    std::vector<std::string> expectedStarted;
    const char* expectedBox;  // nullptr: no box
    bool expectDebugText;     // the address start failure text on the debugger output
};

TEST_F(CommandThreadTest, StartAndWaitFailuresEndTheWorkerWithTheirReports) {
    const std::vector<FailureCase> cases = {
        {"address not started", "A", ProcessOutcome::notStarted("gone"), {"A"}, nullptr, true},
        {"address wait failed",
         "A",
         ProcessOutcome::waitFailed("x"),
         {"A"},
         texts::kAddressFailed,
         false},
        {"dns not started",
         "B",
         ProcessOutcome::notStarted("x"),
         {"A", "B"},
         texts::kDnsFailed,
         false},
        {"dns wait failed",
         "B",
         ProcessOutcome::waitFailed("x"),
         {"A", "B"},
         texts::kDnsFailed,
         false},
        {"second not started",
         "C",
         ProcessOutcome::notStarted("x"),
         {"A", "B", "C"},
         nullptr,
         false},
        {"second wait failed",
         "C",
         ProcessOutcome::waitFailed("x"),
         {"A", "B", "C"},
         texts::kDnsFailed,
         false},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        runner = std::make_shared<test::FakeProcessRunner>();
        presenter = std::make_shared<test::RecordingPresenter>();
        log.clear();
        runner->answer(c.failingLine, c.outcome);

        auto worker = runToEnd("A", "B", "C");

        EXPECT_FALSE(worker->succeeded());
        EXPECT_EQ(runner->started(), c.expectedStarted);
        const auto shown = presenter->shown();
        if (c.expectedBox == nullptr) {
            EXPECT_TRUE(shown.empty());
        } else {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].text, c.expectedBox);
            EXPECT_EQ(shown[0].caption, texts::kAppTitle);
            EXPECT_EQ(shown[0].icon, MessageIcon::Exclamation);
        }
        const auto entries = logged();
        const bool hasDebugText =
            std::find(entries.begin(), entries.end(),
                      std::string("debug ") + texts::kAddressStartFailedDebug) != entries.end();
        EXPECT_EQ(hasDebugText, c.expectDebugText);
    }
}

TEST_F(CommandThreadTest, StaysRunningWhileItsMessageIsOpen) {
    runner->answer("A", ProcessOutcome::waitFailed("x"));
    presenter->hold();
    CCommandThread worker(ApplyPlan{"A", "B", ""}, services());
    ASSERT_TRUE(presenter->awaitShown(1));
    // The worker waits inside the box: had it given up its flag before showing the box,
    // it would read false here already.
    EXPECT_TRUE(worker.running());
    presenter->close();
    EXPECT_TRUE(waitUntil([&] { return !worker.running(); }));
    EXPECT_FALSE(worker.succeeded());
}

TEST_F(CommandThreadTest, CancelStartsNoFurtherLineWhileTheRunningOneEndsOnItsOwn) {
    runner->hold("A");
    CCommandThread worker(ApplyPlan{"A", "B", "C"}, services());
    ASSERT_TRUE(runner->awaitStarted(1));
    worker.cancel();
    runner->release("A");
    EXPECT_TRUE(waitUntil([&] { return !worker.running(); }));
    EXPECT_FALSE(worker.succeeded());
    EXPECT_EQ(runner->started(), (std::vector<std::string>{"A"}));
}

TEST_F(CommandThreadTest, TheWaitForTheEndStopsAtItsDeadlineWhileALineRuns) {
    runner->hold("A");
    CCommandThread worker(ApplyPlan{"A", "", ""}, services());
    ASSERT_TRUE(runner->awaitStarted(1));
    EXPECT_FALSE(worker.waitUntilEnded(std::chrono::steady_clock::now()));
    EXPECT_TRUE(worker.running());
    runner->release("A");
    EXPECT_TRUE(worker.waitUntilEnded(std::chrono::steady_clock::now() + kEndLimit));
    EXPECT_TRUE(worker.succeeded());
}

TEST_F(CommandThreadTest, DiscardingTheObjectLeavesTheWorkerItsOwnStateAndNoMessage) {
    runner->hold("A");
    runner->answer("A", ProcessOutcome::waitFailed("x"));  // would show a box
    auto worker = std::make_unique<CCommandThread>(ApplyPlan{"A", "B", ""}, services());
    ASSERT_TRUE(runner->awaitStarted(1));
    worker.reset();
    EXPECT_EQ(logged().back(), std::string("debug ") + texts::kWorkerEndedDebug);
    runner->release("A");
    EXPECT_TRUE(workerGone());
    EXPECT_EQ(runner->started(), (std::vector<std::string>{"A"}));
    EXPECT_TRUE(presenter->shown().empty());
}

TEST_F(CommandThreadTest, MessagesAreShownByTheUiThreadWhileTheWorkerWaits) {
    auto queue = std::make_shared<test::UiQueue>();
    runner->answer("B", ProcessOutcome::waitFailed("x"));
    CommandThreadServices s = services();
    s.postToUi = [queue](std::function<void()> call) { queue->post(std::move(call)); };
    CCommandThread worker(ApplyPlan{"A", "B", "C"}, std::move(s));

    ASSERT_TRUE(queue->awaitCall());
    EXPECT_TRUE(presenter->shown().empty());  // nothing shown from the worker itself
    EXPECT_TRUE(worker.running());
    queue->runAll();
    ASSERT_EQ(presenter->shown().size(), 1u);
    EXPECT_EQ(presenter->shown()[0].text, texts::kDnsFailed);
    EXPECT_TRUE(waitUntil([&] { return !worker.running(); }));
    EXPECT_EQ(runner->started(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(CommandThreadTest, AMessageStillQueuedAtCancelIsNeverShown) {
    auto queue = std::make_shared<test::UiQueue>();
    runner->answer("A", ProcessOutcome::waitFailed("x"));
    CommandThreadServices s = services();
    s.postToUi = [queue](std::function<void()> call) { queue->post(std::move(call)); };
    auto worker = std::make_unique<CCommandThread>(ApplyPlan{"A", "B", ""}, std::move(s));
    ASSERT_TRUE(queue->awaitCall());

    worker.reset();  // the progress dialog gives up while the box waits in the queue
    EXPECT_TRUE(workerGone());
    queue->runAll();
    EXPECT_TRUE(presenter->shown().empty());
    EXPECT_EQ(runner->started(), (std::vector<std::string>{"A"}));
}

TEST_F(CommandThreadTest, GivingTheWorkerUpClosesTheBoxTheUserStillSees) {
    auto queue = std::make_shared<test::UiQueue>();
    runner->answer("A", ProcessOutcome::waitFailed("x"));
    CommandThreadServices s = services();
    s.postToUi = [queue](std::function<void()> call) { queue->post(std::move(call)); };
    auto worker = std::make_unique<CCommandThread>(ApplyPlan{"A", "B", ""}, std::move(s));
    ASSERT_TRUE(queue->awaitCall());

    // While the box is open, the owner gives the worker up (the progress dialog's stop).
    presenter->whileOpen = [&] { worker.reset(); };
    queue->runAll();

    ASSERT_EQ(presenter->shown().size(), 1u);
    EXPECT_EQ(presenter->closedByOwner(), 1);
    EXPECT_EQ(presenter->closedByUser(), 0);
    EXPECT_TRUE(workerGone());
    EXPECT_EQ(runner->started(), (std::vector<std::string>{"A"}));
}

TEST_F(CommandThreadTest, WithoutARunnerNothingRunsAndTheApplyFails) {
    CommandThreadServices s = services();
    s.runner.reset();
    CCommandThread worker(ApplyPlan{"A", "B", "C"}, std::move(s));
    EXPECT_FALSE(worker.running());
    EXPECT_FALSE(worker.succeeded());
}

}  // namespace
}  // namespace quorrel
