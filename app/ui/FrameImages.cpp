#include "app/ui/FrameImages.h"

// The pictures live in the ui library's resource file; a static library's resources are
// registered explicitly, once.
static void registerImageResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)registered;
}

namespace quorrel {

namespace {

// Strips: toolbar_grey (bitmap 135), toolbar_colour (138), menu_colour (187), menu_grey (189).
const QString kToolGrey = QStringLiteral(":/images/toolbar_grey.png");
const QString kToolColour = QStringLiteral(":/images/toolbar_colour.png");
const QString kMenuColour = QStringLiteral(":/images/menu_colour.png");
const QString kMenuGrey = QStringLiteral(":/images/menu_grey.png");

}  // namespace

QPixmap stripImage(const QString& strip, int index, int width, int height) {
    registerImageResources();
    const QPixmap all(strip);
    if (all.isNull() || index < 0 || (index + 1) * width > all.width() || height > all.height()) {
        return QPixmap();
    }
    return all.copy(index * width, 0, width, height);
}

QIcon toolButtonIcon(int index) {
    QIcon icon;
    const QPixmap grey = stripImage(kToolGrey, index, kToolImageWidth, kToolImageHeight);
    const QPixmap colour = stripImage(kToolColour, index, kToolImageWidth, kToolImageHeight);
    if (!grey.isNull()) {
        icon.addPixmap(grey, QIcon::Normal);
    }
    if (!colour.isNull()) {
        icon.addPixmap(colour, QIcon::Active);
    }
    return icon;
}

QIcon menuEntryIcon(int index) {
    QIcon icon;
    const QPixmap colour = stripImage(kMenuColour, index, kMenuImageWidth, kMenuImageHeight);
    const QPixmap grey = stripImage(kMenuGrey, index, kMenuImageWidth, kMenuImageHeight);
    if (!colour.isNull()) {
        icon.addPixmap(colour, QIcon::Normal);
        icon.addPixmap(colour, QIcon::Active);
    }
    if (!grey.isNull()) {
        icon.addPixmap(grey, QIcon::Disabled);
    }
    return icon;
}

QIcon programIcon() {
    registerImageResources();
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/images/quorrel_%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace quorrel
