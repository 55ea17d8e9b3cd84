// The program as started on Linux. The command-line options run here, in a program that
// loads nothing of Qt, so that `quorrel --status` costs what a small tool costs; for the
// window this process becomes the window program (quorrel-window) with the same arguments
// and the same process id. The window program lies beside this one in a build folder and
// in the helper folder (/usr/libexec/quorrel) when installed.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/ui/CommandLineProgram.h"
#include "system/OwnProgram.h"
#include "system/linux/InstalledLayout.h"

int main(int argc, char** argv) {
    if (const auto status = quorrel::runCommandLineIfAsked(argc, argv)) {
        return *status;
    }

    const std::string ownFolder = quorrel::system::ownProgramFolder();
    if (ownFolder.empty()) {
        std::fputs("quorrel: cannot find this program's own folder, so not its window\n", stderr);
        return 1;
    }
    const std::string window = quorrel::system::helperFolderFor(ownFolder) + "quorrel-window";
    ::execv(window.c_str(), argv);
    std::fprintf(stderr, "quorrel: cannot start %s: %s\n", window.c_str(), std::strerror(errno));
    return 1;
}
