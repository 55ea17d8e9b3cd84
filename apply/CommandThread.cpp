#include "apply/CommandThread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "apply/DetachedThread.h"
#include "resources/ApplyTexts.h"

namespace quorrel {

using platform::ProcessOutcome;

struct CCommandThread::State {
    ApplyPlan plan;
    CommandThreadServices services;
    std::shared_ptr<WorkerMessageGate> gate;

    std::atomic<bool> running{true};
    // Told when `running` turns false.
    mutable std::mutex endMutex;
    mutable std::condition_variable ended;
    std::atomic<bool> succeeded{false};
    std::atomic<bool> cancelled{false};
    // Written by the worker only, read once `running` is false.
    std::string details;

    void run();
    void finish(bool ok) {
        succeeded.store(ok && !cancelled.load(), std::memory_order_relaxed);
        {
            const std::lock_guard lock(endMutex);
            running.store(false, std::memory_order_release);
        }
        ended.notify_all();
    }
    void trace(const std::string& text) const {
        if (services.trace) {
            services.trace(text);
        }
    }
    void debugOutput(const std::string& text) const {
        if (services.debugOutput) {
            services.debugOutput(text);
        }
    }
    void box(const char* text) const {
        if (!cancelled.load()) {
            gate->show(standardMessage(text));
        }
    }
    // Traces and runs one line, unless the owner has given up. Nothing: given up.
    bool start(const std::string& line, ProcessOutcome& outcome) {
        if (cancelled.load()) {
            return false;
        }
        trace(line);
        outcome = services.runner->runAndWait(line);
        if (!outcome.reason.empty()) {
            trace(outcome.reason);
        } else if (outcome.kind == ProcessOutcome::Kind::Exited && outcome.exitCode != 0) {
            trace("exit code " + std::to_string(outcome.exitCode));
        }
        if (!outcome.errorText.empty()) {
            trace(outcome.errorText);
            if (!outcome.succeeded()) {
                details += (details.empty() ? "" : "\n") + outcome.errorText;
            }
        }
        return true;
    }
};

void CCommandThread::State::run() {
    using Kind = ProcessOutcome::Kind;
    ProcessOutcome outcome;

    if (!start(plan.addressLine, outcome)) {
        return finish(false);
    }
    if (outcome.kind == Kind::NotStarted) {
        debugOutput(texts::kAddressStartFailedDebug);
        return finish(false);
    }
    if (outcome.kind == Kind::WaitFailed) {
        box(texts::kAddressFailed);
        return finish(false);
    }
    bool allZero = outcome.exitCode == 0;

    if (!plan.dnsLine.empty()) {
        if (!start(plan.dnsLine, outcome)) {
            return finish(false);
        }
        if (outcome.kind != Kind::Exited) {
            box(texts::kDnsFailed);
            return finish(false);
        }
        allZero = allZero && outcome.exitCode == 0;
    }

    if (!plan.secondDnsLine.empty()) {
        if (!start(plan.secondDnsLine, outcome)) {
            return finish(false);
        }
        if (outcome.kind == Kind::NotStarted) {
            return finish(false);
        }
        if (outcome.kind == Kind::WaitFailed) {
            box(texts::kDnsFailed);
            return finish(false);
        }
        allZero = allZero && outcome.exitCode == 0;
    }
    finish(allZero);
}

CCommandThread::CCommandThread(ApplyPlan plan, CommandThreadServices services)
    : state_(std::make_shared<State>()) {
    state_->plan = std::move(plan);
    state_->gate = std::make_shared<WorkerMessageGate>(services.presenter, services.postToUi);
    state_->services = std::move(services);
    if (!state_->services.runner) {
        state_->finish(false);
        return;
    }
    if (!startDetachedThread([state = state_] { state->run(); })) {
        state_->finish(false);
    }
}

CCommandThread::~CCommandThread() {
    cancel();
    state_->debugOutput(texts::kWorkerEndedDebug);
}

bool CCommandThread::running() const {
    return state_->running.load(std::memory_order_acquire);
}

bool CCommandThread::waitUntilEnded(std::chrono::steady_clock::time_point deadline) const {
    std::unique_lock lock(state_->endMutex);
    return state_->ended.wait_until(lock, deadline, [this] { return !running(); });
}

std::string CCommandThread::failureDetails() const {
    return running() ? std::string() : state_->details;
}

bool CCommandThread::succeeded() const {
    return !running() && state_->succeeded.load(std::memory_order_relaxed);
}

void CCommandThread::cancel() {
    state_->cancelled.store(true);
    state_->gate->close();
}

}  // namespace quorrel
