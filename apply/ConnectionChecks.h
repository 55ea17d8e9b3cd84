#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ConnectionProbe.h"
#include "profiles/IpProfile.h"

namespace quorrel {

// The checks that tell, right after an apply, whether the network works with the new
// settings: the link carries the wanted address, the default gateway answers, the first DNS
// server answers. Each ends in a verdict and one line of text for the user.

enum class CheckKind { Link, Gateway, Dns };
enum class CheckVerdict {
    Running,
    Passed,
    Failed,
    Skipped,  // nothing to check (no gateway, no DNS server), or the question cannot be asked
};

struct CheckLine {
    CheckKind kind = CheckKind::Link;
    CheckVerdict verdict = CheckVerdict::Running;
    std::string text;  // the verdict's mark and the finding, in Korean

    bool operator==(const CheckLine&) const = default;
};

// The time limits, all counted from the start. The link is read again every `linkPeriod`
// until it carries the address or `linkLimit` has passed; the gateway and the DNS server
// are asked as soon as the link check has ended, and must have answered by `wholeLimit`.
// So the whole set takes at most `wholeLimit`, and far less when everything answers at
// once.
struct CheckTimings {
    std::chrono::milliseconds linkLimit{1000};
    std::chrono::milliseconds linkPeriod{50};
    std::chrono::milliseconds wholeLimit{2900};
    // What a question is given less than the time left, so that its own answer, even "no
    // answer", arrives before the limit.
    std::chrono::milliseconds answerMargin{100};
};

// What the checks use of the rest of the program; every member but `probe` may be empty.
struct ConnectionCheckServices {
    using Clock = std::chrono::steady_clock;

    std::shared_ptr<platform::ConnectionProbe> probe;
    // The owner's clock; the steady clock when empty (tests drive a clock of their own).
    std::function<Clock::time_point()> now;
    // Runs a question away from the owner's thread; a detached thread when empty. The
    // question may outlive the checks: it then leaves its result to nobody.
    std::function<void(std::function<void()>)> startJob;
    // Called from the question's thread once it has left a result, so that the owner may
    // poll() without waiting for its next tick.
    std::function<void()> wake;
};

// Runs the checks for `wanted` (the profile just applied) on the adapter `connectionName`.
// The owner calls poll() now and then (every 50 ms or so, and after wake()), on one thread;
// the questions run elsewhere and never block it. Discarding the object gives up the
// questions still out.
class ConnectionChecks {
public:
    using Clock = ConnectionCheckServices::Clock;

    ConnectionChecks(IpProfile wanted, std::string connectionName, ConnectionCheckServices services,
                     CheckTimings timings = {});
    ~ConnectionChecks();
    ConnectionChecks(const ConnectionChecks&) = delete;
    ConnectionChecks& operator=(const ConnectionChecks&) = delete;

    // Starts the link check; the lines read "[확인 중] ..." until their verdicts come.
    void start();

    // Takes the answers that have arrived and applies the time limits. True when a line
    // changed.
    bool poll();

    bool finished() const;
    // Finished, and no check failed (skipped ones do not count against).
    bool allPassed() const;
    // Link, gateway and DNS, in this order.
    const std::vector<CheckLine>& lines() const { return lines_; }
    // From start() to the last verdict (or to now, while running).
    std::chrono::milliseconds elapsed() const;

private:
    struct Inbox;
    struct Arrival;

    Clock::time_point now() const;
    void readLink();
    void takeLink(const platform::LinkReading& reading, bool final);
    void askPeers(const platform::LinkReading& reading);
    void ask(CheckKind kind, const std::string& target);
    void takeAnswer(CheckKind kind, const platform::ProbeAnswer& answer,
                    std::chrono::milliseconds took);
    void setLine(CheckKind kind, CheckVerdict verdict, std::string text);
    void run(std::function<void()> job);

    IpProfile wanted_;
    std::string connectionName_;
    ConnectionCheckServices services_;
    CheckTimings timings_;
    std::shared_ptr<Inbox> inbox_;

    std::vector<CheckLine> lines_;
    bool started_ = false;
    bool changed_ = false;
    Clock::time_point startedAt_{};
    std::optional<Clock::time_point> finishedAt_;
    // The link check: a reading out, and when to read again.
    bool readingOut_ = false;
    Clock::time_point nextReadAt_{};
    std::optional<platform::LinkReading> lastReading_;
    // What the gateway and DNS checks ask, and since when.
    Clock::time_point peersAskedAt_{};
    std::string gatewayTarget_;
    std::string dnsTarget_;
};

// "35ms" below a second, "1.8초" from a second on.
std::string durationText(std::chrono::milliseconds duration);

}  // namespace quorrel
