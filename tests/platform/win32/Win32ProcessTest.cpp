#include <gtest/gtest.h>
#include <windows.h>

#include "platform/ProcessRunner.h"
#include "platform/StatusReport.h"
#include "system/OutputCapture.h"
#include "tests/helpers/TestChildPath.h"
#include "tests/support/TempFolder.h"

namespace quorrel::platform {

using system::CapturedOutput;
using system::makeCommandCapture;

namespace {

std::string child(const std::string& steps) {
    return "\"" + test::testChildProgram() + "\" " + steps;
}

std::string systemFolder() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, sizeof folder);
    return folder;
}

TEST(Win32ProcessRunner, StartsTheChildDetachedFromOurConsole) {
    test::TempFolder folder;
    const std::string detached = folder.file("detached.txt");
    ASSERT_TRUE(
        makeSystemProcessRunner()->runAndWait(child("console \"" + detached + "\"")).succeeded());
    EXPECT_EQ(test::readFileBytes(detached), "none");
}

TEST(Win32ProcessRunner, ReportsLargeExitCodesUnchanged) {
    const ProcessOutcome outcome = makeSystemProcessRunner()->runAndWait(child("exit 259"));
    EXPECT_EQ(outcome.kind, ProcessOutcome::Kind::Exited);
    EXPECT_EQ(outcome.exitCode, 259);
}

TEST(Win32ProcessRunner, ABareProgramNameIsFoundTheWindowsWay) {
    // cmd.exe from the system folder, with its own exit code.
    const ProcessOutcome outcome = makeSystemProcessRunner()->runAndWait("cmd.exe /c exit 3");
    EXPECT_EQ(outcome.kind, ProcessOutcome::Kind::Exited) << outcome.reason;
    EXPECT_EQ(outcome.exitCode, 3);
}

TEST(Win32StatusReport, CapturesTheWholeIpconfigReportThroughTheInterpreter) {
    test::TempFolder folder;
    const std::string file = folder.file("report.txt");
    // The same report, written to a file by the interpreter itself.
    ASSERT_TRUE(makeCommandCapture("\"" + systemFolder() + "\\cmd.exe\" /c ipconfig.exe /all > \"" +
                                   file + "\"")
                    ->capture()
                    .started);
    const std::string expected = test::readFileBytes(file);
    ASSERT_FALSE(expected.empty());

    const CapturedOutput out = makeStatusReportCapture()->capture();
    ASSERT_TRUE(out.started) << out.reason;
    EXPECT_EQ(out.text, expected);
    EXPECT_NE(out.text.find("\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quorrel::platform
