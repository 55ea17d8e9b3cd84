#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/DebugOutput.h"
#include "platform/win32/Win32HelpViewer.h"

namespace quorrel::platform {
namespace {

std::string besideThisProgram(const char* name) {
    char self[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

int windowsOfThisThread() {
    int count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND, LPARAM counter) -> BOOL {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

class CapturedDebugOutput {
public:
    CapturedDebugOutput() {
        setDebugSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    ~CapturedDebugOutput() { setDebugSink({}); }
    std::vector<std::string> lines;
};

TEST(Win32HelpViewer, WithoutHtmlHelpNothingHappensAndItIsLoadedOnlyOnce) {
    CapturedDebugOutput debug;
    Win32HelpViewer viewer("quorrel-no-such-hhctrl.ocx");
    const std::string location = besideThisProgram("QuorrelHelp.chm") + "::/main/Main.htm";
    EXPECT_FALSE(viewer.displayTopic(location));
    EXPECT_FALSE(viewer.displayTopic(location));
    EXPECT_FALSE(viewer.available());
    EXPECT_EQ(viewer.loadAttempts(), 1);
    EXPECT_EQ(windowsOfThisThread(), 0);
    ASSERT_EQ(debug.lines.size(), 1u);
    EXPECT_NE(debug.lines[0].find("quorrel-no-such-hhctrl.ocx"), std::string::npos);

    // A library without the function counts as missing too.
    Win32HelpViewer wrongLibrary("kernel32.dll");
    EXPECT_FALSE(wrongLibrary.displayTopic(location));
    EXPECT_FALSE(wrongLibrary.available());
}

TEST(Win32HelpViewer, HtmlHelpIsFoundAndAMissingBookShowsNoWindowOfOurs) {
    Win32HelpViewer viewer;
    const std::string missing = besideThisProgram("NoSuchBook.chm") + "::/main/Main.htm";
    EXPECT_FALSE(viewer.displayTopic(missing));
    if (!viewer.available()) {
        GTEST_SKIP() << "this system has no hhctrl.ocx with HtmlHelpA";
    }
    EXPECT_EQ(viewer.loadAttempts(), 1);
    EXPECT_EQ(windowsOfThisThread(), 0);
}

TEST(Win32HelpViewer, TheBuiltBookIsHandedToHtmlHelpWithoutHangingOrCrashing) {
    const std::string book = besideThisProgram("QuorrelHelp.chm");
    ASSERT_NE(::GetFileAttributesA(book.c_str()), INVALID_FILE_ATTRIBUTES) << book;
    Win32HelpViewer viewer;
    // Without a display (the tests run so) HTML Help cannot show its window; either result
    // is the system's, the call has to come back.
    const bool shown = viewer.displayTopic(book + "::/main/Main.htm");
    if (!viewer.available()) {
        GTEST_SKIP() << "this system has no hhctrl.ocx with HtmlHelpA";
    }
    RecordProperty("shown", shown ? "yes" : "no");
    EXPECT_EQ(viewer.loadAttempts(), 1);
}

}  // namespace
}  // namespace quorrel::platform
