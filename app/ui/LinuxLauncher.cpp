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
#include <vector>

#include "app/ui/CommandLineProgram.h"
#include "cli/CommandLineOptions.h"
#include "platform/DebugOutput.h"
#include "platform/StandardStreams.h"
#include "system/OwnProgram.h"
#include "system/linux/InstalledLayout.h"

int main(int argc, char** argv) {
    // Started with a closed standard error, the first debug line must not end the program.
    quorrel::platform::keepRunningWhenOutputCloses();

    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (quorrel::wantsCommandLine(args)) {
        quorrel::platform::connectStandardStreams();
        return quorrel::runCommandLineProgram(quorrel::parseCommandLine(args));
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
