// The looks at the network behind the chosen adapter: on a thread of their own, since an
// ARP question may take a moment, delivered to the frame on the user-interface thread (the
// profile store remembers them there); and the watch that starts a look whenever the
// adapter has moved to another network.

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

void CMainFrame::openNetworkMailbox() {
    if (!networkMailbox_) {
        networkMailbox_ = std::make_shared<NetworkMailbox>();
        networkMailbox_->frame = this;
    }
}

void CMainFrame::watchNetwork() {
    networkWatch_.reset();
    if (!services_.networkWatch || !services_.networkSensor || !adapter_.currentSettings) {
        return;
    }
    openNetworkMailbox();
    networkWatch_ = services_.networkWatch(
        adapter_.currentSettings->connectionName, [mailbox = networkMailbox_] {
            const std::lock_guard<std::mutex> hold(mailbox->lock);
            if (mailbox->frame == nullptr) {
                return;
            }
            QMetaObject::invokeMethod(
                mailbox->frame,
                [mailbox] {
                    if (mailbox->frame != nullptr) {
                        mailbox->frame->lookThen(
                            [](CMainFrame& frame, const NetworkFingerprint& seen) {
                                frame.recogniseNetwork(seen);
                            });
                    }
                },
                Qt::QueuedConnection);
        });
}

void CMainFrame::lookAtNetwork(const std::string& profileName, NetworkMemory::Moment moment) {
    lookThen([profileName, moment](CMainFrame& frame, const NetworkFingerprint& seen) {
        frame.profiles().rememberNetwork(profileName, seen, moment);
    });
}

void CMainFrame::lookThen(std::function<void(CMainFrame&, const NetworkFingerprint&)> then) {
    if (!services_.networkSensor || !adapter_.currentSettings) {
        return;
    }
    openNetworkMailbox();
    // The sensor is made here, so a look asked for is under way when this returns.
    std::shared_ptr<platform::NetworkSensor> sensor = services_.networkSensor();
    startDetachedThread([mailbox = networkMailbox_, sensor = std::move(sensor),
                         connection = adapter_.currentSettings->connectionName,
                         then = std::move(then)] {
        const NetworkFingerprint seen = sensor->look(connection, kGatewayLimit);
        const std::lock_guard<std::mutex> hold(mailbox->lock);
        if (mailbox->frame == nullptr) {
            return;
        }
        // Queued to the frame, so it runs on its thread; dropped if the frame goes first.
        QMetaObject::invokeMethod(
            mailbox->frame,
            [mailbox, seen, then] {
                if (mailbox->frame != nullptr) {
                    then(*mailbox->frame, seen);
                }
            },
            Qt::QueuedConnection);
    });
}

}  // namespace quorrel
