#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <future>
#include <thread>

#include "platform/ui/linux/InstanceChannel.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/EventLoopWait.h"

namespace quorrel {
namespace {

// Runs the second start's question on its own thread while this thread's event loop lets
// the server answer, as two processes would.
bool askFromAnotherThread(const QString& socketPath, const std::string& title,
                          int connectWaitMs = 2000) {
    std::packaged_task<bool()> task([&] {
        LocalWindowLookup lookup(socketPath, connectWaitMs, 3000);
        return lookup.restoreWindowTitled(title);
    });
    std::future<bool> answer = task.get_future();
    std::thread asker(std::move(task));
    // The lookup gives up by itself after its own waits; the deadline only keeps a broken
    // one from holding the test forever.
    const bool answered = test::waitWithEvents(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    asker.join();
    EXPECT_TRUE(answered);
    return answer.get();
}

TEST(InstanceChannel, TheRunningInstanceRaisesTheWindowWithExactlyTheAskedTitle) {
    test::TempFolder folder;
    const QString path = QString::fromStdString(folder.file("Quorrel.socket"));
    std::vector<QString> asked;
    InstanceServer server(path, [&](const QString& title) {
        asked.push_back(title);
        return title == QString::fromUtf8("Quorrel v2.1.1");
    });
    ASSERT_TRUE(server.listen());

    EXPECT_TRUE(askFromAnotherThread(path, "Quorrel v2.1.1"));
    EXPECT_FALSE(askFromAnotherThread(path, "Quorrel v2.1.1  [선택 어댑터 : eth0]"));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], QString::fromUtf8("Quorrel v2.1.1  [선택 어댑터 : eth0]"));
}

TEST(InstanceChannel, ASocketLeftByACrashedInstanceIsTakenOver) {
    test::TempFolder folder;
    const QString path = QString::fromStdString(folder.file("Quorrel.socket"));
    {
        InstanceServer first(path, [](const QString&) { return true; });
        ASSERT_TRUE(first.listen());
    }
    test::writeFileBytes(path.toStdString(), "stale");
    InstanceServer second(path, [](const QString&) { return true; });
    ASSERT_TRUE(second.listen());
    EXPECT_TRUE(askFromAnotherThread(path, "Quorrel v2.1.1"));
}

TEST(InstanceChannel, NobodyListeningMeansNoWindowAfterAShortWait) {
    test::TempFolder folder;
    const QString path = QString::fromStdString(folder.file("Quorrel.socket"));
    QElapsedTimer clock;
    clock.start();
    LocalWindowLookup lookup(path, 300, 300);
    EXPECT_FALSE(lookup.restoreWindowTitled("Quorrel v2.1.1"));
    EXPECT_GE(clock.elapsed(), 250) << "gives a starting instance a moment to listen";
    // Far above its own 300 ms waits: only a lookup that waits for good runs into it.
    EXPECT_LT(clock.elapsed(), 20000);
}

TEST(InstanceChannel, RaisingRestoresAMinimisedWindowOfExactlyThatTitle) {
    QWidget window;
    window.setWindowTitle("Quorrel v2.1.1");
    window.showMinimized();
    QWidget other;
    other.setWindowTitle("Quorrel v2.1.1 ");
    other.show();

    EXPECT_FALSE(raiseTopLevelWindowTitled("Quorrel v2.1"));
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(raiseTopLevelWindowTitled("Quorrel v2.1.1"));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace quorrel
