#include "platform/ui/linux/ChmHelpWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/TextFormat.h"
#include "base/ui/QtText.h"
#include "platform/TextCodec.h"
#include "platform/linux/ChmArchive.h"
#include "platform/linux/HelpContents.h"
#include "resources/AboutTexts.h"

namespace quorrel {

namespace {

constexpr const char* kScheme = "chm";
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 600;
constexpr int kContentsWidth = 220;
// The page's own margins (help.css: 12 pixels each side) and room for a scroll bar.
constexpr int kPageMargins = 2 * 12 + 24;
constexpr int kPageRole = Qt::UserRole;

// The book's table of contents: its contents file (.hhc, written in the book's code page).
std::vector<platform::HelpContentsEntry> bookContents(const platform::ChmArchive& archive) {
    for (const std::string& path : archive.contentPaths()) {
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".hhc") == 0) {
            if (const auto bytes = archive.read(path)) {
                return platform::parseHelpContents(platform::makeCp949Codec()->decode(*bytes));
            }
        }
    }
    return {};
}

}  // namespace

QUrl chmPageUrl(const QString& topic) {
    QUrl url;
    url.setScheme(kScheme);
    const qsizetype hash = topic.indexOf('#');
    url.setPath(hash < 0 ? topic : topic.left(hash));
    if (hash >= 0) {
        url.setFragment(topic.mid(hash + 1));
    }
    return url;
}

ChmPageBrowser::ChmPageBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links are followed here, so that none of them leaves the book by accident.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmPageBrowser::followLink);
}

ChmPageBrowser::~ChmPageBrowser() = default;

void ChmPageBrowser::setArchive(std::unique_ptr<platform::ChmArchive> archive) {
    archive_ = std::move(archive);
    clearHistory();
    document()->clear();
}

void ChmPageBrowser::followLink(const QUrl& link) {
    const QUrl target = source().resolved(link);
    if (target.scheme() == kScheme) {
        setSource(target);
    } else {
        QDesktopServices::openUrl(target);
    }
}

QVariant ChmPageBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != kScheme || archive_ == nullptr) {
        return QTextBrowser::loadResource(type, name);
    }
    const auto bytes = archive_->read(url.path().toStdString());
    if (!bytes) {
        return {};
    }
    const QByteArray content(bytes->data(), static_cast<qsizetype>(bytes->size()));
    if (type == QTextDocument::ImageResource) {
        // A picture wider than the page is shrunk to its width: no sideways scrolling.
        QImage picture = QImage::fromData(content);
        const int room = viewport()->width() - kPageMargins;
        if (!picture.isNull() && room > 0 && picture.width() > room) {
            return picture.scaledToWidth(room, Qt::SmoothTransformation);
        }
    }
    return content;
}

