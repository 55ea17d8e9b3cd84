#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "cleanup/TessupInstall.h"

namespace quorrel::cleanup {

std::string defaultTessupFolder() {
    std::string data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        data = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        data = std::string(home) + "/.local/share";
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        data = std::string(entry->pw_dir) + "/.local/share";
    } else {
        return {};
    }
    return data + "/Varnok/Tessup";
}

void removeEmptyFolder(const std::string& folder) {
    if (!folder.empty()) {
        ::rmdir(folder.c_str());  // fails, harmlessly, on a folder that is not empty
    }
}

void keepRunningWhenOutputCloses() {
    ::signal(SIGPIPE, SIG_IGN);
}

void printToConsole(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

}  // namespace quorrel::cleanup
