#pragma once

class QLabel;
class QLineEdit;
class QWidget;

namespace quorrel {

// Small pictures and fields shared by the adapter dialogs.

// Numbers of the 10 x 10 bullet pictures: before a list or dialog heading, before the
// details heading, and before each detail row.
inline constexpr int kHeadingBullet = 256;
inline constexpr int kDetailsBullet = 262;
inline constexpr int kRowBullet = 241;
inline constexpr int kBulletSize = 10;

// A picture control showing bullet `number`, 10 x 10 pixels.
QLabel* makeBullet(int number, QWidget* parent);

// A bordered single-line field that shows a value: read-only, but it can still take the
// focus, and its text can be selected, scrolled and copied.
QLineEdit* makeValueField(QWidget* parent);

}  // namespace quorrel
