// window-count TITLE [SECONDS]: for the Windows start-up tests. Waits at most SECONDS (10
// when not given) until a top-level window titled exactly TITLE exists, then prints how many
// such windows there are. Exit code 0 when there is one or more, 1 when none appeared.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
    std::string title;
    int count = 0;
};

BOOL CALLBACK countWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    char text[512] = {};
    const int length = ::GetWindowTextA(window, text, sizeof text);
    if (length >= 0 && search->title == std::string(text, static_cast<std::size_t>(length))) {
        ++search->count;
    }
    return TRUE;
}

int countWindows(const std::string& title) {
    Search search{title};
    ::EnumWindows(countWindow, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "use: window-count TITLE [SECONDS]\n");
        return 2;
    }
    const std::string title = argv[1];
    const ULONGLONG waitMs = (argc == 3 ? std::strtoull(argv[2], nullptr, 10) : 10) * 1000;
    const ULONGLONG deadline = ::GetTickCount64() + waitMs;
    int count = countWindows(title);
    while (count == 0 && ::GetTickCount64() < deadline) {
        ::Sleep(50);
        count = countWindows(title);
    }
    std::printf("%d\n", count);
    return count > 0 ? 0 : 1;
}
