#include "app/ui/FrameTray.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

#include "app/TrayMenu.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/FrameImages.h"
#include "base/CommandIds.h"
#include "listview/ui/CTessupView.h"
#include "profiles/Settings.h"
#include "resources/RecognitionTexts.h"

namespace quorrel {

FrameTray::FrameTray(CMainFrame& frame)
    : QObject(&frame), frame_(frame), menu_(new QMenu(&frame)), icon_(new QSystemTrayIcon(this)) {
    menu_->setObjectName("trayMenu");
    icon_->setIcon(programIcon());
    icon_->setContextMenu(menu_);
    connect(menu_, &QMenu::aboutToShow, this, &FrameTray::refresh);
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::DoubleClick) {
                    frame_.showNormal();
                    frame_.activateWindow();
                }
            });
    refresh();
}

FrameTray::~FrameTray() = default;

void FrameTray::setVisible(bool visible) {
    refresh();
    icon_->setVisible(visible);
}

bool FrameTray::isVisible() const {
    return icon_->isVisible();
}

void FrameTray::refresh() {
    ProfileStore& store = frame_.profiles();
    const std::optional<IpProfile>& current = frame_.chosenAdapter().currentSettings;
    const IpProfile* inUse = store.markedProfile();
    icon_->setToolTip(QString::fromStdString(trayTooltip(inUse, current)));
    menu_->clear();
    const std::size_t version = store.profileList.version();
    for (const TrayMenuEntry& entry : trayMenu(store.profileList, inUse, current)) {
        if (entry.kind == TrayMenuEntry::Kind::Separator) {
            menu_->addSeparator();
            continue;
        }
        QAction* action = menu_->addAction(QString::fromStdString(entry.text));
        action->setEnabled(entry.enabled);
        if (entry.kind == TrayMenuEntry::Kind::Profile) {
            action->setCheckable(true);
            action->setChecked(entry.checked);
        }
        switch (entry.kind) {
            case TrayMenuEntry::Kind::Profile:
                connect(
                    action, &QAction::triggered, this,
                    [this, profile = const_cast<IpProfile*>(entry.profile), version,
                     name = entry.text] {
                        // The record is the one listed when the menu was made.
                        if (profile == nullptr ||
                            frame_.profiles().profileList.version() != version) {
                            return;
                        }
                        if (const std::optional<bool> applied =
                                frame_.applyProfileWithOutcome(profile)) {
                            icon_->showMessage(
                                QString::fromStdString(trayResult(*applied, name)), QString(),
                                *applied ? QSystemTrayIcon::Information : QSystemTrayIcon::Warning);
                        }
                        refresh();
                    });
                break;
            case TrayMenuEntry::Kind::OpenWindow:
                connect(action, &QAction::triggered, this, [this] {
                    frame_.showNormal();
                    frame_.activateWindow();
                });
                break;
            case TrayMenuEntry::Kind::Exit:
                connect(action, &QAction::triggered, &frame_, &CMainFrame::close);
                break;
            default:
                break;
        }
    }
}

void CMainFrame::installTray() {
    const bool shown = Settings(registry(), traceLine).readSwitch(texts::kShowTrayValue);
    if (QAction* entry = menuAction(ID_SHOW_TRAY)) {
        entry->setCheckable(true);
        entry->setChecked(shown);
    }
    if (shown) {
        tray()->setVisible(true);
    }
    handlers_[ID_SHOW_TRAY] = [this] {
        const bool show = !tray()->isVisible();
        tray()->setVisible(show);
        if (QAction* entry = menuAction(ID_SHOW_TRAY)) {
            entry->setChecked(show);
        }
        Settings(registry(), traceLine).storeSwitch(texts::kShowTrayValue, show);
    };
    if (view_ != nullptr) {
        connect(view_, &CTessupView::listRefreshed, this, [this] {
            if (tray_ != nullptr) {
                tray_->refresh();
            }
        });
    }
}

FrameTray* CMainFrame::tray() {
    if (tray_ == nullptr) {
        tray_ = new FrameTray(*this);
    }
    return tray_;
}

}  // namespace quorrel
