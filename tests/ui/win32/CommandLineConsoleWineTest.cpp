// The command line as a Windows user types it. quorrel.exe is a window program: started
// from a console it is given no standard streams, and its texts must still reach that
// console, in UTF-16 so that Korean reads right whatever the console's code page. quorrel.com
// starts it with the console's streams and hands its exit code on; into a pipe the texts
// go in the program's code page with CRLF line ends.

#include <windows.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "resources/CliTexts.h"
#include "system/win32/Win32CodePage.h"

namespace quorrel {
namespace {

namespace win32 = system::win32;

std::wstring besideTests(const wchar_t* name) {
    return QCoreApplication::applicationDirPath().toStdWString() + L"\\" + name;
}

std::string unknownOptionMessage() {
    char line[128];
    std::snprintf(line, sizeof line, texts::kCliUnknownOptionFormat, "--bogus");
    return line;
}

// Starts `program --bogus` with the given standard handles and waits for it.
DWORD runBogus(const std::wstring& program, HANDLE output, HANDLE error) {
    std::wstring line = L"\"" + program + L"\" --bogus";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = error;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process)) {
        ADD_FAILURE() << "could not start the program: " << ::GetLastError();
        return 0xFFFFFFFF;
    }
    ::CloseHandle(process.hThread);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0xFFFFFFFF;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    return code;
}

TEST(CommandLineConsoleWineTest, TheConsoleProgramPassesOnTheExitCodeAndWritesPipesInTheCodePage) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, &inherit, 0));
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    const DWORD code = runBogus(besideTests(L"quorrel.com"), writeEnd, writeEnd);
    ::CloseHandle(writeEnd);
    std::string bytes;
    char chunk[512];
    DWORD got = 0;
    while (::ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    ::CloseHandle(readEnd);

    EXPECT_EQ(code, 2u) << "the exit code of a bad option";
    const std::string expected = win32::utf8ToCodePage(unknownOptionMessage()) + "\r\n";
    EXPECT_EQ(bytes.substr(0, expected.size()), expected) << win32::codePageToUtf8(bytes);
}

TEST(CommandLineConsoleWineTest, TheWindowProgramStartedWithoutStreamsWritesToItsConsole) {
    // A console of the test's own, empty, that the program shares as cmd.exe's would be.
    ::FreeConsole();
    ASSERT_TRUE(::AllocConsole());
    const HANDLE screen =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE);

    const DWORD code = runBogus(besideTests(L"quorrel.exe"), nullptr, nullptr);

    std::wstring shown(400, L' ');
    DWORD read = 0;
    ::ReadConsoleOutputCharacterW(screen, shown.data(), static_cast<DWORD>(shown.size()), {0, 0},
                                  &read);
    ::CloseHandle(screen);
    ::FreeConsole();
    EXPECT_EQ(code, 2u);
    EXPECT_NE(shown.find(win32::utf8ToWide(unknownOptionMessage())), std::wstring::npos)
        << win32::wideToUtf8(shown);
}

}  // namespace
}  // namespace quorrel
