#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>
#include <filesystem>

#include "adapters/ui/BitmapButton.h"
#include "adapters/ui/CAdapterSelectDlg.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "base/CommandIds.h"
#include "base/ui/QtText.h"
#include "profiles/ProfileFile.h"
#include "resources/AdapterTexts.h"
#include "resources/ProfileTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

using test::tableEntry;

class IgnoringUrlOpener final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

// The machine of these tests: a DHCP adapter with automatic DNS, and two adapters with the
// same fixed configuration.
class FrameAdapterStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.entries = {tableEntry("{A}", 1, "10.0.0.5", "255.0.0.0", "10.0.0.1"),
                         tableEntry("{B}", 0, "192.168.1.7", "255.255.255.0", "192.168.1.1"),
                         tableEntry("{C}", 0, "192.168.1.7", "255.255.255.0", "192.168.1.1")};
        keys.add("{A}", "로컬 영역 연결");
        keys.add("{B}", "로컬 영역 연결 2", "168.126.63.1,168.126.63.2");
        keys.add("{C}", "로컬 영역 연결 3", "168.126.63.1,168.126.63.2");
    }

    std::unique_ptr<CMainFrame> makeFrame() {
        return std::make_unique<CMainFrame>(FrameServices{
            prompter, urls, *files, *codec, "", QSize(1024, 768), &registry, &table, &keys});
    }

    // The registry as a previous run left it.
    void rememberFolderAndAdapter(const std::string& adapter) {
        std::string folder = temp.path();
        folder.pop_back();
        registry.putString(texts::kSettingsKeyPath, texts::kPathValue, folder);
        registry.putDword(texts::kSettingsKeyPath, texts::kAutoCheckValue, 1);
        registry.putString(texts::kSettingsKeyPath, texts::kAdapterNameValue, adapter);
    }

    // Answers the next adapter dialog: picks `entry` and presses OK, or Cancel when empty.
    void answerAdapterDialog(const QString& entry) {
        prompter.onDialog = [entry](QDialog& shown) {
            auto& dialog = dynamic_cast<CAdapterSelectDlg&>(shown);
            if (entry.isEmpty()) {
                dialog.cancelButton()->click();
                return dialog.result();
            }
            const auto found = dialog.adapterList()->findItems(entry, Qt::MatchExactly);
            EXPECT_EQ(found.size(), 1);
            if (!found.isEmpty()) {
                dialog.adapterList()->setCurrentItem(found.front());
            }
            dialog.okButton()->click();
            return dialog.result();
        };
    }

    static std::vector<std::string> names(const ProfileList& list) {
        std::vector<std::string> result;
        for (const IpProfile& profile : list) {
            result.push_back(profile.name + (profile.isCurrent == 1 ? " *" : ""));
        }
        return result;
    }

    test::TempFolder temp;
    test::RecordingPrompter prompter;
    IgnoringUrlOpener urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    test::MemoryRegistryStore registry;
    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
};

TEST_F(FrameAdapterStartupTest, FirstStartAsksForTheFolderAdoptsEachConfigurationOnceAndSaves) {
    std::string folder = temp.path();
    folder.pop_back();
    prompter.folders.push_back(QString::fromStdString(folder));
    auto frame = makeFrame();

    ASSERT_EQ(prompter.folderPromptTitles.size(), 1u);
    EXPECT_EQ(prompter.folderPromptTitles[0], qs("Quorrel가 설치된 폴더를 선택하십시오."));
    EXPECT_EQ(frame->profiles().installFolder, temp.path());
    EXPECT_EQ(registry.stringValue(texts::kSettingsKeyPath, texts::kPathValue), folder);
    EXPECT_EQ(registry.dwordValue(texts::kSettingsKeyPath, texts::kAutoCheckValue), 0u);

    // One profile per distinct configuration, in inventory order; the first adapter is
    // the chosen one and its profile carries the mark.
    EXPECT_EQ(names(frame->profiles().profileList),
              (std::vector<std::string>{"설정[1] *", "설정[2]"}));
    const IpProfile* fixed = frame->profiles().profileList.findByName("설정[2]");
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->useDhcp, 0);
    EXPECT_EQ(fixed->ipAddress, "192.168.1.7");
    EXPECT_EQ(fixed->secondaryDns, "168.126.63.2");
    ASSERT_TRUE(frame->chosenAdapter().currentSettings);
    EXPECT_EQ(frame->chosenAdapter().currentSettings->connectionName, "로컬 영역 연결");
    EXPECT_EQ(frame->chosenAdapter().currentSettings->ipAddress, "10.0.0.5")
        << "what DHCP gave, not empty";
    ASSERT_FALSE(frame->adapterSelectDlg().inventory().empty());
    EXPECT_EQ(frame->adapterSelectDlg().inventory().records().front().adapterId, "{A}");
    EXPECT_EQ(frame->profiles().profilesModified, 0);

    // Nothing is written until the window closes.
    EXPECT_FALSE(std::filesystem::exists(temp.file("quorrel.dat")));
    ASSERT_TRUE(frame->close());
    frame.reset();
    ProfileList saved;
    ASSERT_TRUE(ProfileDataFile(*files, *codec, temp.path()).load(saved).ok());
    EXPECT_EQ(names(saved), (std::vector<std::string>{"설정[1]", "설정[2]"}));

    // The next start finds the folder in the registry and the profiles in the file.
    auto again = makeFrame();
    EXPECT_EQ(prompter.folderPromptTitles.size(), 1u);
    EXPECT_EQ(names(again->profiles().profileList),
              (std::vector<std::string>{"설정[1] *", "설정[2]"}));
}

