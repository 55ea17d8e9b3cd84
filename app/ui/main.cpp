#include <QApplication>

#include "app/ui/CTessupApp.h"
#include "platform/DebugOutput.h"

int main(int argc, char** argv) {
    // Started with a closed standard error, the first debug line must not end the program.
    quorrel::platform::keepRunningWhenOutputCloses();
    QApplication qtApplication(argc, argv);
    quorrel::CTessupApp app;
    return app.run();
}
