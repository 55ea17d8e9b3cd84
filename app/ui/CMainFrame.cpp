#include "app/ui/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include "adapters/ui/CAdapterSelectDlg.h"
#include "app/FrameLayout.h"
#include "app/MenuLayout.h"
#include "app/SelectedProfile.h"
#include "app/ui/CAboutDlg.h"
#include "app/ui/FrameImages.h"
#include "app/ui/PrintWiring.h"
#include "app/ui/UrlOpener.h"
#include "base/CommandIds.h"
#include "base/ui/Prompter.h"
#include "base/ui/QtText.h"
#include "listview/CTessupDoc.h"
#include "listview/ui/CTessupView.h"
#include "platform/DebugTrace.h"
#include "platform/HelpViewer.h"
#include "resources/AppTexts.h"

namespace quorrel {

namespace {

constexpr int kPoweredByWidth = 120;
constexpr int kPromptMinimumWidth = 250;

}  // namespace

void CMainFrame::traceLine(const std::string& line) {
    DebugTrace("%s", line.c_str());
}

CMainFrame::CMainFrame(FrameServices services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      store_(ProfileStoreServices{services_.files, services_.codec, services_.prompter, traceLine}),
      applyRun_(store_, adapter_, services_.prompter, traceLine),
      profileCommands_(store_, applyRun_.lastAppliedName, services_.prompter) {
    setObjectName("CMainFrame");
    setWindowIcon(programIcon());

    // The adapters first, then the window's parts: title, place, list, bars; the data last,
    // as its file is being read on a thread of its own meanwhile.
    createAdapterSelectDlg();
    setWindowTitle(qs(texts::kAppTitle));
    placeOnScreen();
    createView();
    createMenuBar();
    createToolBar();
    createStatusBar();
    createAccelerators();

    if (const IpProfile* inUse = runDataStartup()) {
        lookAtNetwork(inUse->name, NetworkMemory::Moment::FoundInUse);
    }

    handlers_[ID_APP_EXIT] = [this] { close(); };
    handlers_[ID_ADAPTER_SELECT] = [this] { OnSelectAdapter(); };
    handlers_[ID_PROFILE_APPLY] = [this] { OnProfileApply(); };
    handlers_[ID_POPUP_APPLY] = [this] { OnProfileApply(); };
    installProfileCommands();
    installSafetyNet();
    installRecognition();
    installTray();
    handlers_[ID_APP_ABOUT] = [this] { OnAppAbout(*this); };
    handlers_[ID_SHOW_HELP] = [this] { OnShowHelp(); };
    handlers_[ID_CHECK_UPDATE] = [this] { OnCheckUpdate(); };
}

CMainFrame::~CMainFrame() {
    closeNetworkMailbox();
    networkWatch_.reset();
}

void CMainFrame::createView() {
    document_ = std::make_unique<CTessupDoc>();
    view_ = new CTessupView(document_.get(), this);
    view_->setObjectName("CTessupView");
    connect(view_, &CTessupView::commandRequested, this,
            [this](int command) { runCommand(command); });
    connect(view_, &CTessupView::listRefreshed, this, &CMainFrame::UpdateTitle);
    setClientView(view_, view_);
    wirePrintCommands(*this, *view_);
}

void CMainFrame::OnInitialUpdate() {
    if (view_ != nullptr) {
        view_->OnInitialUpdate(store_.profileList);
    }
}

void CMainFrame::placeOnScreen() {
    QSize screen = services_.screenSize;
    if (screen.isEmpty()) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            screen = primary->geometry().size();
        }
    }
    const FrameRect rect = centredFrameRect(screen.width(), screen.height());
    move(rect.x, rect.y);
    resize(rect.width, rect.height);
}

QAction* CMainFrame::makeCommandAction(int command, const QString& text, QObject* parent) {
    auto* action = new QAction(text, parent);
    const QString prompt = QString::fromStdString(commandPrompt(command));
    action->setStatusTip(prompt);
    action->setToolTip(prompt);
    action->setData(command);
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    return action;
}

void CMainFrame::createMenuBar() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("menuBar");
    for (const MenuSpec& spec : mainMenus()) {
        QMenu* menu = bar->addMenu(qs(spec.title));
        for (const MenuEntry& entry : spec.entries) {
            if (entry.command == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = makeCommandAction(entry.command, qs(entry.text), menu);
            const int image = commandImageIndex(entry.command);
            if (image >= 0) {
                action->setIcon(menuEntryIcon(image));
            }
            menu->addAction(action);
            menuActions_[entry.command] = action;
        }
    }
}

