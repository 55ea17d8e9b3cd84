// Draws the banner of the about dialog: 420 x 150 pixels, 24-bit colour. Run it from the
// repository root after changing the picture:
//   build/bin/draw_about_banner resources/images/about_banner.png
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 150;

const QColor kNavy(20, 44, 88);
const QColor kBlue(38, 110, 196);
const QColor kTeal(40, 176, 160);
const QColor kPale(226, 238, 252);

// A row of address "cards" that one arrow switches between: the profiles and the adapter.
void drawCards(QPainter& p) {
    const QRectF cards[] = {{268, 26, 58, 38}, {300, 56, 58, 38}, {332, 86, 58, 38}};
    for (int i = 0; i < 3; ++i) {
        const QRectF& r = cards[i];
        p.setPen(QPen(QColor(255, 255, 255, 170), 1.2));
        p.setBrush(i == 2 ? QColor(255, 255, 255, 235) : QColor(255, 255, 255, 70 + 40 * i));
        p.drawRoundedRect(r, 5, 5);
        p.setPen(
            QPen(i == 2 ? kBlue : QColor(255, 255, 255, 200), 2.2, Qt::SolidLine, Qt::RoundCap));
        for (int line = 0; line < 3; ++line) {
            const qreal y = r.top() + 10 + line * 9;
            p.drawLine(QPointF(r.left() + 8, y), QPointF(r.right() - 8 - line * 8, y));
        }
    }
    // The check mark of the profile in use.
    p.setPen(QPen(kTeal, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(372, 104);
    tick.lineTo(380, 113);
    tick.lineTo(396, 92);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

// Links of a network, faint, behind everything.
void drawNetwork(QPainter& p) {
    const QPointF nodes[] = {{24, 120},  {70, 96},  {118, 132}, {160, 104},
                             {214, 128}, {246, 30}, {196, 18},  {402, 20}};
    p.setPen(QPen(QColor(255, 255, 255, 40), 1.5));
    for (int i = 0; i + 1 < 8; ++i) {
        p.drawLine(nodes[i], nodes[i + 1]);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    for (const QPointF& node : nodes) {
        p.drawEllipse(node, 3.5, 3.5);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <banner.png>\n", argv[0]);
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);

    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, kWidth, kHeight);
    sky.setColorAt(0.0, kBlue);
    sky.setColorAt(1.0, kNavy);
    p.fillRect(image.rect(), sky);
    QRadialGradient glow(QPointF(330, 70), 140);
    glow.setColorAt(0.0, QColor(120, 200, 255, 90));
    glow.setColorAt(1.0, QColor(120, 200, 255, 0));
    p.fillRect(image.rect(), glow);
    drawNetwork(p);
    drawCards(p);

    QFont title("NanumGothic");
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QPointF(22, 62), "Quorrel");

    QFont version("NanumGothic");
    version.setPixelSize(15);
    version.setBold(true);
    p.setFont(version);
    p.setPen(kTeal.lighter(150));
    p.drawText(QPointF(190, 62), "v2.1.1");

    QFont tagline("NanumGothic");
    tagline.setPixelSize(15);
    p.setFont(tagline);
    p.setPen(kPale);
    p.drawText(QPointF(24, 92), QString::fromUtf8("IP 설정을 한 번에 바꾸는 도구"));
    QFont maker("NanumGothic");
    maker.setPixelSize(11);
    p.setFont(maker);
    p.setPen(QColor(255, 255, 255, 170));
    p.drawText(QPointF(24, 136), "Varnok");

    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(24, 74), QPointF(236, 74));
    p.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
