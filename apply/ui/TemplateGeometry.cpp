#include "apply/ui/TemplateGeometry.h"

#include <QFontMetrics>
#include <QWidget>

namespace quorrel {

namespace {

// value * base / divisor, halves away from zero.
int scaled(int value, int base, int divisor) {
    const long long product = static_cast<long long>(value) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor
                                         : -((-product + half) / divisor));
}

}  // namespace

TemplateGeometry::TemplateGeometry(const QFont& dialogFont) {
    const QFontMetrics metrics(dialogFont);
    const int alphabet =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    charWidth_ = (alphabet / 26 + 1) / 2;
    charHeight_ = metrics.height();
}

int TemplateGeometry::across(int units) const {
    return scaled(units, charWidth_, 4);
}

int TemplateGeometry::down(int units) const {
    return scaled(units, charHeight_, 8);
}

QRect TemplateGeometry::rect(int x, int y, int width, int height) const {
    return {across(x), down(y), across(width), down(height)};
}

void TemplateGeometry::placeAt(QWidget* widget, int x, int y) const {
    widget->setGeometry(QRect(QPoint(across(x), down(y)), widget->sizeHint()));
}

void TemplateGeometry::place(QWidget* widget, int x, int y, int width, int height) const {
    widget->setGeometry(rect(x, y, width, height));
}

}  // namespace quorrel
