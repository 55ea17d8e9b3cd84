#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "apply/ApplyPlan.h"
#include "apply/ui/CApplyConfirmDlg.h"
#include "apply/ui/CApplyProgressDlg.h"
#include "listview/ProfileRows.h"
#include "resources/ApplyTexts.h"
#include "tests/core/FakeProcessRunner.h"
#include "tests/support/WaitUntil.h"
#include "tests/ui/EventLoopWait.h"
#include "tests/ui/RecordingPrompter.h"

namespace quorrel {
namespace {

QString q(const char* text) {
    return QString::fromUtf8(text);
}

// Ticks only when the test says so.
struct HandTimer final : ProgressTimer {
    void start(int id, int period) override {
        startedId = id;
        periodMs = period;
        running = true;
    }
    void stop(int id) override {
        if (id == startedId) {
            running = false;
        }
    }
    int startedId = 0;
    int periodMs = 0;
    bool running = false;
};

const ApplyPlan kPlan{"netsh.exe address", "netsh.exe dns", ""};

class ApplyProgressDialog : public ::testing::Test {
protected:
    std::unique_ptr<CApplyProgressDlg> makeDialog(ApplyPlan plan = kPlan) {
        CommandThreadServices services;
        services.runner = runner;
        return std::make_unique<CApplyProgressDlg>(plan, services, nullptr, &timer);
    }

    // Waits until the worker (on its own thread) has finished, then gives the dialog the
    // tick that finds it so.
    static void tickOnceFinished(CApplyProgressDlg& dialog) {
        EXPECT_TRUE(test::waitUntil([&] { return !dialog.workerRunning(); }));
        dialog.OnTimer(ProgressTicker::kTimerId);
    }
    // The worker is gone once the test holds the only reference to the runner.
    bool workerGone() {
        return test::waitUntil([&] { return runner.use_count() == 1; });
    }

    std::shared_ptr<test::FakeProcessRunner> runner = std::make_shared<test::FakeProcessRunner>();
    HandTimer timer;
};

TEST_F(ApplyProgressDialog, OpensWithItsTextsAndStartsWorkerAndTimerOnlyWhenShown) {
    auto dialog = makeDialog();
    EXPECT_EQ(dialog->windowTitle(), q(texts::kProgressCaption));
    QStringList shown;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        shown << label->text();
    }
    for (const char* line : {texts::kProgressLine1, texts::kProgressLine2, texts::kProgressLine3,
                             texts::kProgressLine4}) {
        EXPECT_TRUE(shown.contains(q(line))) << line;
    }
    EXPECT_EQ(dialog->doneButton()->text(), q(texts::kProgressDone));
    EXPECT_EQ(dialog->stopButton()->text(), q(texts::kProgressStop));
    EXPECT_EQ(dialog->currentBitmap(), 168);
    EXPECT_FALSE(dialog->picture()->pixmap().isNull());
    EXPECT_FALSE(timer.running);
    EXPECT_TRUE(runner->started().empty());

    runner->hold(kPlan.addressLine);
    dialog->show();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.startedId, 1125);
    EXPECT_EQ(timer.periodMs, 200);
    ASSERT_TRUE(runner->awaitStarted(1));
    EXPECT_FALSE(dialog->doneButton()->isVisible());
    EXPECT_TRUE(dialog->stopButton()->isVisible());
    dialog->show();  // showing it again starts nothing more
    runner->release(kPlan.addressLine);
    tickOnceFinished(*dialog);
    EXPECT_EQ(runner->started(), (std::vector<std::string>{kPlan.addressLine, kPlan.dnsLine}));
}

TEST_F(ApplyProgressDialog, AWorkerDoneBeforeTheFirstTickEndsItAcceptedWithoutAnimating) {
    auto dialog = makeDialog();
    dialog->show();
    // The worker finishes right after its last line; the first tick finds it finished.
    tickOnceFinished(*dialog);
    ASSERT_TRUE(dialog->outcome());
    EXPECT_EQ(*dialog->outcome(), ApplyOutcome::Succeeded);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(dialog->currentBitmap(), 168);
}

TEST_F(ApplyProgressDialog, AFailingLineStillEndsAcceptedButNotAsSuccess) {
    runner->answer(kPlan.dnsLine, platform::ProcessOutcome::exited(1));
    auto dialog = makeDialog();
    dialog->show();
    tickOnceFinished(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->outcome(), ApplyOutcome::Failed);
}