ChmHelpWindow::ChmHelpWindow() : QWidget(nullptr) {
    setObjectName("ChmHelpWindow");
    setWindowTitle(qs(texts::kHelpWindowTitle));
    setWindowIcon(QIcon(":/images/quorrel_32.png"));
    resize(kWindowWidth, kWindowHeight);

    auto makeButton = [this](const char* text) {
        auto* button = new QToolButton(this);
        button->setText(qs(text));
        button->setAutoRaise(true);
        return button;
    };
    back_ = makeButton(texts::kHelpBack);
    forward_ = makeButton(texts::kHelpForward);
    home_ = makeButton(texts::kHelpHome);
    browser_ = new ChmPageBrowser(this);
    browser_->setObjectName("helpPage");
    contents_ = new QTreeWidget(this);
    contents_->setObjectName("helpContents");
    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(false);
    auto* panes = new QSplitter(Qt::Horizontal, this);
    panes->addWidget(contents_);
    panes->addWidget(browser_);
    panes->setStretchFactor(1, 1);
    panes->setSizes({kContentsWidth, kWindowWidth - kContentsWidth});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(panes, 1);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    home_->setEnabled(false);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, this,
            [this] { showTopic(bookPath_.toStdString(), texts::kHelpMainTopic); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(contents_, &QTreeWidget::itemActivated, this, &ChmHelpWindow::openContentsEntry);
    connect(contents_, &QTreeWidget::itemClicked, this, &ChmHelpWindow::openContentsEntry);
    connect(browser_, &QTextBrowser::sourceChanged, this, &ChmHelpWindow::markContentsEntry);
}

void ChmHelpWindow::fillContents(const std::vector<platform::HelpContentsEntry>& entries) {
    contents_->clear();
    std::vector<QTreeWidgetItem*> parents;
    for (const platform::HelpContentsEntry& entry : entries) {
        parents.resize(std::min(parents.size(), static_cast<std::size_t>(entry.depth)));
        auto* item =
            parents.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
        item->setText(0, QString::fromStdString(entry.name));
        if (!entry.local.empty()) {
            item->setData(0, kPageRole, chmPageUrl("/" + QString::fromStdString(entry.local)));
        }
        parents.push_back(item);
    }
    contents_->expandAll();
    // Branch marks only where the book nests its entries.
    contents_->setRootIsDecorated(
        std::any_of(entries.begin(), entries.end(),
                    [](const platform::HelpContentsEntry& entry) { return entry.depth > 0; }));
}

void ChmHelpWindow::openContentsEntry(QTreeWidgetItem* item) {
    const QUrl page = item != nullptr ? item->data(0, kPageRole).toUrl() : QUrl();
    if (page.isValid() && !page.isEmpty() && browser_->hasArchive()) {
        showingMessage_ = false;
        browser_->setSource(page, QTextDocument::HtmlResource);
    }
}

void ChmHelpWindow::markContentsEntry(const QUrl& source) {
    QUrl page = source;
    page.setFragment({});
    for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
        QUrl entry = (*it)->data(0, kPageRole).toUrl();
        entry.setFragment({});
        if (entry == page) {
            contents_->setCurrentItem(*it);
            return;
        }
    }
}

ChmHelpWindow::~ChmHelpWindow() = default;

bool ChmHelpWindow::showTopic(const std::string& bookPath, const std::string& topic) {
    const QString book = QString::fromStdString(bookPath);
    if (book != bookPath_ || !browser_->hasArchive()) {
        auto archive = platform::ChmArchive::open(bookPath);
        bookPath_.clear();
        if (archive == nullptr) {
            browser_->setArchive(nullptr);
            contents_->clear();
            showMessage(QString::fromStdString(fillFormat(texts::kHelpFileMissing, {bookPath})));
            return false;
        }
        fillContents(bookContents(*archive));
        browser_->setArchive(std::move(archive));
        bookPath_ = book;
    }
    const QUrl page = chmPageUrl(QString::fromStdString(topic));
    if (browser_->loadResource(QTextDocument::HtmlResource, page).isNull()) {
        showMessage(QString::fromStdString(
            fillFormat(texts::kHelpTopicMissing, {page.path().toStdString()})));
        return false;
    }
    home_->setEnabled(true);
    showingMessage_ = false;
    // The same address again (after a message, say) is loaded anew.
    if (browser_->source() == page) {
        browser_->reload();
    } else {
        browser_->setSource(page, QTextDocument::HtmlResource);
    }
    return true;
}

QString ChmHelpWindow::currentTopic() const {
    if (showingMessage_) {
        return {};
    }
    const QUrl source = browser_->source();
    return source.scheme() == kScheme ? source.path() : QString();
}

void ChmHelpWindow::showMessage(const QString& text) {
    showingMessage_ = true;
    browser_->clearHistory();
    QString html = "<p>" + text.toHtmlEscaped() + "</p>";
    html.replace('\n', "<br>");
    browser_->setHtml(html);
    home_->setEnabled(browser_->hasArchive());
}

}  // namespace quorrel
