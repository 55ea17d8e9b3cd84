#pragma once

#include <QDialog>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adapters/AdapterInfo.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/UrlOpener.h"
#include "base/ui/Prompter.h"
#include "platform/FileStore.h"
#include "platform/TextCodec.h"
#include "tests/support/MemoryRegistryStore.h"
#include "tests/support/TempFolder.h"
#include "tests/support/linux/NetworkNamespace.h"

namespace quorrel {

class CTessupView;

namespace test {

// The calling thread's network namespace becomes `name` until the object goes; threads and
// processes started meanwhile begin life in it.
class NamespaceEntry {
public:
    explicit NamespaceEntry(const std::string& name);
    ~NamespaceEntry();
    NamespaceEntry(const NamespaceEntry&) = delete;
    NamespaceEntry& operator=(const NamespaceEntry&) = delete;

private:
    int home_ = -1;
};

// Answers the frame's dialogs as a user who says yes, lets the progress dialog run for
// real, and notes when each message arrived.
class StagePrompter final : public Prompter {
public:
    using Clock = std::chrono::steady_clock;

    std::vector<Message> messages;
    std::vector<Clock::time_point> messageTimes;
    // When "예" was given to the last confirmation.
    Clock::time_point confirmedAt;
    int confirmations = 0;
    // The answer to a question (예 or 아니오).
    MessageResult yesNoAnswer = MessageResult::Yes;
    // Answers every other dialog (rejected when empty).
    std::function<int(QDialog&)> onOtherDialog;

    MessageResult show(const Message& message) override;
    int runModal(QDialog& dialog) override;
    std::optional<QString> chooseFolder(const QString&, const QString&) override {
        return std::nullopt;
    }
};

class NoUrls final : public UrlOpener {
public:
    void open(const std::string&) override {}
};

// The real main window with its list view and the system's adapters, started inside a
// network namespace of its own (the registry is an empty one in memory): "lan0" there is one end of
// a veth pair whose other end has a DHCP server (10.77.0.1/24, leases 10.77.0.50 to .60,
// router 10.77.0.1, DNS 10.77.0.53 and 10.77.0.54). Our netsh applies the lines; its state and the
// namespace's resolv.conf stay with the stage.
class ApplyStage {
public:
    // Empty when a stage can be built; otherwise why not.
    static std::string unavailableReason();

    // With `watchNetwork` the frame looks at the network behind "lan0" with the system's
    // sensor and watches it for moves, as the program does.
    explicit ApplyStage(const std::string& netshPath, bool watchNetwork = false);
    ~ApplyStage();

    // Appends the profiles to what the start-up took over and fills the list view.
    void open(const std::vector<IpProfile>& profiles);
    // Selects the row of `name` and gives the apply command.
    void apply(const std::string& name);

    std::string addresses() const;     // "10.77.0.20/24"
    std::string defaultRoute() const;  // "default via ... dev lan0 metric 1"
    std::vector<std::string> nameservers() const;
    bool checked(const std::string& name) const;
    const AdapterInfo& adapterRecord() const;

    // The frame's looks at the network: none is under way when both counts are equal.
    int looksStarted() const { return looksStarted_->load(); }
    int looksFinished() const { return looksFinished_->load(); }

    CMainFrame& frame() { return *frame_; }
    CTessupView& view() { return *view_; }
    NetworkNamespace& network() { return *ns_; }
    StagePrompter prompter;

private:
    TempFolder folder_;
    TempFolder state_;
    std::unique_ptr<NetworkNamespace> ns_;
    std::unique_ptr<NamespaceEntry> inside_;
    NoUrls urls_;
    std::unique_ptr<platform::FileStore> files_;
    std::unique_ptr<platform::TextCodec> codec_;
    MemoryRegistryStore registry_;
    std::shared_ptr<std::atomic<int>> looksStarted_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> looksFinished_ = std::make_shared<std::atomic<int>>(0);
    std::unique_ptr<CMainFrame> frame_;
    CTessupView* view_ = nullptr;
};

}  // namespace test
}  // namespace quorrel
