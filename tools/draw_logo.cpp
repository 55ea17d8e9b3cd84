// Draws the product logo that heads the first printed page: 620 x 184 pixels, 24-bit
// colour on white. The printout takes its top-left 511 x 140 pixels, so everything that
// matters stays inside that part; the rest is white margin. The lowest rows of that part
// stay white too: on the page they reach just under the table's top rule.
//
// Build and run from the repository root:
//   g++ -std=c++20 -fPIC tools/draw_logo.cpp -o /tmp/draw_logo $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen /tmp/draw_logo resources/images/logo.png
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr int kWidth = 620;
constexpr int kHeight = 184;

const QColor kNavy(24, 52, 96);
const QColor kBlue(36, 112, 196);
const QColor kTeal(32, 164, 150);

// Three linked nodes in a rounded square: the profiles and the adapter they switch.
void drawEmblem(QPainter& p, const QRectF& box) {
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0.0, kBlue);
    fill.setColorAt(1.0, kNavy);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(box, 22, 22);

    const QPointF a(box.left() + box.width() * 0.28, box.top() + box.height() * 0.30);
    const QPointF b(box.left() + box.width() * 0.72, box.top() + box.height() * 0.30);
    const QPointF c(box.left() + box.width() * 0.50, box.top() + box.height() * 0.72);
    p.setPen(QPen(QColor(255, 255, 255, 220), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, c);
    p.drawLine(b, c);
    p.drawLine(a, b);
    p.setPen(QPen(Qt::white, 3));
    for (const QPointF& node : {a, b}) {
        p.setBrush(kTeal);
        p.drawEllipse(node, 13, 13);
    }
    p.setBrush(Qt::white);
    p.setPen(QPen(kTeal, 4));
    p.drawEllipse(c, 16, 16);
}

void drawWordmark(QPainter& p) {
    QFont name(QStringLiteral("NanumGothic"));
    name.setPixelSize(64);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(name);
    p.setPen(kNavy);
    p.drawText(QPointF(146, 70), QStringLiteral("Quorrel"));

    QFont tag(QStringLiteral("NanumGothic"));
    tag.setPixelSize(22);
    p.setFont(tag);
    p.setPen(kBlue);
    p.drawText(QPointF(149, 102), QStringLiteral("IP SETTINGS IN ONE STEP"));

    // An underline that fades out towards the right edge of the printed part.
    QLinearGradient rule(QPointF(146, 0), QPointF(500, 0));
    rule.setColorAt(0.0, kTeal);
    rule.setColorAt(1.0, QColor(255, 255, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(rule);
    p.drawRect(QRectF(146, 112, 354, 5));
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawEmblem(p, QRectF(12, 8, 110, 110));
        drawWordmark(p);
    }
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