TEST_F(ApplyProgressDialog, PicturesTurnEachTickAndGiveUpOnTheTick501StillRunning) {
    runner->hold(kPlan.addressLine);
    auto dialog = makeDialog();
    dialog->show();
    ASSERT_TRUE(runner->awaitStarted(1));
    dialog->OnTimer(999);  // another timer
    EXPECT_EQ(dialog->currentBitmap(), 168);
    std::vector<int> pictures;
    for (int tick = 1; tick <= 16; ++tick) {
        dialog->OnTimer(ProgressTicker::kTimerId);
        pictures.push_back(dialog->currentBitmap());
    }
    EXPECT_EQ(pictures[0], 169);
    EXPECT_EQ(pictures[13], 182);
    EXPECT_EQ(pictures[14], 168);
    EXPECT_EQ(pictures[15], 169);
    for (int tick = 17; tick <= 500; ++tick) {
        dialog->OnTimer(ProgressTicker::kTimerId);
    }
    EXPECT_FALSE(dialog->outcome());
    EXPECT_TRUE(dialog->isVisible());

    dialog->OnTimer(ProgressTicker::kTimerId);  // 501
    EXPECT_EQ(dialog->outcome(), ApplyOutcome::Cancelled);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());

    // The line that was running ends on its own; nothing after it starts.
    runner->release(kPlan.addressLine);
    EXPECT_TRUE(workerGone());
    EXPECT_EQ(runner->started(), std::vector<std::string>{kPlan.addressLine});
}

TEST_F(ApplyProgressDialog, AWorkerThatFinishesBeforeTick501EndsItAccepted) {
    runner->hold(kPlan.addressLine);
    auto dialog = makeDialog();
    dialog->show();
    ASSERT_TRUE(runner->awaitStarted(1));
    for (int tick = 1; tick <= 500; ++tick) {
        dialog->OnTimer(ProgressTicker::kTimerId);
    }
    runner->release(kPlan.addressLine);
    tickOnceFinished(*dialog);  // 501
    EXPECT_EQ(dialog->outcome(), ApplyOutcome::Succeeded);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ApplyProgressDialog, StopButtonEscapeAndCloseBoxEachGiveTheWorkerUp) {
    const std::vector<std::function<void(CApplyProgressDlg&)>> stops = {
        [](CApplyProgressDlg& d) { QTest::mouseClick(d.stopButton(), Qt::LeftButton); },
        [](CApplyProgressDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](CApplyProgressDlg& d) { d.close(); },
    };
    for (std::size_t i = 0; i < stops.size(); ++i) {
        SCOPED_TRACE(i);
        runner = std::make_shared<test::FakeProcessRunner>();
        runner->hold(kPlan.addressLine);
        auto dialog = makeDialog();
        dialog->show();
        ASSERT_TRUE(runner->awaitStarted(1));
        dialog->OnTimer(ProgressTicker::kTimerId);
        stops[i](*dialog);
        EXPECT_EQ(dialog->outcome(), ApplyOutcome::Cancelled);
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_FALSE(dialog->isVisible());
        dialog->OnTimer(ProgressTicker::kTimerId);  // a tick still queued changes nothing
        EXPECT_EQ(dialog->outcome(), ApplyOutcome::Cancelled);
        EXPECT_EQ(dialog->currentBitmap(), 169);

        runner->release(kPlan.addressLine);
        EXPECT_TRUE(workerGone());
        EXPECT_EQ(runner->started(), std::vector<std::string>{kPlan.addressLine});
    }
}

TEST_F(ApplyProgressDialog, EnterDoesNotEndItAsFinished) {
    runner->hold(kPlan.addressLine);
    auto dialog = makeDialog();
    dialog->show();
    ASSERT_TRUE(runner->awaitStarted(1));
    dialog->accept();
    EXPECT_FALSE(dialog->outcome());
    EXPECT_TRUE(dialog->isVisible());
    runner->release(kPlan.addressLine);
    tickOnceFinished(*dialog);
    EXPECT_EQ(dialog->outcome(), ApplyOutcome::Succeeded);
}

