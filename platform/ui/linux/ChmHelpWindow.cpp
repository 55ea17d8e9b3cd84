#include "platform/ui/linux/ChmHelpWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/TextFormat.h"
#include "base/ui/QtText.h"
#include "platform/linux/ChmArchive.h"
#include "resources/AboutTexts.h"

namespace quorrel {

namespace {

constexpr const char* kScheme = "chm";
constexpr int kWindowWidth = 760;
constexpr int kWindowHeight = 600;

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
    return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
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

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    home_->setEnabled(false);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, this,
            [this] { showTopic(bookPath_.toStdString(), texts::kHelpMainTopic); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
}

ChmHelpWindow::~ChmHelpWindow() = default;

bool ChmHelpWindow::showTopic(const std::string& bookPath, const std::string& topic) {
    const QString book = QString::fromStdString(bookPath);
    if (book != bookPath_ || !browser_->hasArchive()) {
        auto archive = platform::ChmArchive::open(bookPath);
        bookPath_.clear();
        if (archive == nullptr) {
            browser_->setArchive(nullptr);
            showMessage(QString::fromStdString(fillFormat(texts::kHelpFileMissing, {bookPath})));
            return false;
        }
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
