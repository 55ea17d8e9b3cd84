#pragma once

#include <QIcon>
#include <QPixmap>

namespace quorrel {

// The pictures of the main window, cut from the image strips of resources.qrc: ten toolbar
// images of 42 x 35 pixels (grey, and coloured for under the mouse) and the same ten at
// 16 x 15 for the menu entries.
inline constexpr int kToolImageWidth = 42;
inline constexpr int kToolImageHeight = 35;
inline constexpr int kMenuImageWidth = 16;
inline constexpr int kMenuImageHeight = 15;
inline constexpr int kToolImageCount = 10;

// Toolbar button `index`: grey normally, coloured under the mouse (QIcon::Active).
QIcon toolButtonIcon(int index);

// Menu entry of toolbar command `index`: coloured, grey when disabled.
QIcon menuEntryIcon(int index);

// The program icon.
QIcon programIcon();

// Image `index` of a strip of `width` x `height` images; null when the strip is missing.
QPixmap stripImage(const QString& strip, int index, int width, int height);

}  // namespace quorrel
