#pragma once

#include <QMainWindow>
#include <QSize>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/ApplyRun.h"
#include "app/ChosenAdapter.h"
#include "app/NetworkRecognition.h"
#include "app/ProfileCommands.h"
#include "app/ProfileStore.h"
#include "apply/ApplyTrial.h"
#include "apply/ConnectionChecks.h"
#include "platform/AdapterKeys.h"
#include "platform/AdapterTable.h"
#include "platform/FileStore.h"
#include "platform/NetworkSensor.h"
#include "platform/NetworkWatch.h"
#include "platform/RegistryStore.h"
#include "platform/TextCodec.h"
#include "profiles/IpProfile.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace quorrel {

class CAdapterSelectDlg;
class FrameTray;
class CTessupDoc;
class CTessupView;
class ListRows;
class Prompter;
class UrlOpener;

namespace platform {
class HelpViewer;
}

// What the main frame works with. The owner (the application object, or a test) keeps
// these alive for the frame's life.
struct FrameServices {
    Prompter& prompter;
    UrlOpener& urlOpener;
    platform::FileStore& files;
    const platform::TextCodec& codec;
    // Folder of "quorrel.dat"; empty: the folder the registry names (the user is asked for
    // it when the registry does not).
    std::string installFolder;
    // Size of the primary screen; empty: ask the system.
    QSize screenSize;
    // The registry and the adapters; null: the system's own.
    platform::RegistryStore* registry = nullptr;
    platform::AdapterTable* adapterTable = nullptr;
    platform::AdapterKeys* adapterKeys = nullptr;
    // Looks at the network behind the chosen adapter, to remember it for the profile in
    // use; empty: the networks are not looked at.
    std::function<std::unique_ptr<platform::NetworkSensor>()> networkSensor{};
    // Watches the chosen adapter for a move to another network, which the frame then looks
    // at to offer the profile used there; empty (or without a sensor): no watch.
    std::function<std::unique_ptr<platform::NetworkWatch>(const std::string& connectionName,
                                                          std::function<void()> changed)>
        networkWatch{};
    // The data file read ahead (it must outlive the construction); null: read in turn.
    DataPrefetch* dataPrefetch = nullptr;
};

