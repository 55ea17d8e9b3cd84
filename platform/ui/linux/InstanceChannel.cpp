#include "platform/ui/linux/InstanceChannel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include "platform/InstanceLock.h"
#include "resources/AppTexts.h"

namespace quorrel {

namespace {

const QByteArray kRequest = "RAISE ";
constexpr int kMaxRequest = 4096;

}  // namespace

QString instanceSocketPath() {
    return QString::fromStdString(platform::runtimeFolder()) + texts::kMutexName + ".socket";
}

bool raiseTopLevelWindowTitled(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = widget->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::Desktop) {
            continue;
        }
        if (widget->windowTitle() != title) {
            continue;
        }
        widget->showNormal();
        widget->raise();
        widget->activateWindow();
        return true;
    }
    return false;
}

InstanceServer::InstanceServer(QString socketPath, Raise raise, QObject* parent)
    : QObject(parent),
      path_(std::move(socketPath)),
      raise_(std::move(raise)),
      server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::answer);
}

InstanceServer::~InstanceServer() {
    server_->close();
}

bool InstanceServer::listen() {
    QLocalServer::removeServer(path_);
    return server_->listen(path_);
}

void InstanceServer::answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest) {
                    socket->abort();
                }
                return;
            }
            QByteArray line = socket->readLine(kMaxRequest);
            if (line.endsWith('\n')) {
                line.chop(1);
            }
            bool found = false;
            if (line.startsWith(kRequest)) {
                found = raise_(QString::fromUtf8(line.mid(kRequest.size())));
            }
            socket->write(found ? "1\n" : "0\n");
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

bool LocalWindowLookup::restoreWindowTitled(const std::string& title) {
    QLocalSocket socket;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        socket.connectToServer(path_);
        if (socket.waitForConnected(500)) {
            break;
        }
        socket.abort();
        if (clock.elapsed() >= connectWaitMs_) {
            return false;
        }
        QThread::msleep(50);
    }
    socket.write(kRequest + QByteArray::fromStdString(title) + '\n');
    if (!socket.waitForBytesWritten(answerWaitMs_)) {
        return false;
    }
    QElapsedTimer answerClock;
    answerClock.start();
    while (!socket.canReadLine()) {
        const int left = answerWaitMs_ - static_cast<int>(answerClock.elapsed());
        if (left <= 0 || !socket.waitForReadyRead(left)) {
            return false;
        }
    }
    return socket.readLine().trimmed() == "1";
}

}  // namespace quorrel
