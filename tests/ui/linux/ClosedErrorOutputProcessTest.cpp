// The real program started with its standard error a pipe that nobody reads any more: the
// debug lines of its start-up must not end it.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/linux/ClosedPipeSpawn.h"

namespace quorrel {
namespace {

class ClosedErrorOutputProcess : public ::testing::Test {
protected:
    void SetUp() override {
        program = QCoreApplication::applicationDirPath().toStdString() + "/quorrel";
        if (!QFileInfo(QString::fromStdString(program)).isExecutable()) {
            GTEST_SKIP() << "the quorrel program is not built beside the tests";
        }
        std::filesystem::create_directory(temp.file("runtime"));
        ::chmod(temp.file("runtime").c_str(), 0700);
    }
    void TearDown() override {
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
    }

    // Starts the program in a sandbox of temporary folders, without a registry store of
    // its own (so that start-up writes its debug lines), with standard error closed.
    void start() {
        child = test::spawnWithClosedPipe(
            {program},
            {"HOME=" + temp.path(), "XDG_RUNTIME_DIR=" + temp.file("runtime"),
             "XDG_DATA_HOME=" + temp.file("data"), "QUORREL_REGISTRY_DIR=" + temp.file("registry"),
             "QT_QPA_PLATFORM=offscreen", "QUORREL_UNATTENDED=1"},
            STDERR_FILENO);
        ASSERT_GT(child, 0) << "cannot start " << program;
    }

    // Whether the program answers a second start's question on its socket, which it does
    // from its event loop, after the whole start-up. Gives up when it has ended.
    bool answersOnItsSocket(std::string& ending) {
        const QString socketPath = QString::fromStdString(temp.file("runtime/Quorrel.socket"));
        bool answered = false;
        const bool settled = test::waitUntil([&] {
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child) {
                child = 0;
                ending = WIFSIGNALED(status)
                             ? "killed by signal " + std::to_string(WTERMSIG(status))
                             : "exited with " + std::to_string(WEXITSTATUS(status));
                return true;
            }
            QLocalSocket socket;
            socket.connectToServer(socketPath);
            if (socket.waitForConnected(200)) {
                socket.write("RAISE no such window\n");
                if (socket.waitForBytesWritten(2000) && socket.waitForReadyRead(5000)) {
                    answered = socket.readLine() == "0\n";
                    return true;
                }
            }
            return false;
        });
        if (!settled) {
            ending = "no answer in time";
        }
        return answered;
    }

    test::TempFolder temp;
    std::string program;
    pid_t child = 0;
};

TEST_F(ClosedErrorOutputProcess, StartsAndRunsOn) {
    start();
    std::string ending;
    EXPECT_TRUE(answersOnItsSocket(ending)) << ending;
    // The start-up got as far as the settings it writes after its first debug line.
    EXPECT_TRUE(std::filesystem::exists(temp.file("registry/HKEY_LOCAL_MACHINE.reg")));
}

}  // namespace
}  // namespace quorrel