TEST(ApplyProgressDialogRun, ItsOwnTimerEndsARunModallyAndWorkerBoxesAppearMeanwhile) {
    auto runner = std::make_shared<test::FakeProcessRunner>();
    runner->answer(kPlan.addressLine, platform::ProcessOutcome::waitFailed("lost"));
    test::RecordingPrompter prompter;
    CommandThreadServices services;
    services.runner = runner;
    services.presenter = std::shared_ptr<MessagePresenter>(&prompter, [](MessagePresenter*) {});
    services.postToUi = [](std::function<void()> call) {
        QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
    };
    CApplyProgressDlg dialog(kPlan, services);
    // A guard: the test never hangs in the dialog's loop. It would end the dialog rejected.
    QTimer::singleShot(test::kPatience, &dialog, [&dialog] { dialog.reject(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.outcome(), ApplyOutcome::Failed);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, texts::kAddressFailed);
    EXPECT_EQ(prompter.boxesClosedByOwner, 0);
}

TEST(ApplyProgressDialogRun, AWorkerBoxStillOpenAtTheStopGoesWithTheDialog) {
    auto runner = std::make_shared<test::FakeProcessRunner>();
    runner->answer(kPlan.addressLine, platform::ProcessOutcome::waitFailed("lost"));
    test::RecordingPrompter prompter;
    CommandThreadServices services;
    services.runner = runner;
    services.presenter = std::shared_ptr<MessagePresenter>(&prompter, [](MessagePresenter*) {});
    services.postToUi = [](std::function<void()> call) {
        QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
    };
    CApplyProgressDlg dialog(kPlan, std::move(services));
    // The user presses 중단 while the worker's box is open.
    prompter.whileBoxOpen = [&dialog] { dialog.stopButton()->click(); };
    QTimer::singleShot(test::kPatience, &dialog, [&dialog] { dialog.reject(); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.outcome(), ApplyOutcome::Cancelled);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.boxesClosedByOwner, 1);
    EXPECT_TRUE(test::waitUntil([&] { return runner.use_count() == 1; }));
    EXPECT_EQ(runner->started(), std::vector<std::string>{kPlan.addressLine});
}

ConfirmationTexts rowTexts(const IpProfile& profile, const std::string& adapter) {
    const ProfileRow row = makeProfileRow(profile);
    return makeConfirmationTexts(adapter, row.cells[1], row.cells[2], row.cells[3]);
}

TEST(ApplyConfirmDialog, ShowsAdapterAndAddressesReadOnlyInTheValueFont) {
    IpProfile fixed;
    fixed.ipAddress = "192.168.10.20";
    fixed.subnetMask = "255.255.255.0";
    fixed.gateway = "192.168.10.1";
    CApplyConfirmDlg dialog(rowTexts(fixed, "로컬 영역 연결 2"));
    EXPECT_EQ(dialog.windowTitle(), q(texts::kConfirmCaption));
    EXPECT_EQ(dialog.adapterName()->text(), q("로컬 영역 연결 2"));
    EXPECT_TRUE(dialog.adapterName()->isReadOnly());
    EXPECT_EQ(dialog.ipText()->text(), "192.168.10.20");
    EXPECT_EQ(dialog.maskText()->text(), "255.255.255.0");
    EXPECT_EQ(dialog.gatewayText()->text(), "192.168.10.1");
    EXPECT_EQ(dialog.yesButton()->text(), q(texts::kConfirmYes));
    EXPECT_EQ(dialog.noButton()->text(), q(texts::kConfirmNo));
    EXPECT_TRUE(dialog.yesButton()->isDefault());
    EXPECT_EQ(dialog.valueFont().pixelSize(), 12);
    EXPECT_EQ(dialog.ipText()->font(), dialog.valueFont());
    EXPECT_EQ(dialog.adapterName()->font(), dialog.valueFont());

    QStringList shown;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        shown << label->text();
    }
    for (const char* text :
         {texts::kConfirmLine1, texts::kConfirmLine2, texts::kConfirmAdapterLabel,
          texts::kConfirmIpLabel, texts::kConfirmMaskLabel, texts::kConfirmGatewayLabel}) {
        EXPECT_TRUE(shown.contains(q(text))) << text;
    }
}

TEST(ApplyConfirmDialog, ADhcpProfileReadsDhcpEvenWithStoredAddresses) {
    IpProfile dhcp;
    dhcp.useDhcp = 1;
    dhcp.ipAddress = "10.0.0.5";
    dhcp.subnetMask = "255.0.0.0";
    CApplyConfirmDlg dialog(rowTexts(dhcp, "eth0"));
    EXPECT_EQ(dialog.ipText()->text(), "DHCP");
    EXPECT_EQ(dialog.maskText()->text(), "DHCP");
    EXPECT_EQ(dialog.gatewayText()->text(), "DHCP");
}

TEST(ApplyConfirmDialog, OnlyYesAccepts) {
    const ConfirmationTexts texts{"eth0", "DHCP", "DHCP", "DHCP"};
    const std::vector<std::pair<const char*, std::function<void(CApplyConfirmDlg&)>>> ways = {
        {"yes", [](CApplyConfirmDlg& d) { QTest::mouseClick(d.yesButton(), Qt::LeftButton); }},
        {"enter", [](CApplyConfirmDlg& d) { QTest::keyClick(&d, Qt::Key_Return); }},
        {"no", [](CApplyConfirmDlg& d) { QTest::mouseClick(d.noButton(), Qt::LeftButton); }},
        {"escape", [](CApplyConfirmDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", [](CApplyConfirmDlg& d) { d.close(); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        CApplyConfirmDlg dialog(texts);
        dialog.show();
        way(dialog);
        EXPECT_FALSE(dialog.isVisible());
        const bool yes = std::string(name) == "yes" || std::string(name) == "enter";
        EXPECT_EQ(dialog.result(), yes ? QDialog::Accepted : QDialog::Rejected);
    }
}

}  // namespace
}  // namespace quorrel
