#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "adapters/ui/BitmapButton.h"

namespace quorrel {
namespace {

using Face = BitmapButton::Face;

// Whether the button as drawn on screen shows `face`'s picture. Only the inside of the
// face is compared: its rounded corners are transparent and show the background.
bool shows(BitmapButton& button, Face face) {
    const QImage drawn = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage wanted = button.picture(face).toImage().convertToFormat(QImage::Format_RGB32);
    if (drawn.size() != wanted.size()) {
        return false;
    }
    for (int y = 4; y < wanted.height() - 4; ++y) {
        for (int x = 4; x < wanted.width() - 4; ++x) {
            if (drawn.pixel(x, y) != wanted.pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

TEST(BitmapButtonTest, EveryButtonHasFourDistinctPicturesOfEightyByTwentyThree) {
    for (const char* caption : {"ok", "cancel", "close", "Cancel"}) {
        SCOPED_TRACE(caption);
        BitmapButton button;
        ASSERT_TRUE(button.AutoLoad(caption));
        for (const Face face : {Face::Up, Face::Down, Face::Focused, Face::Disabled}) {
            EXPECT_EQ(button.picture(face).size(), QSize(80, 23));
        }
        const QImage up = button.picture(Face::Up).toImage();
        EXPECT_NE(up, button.picture(Face::Down).toImage());
        EXPECT_NE(up, button.picture(Face::Focused).toImage());
        EXPECT_NE(up, button.picture(Face::Disabled).toImage());
    }
    BitmapButton unknown;
    EXPECT_FALSE(unknown.AutoLoad("apply"));
}

TEST(BitmapButtonTest, TakesThePictureSizeWhateverTheLayoutOrCallerAsks) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* button = new BitmapButton(&window);
    ASSERT_TRUE(button->AutoLoad("ok"));
    layout->addWidget(button, 1);
    window.resize(500, 200);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(button->size(), QSize(80, 23));
    button->setGeometry(0, 0, 38 * 3 / 2, 14 * 3 / 2);  // the size the dialog template names
    EXPECT_EQ(button->size(), QSize(80, 23));
    button->resize(300, 60);
    EXPECT_EQ(button->size(), QSize(80, 23));
}

TEST(BitmapButtonTest, ShowsPressedWhileHeldFocusedAfterTabAndGreyedWhenDisabled) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* field = new QLineEdit(&window);
    auto* button = new BitmapButton(&window);
    ASSERT_TRUE(button->AutoLoad("cancel"));
    layout->addWidget(field);
    layout->addWidget(button);
    int clicks = 0;
    QObject::connect(button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    EXPECT_EQ(button->currentFace(), Face::Up);
    EXPECT_TRUE(shows(*button, Face::Up));

    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 11));
    EXPECT_EQ(button->currentFace(), Face::Down);
    EXPECT_TRUE(shows(*button, Face::Down));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 11));
    EXPECT_NE(button->currentFace(), Face::Down);
    EXPECT_EQ(clicks, 1);

    field->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(button->currentFace(), Face::Up);
    QTest::keyClick(field, Qt::Key_Tab);
    ASSERT_TRUE(button->hasFocus());
    EXPECT_EQ(button->currentFace(), Face::Focused);
    EXPECT_TRUE(shows(*button, Face::Focused));
    // Space presses it like a mouse button: pressed beats focused.
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(button->currentFace(), Face::Down);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 2);

    button->setEnabled(false);  // a disabled button also gives up the focus
    EXPECT_EQ(button->currentFace(), Face::Disabled);
    EXPECT_TRUE(shows(*button, Face::Disabled));
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 11));
    EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace quorrel
