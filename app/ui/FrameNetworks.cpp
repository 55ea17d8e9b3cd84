// The looks at the network behind the chosen adapter: on a thread of their own, since an
// ARP question may take a moment, delivered to the profile store on the user-interface thread.

#include <QMetaObject>
#include <mutex>

#include "app/ui/CMainFrame.h"
#include "apply/DetachedThread.h"

namespace quorrel {

namespace {

// How long the gateway may take to answer.
constexpr std::chrono::milliseconds kGatewayLimit{1500};

}  // namespace

// The frame while it lives; a look that ends later finds it gone.
struct CMainFrame::NetworkMailbox {
    std::mutex lock;
    CMainFrame* frame = nullptr;
};

void CMainFrame::closeNetworkMailbox() {
    if (networkMailbox_) {
        const std::lock_guard<std::mutex> hold(networkMailbox_->lock);
        networkMailbox_->frame = nullptr;
    }
}

void CMainFrame::lookAtNetwork(const std::string& profileName, NetworkMemory::Moment moment) {
    if (!services_.networkSensor || !adapter_.currentSettings) {
        return;
    }
    if (!networkMailbox_) {
        networkMailbox_ = std::make_shared<NetworkMailbox>();
        networkMailbox_->frame = this;
    }
    startDetachedThread([mailbox = networkMailbox_, make = services_.networkSensor,
                         connection = adapter_.currentSettings->connectionName, profileName,
                         moment] {
        const NetworkFingerprint seen = make()->look(connection, kGatewayLimit);
        const std::lock_guard<std::mutex> hold(mailbox->lock);
        if (mailbox->frame == nullptr) {
            return;
        }
        // Queued to the frame, so it runs on its thread; dropped if the frame goes first.
        QMetaObject::invokeMethod(
            mailbox->frame,
            [mailbox, profileName, seen, moment] {
                if (mailbox->frame != nullptr) {
                    mailbox->frame->profiles().rememberNetwork(profileName, seen, moment);
                }
            },
            Qt::QueuedConnection);
    });
}

}  // namespace quorrel
