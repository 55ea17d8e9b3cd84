#include "apply/ConnectionChecks.h"

#include <algorithm>
#include <deque>
#include <mutex>

#include "apply/DetachedThread.h"
#include "base/TextFormat.h"
#include "resources/SafetyTexts.h"

namespace quorrel {

using platform::LinkReading;
using platform::ProbeAnswer;
using std::chrono::milliseconds;

namespace {

// A DNS text of a profile that names no server.
constexpr const char* kUnsetDns = "0.0.0.0";

std::size_t slot(CheckKind kind) {
    return static_cast<std::size_t>(kind);
}

const char* markOf(CheckVerdict verdict) {
    switch (verdict) {
        case CheckVerdict::Passed:
            return texts::kCheckPassedMark;
        case CheckVerdict::Failed:
            return texts::kCheckFailedMark;
        case CheckVerdict::Skipped:
            return texts::kCheckSkippedMark;
        case CheckVerdict::Running:
            break;
    }
    return texts::kCheckRunningMark;
}

bool carries(const LinkReading& reading, const std::string& address) {
    return std::find(reading.addresses.begin(), reading.addresses.end(), address) !=
           reading.addresses.end();
}

bool namesServer(const std::string& text) {
    return !text.empty() && text != kUnsetDns;
}

}  // namespace

std::string durationText(milliseconds duration) {
    const long long ms = std::max<long long>(0, duration.count());
    if (ms < 1000) {
        return fillFormat(texts::kMillisecondsFormat, {std::to_string(ms)});
    }
    // Tenths of a second, rounded: 1850 ms reads "1.9초".
    const long long tenths = (ms + 50) / 100;
    return fillFormat(texts::kSecondsFormat,
                      {std::to_string(tenths / 10) + "." + std::to_string(tenths % 10)});
}

struct ConnectionChecks::Arrival {
    CheckKind kind = CheckKind::Link;
    LinkReading reading;
    ProbeAnswer answer;
    Clock::time_point at{};
};

// Where the questions leave their results; shared with them, so that a question that
// outlives the checks still has a place to put its result.
struct ConnectionChecks::Inbox {
    std::mutex mutex;
    std::deque<Arrival> arrivals;

