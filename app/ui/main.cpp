#include <QApplication>

#include "app/ui/CTessupApp.h"
#include "app/ui/CommandLineProgram.h"

int main(int argc, char** argv) {
    if (const auto status = quorrel::runCommandLineIfAsked(argc, argv)) {
        return *status;
    }
    QApplication qtApplication(argc, argv);
    quorrel::CTessupApp app;
    return app.run();
}
