// Draws the pictures of the main window into resources/images: the toolbar strips (ten
// images of 42 x 35, grey and coloured), the menu strips (the same ten at 16 x 15) and the
// program icon. Run it from the repository root after changing a picture:
//   build/bin/draw_images resources/images
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Every pictogram is drawn in a 32 x 32 box; the caller scales and centres it.
using Pictogram = std::function<void(QPainter&)>;

QPen outline(const QColor& colour, qreal width = 1.6) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void page(QPainter& p, const QRectF& r, const QColor& fill) {
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(outline(QColor(70, 80, 100)));
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void textLines(QPainter& p, const QRectF& r, int count) {
    p.setPen(outline(QColor(120, 140, 170), 1.4));
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + (i + 1) * r.height() / (count + 1);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void drawPrint(QPainter& p) {
    page(p, QRectF(9, 2, 14, 12), Qt::white);
    p.setPen(outline(QColor(40, 50, 70)));
    p.setBrush(QColor(90, 110, 150));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(8, 20, 16, 10));
    textLines(p, QRectF(10, 21, 12, 8), 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 220, 90));
    p.drawEllipse(QPointF(25, 15.5), 1.5, 1.5);
}

void drawAdapter(QPainter& p) {
    p.setPen(outline(QColor(20, 90, 40)));
    p.setBrush(QColor(60, 170, 90));
    p.drawRect(QRectF(2, 6, 24, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 180, 40));
    for (int i = 0; i < 6; ++i) {
        p.drawRect(QRectF(5 + i * 3.4, 23, 2, 4));
    }
    p.setBrush(QColor(30, 30, 40));
    p.drawRect(QRectF(7, 10, 8, 7));
    p.setPen(outline(QColor(60, 60, 60)));
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(22, 9, 8, 10));
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(24, 12, 4, 4));
}

void drawApply(QPainter& p) {
    p.setPen(outline(QColor(20, 110, 40)));
    p.setBrush(QColor(60, 190, 80));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(9, 16.5), QPointF(14, 22), QPointF(23, 10)}));
}

void drawAdd(QPainter& p) {
    page(p, QRectF(4, 2, 19, 26), QColor(255, 255, 250));
    textLines(p, QRectF(7, 8, 10, 12), 3);
    p.setPen(outline(QColor(20, 70, 150)));
    p.setBrush(QColor(50, 120, 220));
    p.drawEllipse(QRectF(15, 15, 15, 15));
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22.5, 18.5), QPointF(22.5, 26.5));
    p.drawLine(QPointF(18.5, 22.5), QPointF(26.5, 22.5));
}

void drawCopy(QPainter& p) {
    page(p, QRectF(3, 2, 17, 21), QColor(220, 230, 250));
    page(p, QRectF(12, 9, 17, 21), QColor(255, 255, 250));
    textLines(p, QRectF(15, 14, 10, 13), 3);
}

void drawEdit(QPainter& p) {
    page(p, QRectF(3, 2, 19, 26), QColor(255, 255, 250));
    textLines(p, QRectF(6, 8, 10, 14), 3);
    p.save();
    p.translate(22, 17);
    p.rotate(45);
    p.setPen(outline(QColor(120, 80, 10)));
    p.setBrush(QColor(250, 200, 40));
    p.drawRect(QRectF(-3, -12, 6, 18));
    p.setBrush(QColor(240, 140, 150));
    p.drawRect(QRectF(-3, -15, 6, 3));
    p.setBrush(QColor(240, 220, 180));
    p.drawPolygon(QPolygonF({QPointF(-3, 6), QPointF(3, 6), QPointF(0, 11)}));
    p.restore();
}