    void put(Arrival arrival) {
        const std::lock_guard lock(mutex);
        arrivals.push_back(std::move(arrival));
    }
    std::deque<Arrival> takeAll() {
        const std::lock_guard lock(mutex);
        std::deque<Arrival> taken;
        taken.swap(arrivals);
        return taken;
    }
};

ConnectionChecks::ConnectionChecks(IpProfile wanted, std::string connectionName,
                                   ConnectionCheckServices services, CheckTimings timings)
    : wanted_(std::move(wanted)),
      connectionName_(std::move(connectionName)),
      services_(std::move(services)),
      timings_(timings),
      inbox_(std::make_shared<Inbox>()) {
    if (!services_.now) {
        services_.now = [] { return Clock::now(); };
    }
    lines_ = {
        {CheckKind::Link, CheckVerdict::Running,
         markOf(CheckVerdict::Running) + fillFormat(texts::kLinkRunningFormat, {connectionName_})},
        {CheckKind::Gateway, CheckVerdict::Running,
         std::string(markOf(CheckVerdict::Running)) + texts::kGatewayWaitingText},
        {CheckKind::Dns, CheckVerdict::Running,
         std::string(markOf(CheckVerdict::Running)) + texts::kDnsWaitingText},
    };
}

ConnectionChecks::~ConnectionChecks() = default;

ConnectionChecks::Clock::time_point ConnectionChecks::now() const {
    return services_.now();
}

void ConnectionChecks::run(std::function<void()> job) {
    if (services_.startJob) {
        services_.startJob(std::move(job));
    } else if (!startDetachedThread(job)) {
        job();  // no thread to be had: ask here, within the question's own time limit
    }
}

void ConnectionChecks::start() {
    if (started_) {
        return;
    }
    started_ = true;
    startedAt_ = now();
    if (!services_.probe) {
        // Nothing to ask with: every check ends at once as one that could not be made.
        setLine(CheckKind::Link, CheckVerdict::Skipped,
                fillFormat(texts::kLinkUnreadFormat, {connectionName_}));
        setLine(CheckKind::Gateway, CheckVerdict::Skipped, texts::kGatewayNoneText);
        setLine(CheckKind::Dns, CheckVerdict::Skipped, texts::kDnsNoneText);
        return;
    }
    readLink();
}

void ConnectionChecks::readLink() {
    readingOut_ = true;
    run([probe = services_.probe, name = connectionName_, inbox = inbox_, now = services_.now,
         wake = services_.wake] {
        Arrival arrival;
        arrival.kind = CheckKind::Link;
        arrival.reading = probe->readLink(name);
        arrival.at = now();
        inbox->put(std::move(arrival));
        if (wake) {
            wake();
        }
    });
}

bool ConnectionChecks::poll() {
    changed_ = false;
    if (!started_ || finished()) {
        return false;
    }
    for (Arrival& arrival : inbox_->takeAll()) {
        if (arrival.kind == CheckKind::Link) {
            readingOut_ = false;
            if (lines_[slot(CheckKind::Link)].verdict == CheckVerdict::Running) {
                const bool timeUp = arrival.at >= startedAt_ + timings_.linkLimit;
                takeLink(arrival.reading, timeUp);
                nextReadAt_ = arrival.at + timings_.linkPeriod;
            }
        } else {
            takeAnswer(arrival.kind, arrival.answer,
                       std::chrono::duration_cast<milliseconds>(arrival.at - peersAskedAt_));
        }
    }

    const Clock::time_point at = now();
    CheckLine& link = lines_[slot(CheckKind::Link)];
    if (link.verdict == CheckVerdict::Running) {
        if (at >= startedAt_ + timings_.linkLimit) {
            // Time is up: the last reading decides; without one, the link stays unknown.
            if (lastReading_) {
                const LinkReading last = *lastReading_;
                takeLink(last, true);
            } else {
                setLine(CheckKind::Link, CheckVerdict::Failed,
                        fillFormat(texts::kLinkUnreadFormat, {connectionName_}));
                askPeers(LinkReading{});
            }
        } else if (!readingOut_ && at >= nextReadAt_) {
            readLink();
        }
    }

    // A question that has not answered by the end of the whole time has failed.
    if (at >= startedAt_ + timings_.wholeLimit) {
        const std::string waited =
            durationText(std::chrono::duration_cast<milliseconds>(at - peersAskedAt_));
        if (lines_[slot(CheckKind::Gateway)].verdict == CheckVerdict::Running &&
            !gatewayTarget_.empty()) {
            setLine(CheckKind::Gateway, CheckVerdict::Failed,
                    fillFormat(texts::kGatewayNoAnswerFormat, {gatewayTarget_, waited}));
        }
        if (lines_[slot(CheckKind::Dns)].verdict == CheckVerdict::Running && !dnsTarget_.empty()) {
            setLine(CheckKind::Dns, CheckVerdict::Failed,
                    fillFormat(texts::kDnsNoAnswerFormat, {dnsTarget_, waited}));
        }
    }
    return changed_;
}

void ConnectionChecks::takeLink(const LinkReading& reading, bool final) {
    lastReading_ = reading;
    const bool dhcp = wanted_.useDhcp == 1;
    const bool hasAddress = dhcp ? !reading.addresses.empty() : carries(reading, wanted_.ipAddress);
    if (reading.found && reading.up && hasAddress) {
        const std::string& shown = dhcp ? reading.addresses.front() : wanted_.ipAddress;
        setLine(CheckKind::Link, CheckVerdict::Passed,
                fillFormat(texts::kLinkPassedFormat, {connectionName_, shown}));
        askPeers(reading);
        return;
    }
    if (!final) {
        return;  // read again a little later
    }
    std::string text;
    if (!reading.found) {
        text = fillFormat(texts::kLinkMissingFormat, {connectionName_});
    } else if (!reading.up) {
        text = fillFormat(texts::kLinkDownFormat, {connectionName_});
    } else if (dhcp) {
        text = fillFormat(texts::kLinkWithoutLeaseFormat, {connectionName_});
    } else {
        text = fillFormat(texts::kLinkWithoutAddressFormat, {connectionName_, wanted_.ipAddress});
    }
    setLine(CheckKind::Link, CheckVerdict::Failed, std::move(text));
    askPeers(reading);
}

void ConnectionChecks::askPeers(const LinkReading& reading) {
    // The gateway and the DNS server the profile names; what the adapter obtained where
    // the profile leaves them to DHCP.
    peersAskedAt_ = now();
    gatewayTarget_ = wanted_.useDhcp == 1 ? reading.gateway : wanted_.gateway;
    dnsTarget_.clear();
    if (wanted_.dnsAuto != 1) {
        if (namesServer(wanted_.primaryDns)) {
            dnsTarget_ = wanted_.primaryDns;
        } else if (namesServer(wanted_.secondaryDns)) {
            dnsTarget_ = wanted_.secondaryDns;
        }
    } else if (!reading.dnsServers.empty()) {
        dnsTarget_ = reading.dnsServers.front();
    }

    if (gatewayTarget_.empty()) {
        setLine(CheckKind::Gateway, CheckVerdict::Skipped, texts::kGatewayNoneText);
    } else {
        setLine(CheckKind::Gateway, CheckVerdict::Running,
                fillFormat(texts::kGatewayRunningFormat, {gatewayTarget_}));
        ask(CheckKind::Gateway, gatewayTarget_);
    }
    if (dnsTarget_.empty()) {
        setLine(CheckKind::Dns, CheckVerdict::Skipped, texts::kDnsNoneText);
    } else {
        setLine(CheckKind::Dns, CheckVerdict::Running,
                fillFormat(texts::kDnsRunningFormat, {dnsTarget_}));
        ask(CheckKind::Dns, dnsTarget_);
    }
}

void ConnectionChecks::ask(CheckKind kind, const std::string& target) {
    const auto left = std::chrono::duration_cast<milliseconds>(startedAt_ + timings_.wholeLimit -
                                                               now() - timings_.answerMargin);
    const milliseconds limit = std::max(left, milliseconds::zero());
    run([kind, target, limit, probe = services_.probe, name = connectionName_, inbox = inbox_,
         now = services_.now, wake = services_.wake] {
        Arrival arrival;
        arrival.kind = kind;
        arrival.answer = kind == CheckKind::Gateway ? probe->askGateway(name, target, limit)
                                                    : probe->askDnsServer(target, limit);
        arrival.at = now();
        inbox->put(std::move(arrival));
        if (wake) {
            wake();
        }
    });
}

void ConnectionChecks::takeAnswer(CheckKind kind, const ProbeAnswer& answer, milliseconds took) {
    if (lines_[slot(kind)].verdict != CheckVerdict::Running) {
        return;  // decided by the time limit already
    }
    const bool gateway = kind == CheckKind::Gateway;
    const std::string& target = gateway ? gatewayTarget_ : dnsTarget_;
    switch (answer.kind) {
        case ProbeAnswer::Kind::Answered:
            setLine(kind, CheckVerdict::Passed,
                    gateway ? fillFormat(texts::kGatewayAnsweredFormat,
                                         {target, answer.method, durationText(took)})
                            : fillFormat(texts::kDnsAnsweredFormat, {target, durationText(took)}));
            return;
        case ProbeAnswer::Kind::NoAnswer:
            if (!gateway && answer.detail == "refused") {
                setLine(kind, CheckVerdict::Failed, fillFormat(texts::kDnsRefusedFormat, {target}));
                return;
            }
            setLine(kind, CheckVerdict::Failed,
                    fillFormat(gateway ? texts::kGatewayNoAnswerFormat : texts::kDnsNoAnswerFormat,
                               {target, durationText(took)}));
            return;
        case ProbeAnswer::Kind::NotPossible:
            setLine(kind, CheckVerdict::Skipped,
                    fillFormat(gateway ? texts::kGatewayUnknownFormat : texts::kDnsUnknownFormat,
                               {target}));
            return;
    }
}

void ConnectionChecks::setLine(CheckKind kind, CheckVerdict verdict, std::string text) {
    CheckLine& line = lines_[slot(kind)];
    std::string full = markOf(verdict) + text;
    if (line.verdict == verdict && line.text == full) {
        return;
    }
    line.verdict = verdict;
    line.text = std::move(full);
    changed_ = true;
    if (finished() && !finishedAt_) {
        finishedAt_ = now();
    }
}

bool ConnectionChecks::finished() const {
    return started_ && std::none_of(lines_.begin(), lines_.end(), [](const CheckLine& line) {
               return line.verdict == CheckVerdict::Running;
           });
}

bool ConnectionChecks::allPassed() const {
    return finished() && std::none_of(lines_.begin(), lines_.end(), [](const CheckLine& line) {
               return line.verdict == CheckVerdict::Failed;
           });
}

milliseconds ConnectionChecks::elapsed() const {
    if (!started_) {
        return milliseconds::zero();
    }
    return std::chrono::duration_cast<milliseconds>(finishedAt_.value_or(now()) - startedAt_);
}

}  // namespace quorrel
