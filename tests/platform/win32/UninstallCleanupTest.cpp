#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "resources/CleanupTexts.h"
#include "system/win32/Win32CodePage.h"
#include "tests/support/TempFolder.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using system::win32::utf8ToCodePage;

struct Outcome {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Starts `commandLine` (UTF-8) and collects its standard output through a pipe.
Outcome run(const std::string& commandLine) {
    Outcome outcome;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        ADD_FAILURE() << "CreatePipe";
        return outcome;
    }
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string line = utf8ToCodePage(commandLine);
    const BOOL started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        ADD_FAILURE() << "cannot start " << commandLine << ": " << ::GetLastError();
        return outcome;
    }
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        outcome.output.append(buffer, read);
    }
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &outcome.exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return outcome;
}

std::string besideThisProgram(const std::string& name) {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

bool underWine() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

constexpr const char* kTessupKey = "HKLM\\SOFTWARE\\Varnok\\Tessup";

// The keys are set with the system's own reg.exe, as an installer would leave them.
class UninstallCleanup : public ::testing::Test {
protected:
    void SetUp() override {
        if (!underWine()) {
            GTEST_SKIP() << "changes the machine's Tessup key and Program Files folder; "
                            "runs only in the throw-away wine prefix";
        }
        reg("delete \"" + std::string(kTessupKey) + "\" /f");
        fs::remove(defaultFolder());
    }
    void TearDown() override {
        if (underWine()) {
            reg("delete \"" + std::string(kTessupKey) + "\" /f");
            std::error_code ignored;
            fs::remove(defaultFolder(), ignored);
        }
    }

    static void reg(const std::string& arguments) { run("reg.exe " + arguments); }

    static Outcome runCleanup() {
        return run("\"" + besideThisProgram("uninstall-cleanup.exe") + "\" ignored /x");
    }

    // The message as the program writes it into a pipe: in the system's code page, with the
    // CR LF line ends of a console program's standard output.
    static void expectMessageAndExitCodeZero(const Outcome& outcome) {
        std::string expected;
        for (const char c : utf8ToCodePage(texts::kCleanupMessage, ::GetACP())) {
            expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
        }
        EXPECT_EQ(outcome.exitCode, 0u);
        EXPECT_EQ(outcome.output, expected);
    }

    static fs::path defaultFolder() { return fs::path("C:\\Program Files\\Varnok\\Tessup"); }

    test::TempFolder install;
};

TEST_F(UninstallCleanup, RemovesTheEmptyFolderNamedInTheTessupKey) {
    ASSERT_EQ(::GetACP(), 949u) << "the wine prefix must run with a Korean locale";
    const std::string folder = install.path() + "Tessup 설치";
    ASSERT_TRUE(::CreateDirectoryA(utf8ToCodePage(folder).c_str(), nullptr))
        << folder << " " << ::GetLastError();
    reg("add \"" + std::string(kTessupKey) + "\" /v PATH /t REG_SZ /d \"" + folder + "\" /f");
    fs::create_directories(defaultFolder());  // not touched while the key names a folder

    expectMessageAndExitCodeZero(runCleanup());
    EXPECT_EQ(::GetFileAttributesA(utf8ToCodePage(folder).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(fs::exists(defaultFolder()));
}

TEST_F(UninstallCleanup, AKeyWithoutPathRemovesNothing) {
    reg("add \"" + std::string(kTessupKey) + "\" /v Version /t REG_SZ /d 1.0 /f");
    fs::create_directories(defaultFolder());
    expectMessageAndExitCodeZero(runCleanup());
    EXPECT_TRUE(fs::exists(defaultFolder()));
}

TEST_F(UninstallCleanup, WithoutTheKeyTheEmptyDefaultFolderGoesAndAMissingOneIsNoError) {
    expectMessageAndExitCodeZero(runCleanup());

    fs::create_directories(defaultFolder());
    expectMessageAndExitCodeZero(runCleanup());
    EXPECT_FALSE(fs::exists(defaultFolder()));
    EXPECT_TRUE(fs::exists(defaultFolder().parent_path()));
}

TEST_F(UninstallCleanup, AFolderThatStillHoldsFilesStays) {
    const std::string folder = install.path() + "Tessup";
    fs::create_directories(folder + "\\bin");
    test::writeFileBytes(folder + "\\readme.txt", "left over");
    reg("add \"" + std::string(kTessupKey) + "\" /v PATH /t REG_SZ /d \"" + folder + "\" /f");
    expectMessageAndExitCodeZero(runCleanup());
    EXPECT_TRUE(fs::exists(folder + "\\readme.txt"));
}

}  // namespace
}  // namespace quorrel
