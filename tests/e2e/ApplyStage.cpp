#include "tests/e2e/ApplyStage.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <QIcon>
#include <QItemSelectionModel>
#include <QTimer>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "adapters/ui/CAdapterSelectDlg.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "base/CommandIds.h"
#include "listview/ui/CTessupView.h"

namespace quorrel::test {

namespace {

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace

NamespaceEntry::NamespaceEntry(const std::string& name) {
    home_ = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    const int target = ::open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    const bool entered = home_ >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0;
    if (target >= 0) {
        ::close(target);
    }
    if (!entered) {
        if (home_ >= 0) {
            ::close(home_);
        }
        throw std::runtime_error("cannot enter network namespace " + name);
    }
}

NamespaceEntry::~NamespaceEntry() {
    // Back home before the namespace's processes are killed, or this one would be among them.
    if (::setns(home_, CLONE_NEWNET) != 0) {
        std::abort();
    }
    ::close(home_);
}

MessageResult StagePrompter::show(const Message& message) {
    messages.push_back(message);
    messageTimes.push_back(Clock::now());
    return message.buttons == MessageButtons::YesNo ? yesNoAnswer : MessageResult::Ok;
}

int StagePrompter::runModal(QDialog& dialog) {
    if (dynamic_cast<CApplyConfirmDlg*>(&dialog) != nullptr) {
        ++confirmations;
        confirmedAt = Clock::now();
        return QDialog::Accepted;
    }
    if (dynamic_cast<CApplyProgressDlg*>(&dialog) != nullptr) {
        // The dialog ends by itself when netsh is done; the guard only keeps a broken
        // network from holding the test for the dialog's full 100 seconds.
        QTimer::singleShot(30000, &dialog, [&dialog] { dialog.reject(); });
        return dialog.exec();
    }
    if (onOtherDialog) {
        return onOtherDialog(dialog);
    }
    return QDialog::Rejected;
}

std::string ApplyStage::unavailableReason() {
    if (std::string why = NetworkNamespace::unavailableReason(); !why.empty()) {
        return why;
    }
    return NetworkNamespace::dhcpServerUnavailableReason();
}

namespace {

// The system's sensor, counting the looks it has finished.
class CountedSensor final : public platform::NetworkSensor {
public:
    CountedSensor(std::unique_ptr<platform::NetworkSensor> inner,
                  std::shared_ptr<std::atomic<int>> finished)
        : inner_(std::move(inner)), finished_(std::move(finished)) {}
    platform::NetworkFingerprint look(const std::string& connectionName,
                                      std::chrono::milliseconds limit) override {
        const platform::NetworkFingerprint seen = inner_->look(connectionName, limit);
        ++*finished_;
        return seen;
    }

private:
    std::unique_ptr<platform::NetworkSensor> inner_;
    std::shared_ptr<std::atomic<int>> finished_;
};

}  // namespace

ApplyStage::ApplyStage(const std::string& netshPath, bool watchNetwork) {
    ns_ = std::make_unique<NetworkNamespace>();
    ns_->addVeth("lan0", "peer0");
    DhcpServerOptions dhcp;
    dhcp.serverAddress = "10.77.0.1/24";
    dhcp.rangeFirst = "10.77.0.50";
    dhcp.rangeLast = "10.77.0.60";
    dhcp.router = "10.77.0.1";
    dhcp.dnsServers = {"10.77.0.53", "10.77.0.54"};
    ns_->startDhcpServer("peer0", dhcp);

    // netsh, its DHCP client and the adapter inventory read these.
    setenv("QUORREL_NETSH", netshPath.c_str(), 1);
    setenv("QUORREL_NETSTATE_DIR", state_.path().c_str(), 1);
    setenv("QUORREL_RESOLV_CONF", ("/etc/netns/" + ns_->name() + "/resolv.conf").c_str(), 1);
    inside_ = std::make_unique<NamespaceEntry>(ns_->name());

    files_ = platform::makeSystemFileStore();
    codec_ = platform::makeCp949Codec();
    FrameServices services{prompter,         urls_,      *files_, *codec_, folder_.path(),
                           QSize(1024, 768), &registry_, nullptr, nullptr};
    if (watchNetwork) {
        services.networkSensor = [started = looksStarted_, finished = looksFinished_] {
            ++*started;
            return std::make_unique<CountedSensor>(platform::makeSystemNetworkSensor(), finished);
        };
        services.networkWatch = platform::watchSystemNetwork;
    }
    frame_ = std::make_unique<CMainFrame>(std::move(services));
    view_ = frame_->view();
}

ApplyStage::~ApplyStage() {
    frame_.reset();
    inside_.reset();
    unsetenv("QUORREL_NETSH");
    unsetenv("QUORREL_NETSTATE_DIR");
    unsetenv("QUORREL_RESOLV_CONF");
}

void ApplyStage::open(const std::vector<IpProfile>& profiles) {
    for (const IpProfile& profile : profiles) {
        frame_->profiles().profileList.append(profile);
    }
    frame_->OnInitialUpdate();
    prompter.messages.clear();
    prompter.messageTimes.clear();
}

void ApplyStage::apply(const std::string& name) {
    const std::string& wanted = name;
    for (int row = 0; row < view_->rowCount(); ++row) {
        if (view_->cellText(row, 0) == wanted) {
            view_->selectionModel()->select(
                view_->model()->index(row, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            frame_->runCommand(ID_PROFILE_APPLY);
            return;
        }
    }
    throw std::runtime_error("no row " + name);
}

std::string ApplyStage::addresses() const {
    std::string text;
    std::istringstream in(ns_->run({"ip", "-4", "-o", "addr", "show", "dev", "lan0"}).output);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            if (word == "inet" && words >> word) {
                text += (text.empty() ? "" : " ") + word;
            }
        }
    }
    return text;
}

std::string ApplyStage::defaultRoute() const {
    return trimmed(ns_->run({"ip", "-4", "route", "show", "default"}).output);
}

std::vector<std::string> ApplyStage::nameservers() const {
    std::vector<std::string> servers;
    std::istringstream in(ns_->resolvConf());
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string keyword, server;
        if (words >> keyword >> server && keyword == "nameserver") {
            servers.push_back(server);
        }
    }
    return servers;
}

bool ApplyStage::checked(const std::string& name) const {
    const std::string& wanted = name;
    for (int row = 0; row < view_->rowCount(); ++row) {
        if (view_->cellText(row, 0) == wanted) {
            const QVariant mark =
                view_->model()->data(view_->model()->index(row, 0), Qt::DecorationRole);
            return mark.isValid() && !mark.value<QIcon>().isNull();
        }
    }
    return false;
}

const AdapterInfo& ApplyStage::adapterRecord() const {
    const AdapterInventory& inventory = frame_->adapterSelectDlg().inventory();
    if (inventory.empty()) {
        throw std::runtime_error("no adapter in the inventory");
    }
    return inventory.records().front();
}

}  // namespace quorrel::test
