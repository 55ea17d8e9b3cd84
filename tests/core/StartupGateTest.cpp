#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/StartupGate.h"
#include "resources/AppTexts.h"

namespace quorrel {
namespace {

// One log of every platform call, so the order of the checks can be seen.
struct Calls {
    std::vector<std::string> log;
};

struct FakeLock final : platform::InstanceLock {
    explicit FakeLock(Calls& shared) : calls(shared) {}
    Calls& calls;
    platform::LockResult result = platform::LockResult::Acquired;
    platform::LockResult acquire(const std::string& name) override {
        calls.log.push_back("lock " + name);
        return result;
    }
};

struct FakeWindows final : platform::WindowLookup {
    explicit FakeWindows(Calls& shared) : calls(shared) {}
    Calls& calls;
    bool found = false;
    bool restoreWindowTitled(const std::string& title) override {
        calls.log.push_back("window " + title);
        return found;
    }
};

struct FakeProbe final : platform::AdapterProbe {
    explicit FakeProbe(Calls& shared) : calls(shared) {}
    Calls& calls;
    bool present = true;
    bool hasAdapter() override {
        calls.log.push_back("probe");
        return present;
    }
};

struct RecordingMessages final : MessagePresenter {
    explicit RecordingMessages(Calls& shared) : calls(shared) {}
    Calls& calls;
    std::vector<Message> shown;
    MessageResult show(const Message& message) override {
        calls.log.push_back("message");
        shown.push_back(message);
        return MessageResult::Ok;
    }
};

class StartupGateTest : public ::testing::Test {
protected:
    StartVerdict check() { return checkStart(lock, windows, probe, messages); }

    Calls calls;
    FakeLock lock{calls};
    FakeWindows windows{calls};
    FakeProbe probe{calls};
    RecordingMessages messages{calls};
};

TEST_F(StartupGateTest, FirstInstanceWithAnAdapterRuns) {
    EXPECT_EQ(check(), StartVerdict::Run);
    EXPECT_EQ(calls.log, (std::vector<std::string>{"lock Quorrel", "probe"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartupGateTest, ARunningInstanceWithThePlainTitleIsBroughtForwardSilently) {
    lock.result = platform::LockResult::AlreadyExists;
    windows.found = true;
    EXPECT_EQ(check(), StartVerdict::RaisedRunningOne);
    EXPECT_EQ(calls.log, (std::vector<std::string>{"lock Quorrel", "window Quorrel v2.1.1"}));
}

TEST_F(StartupGateTest, ARunningInstanceWithoutThatWindowIsReportedAndTheProbeIsSkipped) {
    lock.result = platform::LockResult::AlreadyExists;
    probe.present = false;
    EXPECT_EQ(check(), StartVerdict::AlreadyRunning);
    EXPECT_EQ(calls.log,
              (std::vector<std::string>{"lock Quorrel", "window Quorrel v2.1.1", "message"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "이미 실행되어 있습니다.");
    EXPECT_EQ(messages.shown[0].caption, "Quorrel v2.1.1");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(StartupGateTest, NoAdapterIsReportedWithTheStandardBox) {
    probe.present = false;
    EXPECT_EQ(check(), StartVerdict::NoAdapter);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "현재 시스템에 설치된 어댑터가 없습니다.\n\n하나 이상의 네트워크 어댑터를 설치한 "
              "후\nQuorrel를 실행하여 주십시오.");
    EXPECT_EQ(messages.shown[0].caption, "Quorrel v2.1.1");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(StartupGateTest, ALockThatCannotBeMadeCountsAsTheFirstInstance) {
    lock.result = platform::LockResult::Failed;
    EXPECT_EQ(check(), StartVerdict::Run);
    EXPECT_EQ(calls.log, (std::vector<std::string>{"lock Quorrel", "probe"}));
}

}  // namespace
}  // namespace quorrel
