#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "platform/WindowLookup.h"

class QLocalServer;

namespace quorrel {

// How a second start finds the first on Linux: the running instance listens on a local
// socket beside its lock, and answers the question "do you have a top-level window titled
// exactly <title>?", restoring and raising that window when it has. One request line
// "RAISE <title>\n" (UTF-8), one answer line "1\n" (found) or "0\n".

// "<runtime folder>Quorrel.socket".
QString instanceSocketPath();

// Restores (from minimised or maximised), raises and activates the top-level window whose
// title is exactly `title`. False when there is none.
bool raiseTopLevelWindowTitled(const QString& title);

// The running instance's side. Answers from the event loop of the user-interface thread.
class InstanceServer final : public QObject {
    Q_OBJECT
public:
    using Raise = std::function<bool(const QString& title)>;

    explicit InstanceServer(QString socketPath, Raise raise = raiseTopLevelWindowTitled,
                            QObject* parent = nullptr);
    ~InstanceServer() override;

    // Only the holder of the lock calls this, so a socket file left by a crashed instance
    // is removed first. False when the socket cannot be made.
    bool listen();

private:
    void answer();

    QString path_;
    Raise raise_;
    QLocalServer* server_;
};

// The second start's side.
class LocalWindowLookup final : public platform::WindowLookup {
public:
    // The lock holder may be a moment away from listening: connecting is retried for up
    // to `connectWaitMs`; an answer is awaited for up to `answerWaitMs`.
    explicit LocalWindowLookup(QString socketPath, int connectWaitMs = 2000,
                               int answerWaitMs = 5000)
        : path_(std::move(socketPath)),
          connectWaitMs_(connectWaitMs),
          answerWaitMs_(answerWaitMs) {}

    bool restoreWindowTitled(const std::string& title) override;

private:
    QString path_;
    int connectWaitMs_;
    int answerWaitMs_;
};

}  // namespace quorrel
