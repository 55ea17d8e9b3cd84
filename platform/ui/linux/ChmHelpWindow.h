#pragma once

#include <QString>
#include <QTextBrowser>
#include <QWidget>
#include <memory>
#include <vector>

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorrel {

namespace platform {
class ChmArchive;
struct HelpContentsEntry;
}  // namespace platform

// The page browser of the help window: pages, style sheets and pictures come from the
// open book under the "chm:" scheme ("chm:/main/Main.htm"); links between pages stay in
// the book, links to web pages go to the browser.
class ChmPageBrowser final : public QTextBrowser {
    Q_OBJECT
public:
    explicit ChmPageBrowser(QWidget* parent = nullptr);
    ~ChmPageBrowser() override;

    // Takes the book; pages are read from it from now on.
    void setArchive(std::unique_ptr<platform::ChmArchive> archive);
    bool hasArchive() const { return archive_ != nullptr; }

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void followLink(const QUrl& link);

    std::unique_ptr<platform::ChmArchive> archive_;
};

// The program's own viewer of the help book: a top-level window that belongs to no other
// window, with the book's table of contents beside the page and back, forward and home
// buttons over them. A book or page that cannot
// be opened is reported inside the window.
class ChmHelpWindow final : public QWidget {
    Q_OBJECT
public:
    ChmHelpWindow();
    ~ChmHelpWindow() override;

    // Opens the book at `bookPath` (UTF-8) on `topic` ("/main/Main.htm"). False, with the
    // window showing why, when the book or the page cannot be opened.
    bool showTopic(const std::string& bookPath, const std::string& topic);

    // The page shown ("/main/Main.htm"), or empty while the window shows a message.
    QString currentTopic() const;
    ChmPageBrowser* browser() const { return browser_; }
    QToolButton* backButton() const { return back_; }
    QToolButton* forwardButton() const { return forward_; }
    QToolButton* homeButton() const { return home_; }
    QTreeWidget* contents() const { return contents_; }

private:
    void showMessage(const QString& text);
    void fillContents(const std::vector<platform::HelpContentsEntry>& entries);
    void openContentsEntry(QTreeWidgetItem* item);
    void markContentsEntry(const QUrl& source);

    ChmPageBrowser* browser_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QToolButton* home_ = nullptr;
    QString bookPath_;
    bool showingMessage_ = false;
};

// The chm: address of a page of the open book.
QUrl chmPageUrl(const QString& topic);

}  // namespace quorrel
