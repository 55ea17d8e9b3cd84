#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

#include "adapters/ui/BitmapButton.h"
#include "adapters/ui/CAdapterSelectDlg.h"
#include "platform/ui/SystemWindows.h"
#include "resources/AppTexts.h"
#include "resources/ProfileTexts.h"
#include "tests/support/FakeAdapterPlatform.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

using test::tableEntry;

QStringList entries(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) {
        texts << list.item(i)->text();
    }
    return texts;
}

QStringList values(const CAdapterSelectDlg& dialog) {
    QStringList texts;
    for (std::size_t row = 0; row < kDetailRows; ++row) {
        texts << dialog.valueField(row)->text();
    }
    return texts;
}

void clickEntry(QListWidget& list, const QString& text) {
    const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    const QRect rect = list.visualItemRect(found.front());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

// A double click as the system delivers it: press, release, then the double-click event.
void doubleClick(QWidget* target, QPoint at) {
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    QMouseEvent event(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, at);
}

class AdapterSelectDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Inventory order differs from the sorted order of the list.
        table.entries = {tableEntry("{B}", 0, "192.168.1.7", "255.255.255.0", "192.168.1.1"),
                         tableEntry("{A}", 1, "10.0.0.5", "255.0.0.0", "10.0.0.1"),
                         tableEntry("{W}", 0, "172.16.0.9", "255.255.0.0", "")};
        keys.add("{B}", "로컬 영역 연결 2", "168.126.63.1,168.126.63.2");
        keys.add("{A}", "로컬 영역 연결");
        keys.add("{W}", "Wireless", "");
        registry.addKey(texts::kSettingsKeyPath);
        dialog = std::make_unique<CAdapterSelectDlg>(
            AdapterDialogServices{table, keys, prompter, registry, [this] { return currentName; }});
        dialog->inventory().setSelectedName("로컬 영역 연결 2");
        dialog->inventory().markSelected();
    }

    // Runs the dialog; `user` acts on it while it is open and closes it.
    int run(const std::function<void(CAdapterSelectDlg&)>& user) {
        prompter.onDialog = [&](QDialog& shown) {
            auto& adapterDialog = dynamic_cast<CAdapterSelectDlg&>(shown);
            adapterDialog.show();
            user(adapterDialog);
            adapterDialog.hide();
            return adapterDialog.result();
        };
        return dialog->DoModal(prompter);
    }

    std::string chosen() const {
        const AdapterInfo* record = dialog->inventory().selectedRecord();
        return record != nullptr ? record->connectionName : "(none)";
    }

    test::FakeAdapterTable table;
    test::FakeAdapterKeys keys;
    test::RecordingPrompter prompter;
    test::MemoryRegistryStore registry;
    std::string currentName = "로컬 영역 연결 2";
    std::unique_ptr<CAdapterSelectDlg> dialog;
};

TEST_F(AdapterSelectDlgTest, OpensWithTheCurrentAdapterSelectedAndItsSettingsShown) {
    currentName = "WIRELESS";  // the list's search ignores case
    run([](CAdapterSelectDlg& d) {
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("어댑터 선택"));
        EXPECT_EQ(entries(*d.adapterList()),
                  QStringList({"Wireless", QString::fromUtf8("로컬 영역 연결"),
                               QString::fromUtf8("로컬 영역 연결 2")}));
        EXPECT_EQ(d.adapterList()->currentItem()->text(), "Wireless");
        EXPECT_EQ(values(d), QStringList({"Wireless", "00:0C:29:AB:CD:EF", "172.16.0.9",
                                          "255.255.0.0", "", "", "", "FALSE"}));
        EXPECT_TRUE(d.autoConnectBox()->isChecked());
        EXPECT_FALSE(d.autoConnectBox()->isVisible());
        EXPECT_EQ(d.okButton()->size(), QSize(80, 23));
        EXPECT_EQ(d.cancelButton()->size(), QSize(80, 23));
        d.cancelButton()->click();
    });
    ASSERT_EQ(prompter.dialogTitles.size(), 1u);
}

