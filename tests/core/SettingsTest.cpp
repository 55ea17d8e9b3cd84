#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "profiles/Settings.h"
#include "tests/support/MemoryRegistryStore.h"

namespace quorrel {
namespace {

constexpr const char* kKey = "SOFTWARE\\Varnok\\Quorrel";

class SettingsTest : public ::testing::Test {
protected:
    test::MemoryRegistryStore store;
    std::vector<std::string> debugLines;
    Settings settings{store, [this](const std::string& line) { debugLines.push_back(line); }};

    // The folder prompt as the user answers it; records how it was asked.
    std::optional<std::string> answer;
    int prompts = 0;
    std::string promptTitle;
    std::string promptStart;
    int defaultFolderAsked = 0;

    std::string determine() {
        InstallFolderDefaults defaults;
        defaults.separator = '\\';
        defaults.promptFolder = [this] {
            ++defaultFolderAsked;
            return std::string("C:\\Program Files\\Varnok\\Quorrel");
        };
        defaults.cancelledFolder = [] { return std::string("C:\\"); };
        return settings.determineInstallFolder(
            [this](const std::string& title, const std::string& initial) {
                ++prompts;
                promptTitle = title;
                promptStart = initial;
                return answer;
            },
            defaults);
    }
};

TEST_F(SettingsTest, WithoutTheKeyThePromptedFolderIsUsedAndStored) {
    answer = "D:\\Tools";
    EXPECT_EQ(determine(), "D:\\Tools\\");
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(promptTitle, "Quorrel가 설치된 폴더를 선택하십시오.");
    EXPECT_EQ(promptStart, "C:\\Program Files\\Varnok\\Quorrel");
    EXPECT_EQ(store.stringValue(kKey, "PATH"), "D:\\Tools");
    EXPECT_EQ(store.openHandles(), 0);

    // The next start reads it back without asking.
    EXPECT_EQ(determine(), "D:\\Tools\\");
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(defaultFolderAsked, 1);
}

TEST_F(SettingsTest, CancelledPromptUsesTheFallbackFolderFromThenOn) {
    answer = std::nullopt;
    EXPECT_EQ(determine(), "C:\\");
    EXPECT_EQ(store.stringValue(kKey, "PATH"), "C:");
    EXPECT_EQ(determine(), "C:\\");
    EXPECT_EQ(prompts, 1);
}

TEST_F(SettingsTest, ChosenFolderEndingInASeparatorGetsNoSecondOne) {
    answer = "D:\\";
    EXPECT_EQ(determine(), "D:\\");
    EXPECT_EQ(store.stringValue(kKey, "PATH"), "D:");
}

TEST_F(SettingsTest, UnreadablePathAsksAgain) {
    store.putString(kKey, "PATH", std::string(1024, 'x'));  // does not fit the buffer
    answer = "E:\\Q";
    EXPECT_EQ(determine(), "E:\\Q\\");
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(store.stringValue(kKey, "PATH"), "E:\\Q");
}

TEST_F(SettingsTest, PathPresentOtherValuesAbsent) {
    store.putString(kKey, "PATH", "D:\\Quorrel");
    EXPECT_EQ(determine(), "D:\\Quorrel\\");
    EXPECT_EQ(prompts, 0);

    std::string remembered = "stale";
    EXPECT_TRUE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, "");
    EXPECT_EQ(store.dwordValue(kKey, "AutoCheck"), 0u);
    EXPECT_FALSE(store.stringValue(kKey, "AdapterName").has_value());
    EXPECT_EQ(debugLines, (std::vector<std::string>{"레지스트 AutoCheck 키 생성"}));
}

TEST_F(SettingsTest, NoKeyLeavesTheRememberedAdapterEmpty) {
    std::string remembered;
    EXPECT_FALSE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, "");
    EXPECT_EQ(debugLines, (std::vector<std::string>{"레지스트 Open 에러"}));
    EXPECT_FALSE(store.hasKey(kKey));
}

TEST_F(SettingsTest, AutoCheckZeroIgnoresTheName) {
    store.putDword(kKey, "AutoCheck", 0);
    store.putString(kKey, "AdapterName", "eth0");
    std::string remembered;
    EXPECT_TRUE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, "");
    EXPECT_TRUE(debugLines.empty());
}

TEST_F(SettingsTest, AutoCheckSetReturnsTheNameVerbatim) {
    store.putDword(kKey, "AutoCheck", 7);  // any non-zero value
    store.putString(kKey, "AdapterName", " 로컬 영역 연결 2");
    std::string remembered;
    EXPECT_TRUE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, " 로컬 영역 연결 2");
}

TEST_F(SettingsTest, AutoCheckWithoutAdapterNameCreatesItEmpty) {
    store.putDword(kKey, "AutoCheck", 1);
    std::string remembered;
    EXPECT_FALSE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, "");
    EXPECT_EQ(store.stringValue(kKey, "AdapterName"), "");
    EXPECT_EQ(debugLines, (std::vector<std::string>{"AdapterName 항목이 없음"}));

    // Created empty, it reads as "no remembered adapter" without another line.
    EXPECT_TRUE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(debugLines.size(), 1u);
}

TEST_F(SettingsTest, AdapterNameTooLongCountsAsMissing) {
    store.putDword(kKey, "AutoCheck", 1);
    store.putString(kKey, "AdapterName", std::string(255, 'a'));
    std::string remembered;
    EXPECT_FALSE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, "");
}

TEST_F(SettingsTest, AdapterChoiceIsStoredOnlyInAnExistingKey) {
    settings.storeAdapterChoice("eth0");
    EXPECT_FALSE(store.hasKey(kKey));

    store.addKey(kKey);
    settings.storeAdapterChoice("무선 네트워크 연결");
    EXPECT_EQ(store.stringValue(kKey, "AdapterName"), "무선 네트워크 연결");
    EXPECT_EQ(store.dwordValue(kKey, "AutoCheck"), 1u);

    std::string remembered;
    EXPECT_TRUE(settings.readRememberedAdapter(remembered));
    EXPECT_EQ(remembered, "무선 네트워크 연결");
    EXPECT_EQ(store.openHandles(), 0);
}

TEST_F(SettingsTest, WithoutWriteAccessThePromptComesEveryTime) {
    store.putString(kKey, "PATH", "D:\\Tools");
    store.denyFullAccess(kKey);
    answer = "E:\\Other";
    EXPECT_EQ(determine(), "E:\\Other\\");
    EXPECT_EQ(determine(), "E:\\Other\\");
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(store.stringValue(kKey, "PATH"), "D:\\Tools");
}

TEST_F(SettingsTest, CheckAfterApplyIsItsOwnDwordAndOffUnlessOne) {
    EXPECT_FALSE(settings.readCheckAfterApply());
    EXPECT_FALSE(store.hasKey(kKey)) << "reading creates nothing";

    settings.storeCheckAfterApply(true);
    EXPECT_EQ(store.dwordValue(kKey, "CheckAfterApply"), 1u);
    EXPECT_TRUE(settings.readCheckAfterApply());
    settings.storeCheckAfterApply(false);
    EXPECT_EQ(store.dwordValue(kKey, "CheckAfterApply"), 0u);
    EXPECT_FALSE(settings.readCheckAfterApply());

    store.putDword(kKey, "CheckAfterApply", 2);
    EXPECT_FALSE(settings.readCheckAfterApply());
    store.putString(kKey, "CheckAfterApply", "1");
    EXPECT_FALSE(settings.readCheckAfterApply());
    EXPECT_EQ(store.openHandles(), 0);
}

}  // namespace
}  // namespace quorrel