void drawDelete(QPainter& p) {
    p.setPen(QPen(QColor(150, 20, 20), 7.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(25, 25));
    p.drawLine(QPointF(25, 7), QPointF(7, 25));
    p.setPen(QPen(QColor(230, 50, 50), 4.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(25, 25));
    p.drawLine(QPointF(25, 7), QPointF(7, 25));
}

void drawStatus(QPainter& p) {
    p.setPen(outline(QColor(40, 50, 70)));
    p.setBrush(QColor(70, 80, 100));
    p.drawRoundedRect(QRectF(2, 3, 28, 20), 2, 2);
    p.setBrush(QColor(20, 30, 50));
    p.drawRect(QRectF(5, 6, 22, 14));
    p.setPen(Qt::NoPen);
    const QColor bars[] = {QColor(80, 200, 100), QColor(250, 200, 60), QColor(90, 160, 250)};
    const qreal heights[] = {6, 10, 8};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(bars[i]);
        p.drawRect(QRectF(8 + i * 6, 19 - heights[i], 4, heights[i]));
    }
    p.setPen(outline(QColor(40, 50, 70)));
    p.setBrush(QColor(110, 120, 140));
    p.drawRect(QRectF(13, 23, 6, 4));
    p.drawRect(QRectF(8, 27, 16, 3));
}

void drawLetterInCircle(QPainter& p, const QString& letter, const QColor& fill) {
    p.setPen(outline(fill.darker(160)));
    p.setBrush(fill);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(21);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, letter);
}

void drawHelp(QPainter& p) {
    drawLetterInCircle(p, "?", QColor(50, 120, 220));
}

void drawAbout(QPainter& p) {
    drawLetterInCircle(p, "i", QColor(30, 150, 170));
}

const std::vector<Pictogram>& pictograms() {
    static const std::vector<Pictogram> all = {drawPrint, drawAdapter, drawApply,  drawAdd,
                                               drawCopy,  drawEdit,    drawDelete, drawStatus,
                                               drawHelp,  drawAbout};
    return all;
}

// One strip of all pictograms, each in a cell of `width` x `height`, drawn in a centred
// square of `box` pixels.
QImage strip(int width, int height, qreal box) {
    const auto& all = pictograms();
    QImage image(width * static_cast<int>(all.size()), height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (std::size_t i = 0; i < all.size(); ++i) {
        p.save();
        p.translate(static_cast<qreal>(i) * width + (width - box) / 2.0, (height - box) / 2.0);
        p.scale(box / 32.0, box / 32.0);
        all[i](p);
        p.restore();
    }
    return image;
}

// The grey set: each pixel's lightness, lifted a little, alpha kept.
QImage greyed(const QImage& colour) {
    QImage grey = colour.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = qGray(line[x]);
            const int lifted = 70 + g * 150 / 255;
            line[x] = qRgba(lifted, lifted, lifted, qAlpha(line[x]));
        }
    }
    return grey;
}

QImage programIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QLinearGradient background(0, 0, 0, 32);
    background.setColorAt(0, QColor(70, 140, 230));
    background.setColorAt(1, QColor(25, 80, 170));
    p.setPen(outline(QColor(20, 60, 130), 1.2));
    p.setBrush(background);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    // Three network nodes, linked: the adapter switching between configurations.
    const QPointF a(9, 10), b(23, 10), c(16, 23);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, c);
    p.drawLine(b, c);
    p.drawLine(a, b);
    p.setPen(outline(QColor(20, 60, 130), 1));
    p.setBrush(QColor(120, 230, 140));
    p.drawEllipse(c, 4.5, 4.5);
    p.setBrush(Qt::white);
    p.drawEllipse(a, 3.5, 3.5);
    p.drawEllipse(b, 3.5, 3.5);
    return image;
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
        std::fprintf(stderr, "usage: draw_images <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QImage toolColour = strip(42, 35, 32);
    const QImage menuColour = strip(16, 15, 15);
    bool ok = save(toolColour, folder, "toolbar_colour.png") &&
              save(greyed(toolColour), folder, "toolbar_grey.png") &&
              save(menuColour, folder, "menu_colour.png") &&
              save(greyed(menuColour), folder, "menu_grey.png");
    for (const int size : {16, 32, 48}) {
        ok = ok && save(programIcon(size), folder, QString("quorrel_%1.png").arg(size));
    }
    return ok ? 0 : 1;
}
