#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <array>

namespace quorrel {

// A push button drawn entirely from four pictures: normal, pressed, focused and disabled.
// AutoLoad finds the pictures by the button's caption ("ok" finds OKU, OKD, OKF and OKX,
// the caption's case does not matter) and gives the button the size of the normal picture,
// whatever size a layout or the caller asks for. The caption itself is never shown.
class BitmapButton final : public QAbstractButton {
    Q_OBJECT
public:
    enum class Face { Up = 0, Down = 1, Focused = 2, Disabled = 3 };

    explicit BitmapButton(QWidget* parent = nullptr);

    // Loads the four pictures of `caption` from the program's images. False, with nothing
    // changed, when the normal picture is missing; a missing other picture falls back to the
    // normal one.
    bool AutoLoad(const QString& caption);

    // The picture the button shows now: pressed while held down, else focused while it has
    // the focus, else disabled while disabled, else normal.
    Face currentFace() const;
    const QPixmap& picture(Face face) const { return pictures_[static_cast<std::size_t>(face)]; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QPixmap, 4> pictures_;
};

}  // namespace quorrel
