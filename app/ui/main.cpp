#include <QApplication>
#include <string>
#include <vector>

#include "app/ui/CTessupApp.h"
#include "app/ui/CommandLineProgram.h"
#include "cli/CommandLineOptions.h"
#include "platform/DebugOutput.h"
#include "platform/StandardStreams.h"

int main(int argc, char** argv) {
    // Started with a closed standard error, the first debug line must not end the program.
    quorrel::platform::keepRunningWhenOutputCloses();

    // Options of ours run without a window, decided before anything of Qt exists, so that
    // no display is needed and the running instance's lock is never asked for.
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (quorrel::wantsCommandLine(args)) {
        quorrel::platform::connectStandardStreams();
        return quorrel::runCommandLineProgram(quorrel::parseCommandLine(args));
    }

    QApplication qtApplication(argc, argv);
    quorrel::CTessupApp app;
    return app.run();
}