// The program's only top-level window. Its working state and the decisions of its commands
// live in parts with one job each (ProfileStore, ChosenAdapter, ApplyRun, ProfileCommands),
// which the frame owns and wires; the frame runs the dialogs and keeps the list and the
// bars up to date. Construction runs the data start-up (backup and loading of the data file), sets
// the plain title, places the window in the middle of the screen, puts the list in the
// client area and builds the menu bar, the toolbar and the status bar. Closing the window
// saves the data file.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(FrameServices services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // "Quorrel v2.1.1  [선택 어댑터 : <currentSettings' connectionName>]".
    void UpdateTitle();
    // 1 shows the menu bar, any other value hides it.
    void ShowMenuBar(int flag);
    // The parts of the working state, owned and wired by the frame; tests look into them
    // and prepare them. The profiles and their files, the chosen adapter, the apply.
    ProfileStore& profiles() { return store_; }
    ChosenAdapter& chosenAdapter() { return adapter_; }
    ApplyRun& applyRun() { return applyRun_; }
    // The profile behind the first selected row of the list, or nullptr.
    IpProfile* GetSelectedProfile();
    // Opens the page in the browser; the result is not examined.
    void OpenUrl(const std::string& url);

    // The viewer of the help book; until one is set, the system's, made on first use.
    void setHelpViewer(platform::HelpViewer* viewer) { helpViewer_ = viewer; }

    // The apply operation (FrameApply.cpp): the apply commands of the menu, the toolbar and
    // the context menu, and a double-click on a row. Without a name it applies the profile
    // of the first selected row, confirmed with that row's texts; with one, the first
    // profile of that name, confirmed with its own values.
    void OnProfileApply(const std::optional<std::string>& profileName = std::nullopt);
    // The apply of one listed record, confirmed with its own values, telling how it ended:
    // none when nothing ran (not confirmed, or refused before), else whether every command
    // line succeeded (the tray's choice of a profile).
    std::optional<bool> applyProfileWithOutcome(IpProfile* profile);

    // The safety net after an apply (FrameSafetyNet.cpp), while "적용 후 연결 확인" is on:
    // the check dialog for `applied` on the restore point's adapter, and, unless the user
    // keeps the new settings, the apply of the restore point.
    void runSafetyNet(const RestorePoint& point, const IpProfile& applied,
                      TrialPolicy policy = kWindowTrial);
    // What the connection check asks with; until one is set, the system's probe and the
    // steady clock.
    void setConnectionChecks(std::function<ConnectionCheckServices()> make) {
        connectionChecks_ = std::move(make);
    }

    // Remembers the network behind the chosen adapter for `profileName` (FrameNetworks.cpp):
    // the look runs on a thread of its own, and its result reaches the profile store on the
    // user-interface thread, unless the frame has gone by then.
    void lookAtNetwork(const std::string& profileName, NetworkMemory::Moment moment);

    // Recognition of the network (FrameRecognition.cpp): the watch on the chosen adapter,
    // started with the frame and again after another adapter was chosen; after each move a
    // look at the network, and what NetworkRecognition makes of it: the offer as a question
    // (예 applies), or with "자동 전환" the apply at once with the connection check, which
    // puts the previous settings back when a check fails.
    void watchNetwork();
    void recogniseNetwork(const NetworkFingerprint& seen);
    bool autoSwitch() const { return autoSwitch_; }
    const NetworkRecognition& recognition() const { return recognition_; }
    // The apply of the profile `profileName` as the recognition asks for it: without the
    // confirmation (the offer's 예 or 자동 전환 stands for it), and automatic: always
    // checked, put back at once on a failed check.
    void applyRecognised(const std::string& profileName, bool automatic);

    // The tray icon (FrameTray.cpp), made on first use; shown while "트레이 아이콘 표시" is
    // on.
    FrameTray* tray();

    // Commands of the menus, the toolbar and the keys (base/CommandIds.h). A command without
    // a handler does nothing. ID_APP_EXIT, ID_VIEW_TOOLBAR and ID_VIEW_STATUS_BAR are
    // handled here.
    void setCommandHandler(int command, std::function<void()> handler);
    void runCommand(int command);
    void setCommandEnabled(int command, bool enabled);
    QAction* menuAction(int command) const;
    QAction* toolButtonAction(int command) const;

    // The list view's first fill, once the frame stands; it ends by setting the title with
    // the chosen adapter. Until then the title is the plain "Quorrel v2.1.1".
    void OnInitialUpdate();
    CTessupView* view() const { return view_; }

    // The client area: the list view and its rows. The frame takes ownership of `view`.
    void setClientView(QWidget* view, ListRows* rows);
    ListRows* listRows() const { return rows_; }

    // The print command while no list view has taken it (FrameProfileCommands.cpp).
    void OnPrintNotReady();
    // Rebuilds the list view's rows from profileList.
    void RefreshList();

    Prompter& prompter() const { return services_.prompter; }
    QToolBar* toolBar() const { return toolBar_; }
    QLabel* poweredByPane() const { return poweredByPane_; }
    QLabel* promptPane() const { return promptPane_; }
    // The adapter selection dialog, owner of the run's adapter inventory (made with the
    // frame).
    CAdapterSelectDlg& adapterSelectDlg() const { return *adapterSelectDlg_; }

    // A right-click on the menu bar or the toolbar area opens no menu (Qt's would offer to
    // hide the bars): the "보기" menu shows and hides them.
    QMenu* createPopupMenu() override { return nullptr; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The commands behind the menus, the toolbar and the keys, run through runCommand.
    // Help and web links (CMainFrameHelp.cpp). OnShowHelp opens the help book of the
    // install folder at its main page, OnCheckUpdate the product's home page.
    void OnShowHelp();
    void OnCheckUpdate();
    // The adapter command (FrameSelectAdapter.cpp): runs the adapter selection dialog;
    // after OK rebuilds currentSettings and the in-use mark, taking an adapter
    // configuration that no profile describes over as a new profile "설정[n]".
    void OnSelectAdapter();
    // The apply of one listed record, confirmed with its own values (the edit command
    // re-applies the record it edited, whatever other profile shares its name); nullptr
    // applies the profile of the first selected row.
    void applyProfile(IpProfile* profile);
    // Profile commands (FrameProfileCommands.cpp): add, copy, edit and delete from the menu,
    // the toolbar or the context menu, the status view, and delete-all, which does nothing.
    void OnAddProfile();
    void OnCopyProfile();
    void OnEditProfile();
    void OnDeleteProfile();
    void OnShowStatus();
    void OnDeleteAll();
    // Enables copy, edit, delete and apply in the menu and the toolbar while a row of the
    // list is selected; runs on every change of the selection and after every refill.
    void OnUpdateNeedsSelection();

    // One line for the debugger output.
    static void traceLine(const std::string& line);
    // FrameDataStartup.cpp: the adapter dialog with its inventory, and the data start-up.
    void createAdapterSelectDlg();
    // Returns the profile in use, or nullptr.
    const IpProfile* runDataStartup();
    platform::RegistryStore& registry() const;
    void createView();
    void placeOnScreen();
    void createMenuBar();
    void createToolBar();
    void createStatusBar();
    void createAccelerators();
    QAction* makeCommandAction(int command, const QString& text, QObject* parent);
    void installProfileCommands();
    // The checkable "적용 후 연결 확인", set from and stored in the settings key.
    void installSafetyNet();
    // The checkable "자동 전환" and "트레이 아이콘 표시", set from and stored in the
    // settings key.
    void installRecognition();
    void installTray();
    // Looks at the network behind the chosen adapter on a thread of its own; `then` gets the
    // result on the user-interface thread, unless the frame has gone by then.
    void lookThen(std::function<void(CMainFrame&, const NetworkFingerprint&)> then);
    void watchListSelection(QWidget* view);

    FrameServices services_;
    ProfileStore store_;
    ChosenAdapter adapter_;
    ApplyRun applyRun_;
    ProfileCommands profileCommands_;
    // Where the looks at the network deliver; emptied when the frame goes.
    struct NetworkMailbox;
    std::shared_ptr<NetworkMailbox> networkMailbox_;
    void openNetworkMailbox();
    void closeNetworkMailbox();
    std::unique_ptr<platform::NetworkWatch> networkWatch_;
    NetworkRecognition recognition_;
    bool autoSwitch_ = false;
    FrameTray* tray_ = nullptr;
    std::unique_ptr<CAdapterSelectDlg> adapterSelectDlg_;
    ListRows* rows_ = nullptr;
    std::unique_ptr<CTessupDoc> document_;
    CTessupView* view_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* poweredByPane_ = nullptr;
    QLabel* promptPane_ = nullptr;
    std::map<int, QAction*> menuActions_;
    std::map<int, QAction*> toolActions_;
    std::map<int, std::function<void()>> handlers_;
    platform::HelpViewer* helpViewer_ = nullptr;
    std::function<ConnectionCheckServices()> connectionChecks_;
    std::unique_ptr<platform::HelpViewer> ownHelpViewer_;
    std::unique_ptr<platform::RegistryStore> ownRegistry_;
    std::unique_ptr<platform::AdapterTable> ownAdapterTable_;
    std::unique_ptr<platform::AdapterKeys> ownAdapterKeys_;
};

}  // namespace quorrel
