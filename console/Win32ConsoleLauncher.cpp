// quorrel.com: the console's way into quorrel.exe. A window program gets no console of its
// own, and cmd.exe neither waits for it nor hands on its exit code. Typed as "quorrel",
// this console program (cmd.exe looks for .com before .exe) starts quorrel.exe beside it
// with the console's streams, waits for it and ends with its exit code, so that scripts
// can rely on the command line's exit codes.

#include <windows.h>

#include <string>

namespace {

// The command line after the program's own name, by the rules Windows splits it with: a
// quoted name runs to the next quote, an unquoted one to the first blank.
std::wstring argumentsOf(const wchar_t* line) {
    const wchar_t* p = line;
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"') {
            ++p;
        }
        if (*p == L'"') {
            ++p;
        }
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t') {
            ++p;
        }
    }
    while (*p == L' ' || *p == L'\t') {
        ++p;
    }
    return p;
}

// quorrel.exe in this program's own folder.
std::wstring windowProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return path + L"quorrel.exe";
}

void say(const wchar_t* text) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    DWORD mode = 0;
    if (::GetConsoleMode(error, &mode)) {
        ::WriteConsoleW(error, text, static_cast<DWORD>(::lstrlenW(text)), &written, nullptr);
    }
}

}  // namespace

int main() {
    const std::wstring program = windowProgram();
    if (program.empty()) {
        say(L"quorrel.com: cannot find its own folder\r\n");
        return 1;
    }
    std::wstring line = L"\"" + program + L"\" " + argumentsOf(::GetCommandLineW());

    // The console's own handles, inherited: a window program gets them only when asked.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process)) {
        say(L"quorrel.com: quorrel.exe could not be started\r\n");
        return 1;
    }
    ::CloseHandle(process.hThread);
    // Ctrl+C ends the command that waits here, as it ends any console program; quorrel.exe
    // has no console and keeps its own course (a trial still puts the old settings back).
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
