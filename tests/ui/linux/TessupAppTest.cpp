#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <cstdlib>
#include <filesystem>

#include "app/ui/CMainFrame.h"
#include "app/ui/CTessupApp.h"
#include "resources/AppTexts.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

struct FakeLock final : platform::InstanceLock {
    platform::LockResult result = platform::LockResult::Acquired;
    platform::LockResult acquire(const std::string&) override { return result; }
};
struct FakeWindows final : platform::WindowLookup {
    bool found = false;
    bool restoreWindowTitled(const std::string&) override { return found; }
};
struct FakeProbe final : platform::AdapterProbe {
    bool present = true;
    bool hasAdapter() override { return present; }
};

// The default install folder lives under XDG_DATA_HOME; each test points it and the
// registry at fresh temporary folders so that what a start creates can be seen.
class TessupAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_DATA_HOME")) {
            oldDataHome_ = old;
        }
        setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
        if (const char* old = std::getenv("QUORREL_REGISTRY_DIR")) {
            oldRegistryDir_ = old;
        }
        setenv("QUORREL_REGISTRY_DIR", registryDir.path().c_str(), 1);
    }
    void TearDown() override {
        if (oldDataHome_) {
            setenv("XDG_DATA_HOME", oldDataHome_->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        if (oldRegistryDir_) {
            setenv("QUORREL_REGISTRY_DIR", oldRegistryDir_->c_str(), 1);
        } else {
            unsetenv("QUORREL_REGISTRY_DIR");
        }
    }

    AppServices services() { return AppServices{&prompter, &lock, &windows, &probe, nullptr, {}}; }
    bool dataHomeIsEmpty() const {
        return std::filesystem::is_empty(std::filesystem::path(dataHome.path()));
    }

    test::TempFolder dataHome;
    test::TempFolder registryDir;
    test::RecordingPrompter prompter;
    FakeLock lock;
    FakeWindows windows;
    FakeProbe probe;

private:
    std::optional<std::string> oldDataHome_;
    std::optional<std::string> oldRegistryDir_;
};

TEST_F(TessupAppTest, ARefusedStartCreatesNoWindowAndTouchesNoFile) {
    {
        lock.result = platform::LockResult::AlreadyExists;
        windows.found = true;
        CTessupApp app(services());
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.verdict(), StartVerdict::RaisedRunningOne);
        EXPECT_EQ(app.mainFrame(), nullptr);
        EXPECT_TRUE(prompter.messages.empty()) << "the running one comes forward, nothing else";
        EXPECT_EQ(app.run(), 0);
    }
    {
        windows.found = false;
        CTessupApp app(services());
        EXPECT_EQ(app.run(), 0);
        EXPECT_EQ(app.verdict(), StartVerdict::AlreadyRunning);
        EXPECT_EQ(app.mainFrame(), nullptr);
    }
    {
        lock.result = platform::LockResult::Acquired;
        probe.present = false;
        CTessupApp app(services());
        EXPECT_EQ(app.run(), 0);
        EXPECT_EQ(app.verdict(), StartVerdict::NoAdapter);
        EXPECT_EQ(app.mainFrame(), nullptr);
    }
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text, texts::kAlreadyRunning);
    EXPECT_EQ(prompter.messages[1].text, texts::kNoAdapter);
    EXPECT_TRUE(dataHomeIsEmpty());
}

TEST_F(TessupAppTest, ACancelledFolderPromptCreatesNoFolder) {
    // A cancel takes the home folder (the platform's fallback) for the data file.
    test::TempFolder home;
    const std::string oldHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    {
        CTessupApp app(services());
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.mainFrame(), nullptr);
        EXPECT_EQ(prompter.folderPromptTitles.size(), 1u);
        EXPECT_EQ(app.mainFrame()->profiles().installFolder, home.path());
        EXPECT_TRUE(dataHomeIsEmpty()) << "the prompt's start folder was left behind";
        EXPECT_TRUE(app.mainFrame()->close());
    }
    setenv("HOME", oldHome.c_str(), 1);
    EXPECT_TRUE(std::filesystem::exists(home.path() + "quorrel.dat"));
    EXPECT_TRUE(dataHomeIsEmpty());
}

TEST_F(TessupAppTest, AnAcceptedStartShowsTheFrameOverTheDefaultInstallFolder) {
    // No registry yet: the folder prompt asks, and the user takes the folder it offers.
    prompter.folders.push_back(QString::fromStdString(dataHome.path() + "Varnok/Quorrel"));
    CTessupApp app(services());
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.mainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    // The list's first fill names the chosen adapter in the title.
    EXPECT_TRUE(
        frame->windowTitle().startsWith(QString::fromUtf8("Quorrel v2.1.1  [선택 어댑터 : ")))
        << frame->windowTitle().toStdString();
    EXPECT_EQ(frame->profiles().installFolder, dataHome.path() + "Varnok/Quorrel/");
    EXPECT_EQ(prompter.folderPromptTitles.size(), 1u);
    EXPECT_EQ(&frame->prompter(), &prompter);

    EXPECT_EQ(QFont::substitute(QString::fromUtf8("굴림체")).toLower(), "nanumgothiccoding");
    EXPECT_EQ(QFont::substitute(QString::fromUtf8("굴림")).toLower(), "nanumbarungothic");
    EXPECT_EQ(QApplication::font().family(), "NanumBarunGothic");

    ASSERT_TRUE(frame->close());
    EXPECT_TRUE(std::filesystem::exists(dataHome.path() + "Varnok/Quorrel/quorrel.dat"));
}

}  // namespace
}  // namespace quorrel
