#include "listview/ui/ProfilePrinter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <variant>

#include "platform/TextCodec.h"

// The logo lives in the ui library's resource file; a static library's resources are
// registered explicitly, once.
static void registerLogoResource() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)registered;
}

namespace quorrel {

namespace {

// A page is measured in 0.1 mm; printers in dots per inch.
constexpr double kTenthsOfMmPerInch = 254.0;

// The layout's y grows upwards with the page below 0; Qt's grows downwards.
double pageY(int y) {
    return -static_cast<double>(y);
}

}  // namespace

QFont printFont(const print::FontSpec& wanted) {
    QFont font(QString::fromUtf8(wanted.face));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(wanted.weight));
    font.setUnderline(wanted.underline);
    font.setKerning(false);
    // A Windows font height above zero is the height of the character cell; Qt's pixel
    // size is the em, which is usually a little smaller than the cell.
    font.setPixelSize(wanted.height);
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell > 0) {
        const int scaled = static_cast<int>(std::lround(wanted.height * wanted.height / cell));
        font.setPixelSize(scaled > 0 ? scaled : 1);
    }
    return font;
}

QImage printLogo() {
    registerLogoResource();
    return QImage(QStringLiteral(":/images/logo.png"));
}

ProfilePrinter::ProfilePrinter(print::PrintRoute route, QImage logo)
    : titleFont_(printFont(print::fontFor(route, print::FontRole::Title))),
      bodyFont_(printFont(print::fontFor(route, print::FontRole::Body))),
      logo_(std::move(logo)) {}

const QFont& ProfilePrinter::font(print::FontRole role) const {
    return role == print::FontRole::Title ? titleFont_ : bodyFont_;
}

void ProfilePrinter::paintPage(QPainter& painter, const std::vector<print::DrawOp>& ops) const {
    painter.save();
    const QPaintDevice* device = painter.device();
    const double scaleX = device->logicalDpiX() / kTenthsOfMmPerInch;
    const double scaleY = device->logicalDpiY() / kTenthsOfMmPerInch;
    painter.setTransform(QTransform::fromScale(scaleX, scaleY));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const print::DrawOp& op : ops) {
        std::visit([this, &painter](const auto& item) { paint(painter, item); }, op);
    }
    painter.restore();
}

void ProfilePrinter::paint(QPainter& painter, const print::LineOp& line) const {
    // The printer's thinnest line, one device dot wide.
    QPen pen(Qt::black);
    pen.setWidth(0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLine(QPointF(line.x1, pageY(line.y1)), QPointF(line.x2, pageY(line.y2)));
}

void ProfilePrinter::paint(QPainter& painter, const print::TextOp& text) const {
    const QFont& chosen = font(text.font);
    painter.setFont(chosen);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(chosen);
    const QString content = QString::fromStdString(platform::readableText(text.text));
    double x = text.x;
    if (text.align == print::TextAlign::Centre) {
        x -= metrics.horizontalAdvance(content) / 2.0;
    }
    // The layout gives the top of the character cell; Qt draws from the baseline.
    painter.drawText(QPointF(x, pageY(text.y) + metrics.ascent()), content);
}

void ProfilePrinter::paint(QPainter& painter, const print::LogoOp& logo) const {
    if (logo_.isNull()) {
        return;
    }
    // The rectangle's height is negative: it reaches down the page from its y.
    const QRectF target(logo.x, pageY(logo.y), logo.width, -static_cast<double>(logo.height));
    const QRectF source(0, 0, logo.sourceWidth, logo.sourceHeight);
    painter.drawImage(target, logo_, source);
}

}  // namespace quorrel
