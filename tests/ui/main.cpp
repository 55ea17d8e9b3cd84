#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// The widget tests run without a display unless one is asked for (by QT_QPA_PLATFORM or,
// under wine, which keeps QT_* variables from Windows programs, by -platform).
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Nothing a test starts may touch the user's own registry store.
    QTemporaryDir registry;
    if (!qEnvironmentVariableIsSet("QUORREL_REGISTRY_DIR") && registry.isValid()) {
        qputenv("QUORREL_REGISTRY_DIR", registry.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
