#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "tests/support/TempFolder.h"
#include "tests/ui/EventLoopWait.h"
#include "tests/ui/TestRegistryFolder.h"

namespace quorrel {
namespace {

constexpr int kStartMs = static_cast<int>(std::chrono::milliseconds(test::kPatience).count());

// Starts the real program, as a user would, in a sandbox of temporary folders: its lock and
// socket in `runtime`, its data under `dataHome`. Messages are answered unattended (they
// go to standard error), so no run waits for a user.
class Instance {
public:
    Instance(const std::string& home, const std::string& runtime, const std::string& dataHome) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", QString::fromStdString(home));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
        env.insert("XDG_DATA_HOME", QString::fromStdString(dataHome));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUORREL_UNATTENDED", "1");
        process_.setProcessEnvironment(env);
    }
    ~Instance() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    void start() {
        process_.start(QCoreApplication::applicationDirPath() + "/quorrel", QStringList());
    }
    QProcess& process() { return process_; }
    bool running() const { return process_.state() == QProcess::Running; }
    bool ended() const { return process_.state() == QProcess::NotRunning; }
    QString errors() { return QString::fromUtf8(process_.readAllStandardError()); }

private:
    QProcess process_;
};

class SingleInstanceProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo(QCoreApplication::applicationDirPath() + "/quorrel").isExecutable()) {
            GTEST_SKIP() << "the quorrel program is not built beside the tests";
        }
        std::filesystem::create_directory(runtime());
        std::filesystem::permissions(runtime(), std::filesystem::perms::owner_all);
    }
    std::string runtime() const { return temp.file("runtime"); }
    std::string dataHome(const std::string& name) const { return temp.file(name); }

    // Waits until one of the processes has ended; returns its index, or -1.
    static int waitForOneToEnd(const std::vector<Instance*>& instances) {
        int ended = -1;
        test::waitWithEvents([&] {
            for (std::size_t i = 0; i < instances.size(); ++i) {
                if (instances[i]->ended()) {
                    ended = static_cast<int>(i);
                    return true;
                }
            }
            return false;
        });
        return ended;
    }
    // Up once it has settled its data folder (the unattended folder prompt is cancelled,
    // which stores the home folder as PATH and makes no folder under `data`) and listens
    // for further starts.
    bool waitUntilUp(const std::string& data) {
        const bool up = test::waitWithEvents([&] {
            std::ifstream store(registry.path() + "HKEY_LOCAL_MACHINE.reg");
            const std::string text((std::istreambuf_iterator<char>(store)),
                                   std::istreambuf_iterator<char>());
            return std::filesystem::exists(runtime() + "/Quorrel.socket") &&
                   text.find("\"PATH\"=") != std::string::npos;
        });
        return up && !std::filesystem::exists(data + "/Varnok");
    }

    test::TempFolder temp;
    // Each test's programs share a registry of their own: what one test's program
    // remembers (its profile folder) must not lead the next test's astray.
    test::TestRegistryFolder registry;
};

TEST_F(SingleInstanceProcess, TwoStartedTogetherLeaveExactlyOneRunning) {
    Instance a(temp.path(), runtime(), dataHome("data"));
    Instance b(temp.path(), runtime(), dataHome("data"));
    a.start();
    b.start();
    ASSERT_TRUE(a.process().waitForStarted(kStartMs));
    ASSERT_TRUE(b.process().waitForStarted(kStartMs));

    const int ended = waitForOneToEnd({&a, &b});
    ASSERT_NE(ended, -1) << "neither start was refused";
    Instance& refused = ended == 0 ? a : b;
    Instance& survivor = ended == 0 ? b : a;
    EXPECT_EQ(refused.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(refused.process().exitCode(), 0);
    // The survivor comes all the way up and keeps running.
    EXPECT_TRUE(waitUntilUp(dataHome("data"))) << survivor.errors().toStdString();
    EXPECT_TRUE(survivor.running()) << survivor.errors().toStdString();
}

TEST_F(SingleInstanceProcess, ASecondStartAfterTheListIsFilledSaysSoAndWritesNothing) {
    Instance first(temp.path(), runtime(), dataHome("data"));
    first.start();
    ASSERT_TRUE(first.process().waitForStarted(kStartMs));
    ASSERT_TRUE(waitUntilUp(dataHome("data"))) << first.errors().toStdString();
    ASSERT_TRUE(first.running()) << first.errors().toStdString();

    // The second start has a data folder of its own, to see that it writes nothing there.
    std::filesystem::create_directory(dataHome("second"));
    Instance second(temp.path(), runtime(), dataHome("second"));
    second.start();
    ASSERT_TRUE(test::waitWithEvents([&] { return second.ended(); }));
    EXPECT_EQ(second.process().exitCode(), 0);
    // Once the first has filled its list its title names the adapter, so no window has
    // exactly the plain title: the second start says that the program runs.
    EXPECT_TRUE(second.errors().contains(QString::fromUtf8("이미 실행되어 있습니다.")))
        << second.errors().toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(dataHome("second")));
    EXPECT_TRUE(first.running());
}

}  // namespace
}  // namespace quorrel
