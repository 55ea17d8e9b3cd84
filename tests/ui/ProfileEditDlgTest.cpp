#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "apply/ui/TemplateGeometry.h"
#include "listview/ui/CProfileEditDlg.h"
#include "listview/ui/IpAddressEdit.h"
#include "platform/TextCodec.h"
#include "resources/ListTexts.h"
#include "tests/support/ProfileBuilder.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

using test::fixedProfile;

using C = EditorControl;

// Hangul cannot go through QTest::keyClicks: one key event per character.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

class ProfileEditDlgTest : public ::testing::Test {
protected:
    // Opens the dialog shown and active, as the user sees it.
    CProfileEditDlg& open(std::optional<IpProfile> edited = std::nullopt,
                          const IpProfile* entry = nullptr) {
        dialog = std::make_unique<CProfileEditDlg>(list, *codec, prompter);
        if (edited) {
            dialog->editMode = true;
            dialog->profile = *edited;
            dialog->originalEntry = entry;
        }
        dialog->OnInitDialog();
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }

    IpAddressEdit* field(C id) const { return dialog->addressEdit(id); }

    void typeAddress(C id, const char* text) {
        IpAddressEdit* edit = field(id);
        edit->setFocus(Qt::TabFocusReason);
        edit->model().enterField(0);
        QTest::keyClicks(edit, text);
    }

    void setName(const char* name) { dialog->nameField()->setText(QString::fromUtf8(name)); }

    // Presses OK; returns the text of the message it showed, or "" when it closed.
    std::string pressOk() {
        const std::size_t before = prompter.messages.size();
        dialog->okButton()->click();
        if (prompter.messages.size() == before) {
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            return "";
        }
        EXPECT_TRUE(dialog->isVisible());
        return prompter.messages.back().text;
    }

    ProfileList list;
    std::unique_ptr<platform::TextCodec> codec = platform::makeCp949Codec();
    test::RecordingPrompter prompter;
    std::unique_ptr<CProfileEditDlg> dialog;
};

TEST_F(ProfileEditDlgTest, AddModeStartsAutomaticWithTheNameFocusedAndTabsThroughTheFields) {
    open();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("IP 설정 추가"));
    EXPECT_TRUE(dialog->radio(C::AutoAddress)->isChecked());
    EXPECT_TRUE(dialog->radio(C::AutoDns)->isChecked());
    EXPECT_FALSE(field(C::Address)->isEnabled());
    EXPECT_FALSE(field(C::PrimaryDns)->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), dialog->nameField());

    // Fixed address: the address fields open, DNS turns fixed, automatic DNS locks.
    dialog->radio(C::FixedAddress)->click();
    EXPECT_TRUE(field(C::Address)->isEnabled());
    EXPECT_TRUE(dialog->radio(C::FixedDns)->isChecked());
    EXPECT_FALSE(dialog->radio(C::AutoDns)->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), field(C::Address));

    // Tab order: name, the five controls, OK, Cancel; the radio buttons are skipped.
    dialog->nameField()->setFocus();
    std::vector<QWidget*> visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(visited, (std::vector<QWidget*>{field(C::Address), field(C::Mask), field(C::Gateway),
                                              field(C::PrimaryDns), field(C::SecondaryDns),
                                              dialog->okButton(), dialog->cancelButton(),
                                              dialog->nameField()}));

    // Back to automatic: the addresses are blanked and locked again.
    typeAddress(C::Address, "10.0.0.1");
    dialog->radio(C::AutoAddress)->click();
    EXPECT_TRUE(field(C::Address)->isBlank());
    EXPECT_FALSE(field(C::Address)->isEnabled());
    EXPECT_TRUE(dialog->radio(C::AutoDns)->isChecked());
}

TEST_F(ProfileEditDlgTest, AddressRangeIsCheckedAtOk) {
    struct Case {
        const char* stored;
        bool accepted;
    };
    for (const Case c :
         {Case{"1.0.0.0", true}, Case{"127.0.0.1", true}, Case{"223.255.255.255", true},
          Case{"0.1.2.3", false}, Case{"224.0.0.1", false}}) {
        SCOPED_TRACE(c.stored);
        prompter.messages.clear();
        open(fixedProfile("Lab", c.stored));
        if (c.accepted) {
            EXPECT_EQ(pressOk(), "");
            ASSERT_TRUE(dialog->profile);
            EXPECT_EQ(dialog->profile->ipAddress, c.stored);
        } else {
            EXPECT_EQ(pressOk(), texts::kEditorAddressRange);
            EXPECT_EQ(QApplication::focusWidget(), field(C::Address));
            EXPECT_EQ(field(C::Address)->text(), c.stored);
        }
    }

    // A blank address is refused too, and a missing mask after it.
    open();
    setName("New");
    dialog->radio(C::FixedAddress)->click();
    EXPECT_EQ(pressOk(), texts::kEditorAddressRange);
    typeAddress(C::Address, "127.0.0.1");
    EXPECT_EQ(pressOk(), texts::kEditorMaskMissing);
    EXPECT_FALSE(dialog->profile);
}