TEST_F(FrameAdapterStartupTest, TheRememberedAdapterIsChosenAndItsProfileMarked) {
    rememberFolderAndAdapter("로컬 영역 연결 3");
    auto frame = makeFrame();
    EXPECT_TRUE(prompter.folderPromptTitles.empty());
    EXPECT_EQ(frame->chosenAdapter().rememberedAdapter, "로컬 영역 연결 3");
    ASSERT_TRUE(frame->chosenAdapter().currentSettings);
    EXPECT_EQ(frame->chosenAdapter().currentSettings->connectionName, "로컬 영역 연결 3");
    EXPECT_EQ(names(frame->profiles().profileList),
              (std::vector<std::string>{"설정[1]", "설정[2] *"}));

    // An adapter that has gone since: the first one is taken, the name is kept.
    frame.reset();
    rememberFolderAndAdapter("사라진 어댑터");
    auto later = makeFrame();
    EXPECT_EQ(later->chosenAdapter().rememberedAdapter, "사라진 어댑터");
    ASSERT_TRUE(later->chosenAdapter().currentSettings);
    EXPECT_EQ(later->chosenAdapter().currentSettings->connectionName, "로컬 영역 연결");
}

TEST_F(FrameAdapterStartupTest, ChoosingAnUndescribedAdapterAddsItsProfileOnceAndRenamesTheTitle) {
    rememberFolderAndAdapter("로컬 영역 연결");
    auto frame = makeFrame();
    // The user deleted the fixed configuration's profile since the start.
    frame->profiles().profileList.removeMatching(
        *frame->profiles().profileList.findByName("설정[2]"));

    answerAdapterDialog(qs("로컬 영역 연결 3"));
    frame->runCommand(ID_ADAPTER_SELECT);
    ASSERT_EQ(prompter.dialogTitles.size(), 1u);
    EXPECT_EQ(prompter.dialogTitles[0], qs("어댑터 선택"));
    EXPECT_EQ(names(frame->profiles().profileList),
              (std::vector<std::string>{"설정[1]", "설정[2] *"}));
    const IpProfile* added = frame->profiles().profileList.findByName("설정[2]");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->ipAddress, "192.168.1.7");
    EXPECT_TRUE(added->connectionName.empty()) << "the list keeps no adapter fields";
    EXPECT_EQ(frame->chosenAdapter().currentSettings->connectionName, "로컬 영역 연결 3");
    EXPECT_EQ(frame->windowTitle(), qs("Quorrel v2.1.1  [선택 어댑터 : 로컬 영역 연결 3]"));
    EXPECT_EQ(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue),
              "로컬 영역 연결 3");
    EXPECT_EQ(registry.dwordValue(texts::kSettingsKeyPath, texts::kAutoCheckValue), 1u);
    EXPECT_EQ(frame->profiles().profilesModified, 0);

    // The same adapter, or one with the same configuration, adds nothing more.
    frame->runCommand(ID_ADAPTER_SELECT);
    answerAdapterDialog(qs("로컬 영역 연결 2"));
    frame->runCommand(ID_ADAPTER_SELECT);
    EXPECT_EQ(names(frame->profiles().profileList),
              (std::vector<std::string>{"설정[1]", "설정[2] *"}));
    EXPECT_EQ(frame->windowTitle(), qs("Quorrel v2.1.1  [선택 어댑터 : 로컬 영역 연결 2]"));

    // Back to the DHCP adapter: the mark moves, nothing is added.
    answerAdapterDialog(qs("로컬 영역 연결"));
    frame->runCommand(ID_ADAPTER_SELECT);
    EXPECT_EQ(names(frame->profiles().profileList),
              (std::vector<std::string>{"설정[1] *", "설정[2]"}));
}

TEST_F(FrameAdapterStartupTest, CancellingTheAdapterDialogChangesNothing) {
    rememberFolderAndAdapter("로컬 영역 연결 2");
    auto frame = makeFrame();
    const std::vector<std::string> before = names(frame->profiles().profileList);

    answerAdapterDialog(QString());
    frame->runCommand(ID_ADAPTER_SELECT);
    EXPECT_EQ(prompter.dialogTitles.size(), 1u);
    EXPECT_EQ(names(frame->profiles().profileList), before);
    EXPECT_EQ(frame->chosenAdapter().currentSettings->connectionName, "로컬 영역 연결 2");
    EXPECT_EQ(frame->adapterSelectDlg().inventory().selectedName(), "로컬 영역 연결 2");
    EXPECT_EQ(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue),
              "로컬 영역 연결 2");
    EXPECT_EQ(frame->windowTitle(), qs("Quorrel v2.1.1  [선택 어댑터 : 로컬 영역 연결 2]"));
}

TEST_F(FrameAdapterStartupTest, WithoutAnyAdapterTheStartAndTheAdapterCommandStillWork) {
    table.entries.clear();
    rememberFolderAndAdapter("로컬 영역 연결");
    auto frame = makeFrame();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, texts::kNoAdapterText);
    EXPECT_FALSE(frame->chosenAdapter().currentSettings);
    EXPECT_TRUE(frame->adapterSelectDlg().inventory().empty());
    EXPECT_TRUE(frame->profiles().profileList.empty());

    // OK on the empty list must not take over a configuration that does not exist.
    prompter.onDialog = [](QDialog& shown) {
        dynamic_cast<CAdapterSelectDlg&>(shown).okButton()->click();
        return shown.result();
    };
    frame->runCommand(ID_ADAPTER_SELECT);
    EXPECT_FALSE(frame->chosenAdapter().currentSettings);
    EXPECT_TRUE(frame->profiles().profileList.empty());
    EXPECT_EQ(frame->windowTitle(), qs("Quorrel v2.1.1  [선택 어댑터 : ]"));
}

}  // namespace
}  // namespace quorrel
