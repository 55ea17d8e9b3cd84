#include <gtest/gtest.h>

#include <functional>
#include <mutex>

#include "apply/CommandThread.h"
#include "apply/ui/SystemCommandServices.h"
#include "platform/DebugOutput.h"
#include "resources/ApplyTexts.h"
#include "tests/helpers/TestChildPath.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitUntil.h"

namespace quorrel {
namespace {

using test::waitUntil;

class CountingPresenter : public MessagePresenter {
public:
    MessageResult show(const Message& message) override {
        const std::lock_guard lock(mutex);
        texts.push_back(message.text);
        return MessageResult::Ok;
    }
    std::vector<std::string> shown() {
        const std::lock_guard lock(mutex);
        return texts;
    }
    std::mutex mutex;
    std::vector<std::string> texts;
};

// The worker with the system's process runner and the test child program.
class CommandThreadWithChildren : public ::testing::Test {
protected:
    std::string child(const std::string& steps) const {
        return "\"" + test::testChildProgram() + "\" " + steps;
    }
    std::string append(const std::string& text, const std::string& before = "") const {
        return child(before + "append \"" + out + "\" " + text);
    }
    CommandThreadServices services() {
        CommandThreadServices s;
        s.runner = runner;
        s.presenter = presenter;
        s.debugOutput = [this](const std::string& text) {
            const std::lock_guard lock(debugMutex);
            debug += text;
        };
        return s;
    }
    std::unique_ptr<CCommandThread> runToEnd(const std::string& a, const std::string& b,
                                             const std::string& c) {
        auto worker = std::make_unique<CCommandThread>(ApplyPlan{a, b, c}, services());
        EXPECT_TRUE(waitUntil([&] { return !worker->running(); }));
        return worker;
    }
    std::string debugText() {
        const std::lock_guard lock(debugMutex);
        return debug;
    }

    test::TempFolder folder;
    const std::string out = folder.file("order.txt");
    std::shared_ptr<platform::ProcessRunner> runner = platform::makeSystemProcessRunner();
    std::shared_ptr<CountingPresenter> presenter = std::make_shared<CountingPresenter>();
    std::mutex debugMutex;
    std::string debug;
};

TEST_F(CommandThreadWithChildren, LinesRunOneAfterAnotherAndAnEmptyLineIsSkipped) {
    // The first child is the slow one: had they overlapped, "two" would come first.
    auto worker = runToEnd(append("one", "sleep 200 "), "", append("three"));
    EXPECT_TRUE(worker->succeeded());
    EXPECT_EQ(test::readFileBytes(out), "one\nthree\n");
    EXPECT_TRUE(presenter->shown().empty());
}

TEST_F(CommandThreadWithChildren, AFailingExitCodeFailsTheApplyButTheRestRuns) {
    auto worker = runToEnd(append("one") + " exit 1", append("two"), append("three"));
    EXPECT_FALSE(worker->succeeded());
    EXPECT_EQ(test::readFileBytes(out), "one\ntwo\nthree\n");
    EXPECT_TRUE(presenter->shown().empty());
}

TEST_F(CommandThreadWithChildren, AMissingProgramIsReported) {
    const std::string missing = "\"" + folder.file("missing-netsh.exe") + "\" x";

    auto addressWorker = runToEnd(missing, append("two"), "");
    EXPECT_FALSE(addressWorker->succeeded());
    EXPECT_NE(debugText().find(texts::kAddressStartFailedDebug), std::string::npos);
    EXPECT_TRUE(presenter->shown().empty());
    EXPECT_EQ(test::readFileBytes(out), "");

    auto dnsWorker = runToEnd(append("one"), missing, append("three"));
    EXPECT_FALSE(dnsWorker->succeeded());
    EXPECT_EQ(presenter->shown(), std::vector<std::string>{texts::kDnsFailed});
    EXPECT_EQ(test::readFileBytes(out), "one\n");
}

TEST_F(CommandThreadWithChildren, CancelLetsTheRunningChildFinishAndStartsNothingMore) {
    const std::string go = folder.file("go");
    const std::string up = folder.file("up");
    // The first child says it runs, waits for the go file and then ends with a failure
    // code that would otherwise lead on to the second line.
    auto worker = std::make_unique<CCommandThread>(
        ApplyPlan{append("one", "append \"" + up + "\" up await \"" + go + "\" ") + " exit 1",
                  append("two"), ""},
        services());
    ASSERT_TRUE(waitUntil([&] { return test::readFileBytes(up) == "up\n"; }));
    EXPECT_TRUE(worker->running());
    worker.reset();

    test::writeFileBytes(go, "");
    ASSERT_TRUE(waitUntil([&] { return test::readFileBytes(out) == "one\n"; }));
    // The worker is gone once the test holds the only reference to the runner.
    ASSERT_TRUE(waitUntil([&] { return runner.use_count() == 1; }));
    EXPECT_EQ(test::readFileBytes(out), "one\n");
    EXPECT_TRUE(presenter->shown().empty());
}

TEST_F(CommandThreadWithChildren, SystemServicesTraceEachLineFromTheWorkerThread) {
    std::vector<std::string> lines;
    std::mutex linesMutex;
    platform::setDebugSink([&](std::string_view line) {
        const std::lock_guard lock(linesMutex);
        lines.emplace_back(line);
    });
    const std::string first = append("one");
    {
        CCommandThread worker(ApplyPlan{first, "", ""}, systemCommandServices(presenter, {}));
        EXPECT_TRUE(waitUntil([&] { return !worker.running(); }));
        EXPECT_TRUE(worker.succeeded());
    }
    platform::setDebugSink({});

    ASSERT_EQ(lines.size(), 2u);
    const std::string ownPrefix =
        "[Quorrel](" + std::to_string(platform::currentThreadId()) + "): ";
    EXPECT_EQ(lines[0].rfind("[Quorrel](", 0), 0u);
    EXPECT_EQ(lines[0].rfind(ownPrefix, 0), std::string::npos);  // logged by the worker
    EXPECT_EQ(lines[0].substr(lines[0].find("): ") + 3), first + "\n");
    EXPECT_EQ(lines[1], texts::kWorkerEndedDebug);
    EXPECT_EQ(test::readFileBytes(out), "one\n");
}

}  // namespace
}  // namespace quorrel
