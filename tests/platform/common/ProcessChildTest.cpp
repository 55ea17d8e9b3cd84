#include <gtest/gtest.h>

#include "platform/ProcessRunner.h"
#include "system/OutputCapture.h"
#include "tests/helpers/TestChildPath.h"
#include "tests/support/Succeeded.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaitUntil.h"

namespace quorrel::platform {

using system::CapturedOutput;
using system::kCaptureChunkSize;
using system::makeCommandCapture;

namespace {

std::string child(const std::string& steps) {
    return "\"" + test::testChildProgram() + "\" " + steps;
}

std::string pattern(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('a' + i % 26);
    }
    return text;
}

std::string missingProgram() {
    return "\"" + test::ownProgramFolder() + "no-such-program-here.exe\" x";
}

TEST(ProcessRunnerWithChildren, TellsExitCodesApart) {
    auto runner = makeSystemProcessRunner();
    const ProcessOutcome ok = runner->runAndWait(child("exit 0"));
    EXPECT_EQ(ok.kind, ProcessOutcome::Kind::Exited);
    EXPECT_TRUE(ok.succeeded());

    const ProcessOutcome failed = runner->runAndWait(child("exit 7"));
    EXPECT_EQ(failed.kind, ProcessOutcome::Kind::Exited);
    EXPECT_EQ(failed.exitCode, 7);
    EXPECT_FALSE(failed.succeeded());
}

TEST(ProcessRunnerWithChildren, WaitsForTheChildToEnd) {
    test::TempFolder folder;
    const std::string file = folder.file("out.txt");
    auto runner = makeSystemProcessRunner();
    ASSERT_TRUE(runner->runAndWait(child("sleep 150 append \"" + file + "\" done")).succeeded());
    EXPECT_EQ(test::readFileBytes(file), "done\n");
}

TEST(ProcessRunnerWithChildren, AMissingProgramIsNotStartedWithAReason) {
    auto runner = makeSystemProcessRunner();
    const ProcessOutcome outcome = runner->runAndWait(missingProgram());
    EXPECT_EQ(outcome.kind, ProcessOutcome::Kind::NotStarted);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_FALSE(outcome.succeeded());
}

TEST(ProcessRunnerWithChildren, ArgumentsArriveAsTheLineGroupsThem) {
    test::TempFolder folder;
    const std::string file = folder.file("args.txt");
    auto runner = makeSystemProcessRunner();
    ASSERT_TRUE(runner
                    ->runAndWait(child("args \"" + file +
                                       "\" name=\"Local Area  Connection\" a\\\"b \"c d\\\\\" e"))
                    .succeeded());
    const std::string args = test::readFileBytes(file);
    EXPECT_NE(args.find("\n<name=Local Area  Connection>\n<a\"b>\n<c d\\>\n<e>\n"),
              std::string::npos)
        << args;
}

TEST(OutputCaptureWithChildren, OutputArrivesWhole) {
    for (const std::size_t size : {std::size_t{3000}, std::size_t{2048}, std::size_t{1024},
                                   std::size_t{1}, std::size_t{200000}}) {
        SCOPED_TRACE(size);
        const CapturedOutput out =
            makeCommandCapture(child("write " + std::to_string(size)))->capture();
        EXPECT_TRUE(out.started);
        EXPECT_EQ(out.text.size(), size);
        EXPECT_TRUE(out.text == pattern(size));
    }
}

TEST(OutputCaptureWithChildren, OutputWrittenInPiecesArrivesWhole) {
    const CapturedOutput out = makeCommandCapture(child("pieces 700 5 30"))->capture();
    EXPECT_TRUE(out.started);
    EXPECT_EQ(out.text.size(), 3500u);
}

TEST(OutputCaptureWithChildren, AChildWithoutOutputDoesNotKeepUsWaiting) {
    const CapturedOutput out = makeCommandCapture(child("sleep 100 exit 0"))->capture();
    EXPECT_TRUE(out.started);
    EXPECT_EQ(out.text, "");
}

TEST(OutputCaptureWithChildren, LineEndsStayAsWritten) {
    const CapturedOutput out = makeCommandCapture(child("crlf"))->capture();
    EXPECT_EQ(out.text, "first\r\n\r\nlast\r\n");
}

// A collection that may be stopped: it hands over each piece as it comes, gives up when
// told (keeping what came), and otherwise reads to the end as before.
TEST(OutputCaptureWithChildren, AStoppedCollectionKeepsWhatArrived) {
    struct Case {
        const char* name;
        const char* before;  // what the child writes before it waits for the go file
    };
    for (const Case& c : {Case{"part, then waits", "part"}, Case{"nothing, waits", ""}}) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const std::string go = folder.file("go");
        const std::string gone = folder.file("gone");
        std::string steps = "await \"" + go + "\" append \"" + gone + "\" gone";
        if (*c.before != '\0') {
            steps = std::string("print ") + c.before + " " + steps;
        }
        auto capture = makeCommandCapture(child(steps));
        ASSERT_TRUE(test::succeeded(capture->start()));
        std::string text;
        int asked = 0;
        // Stops once what the child wrote has come and the collection has waited on.
        const bool complete = capture->collect([&](std::string_view piece) { text.append(piece); },
                                               [&] { return ++asked >= 3 && text == c.before; });
        EXPECT_FALSE(complete);
        EXPECT_EQ(text, c.before);
        // The child ends once it may; its folder goes only after that.
        test::writeFileBytes(go, "");
        EXPECT_TRUE(test::waitUntil([&] { return test::readFileBytes(gone) == "gone\n"; }));
    }

    // Never told to stop: everything, in pieces of at most a read each.
    auto capture = makeCommandCapture(child("print one write 2100"));
    ASSERT_TRUE(test::succeeded(capture->start()));
    std::string text;
    int pieces = 0;
    EXPECT_TRUE(capture->collect(
        [&](std::string_view piece) {
            EXPECT_LE(piece.size(), kCaptureChunkSize);
            text.append(piece);
            ++pieces;
        },
        [] { return false; }));
    EXPECT_EQ(text, "one" + pattern(2100));
    EXPECT_GE(pieces, 3);
}

TEST(OutputCaptureWithChildren, AMissingProgramIsReportedAsNotStarted) {
    const CapturedOutput out = makeCommandCapture(missingProgram())->capture();
    EXPECT_FALSE(out.started);
    EXPECT_EQ(out.text, "");
    EXPECT_FALSE(out.reason.empty());
}

}  // namespace
}  // namespace quorrel::platform