TEST_F(AdapterSelectDlgTest, TheListSortsWithoutRegardToCaseAndFindsTheCurrentOneSo) {
    table.entries = {tableEntry("{W}", 0, "172.16.0.9", "255.255.0.0", ""),
                     tableEntry("{A}", 1, "10.0.0.5", "255.0.0.0", "10.0.0.1"),
                     tableEntry("{B}", 0, "192.168.1.7", "255.255.255.0", "192.168.1.1")};
    keys.connectionKeys.clear();
    keys.interfaceKeys.clear();
    keys.add("{W}", "Wlan0", "");
    keys.add("{A}", "a0");
    keys.add("{B}", "B1");
    currentName = "wlan0";
    dialog = std::make_unique<CAdapterSelectDlg>(
        AdapterDialogServices{table, keys, prompter, registry, [this] { return currentName; }});
    run([](CAdapterSelectDlg& d) {
        EXPECT_EQ(entries(*d.adapterList()), QStringList({"a0", "B1", "Wlan0"}));
        ASSERT_NE(d.adapterList()->currentItem(), nullptr);
        EXPECT_EQ(d.adapterList()->currentItem()->text(), "Wlan0");
        EXPECT_EQ(d.valueField(2)->text(), "172.16.0.9");
        d.cancelButton()->click();
    });
}

TEST_F(AdapterSelectDlgTest, PaddedLabelsLineUpAtTheirColonsInTheBodyFont) {
    run([](CAdapterSelectDlg& d) {
        const QFont body = d.detailLabel(0)->font();
        // 굴림체 itself on Windows; on Linux the Nanum face that stands in for it.
        EXPECT_EQ(QFontInfo(body).family(),
                  QString::fromUtf8(platform::systemHasKoreanWindowsFaces()
                                        ? texts::kGulimChe
                                        : texts::kGulimCheSubstitute));
        EXPECT_EQ(body.pixelSize(), 12);
        EXPECT_EQ(d.adapterList()->font().pixelSize(), 12);
        EXPECT_EQ(d.valueField(3)->font().pixelSize(), 12);
        const QFontMetrics metrics(body);
        std::optional<int> colonX;
        for (std::size_t row = 0; row < kDetailRows; ++row) {
            const QString text = d.detailLabel(row)->text();
            const qsizetype colon = text.indexOf(':');
            ASSERT_GT(colon, 0) << text.toStdString();
            const int x = metrics.horizontalAdvance(text.left(colon));
            if (!colonX) {
                colonX = x;
            }
            EXPECT_EQ(x, *colonX) << text.toStdString();
            // The whole caption fits into its label, so nothing is cut off on screen.
            EXPECT_LE(metrics.horizontalAdvance(text.trimmed()), d.detailLabel(row)->width());
        }
        d.cancelButton()->click();
    });
}

TEST_F(AdapterSelectDlgTest, BrowsingShowsEachAdaptersOwnValuesWithoutChoosingIt) {
    const int result = run([](CAdapterSelectDlg& d) {
        clickEntry(*d.adapterList(), QString::fromUtf8("로컬 영역 연결"));
        EXPECT_EQ(values(d), QStringList({QString::fromUtf8("로컬 영역 연결"), "00:0C:29:AB:CD:EF",
                                          "10.0.0.5", "255.0.0.0", "10.0.0.1", "", "", "TRUE"}));
        clickEntry(*d.adapterList(), QString::fromUtf8("로컬 영역 연결 2"));
        EXPECT_EQ(values(d)[2], "192.168.1.7");
        EXPECT_EQ(values(d)[6], "168.126.63.2");
        EXPECT_EQ(d.inventory().selectedName(), "로컬 영역 연결 2");
        clickEntry(*d.adapterList(), "Wireless");
        d.cancelButton()->click();
    });
    EXPECT_EQ(result, CAdapterSelectDlg::IDCANCEL);
    EXPECT_EQ(dialog->inventory().selectedName(), "로컬 영역 연결 2");
    EXPECT_EQ(chosen(), "로컬 영역 연결 2");
    EXPECT_FALSE(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue));
    EXPECT_FALSE(registry.dwordValue(texts::kSettingsKeyPath, texts::kAutoCheckValue));
}

