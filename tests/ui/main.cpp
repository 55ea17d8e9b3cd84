#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

// The widget tests run without a display unless one is asked for.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // Nothing a test starts may touch the user's own registry store.
    QTemporaryDir registry;
    if (std::getenv("QUORREL_REGISTRY_DIR") == nullptr && registry.isValid()) {
        setenv("QUORREL_REGISTRY_DIR", registry.path().toLocal8Bit().constData(), 1);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
