#include <QDesktopServices>
#include <QUrl>

#include "app/ui/UrlOpener.h"

namespace quorrel {

void DesktopUrlOpener::open(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::TolerantMode));
}

}  // namespace quorrel
