#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/ui/ProgramFonts.h"

// The whole program's windows run without a display unless one is asked for.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    quorrel::applyProgramFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