TEST_F(AdapterSelectDlgTest, OkAndDoubleClickRememberAndChooseTheSelectedEntry) {
    int result = run([](CAdapterSelectDlg& d) {
        clickEntry(*d.adapterList(), "Wireless");
        QTest::mouseClick(d.okButton(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 11));
    });
    EXPECT_EQ(result, CAdapterSelectDlg::IDOK);
    EXPECT_EQ(chosen(), "Wireless");
    EXPECT_EQ(dialog->inventory().selectedName(), "Wireless");
    EXPECT_EQ(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue), "Wireless");
    EXPECT_EQ(registry.dwordValue(texts::kSettingsKeyPath, texts::kAutoCheckValue), 1u);

    result = run([](CAdapterSelectDlg& d) {
        const auto found =
            d.adapterList()->findItems(QString::fromUtf8("로컬 영역 연결"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        const QPoint at = d.adapterList()->visualItemRect(found.front()).center();
        doubleClick(d.adapterList()->viewport(), at);
    });
    EXPECT_EQ(result, CAdapterSelectDlg::IDOK);
    EXPECT_EQ(chosen(), "로컬 영역 연결");
    EXPECT_EQ(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue),
              "로컬 영역 연결");

    // Return in the dialog runs OK as well.
    result = run([](CAdapterSelectDlg& d) {
        clickEntry(*d.adapterList(), QString::fromUtf8("로컬 영역 연결 2"));
        QTest::keyClick(d.adapterList(), Qt::Key_Return);
    });
    EXPECT_EQ(result, CAdapterSelectDlg::IDOK);
    EXPECT_EQ(chosen(), "로컬 영역 연결 2");
}

TEST_F(AdapterSelectDlgTest, AnUnknownCurrentAdapterSelectsNothingAndOkTakesTheFirst) {
    currentName = "vanished";
    const int result = run([](CAdapterSelectDlg& d) {
        EXPECT_EQ(d.adapterList()->selectedItems().size(), 0);
        EXPECT_EQ(values(d), QStringList(8, QString()));
        EXPECT_EQ(d.detailLabel(7)->text(), "DHCP         : ");
        d.okButton()->click();
    });
    EXPECT_EQ(result, CAdapterSelectDlg::IDOK);
    EXPECT_EQ(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue), "");
    EXPECT_EQ(chosen(), "로컬 영역 연결 2") << "the inventory's first record";
}

TEST_F(AdapterSelectDlgTest, EveryRunStartsAfreshFromTheInventoryAsItIsThen) {
    run([](CAdapterSelectDlg& d) {
        clickEntry(*d.adapterList(), "Wireless");
        d.autoConnectBox()->setChecked(false);  // without the box nothing is remembered
        d.okButton()->click();
    });
    EXPECT_EQ(chosen(), "Wireless");
    EXPECT_FALSE(registry.stringValue(texts::kSettingsKeyPath, texts::kAdapterNameValue));

    // The adapters change between two runs (as after an apply): the list follows them.
    table.entries.pop_back();
    dialog->inventory().clear();
    dialog->inventory().enumerate();
    currentName = "로컬 영역 연결";
    run([](CAdapterSelectDlg& d) {
        EXPECT_TRUE(d.autoConnectBox()->isChecked());
        EXPECT_EQ(entries(*d.adapterList()), QStringList({QString::fromUtf8("로컬 영역 연결"),
                                                          QString::fromUtf8("로컬 영역 연결 2")}));
        EXPECT_EQ(d.adapterList()->currentItem()->text(), QString::fromUtf8("로컬 영역 연결"));
        EXPECT_EQ(values(d)[7], "TRUE");
        d.reject();  // closing the window
    });
    EXPECT_EQ(prompter.dialogTitles.size(), 2u);
}

TEST_F(AdapterSelectDlgTest, ValueFieldsAreReadOnlyButFocusableAndCopyable) {
    run([](CAdapterSelectDlg& d) {
        QLineEdit* ip = d.valueField(2);
        EXPECT_TRUE(ip->isReadOnly());
        EXPECT_NE(ip->focusPolicy() & Qt::TabFocus, 0);
        d.activateWindow();
        ip->setFocus();
        QTest::keyClicks(ip, "1");  // typing changes nothing
        EXPECT_EQ(ip->text(), "192.168.1.7");
        ip->selectAll();
        ip->copy();
        EXPECT_EQ(QApplication::clipboard()->text(), "192.168.1.7");
        d.cancelButton()->click();
    });
}

}  // namespace
}  // namespace quorrel
