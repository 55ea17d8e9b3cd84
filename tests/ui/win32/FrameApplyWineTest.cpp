// An apply as a Windows user makes it: wine's adapters and the real registry, a double-click
// on the profile, 예 on the confirmation and OK on the result. The lines go through
// CreateProcessA to the "netsh.exe" that Windows finds first, the recording one built beside
// the tests, and arrive byte for byte in the system's code page.

#include <windows.h>

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "listview/ui/CTessupView.h"
#include "platform/AdapterTable.h"
#include "platform/FileStore.h"
#include "platform/RegistryAdapterKeys.h"
#include "platform/RegistryStore.h"
#include "platform/TextCodec.h"
#include "resources/ApplyTexts.h"
#include "resources/ProfileTexts.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/support/win32/ScratchRegistryKeys.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

using platform::RegistryAdapterKeys;

constexpr const char* kConnection = "로컬 영역 연결";

class NoUrls final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

class FrameApplyWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto table = platform::makeSystemAdapterTable();
        std::size_t size = table->probeSize();
        std::vector<platform::AdapterTableEntry> entries;
        for (int i = 0; i < 4 && size != 0; ++i) {
            if (table->fetch(size, entries) != platform::AdapterFetch::BufferTooSmall) {
                break;
            }
        }
        ASSERT_FALSE(entries.empty()) << "wine reports no network adapter";

        // Every adapter gets its connection keys, the first one the name the profile uses.
        const auto store = platform::makeSystemRegistryStore();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string& id = entries[i].adapterId;
            ASSERT_FALSE(test::machineKeyExists(RegistryAdapterKeys::connectionKeyPath(id)))
                << "not a scratch registry";
            for (const std::string& path : {RegistryAdapterKeys::connectionKeyPath(id),
                                            RegistryAdapterKeys::interfaceKeyPath(id)}) {
                created.willCreate(path);
                std::unique_ptr<platform::RegistryKey> key;
                ASSERT_EQ(store->createKey(path, key), platform::RegStatus::Ok) << path;
                if (path == RegistryAdapterKeys::connectionKeyPath(id)) {
                    const std::string name =
                        i == 0 ? std::string(kConnection)
                               : std::string(kConnection) + " " + std::to_string(i + 1);
                    ASSERT_EQ(key->setString("Name", name), platform::RegStatus::Ok);
                }
            }
        }

        record = temp.path() + "netsh.txt";
        ASSERT_TRUE(::SetEnvironmentVariableA("QUORREL_NETSH_RECORD", record.c_str()));

        // The program's own settings as a previous run left them: the folder, the adapter,
        // and no connection check after an apply.
        std::string folder = temp.path();
        folder.pop_back();
        settings.putString(texts::kSettingsKeyPath, texts::kPathValue, folder);
        settings.putString(texts::kSettingsKeyPath, texts::kAdapterNameValue, kConnection);
        settings.putDword(texts::kSettingsKeyPath, texts::kAutoCheckValue, 0);

        prompter.onDialog = [this](QDialog& dialog) {
            if (dynamic_cast<CApplyConfirmDlg*>(&dialog) != nullptr) {
                return int(QDialog::Accepted);
            }
            if (dynamic_cast<CApplyProgressDlg*>(&dialog) != nullptr) {
                // It ends by itself once the lines have run; the guard keeps a broken
                // build from hanging here.
                QTimer::singleShot(20000, &dialog, [&dialog] { dialog.reject(); });
                return dialog.exec();
            }
            return int(QDialog::Rejected);
        };
        frame = std::make_unique<CMainFrame>(FrameServices{
            prompter, urls, *files, *codec, "", QSize(1024, 768), &settings, nullptr, nullptr});
        ASSERT_TRUE(frame->chosenAdapter().currentSettings);
        ASSERT_EQ(frame->chosenAdapter().currentSettings->connectionName, kConnection);
        frame->profiles().profileList.append(test::dhcpProfile("집"));
        frame->profiles().profileList.append(
            test::fixedProfile("사무실", "192.168.0.10").gateway("192.168.0.1").dns("10.0.0.53"));
        frame->profiles().profileList.append(
            test::fixedProfile("실험실", "10.20.30.40").dns("10.0.0.53", "10.0.0.54"));
        frame->OnInitialUpdate();
        frame->show();
        prompter.messages.clear();
    }

    void TearDown() override { ::SetEnvironmentVariableA("QUORREL_NETSH_RECORD", nullptr); }

    void doubleClick(const std::string& name) {
        CTessupView* view = frame->view();
        for (int row = 0; row < view->rowCount(); ++row) {
            if (view->cellText(row, 0) == name) {
                const QRect cell = view->visualRect(view->model()->index(row, 1));
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
                return;
            }
        }
        FAIL() << name;
    }

    std::string recorded() const {
        return std::filesystem::exists(record) ? test::readFileBytes(record) : std::string();
    }

    std::string inCodePage(const std::string& utf8) const {
        std::string bytes;
        EXPECT_TRUE(codec->encode(utf8, bytes));
        return bytes;
    }

    test::ScratchRegistryKeys created;
    test::TempFolder temp;
    std::string record;
    test::RecordingPrompter prompter;
    NoUrls urls;
    std::unique_ptr<platform::FileStore> files = platform::makeSystemFileStore();
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    test::MemoryRegistryStore settings;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(FrameApplyWineTest, EachProfileReachesNetshAsItsOwnLinesThroughCreateProcess) {
    const struct {
        const char* profile;
        const char* lines;
    } cases[] = {
        {"집",
         "netsh.exe interface ip set address \"로컬 영역 연결\" source=dhcp\n"
         "netsh.exe interface ip set dns name=\"로컬 영역 연결\" source=dhcp\n"},
        {"사무실",
         "netsh.exe interface ip set address \"로컬 영역 연결\" source=static "
         "addr=192.168.0.10 mask=255.255.255.0 gateway=192.168.0.1 1\n"
         "netsh.exe interface ip set dns name=\"로컬 영역 연결\" source=static 10.0.0.53 "
         "primary\n"},
        {"실험실",
         "netsh.exe interface ip set address \"로컬 영역 연결\" source=static "
         "addr=10.20.30.40 mask=255.255.255.0\n"
         "netsh.exe interface ip set dns name=\"로컬 영역 연결\" source=static 10.0.0.53 "
         "primary\n"
         "netsh.exe interface ip add dns name=\"로컬 영역 연결\" addr=10.0.0.54 index=2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        std::filesystem::remove(record);
        prompter.messages.clear();
        doubleClick(c.profile);
        EXPECT_EQ(recorded(), inCodePage(c.lines));
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, texts::kApplyDoneText);
        EXPECT_EQ(frame->applyRun().lastAppliedName, c.profile);
    }
}

}  // namespace
}  // namespace quorrel