TEST_F(ProfileEditDlgTest, MaskIsProposedFromTheAddressClassWhenTheMaskFieldGainsFocus) {
    struct Case {
        const char* address;
        const char* mask;
    };
    for (const Case c :
         {Case{"10.1.2.3", "255.0.0.0"}, Case{"172.16.0.1", "255.255.0.0"},
          Case{"192.168.0.10", "255.255.255.0"}, Case{"223.1.1.1", "255.255.255.0"}}) {
        SCOPED_TRACE(c.address);
        open();
        dialog->radio(C::FixedAddress)->click();
        typeAddress(C::Address, c.address);
        QTest::keyClick(field(C::Address), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), field(C::Mask));
        EXPECT_EQ(field(C::Mask)->text(), c.mask);
    }

    // A mask typed first stays.
    open();
    dialog->radio(C::FixedAddress)->click();
    typeAddress(C::Mask, "255.255.255.128");
    typeAddress(C::Address, "10.1.2.3");
    QTest::keyClick(field(C::Address), Qt::Key_Tab);
    EXPECT_EQ(field(C::Mask)->text(), "255.255.255.128");

    // Edit mode does not limit the first field: 224.0.0.1 gets no mask.
    open(fixedProfile("Multicast", "224.0.0.1", ""));
    EXPECT_EQ(field(C::Address)->text(), "224.0.0.1");
    field(C::Mask)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(field(C::Mask)->isBlank());
}

TEST_F(ProfileEditDlgTest, DuplicateNamesAreExactAndTheEditedEntryMayKeepItsName) {
    IpProfile& home = list.append(fixedProfile("Home", "10.0.0.1"));
    list.append(fixedProfile("Office", "10.0.0.2"));

    open();
    setName("home");  // another letter case is another name
    EXPECT_EQ(pressOk(), "");
    EXPECT_EQ(dialog->profile->name, "home");
    EXPECT_EQ(dialog->profile->useDhcp, 1);

    open();
    setName("Home");
    EXPECT_EQ(pressOk(), texts::kEditorNameDuplicate);

    open(home, &home);
    EXPECT_EQ(dialog->nameField()->text(), "Home");
    EXPECT_EQ(pressOk(), "");

    open(home, &home);
    setName("Office");
    EXPECT_EQ(pressOk(), texts::kEditorNameDuplicate);
    EXPECT_EQ(dialog->nameField()->text(), "Office");  // the entry stays as typed

    // Two entries of one name: the name test finds the first, so the second is refused.
    IpProfile& second = list.append(fixedProfile("Home", "10.0.0.3"));
    open(second, &second);
    EXPECT_EQ(pressOk(), texts::kEditorNameDuplicate);
}

TEST_F(ProfileEditDlgTest, DnsServersAreNormalisedAtOk) {
    // Only the secondary server filled: it becomes the primary one.
    open();
    setName("Secondary only");
    dialog->radio(C::FixedDns)->click();
    EXPECT_EQ(QApplication::focusWidget(), field(C::PrimaryDns));
    typeAddress(C::SecondaryDns, "8.8.4.4");
    EXPECT_EQ(pressOk(), "");
    EXPECT_EQ(dialog->profile->dnsAuto, 0);
    EXPECT_EQ(dialog->profile->primaryDns, "8.8.4.4");
    EXPECT_EQ(dialog->profile->secondaryDns, "");

    // Automatic address with fixed DNS left blank: automatic DNS after all.
    open();
    setName("Blank DNS");
    dialog->radio(C::FixedDns)->click();
    EXPECT_EQ(pressOk(), "");
    EXPECT_EQ(dialog->profile->useDhcp, 1);
    EXPECT_EQ(dialog->profile->dnsAuto, 1);

    // A fixed profile keeps its address texts as typed, without leading zeros.
    open();
    setName("Fixed");
    dialog->radio(C::FixedAddress)->click();
    typeAddress(C::Address, "192.168.010.5");
    QTest::keyClick(field(C::Address), Qt::Key_Tab);
    typeAddress(C::PrimaryDns, "168.126.63.1");
    EXPECT_EQ(pressOk(), "");
    EXPECT_EQ(dialog->profile->ipAddress, "192.168.10.5");
    EXPECT_EQ(dialog->profile->subnetMask, "255.255.255.0");
    EXPECT_EQ(dialog->profile->gateway, "");
    EXPECT_EQ(dialog->profile->primaryDns, "168.126.63.1");
}

