#include <QApplication>

#include "app/ui/CTessupApp.h"

int main(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    quorrel::CTessupApp app;
    return app.run();
}
