#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "listview/ui/IpAddressEdit.h"

namespace quorrel {
namespace {

// A window with a field before and after the control, to see where Tab goes.
class AddressWindow : public ::testing::Test {
protected:
    AddressWindow() {
        auto* layout = new QVBoxLayout(&window);
        before = new QLineEdit(&window);
        edit = new IpAddressEdit(&window);
        after = new QLineEdit(&window);
        layout->addWidget(before);
        layout->addWidget(edit);
        layout->addWidget(after);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus(Qt::TabFocusReason);
    }

    QWidget window;
    QLineEdit* before = nullptr;
    IpAddressEdit* edit = nullptr;
    QLineEdit* after = nullptr;
};

TEST_F(AddressWindow, DotsAndFullFieldsMoveOnAndBackspaceReturnsToThePreviousField) {
    QSignalSpy edited(edit, &IpAddressEdit::edited);
    QTest::keyClicks(edit, "192.168.1.20");
    EXPECT_EQ(edit->text(), "192.168.1.20");
    EXPECT_EQ(edit->address(), makeAddress(192, 168, 1, 20));
    EXPECT_GE(edited.count(), 10);

    // Three digits fill a field: the dot typed after them out of habit skips nothing.
    edit->clear();
    edit->model().enterField(0);
    QTest::keyClicks(edit, "100.10.1.2");
    EXPECT_EQ(edit->text(), "100.10.1.2");

    // Backspace at the start of an empty field goes back and deletes there.
    edit->clear();
    edit->model().enterField(0);
    QTest::keyClicks(edit, "10.");
    EXPECT_EQ(edit->model().currentField(), 1);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->model().currentField(), 0);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1...");

    // Letters are not taken.
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(edit->text(), "1...");
}

TEST_F(AddressWindow, FieldRangesClampWhatIsTyped) {
    edit->setFieldRange(0, 1, 223);
    edit->setFieldRange(3, 1, 254);
    QTest::keyClicks(edit, "224.1.2.255");
    EXPECT_EQ(edit->text(), "223.1.2.254");

    // A number below the minimum becomes the minimum when the field is left.
    edit->clear();
    edit->model().enterField(0);
    QTest::keyClicks(edit, "0.");
    EXPECT_EQ(edit->model().fields()[0], "1");
}

TEST_F(AddressWindow, PasteOfADottedAddressFillsAllFourFields) {
    QApplication::clipboard()->setText(" 10.20.30.40 ");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "10.20.30.40");

    // Text that is not an address changes nothing.
    QApplication::clipboard()->setText("10.20.x.40");
    edit->model().enterField(0);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "10.20.30.40");
}

TEST_F(AddressWindow, TheControlIsOneTabStopAndReportsFocusGain) {
    QSignalSpy gained(edit, &IpAddressEdit::focusGained);
    before->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(gained.count(), 1);
    QTest::keyClicks(edit, "1.2");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);

    // A click lands in the field under the mouse.
    const QPoint inThirdField(edit->width() * 5 / 8, edit->height() / 2);
    QTest::mouseClick(edit, Qt::LeftButton, {}, inThirdField);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->model().currentField(), 2);
    EXPECT_EQ(gained.count(), 2);
}

TEST_F(AddressWindow, ADisabledControlTakesNoKeysAndScreenReadersReadTheAddress) {
    edit->setAddress(makeAddress(172, 16, 0, 1));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(edit);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Value), "172.16.0.1");

    edit->setEnabled(false);
    EXPECT_FALSE(edit->model().enabled());
    edit->model().enterField(0);
    QTest::keyClicks(edit, "9");
    EXPECT_EQ(edit->text(), "172.16.0.1");
}

}  // namespace
}  // namespace quorrel