TEST_F(ProfileEditDlgTest, NameFieldTakesTypedHangulUpToTwentyCodePageBytes) {
    open();
    QLineEdit* name = dialog->nameField();
    name->setFocus();
    typeText(name, QString::fromUtf8("가나다라마바사아자차카"));
    EXPECT_EQ(name->text(), QString::fromUtf8("가나다라마바사아자차"));  // 10 x 2 bytes
    typeText(name, "a");
    EXPECT_EQ(name->text(), QString::fromUtf8("가나다라마바사아자차"));
    QTest::keyClick(name, Qt::Key_Backspace);
    typeText(name, "ab");
    EXPECT_EQ(name->text(), QString::fromUtf8("가나다라마바사아자ab"));
    typeText(name, "c");
    EXPECT_EQ(name->text(), QString::fromUtf8("가나다라마바사아자ab"));

    // An input method's commit string counts the same way.
    name->clear();
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("한글"));
    QApplication::sendEvent(name, &commit);
    EXPECT_EQ(name->text(), QString::fromUtf8("한글"));
    EXPECT_EQ(pressOk(), "");
    EXPECT_EQ(dialog->profile->name, "한글");
}

TEST_F(ProfileEditDlgTest, TakesItsTemplatesSizeWithTheRadiosAsTheGroupTitles) {
    open();
    const TemplateGeometry at(dialog->font());
    EXPECT_EQ(dialog->size(), QSize(at.across(194), at.down(215)));
    EXPECT_EQ(dialog->nameField()->geometry(), at.rect(86, 7, 91, 12));
    EXPECT_EQ(dialog->okButton()->geometry(), at.rect(101, 194, 40, 14));

    const auto groups = dialog->findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 2);
    for (C id : {C::FixedAddress, C::FixedDns}) {
        QRadioButton* radio = dialog->radio(id);
        // The group whose top edge runs through the radio's middle, from its left part.
        const QRect button = radio->geometry();
        const QGroupBox* owner = nullptr;
        for (const QGroupBox* group : groups) {
            if (std::abs(group->y() - button.center().y()) <= 1 && group->x() < button.x() &&
                button.right() < group->geometry().right()) {
                owner = group;
            }
        }
        ASSERT_NE(owner, nullptr) << radio->text().toStdString();
        // Above the edge in the stacking order, so its text hides the line behind it.
        const QWidgetList order = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        EXPECT_GT(order.indexOf(radio), order.indexOf(const_cast<QGroupBox*>(owner)));
        EXPECT_TRUE(radio->autoFillBackground());
    }
    // The automatic choices stand above their groups, outside them.
    EXPECT_LT(dialog->radio(C::AutoAddress)->geometry().bottom(),
              dialog->radio(C::FixedAddress)->geometry().top());
    EXPECT_LT(dialog->radio(C::AutoDns)->geometry().bottom(),
              dialog->radio(C::FixedDns)->geometry().top());
}

TEST_F(ProfileEditDlgTest, APastedNameKeepsItsFirstTwentyCodePageBytes) {
    open();
    QLineEdit* name = dialog->nameField();
    name->setFocus();
    QApplication::clipboard()->setText(QString::fromUtf8("가나다라마바사아자차카타"));
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QString::fromUtf8("가나다라마바사아자차"));
    EXPECT_EQ(name->cursorPosition(), 10);

    // Pasted between two characters: what follows the cursor stays, the paste is cut
    // before the syllable that would not fit whole.
    name->setText(QString::fromUtf8("집a"));
    name->setCursorPosition(1);
    QApplication::clipboard()->setText(QString::fromUtf8("b가나다라마바사아자차"));
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QString::fromUtf8("집b가나다라마바사아a"));
    EXPECT_EQ(name->cursorPosition(), 10);
    EXPECT_EQ(pressOk(), "");
    EXPECT_EQ(dialog->profile->name, "집b가나다라마바사아a");
}

TEST_F(ProfileEditDlgTest, NamesTheDataFileCannotHoldAreRefused) {
    // A stored name above the limit is shown whole and must be shortened before OK.
    IpProfile& longName = list.append(fixedProfile("가나다라마바사아자차[1]", "10.0.0.1"));
    open(longName, &longName);
    EXPECT_EQ(dialog->nameField()->text(), QString::fromUtf8("가나다라마바사아자차[1]"));
    EXPECT_EQ(pressOk(), texts::kEditorNameTooLong);
    // Shortening it is possible, one character at a time.
    dialog->nameField()->setFocus();
    dialog->nameField()->end(false);
    QTest::keyClick(dialog->nameField(), Qt::Key_Backspace);
    EXPECT_EQ(dialog->nameField()->text(), QString::fromUtf8("가나다라마바사아자차[1"));
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(dialog->nameField(), Qt::Key_Backspace);
    }
    EXPECT_EQ(pressOk(), "");

    // A character outside the Korean code page would be lost in the file.
    open();
    setName("집\U0001F600");
    EXPECT_EQ(pressOk(), texts::kEditorNameNotEncodable);

    open();
    setName("a|b");
    EXPECT_EQ(pressOk(), texts::kEditorNameHasBar);
    setName("");
    EXPECT_EQ(pressOk(), texts::kEditorNameMissing);
}

}  // namespace
}  // namespace quorrel
