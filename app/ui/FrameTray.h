#pragma once

#include <QObject>
#include <optional>

class QMenu;
class QSystemTrayIcon;

namespace quorrel {

class CMainFrame;

// The tray icon of the main frame while "트레이 아이콘 표시" is on: its menu lists the
// profiles (app/TrayMenu.h decides what), choosing one runs the frame's apply with its
// confirmation and progress dialogs, the tooltip follows the profile in use and the
// address, and the result of an apply from the menu comes as a tray message.
class FrameTray final : public QObject {
    Q_OBJECT
public:
    explicit FrameTray(CMainFrame& frame);
    ~FrameTray() override;

    void setVisible(bool visible);
    bool isVisible() const;
    // Rebuilds the menu and the tooltip from the frame's state as it is now.
    void refresh();
    QSystemTrayIcon* icon() const { return icon_; }
    QMenu* menu() const { return menu_; }

private:
    CMainFrame& frame_;
    QMenu* menu_ = nullptr;
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace quorrel
