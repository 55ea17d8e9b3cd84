#include "apply/WorkerMessageGate.h"

namespace quorrel {

void WorkerMessageGate::Pending::answer(MessageResult result) {
    if (!answered.exchange(true)) {
        promise.set_value(result);
    }
}

WorkerMessageGate::WorkerMessageGate(std::shared_ptr<MessagePresenter> presenter, Post post)
    : presenter_(std::move(presenter)), post_(std::move(post)) {}

MessageResult WorkerMessageGate::show(const Message& message) {
    if (closed_.load() || !presenter_) {
        return MessageResult::Cancel;
    }
    if (!post_) {
        return presenter_->show(message);
    }

    auto pending = std::make_shared<Pending>();
    std::future<MessageResult> answer = pending->promise.get_future();
    {
        const std::lock_guard lock(mutex_);
        if (closed_.load()) {
            return MessageResult::Cancel;
        }
        pending_ = pending;
    }
    post_([self = shared_from_this(), pending, message] { self->deliver(pending, message); });
    const MessageResult result = answer.get();
    {
        const std::lock_guard lock(mutex_);
        if (pending_ == pending) {
            pending_.reset();
        }
    }
    return result;
}

void WorkerMessageGate::deliver(const std::shared_ptr<Pending>& pending, const Message& message) {
    if (closed_.load() || pending->answered.load()) {
        pending->answer(MessageResult::Cancel);
        return;
    }
    pending->answer(presenter_->showClosable(message, closer_));
}

void WorkerMessageGate::close() {
    closed_.store(true);
    std::shared_ptr<Pending> pending;
    {
        const std::lock_guard lock(mutex_);
        pending = std::move(pending_);
    }
    if (pending) {
        pending->answer(MessageResult::Cancel);
    }
    if (post_) {
        closer_.close();
    }
}

}  // namespace quorrel
