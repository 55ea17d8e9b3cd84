// Draws the pictures of the adapter dialogs into resources/images: the twelve faces of the
// picture buttons (OK, Cancel, Close; normal, pressed, focused, disabled; 80 x 23) and the
// three 10 x 10 bullets. Run it from the repository root after changing a picture:
//   build/bin/draw_dialog_images resources/images
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>
#include <functional>

namespace {

constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 23;
constexpr int kBulletSize = 10;

enum class Face { Up, Down, Focused, Disabled };

// Every icon is drawn in a 14 x 14 box in the given colour.
using Icon = std::function<void(QPainter&, const QColor&)>;

QPen stroke(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void checkIcon(QPainter& p, const QColor& colour) {
    p.setPen(stroke(colour, 2.4));
    p.drawPolyline(QPolygonF({QPointF(2, 7.5), QPointF(5.5, 11), QPointF(12, 3)}));
}

void crossIcon(QPainter& p, const QColor& colour) {
    p.setPen(stroke(colour, 2.4));
    p.drawLine(QPointF(3, 3), QPointF(11, 11));
    p.drawLine(QPointF(11, 3), QPointF(3, 11));
}

void doorIcon(QPainter& p, const QColor& colour) {
    p.setPen(stroke(colour, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 1.5, 7, 11));
    p.setPen(stroke(colour, 2.0));
    p.drawLine(QPointF(6, 7), QPointF(13, 7));
    p.drawPolyline(QPolygonF({QPointF(10.5, 4.5), QPointF(13, 7), QPointF(10.5, 9.5)}));
}

QImage buttonFace(const QString& word, const Icon& icon, const QColor& iconColour, Face face) {
    QImage image(kButtonWidth, kButtonHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QColor top(246, 246, 246);
    QColor bottom(214, 214, 214);
    QColor frame(150, 150, 150);
    QColor lettering(32, 32, 32);
    QColor iconPaint = iconColour;
    qreal frameWidth = 1.0;
    qreal shift = 0;
    switch (face) {
        case Face::Up:
            break;
        case Face::Down:
            top = QColor(208, 208, 208);
            bottom = QColor(228, 228, 228);
            frame = QColor(70, 70, 70);
            frameWidth = 2.0;
            lettering = QColor(16, 64, 200);
            shift = 1;
            break;
        case Face::Focused:
            frame = QColor(40, 100, 210);
            frameWidth = 2.0;
            break;
        case Face::Disabled:
            top = QColor(240, 240, 240);
            bottom = QColor(232, 232, 232);
            frame = QColor(192, 192, 192);
            lettering = QColor(160, 160, 160);
            iconPaint = QColor(176, 176, 176);
            break;
    }

    const QRectF body(0.5 + frameWidth / 2, 0.5 + frameWidth / 2, kButtonWidth - 1 - frameWidth,
                      kButtonHeight - 1 - frameWidth);
    QLinearGradient shade(0, 0, 0, kButtonHeight);
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    p.setBrush(shade);
    p.setPen(QPen(frame, frameWidth));
    p.drawRoundedRect(body, 5, 5);

    if (face == Face::Focused) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(90, 90, 90), 1, Qt::DotLine));
        p.drawRoundedRect(body.adjusted(3, 3, -3, -3), 3, 3);
    }

    // The icon, then the word, centred together.
    QFont font("NanumGothic");
    font.setBold(true);
    font.setPixelSize(12);
    p.setFont(font);
    const qreal wordWidth = p.fontMetrics().horizontalAdvance(word);
    const qreal total = 14 + 5 + wordWidth;
    const qreal left = (kButtonWidth - total) / 2 + shift;
    p.save();
    p.translate(left, (kButtonHeight - 14) / 2.0 + shift);
    icon(p, iconPaint);
    p.restore();
    p.setPen(lettering);
    p.drawText(QRectF(left + 19, shift, wordWidth + 2, kButtonHeight), Qt::AlignVCenter, word);
    return image;
}

QImage bullet(const std::function<void(QPainter&)>& draw) {
    QImage image(kBulletSize, kBulletSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return image;
}

// Before the list heading: a blue square with a light corner.
void squareBullet(QPainter& p) {
    p.setPen(QPen(QColor(30, 60, 130), 1));
    p.setBrush(QColor(60, 110, 200));
    p.drawRect(QRectF(1.5, 1.5, 7, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 200, 250));
    p.drawRect(QRectF(2.5, 2.5, 3, 3));
}

// Before the details heading: an orange diamond.
void diamondBullet(QPainter& p) {
    p.setPen(QPen(QColor(150, 80, 10), 1));
    p.setBrush(QColor(240, 150, 40));
    p.drawPolygon(QPolygonF({QPointF(5, 0.5), QPointF(9.5, 5), QPointF(5, 9.5), QPointF(0.5, 5)}));
}

// Before each detail row: a small grey-blue arrow head.
void arrowBullet(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 110, 140));
    p.drawPolygon(QPolygonF({QPointF(2.5, 2), QPointF(8, 5), QPointF(2.5, 8)}));
}

bool save(const QImage& image, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_dialog_images <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    struct Button {
        const char* name;
        const char* word;
        Icon icon;
        QColor iconColour;
    };
    const Button buttons[] = {
        {"OK", "선택", checkIcon, QColor(30, 140, 50)},
        {"CANCEL", "취소", crossIcon, QColor(200, 40, 40)},
        {"CLOSE", "닫기", doorIcon, QColor(60, 90, 150)},
    };
    const struct {
        char letter;
        Face face;
    } faces[] = {{'U', Face::Up}, {'D', Face::Down}, {'F', Face::Focused}, {'X', Face::Disabled}};

    bool ok = true;
    for (const Button& button : buttons) {
        for (const auto& face : faces) {
            const QImage image = buttonFace(QString::fromUtf8(button.word), button.icon,
                                            button.iconColour, face.face);
            ok = ok && save(image, folder, QString("%1%2.png").arg(button.name).arg(face.letter));
        }
    }
    ok = ok && save(bullet(squareBullet), folder, "bullet_256.png") &&
         save(bullet(diamondBullet), folder, "bullet_262.png") &&
         save(bullet(arrowBullet), folder, "bullet_241.png");
    return ok ? 0 : 1;
}
