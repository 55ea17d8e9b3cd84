// Takes the pictures of the connection check after an apply from the real dialog,
// with a probe that answers as a network would: one with every check passed and
// the countdown running, one with a silent gateway and the offer to go back.
// scripts/screenshots.sh runs it (as docs/safety-*.png) with the README's pictures.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/ui/ProgramFonts.h"
#include "apply/ui/CApplyCheckDlg.h"

namespace quorrel {
namespace {

using Clock = ConnectionCheckServices::Clock;
using std::chrono::milliseconds;

// Answers at once but moves the clock by what a real answer takes.
class SampleProbe final : public platform::ConnectionProbe {
public:
    SampleProbe(Clock::time_point& now, bool gatewayAnswers)
        : now_(now), gatewayAnswers_(gatewayAnswers) {}

    platform::LinkReading readLink(const std::string&) override {
        platform::LinkReading r;
        r.found = true;
        r.up = true;
        r.addresses = {"192.168.0.10"};
        return r;
    }
    platform::ProbeAnswer askGateway(const std::string&, const std::string&,
                                     milliseconds limit) override {
        platform::ProbeAnswer a;
        if (gatewayAnswers_) {
            now_ += milliseconds(2);
            a.kind = platform::ProbeAnswer::Kind::Answered;
            a.method = "ARP";
        } else {
            now_ += limit;
            a.kind = platform::ProbeAnswer::Kind::NoAnswer;
        }
        return a;
    }
    platform::ProbeAnswer askDnsServer(const std::string&, milliseconds) override {
        now_ += milliseconds(3);
        platform::ProbeAnswer a;
        a.kind = platform::ProbeAnswer::Kind::Answered;
        a.method = "DNS";
        return a;
    }

private:
    Clock::time_point& now_;
    bool gatewayAnswers_;
};

bool grabDialog(bool gatewayAnswers, milliseconds waited, const QDir& folder, const char* name) {
    Clock::time_point now = Clock::now();
    ConnectionCheckServices services;
    services.probe = std::make_shared<SampleProbe>(now, gatewayAnswers);
    services.now = [&now] { return now; };
    // The questions wait here; the last asked runs first, so that the DNS server's quick
    // answer comes before the gateway's long silence, as on a network.
    std::vector<std::function<void()>> jobs;
    services.startJob = [&jobs](std::function<void()> job) { jobs.push_back(std::move(job)); };
    services.wake = [] {};

    IpProfile office;
    office.name = "사무실";
    office.ipAddress = "192.168.0.10";
    office.subnetMask = "255.255.255.0";
    office.gateway = "192.168.0.1";
    office.primaryDns = "192.168.0.53";
    CApplyCheckDlg dialog(office, "로컬 영역 연결", services, kWindowTrial);
    dialog.start();
    for (int i = 0; i < 10 && dialog.trial().phase() == ApplyTrial::Phase::Checking; ++i) {
        while (!jobs.empty()) {
            std::function<void()> job = std::move(jobs.back());
            jobs.pop_back();
            job();
        }
        dialog.poll();
    }
    now += waited;
    dialog.poll();
    dialog.show();
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromUtf8(name));
    if (!dialog.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace
}  // namespace quorrel

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: grab_safety_pictures <folder>\n");
        return 2;
    }
    quorrel::applyProgramFonts();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool ok =
        quorrel::grabDialog(true, std::chrono::seconds(4), folder, "safety-countdown.png") &&
        quorrel::grabDialog(false, std::chrono::seconds(2), folder, "safety-check-failed.png");
    return ok ? 0 : 1;
}
