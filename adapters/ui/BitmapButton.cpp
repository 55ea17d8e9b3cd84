#include "adapters/ui/BitmapButton.h"

#include <QPainter>

namespace quorrel {

namespace {

// The letter that follows the caption in a picture's name, per face.
constexpr std::array<char, 4> kFaceLetters = {'U', 'D', 'F', 'X'};

QString picturePath(const QString& caption, char letter) {
    return QStringLiteral(":/images/%1%2.png").arg(caption.toUpper()).arg(QChar(letter));
}

}  // namespace

BitmapButton::BitmapButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

bool BitmapButton::AutoLoad(const QString& caption) {
    QPixmap normal(picturePath(caption, kFaceLetters[0]));
    if (normal.isNull()) {
        return false;
    }
    pictures_[0] = normal;
    for (std::size_t face = 1; face < kFaceLetters.size(); ++face) {
        QPixmap other(picturePath(caption, kFaceLetters[face]));
        pictures_[face] = other.isNull() ? normal : other;
    }
    setObjectName(caption);
    setAccessibleName(caption);
    setFixedSize(normal.size());
    update();
    return true;
}

BitmapButton::Face BitmapButton::currentFace() const {
    if (isDown()) {
        return Face::Down;
    }
    if (hasFocus()) {
        return Face::Focused;
    }
    if (!isEnabled()) {
        return Face::Disabled;
    }
    return Face::Up;
}

QSize BitmapButton::sizeHint() const {
    return pictures_[0].isNull() ? QSize() : pictures_[0].size();
}

void BitmapButton::paintEvent(QPaintEvent*) {
    const QPixmap& face = picture(currentFace());
    if (face.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, face);
}

}  // namespace quorrel