void CMainFrame::createToolBar() {
    toolBar_ = new QToolBar(qs(texts::kToolBarTitle), this);
    toolBar_->setObjectName("toolBar");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(kToolImageWidth, kToolImageHeight));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ToolButtonSpec& button : toolButtons()) {
        QAction* action = makeCommandAction(button.command, qs(button.label), toolBar_);
        action->setIcon(toolButtonIcon(button.imageIndex));
        toolBar_->addAction(action);
        toolActions_[button.command] = action;
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    // The menu entries of the bars show and hide them, with a check mark while shown.
    if (QAction* entry = menuAction(ID_VIEW_TOOLBAR)) {
        entry->setCheckable(true);
        entry->setChecked(true);
        connect(toolBar_, &QToolBar::visibilityChanged, entry, &QAction::setChecked);
    }
    handlers_[ID_VIEW_TOOLBAR] = [this] { toolBar_->setVisible(!toolBar_->isVisibleTo(this)); };
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    bar->setSizeGripEnabled(true);
    poweredByPane_ = new QLabel(qs(texts::kPoweredBy), bar);
    poweredByPane_->setObjectName("poweredByPane");
    poweredByPane_->setFixedWidth(kPoweredByWidth);
    promptPane_ = new QLabel(qs(texts::kIdlePrompt), bar);
    promptPane_->setObjectName("promptPane");
    promptPane_->setMinimumWidth(kPromptMinimumWidth);
    bar->addWidget(poweredByPane_, 0);
    bar->addWidget(promptPane_, 1);
    if (QAction* entry = menuAction(ID_VIEW_STATUS_BAR)) {
        entry->setCheckable(true);
        entry->setChecked(true);
    }
    handlers_[ID_VIEW_STATUS_BAR] = [this] {
        QStatusBar* status = statusBar();
        status->setVisible(!status->isVisibleTo(this));
        if (QAction* entry = menuAction(ID_VIEW_STATUS_BAR)) {
            entry->setChecked(status->isVisibleTo(this));
        }
    };
}

void CMainFrame::createAccelerators() {
    for (const AcceleratorSpec& key : accelerators()) {
        auto* shortcut = new QShortcut(QKeySequence(qs(key.keys)), this);
        shortcut->setContext(Qt::WindowShortcut);
        const int command = key.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { runCommand(command); });
    }
}

bool CMainFrame::event(QEvent* event) {
    // Prompts of the entry or button under the mouse go to the prompt pane (the second);
    // without one it shows the idle text. The first pane keeps its text.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (promptPane_ != nullptr) {
            promptPane_->setText(tip.isEmpty() ? qs(texts::kIdlePrompt) : tip);
        }
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::setCommandHandler(int command, std::function<void()> handler) {
    handlers_[command] = std::move(handler);
}

void CMainFrame::runCommand(int command) {
    const auto it = handlers_.find(command);
    if (it != handlers_.end() && it->second) {
        // A copy: the handler may replace itself while it runs.
        const std::function<void()> handler = it->second;
        handler();
    }
}

void CMainFrame::setCommandEnabled(int command, bool enabled) {
    if (QAction* action = menuAction(command)) {
        action->setEnabled(enabled);
    }
    if (QAction* action = toolButtonAction(command)) {
        action->setEnabled(enabled);
    }
}

QAction* CMainFrame::menuAction(int command) const {
    const auto it = menuActions_.find(command);
    return it == menuActions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::toolButtonAction(int command) const {
    const auto it = toolActions_.find(command);
    return it == toolActions_.end() ? nullptr : it->second;
}

void CMainFrame::setClientView(QWidget* view, ListRows* rows) {
    QWidget* old = takeCentralWidget();
    setCentralWidget(view);
    rows_ = rows;
    delete old;
    watchListSelection(view);
}

void CMainFrame::UpdateTitle() {
    const std::optional<IpProfile>& adapter = adapter_.currentSettings;
    setWindowTitle(QString::fromStdString(frameTitle(adapter ? &*adapter : nullptr)));
}

void CMainFrame::ShowMenuBar(int flag) {
    menuBar()->setVisible(flag == 1);
}

IpProfile* CMainFrame::GetSelectedProfile() {
    return selectedProfile(store_.profileList, rows_);
}

void CMainFrame::OpenUrl(const std::string& url) {
    services_.urlOpener.open(url);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Every way of closing passes here: the close box, the exit entry, Ctrl+X.
    if (store_.mayClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace quorrel
