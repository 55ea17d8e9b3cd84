// Running a program and collecting what it writes (system/linux), with /bin/sh as the
// program.
#include <gtest/gtest.h>

#include <chrono>

#include "system/linux/CollectedRun.h"
#include "system/linux/ProcessSpawn.h"
#include "tests/support/TempFolder.h"

namespace quorrel::system {
namespace {

using namespace std::chrono_literals;

CollectedRun shell(const std::string& script, const CollectOptions& options = {}) {
    return runCollectingOutput("/bin/sh", {"sh", "-c", script}, options);
}

TEST(CollectedRun, OutputAndExitCodeAsTheProgramLeftThem) {
    CollectOptions quiet;
    quiet.withErrors = false;
    CollectOptions withVariable;
    withVariable.environment = {"QUORREL_PROBE=다섯"};
    const struct {
        const char* what;
        const char* script;
        CollectOptions options;
        int exitCode;
        const char* output;
    } cases[] = {
        {"output and errors, interleaved", "echo out; echo err >&2; exit 3", {}, 3, "out\nerr\n"},
        {"output only", "echo out; echo err >&2", quiet, 0, "out\n"},
        {"an environment entry laid over ours", "printf %s \"$QUORREL_PROBE\"", withVariable, 0,
         "다섯"},
        {"killed by a signal", "printf x; kill -9 $$", {}, -1, "x"},
    };
    for (const auto& c : cases) {
        const CollectedRun run = shell(c.script, c.options);
        EXPECT_TRUE(run.started) << c.what;
        EXPECT_FALSE(run.timedOut) << c.what;
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what;
        EXPECT_EQ(run.output, c.output) << c.what;
    }
}

TEST(CollectedRun, AMissingProgramIsNotStarted) {
    const CollectedRun run = runCollectingOutput("/nonexistent/program", {"program"});
    EXPECT_FALSE(run.started);
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_NE(run.reason.find("/nonexistent/program"), std::string::npos);
}

TEST(CollectedRun, AGrandchildHoldingTheOutputDoesNotHoldUsUp) {
    const auto start = std::chrono::steady_clock::now();
    // Waiting for the grandchild would take its ten seconds.
    const CollectedRun run = shell("sleep 10 & echo started");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 8s);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "started\n");
}

TEST(CollectedRun, AProgramRunningPastTheTimeLimitIsKilled) {
    CollectOptions limited;
    limited.timeLimit = 200ms;
    const auto start = std::chrono::steady_clock::now();
    const CollectedRun run = shell("echo begun; exec sleep 30", limited);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_EQ(run.output, "begun\n");
}

TEST(StartedProgram, OutputAndErrorsAreAppendedToTheFileNamed) {
    test::TempFolder folder;
    const std::string log = folder.file("child.log");
    test::writeFileBytes(log, "before\n");
    ChildSetup setup;
    setup.outputFile = log;
    setup.errorsWithOutput = true;
    setup.ownSession = true;
    const SpawnedChild child =
        startProgram("/bin/sh", {"sh", "-c", "echo out; echo err >&2; exit 4"}, setup);
    ASSERT_GT(child.pid, 0) << child.reason;
    const ChildEnd end = waitForChild(child.pid);
    EXPECT_TRUE(end.waited);
    EXPECT_EQ(end.exitCode, 4);
    EXPECT_EQ(test::readFileBytes(log), "before\nout\nerr\n");
}

}  // namespace
}  // namespace quorrel::system
