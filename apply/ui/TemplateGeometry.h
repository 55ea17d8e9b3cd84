#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>

class QWidget;

namespace quorrel {

// The places of a dialog template, given in dialog units (a quarter of the dialog font's
// average character width across, an eighth of its height down), in pixels.
class TemplateGeometry {
public:
    explicit TemplateGeometry(const QFont& dialogFont);

    int across(int units) const;
    int down(int units) const;
    QRect rect(int x, int y, int width, int height) const;

    // Puts `widget` at (x, y) in its own preferred size.
    void placeAt(QWidget* widget, int x, int y) const;
    void place(QWidget* widget, int x, int y, int width, int height) const;

private:
    int charWidth_ = 0;
    int charHeight_ = 0;
};

}  // namespace quorrel
