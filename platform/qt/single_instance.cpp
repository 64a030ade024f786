// The single-instance lock and socket: $XDG_RUNTIME_DIR/versewell (or a private folder under
// the temporary folder), reachable by this user only. A reader killed without clean-up leaves
// a stale lock, which QLockFile recognises by its dead process, and a stale socket file, which
// the new holder removes before it listens.
#include "platform/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace {
std::unique_ptr<QLockFile> gLock;
QLocalServer* gServer = nullptr;
std::string gFolder;

bool privateFolder() {
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QString base = runtime.isEmpty()
                       ? QDir::tempPath() + QStringLiteral("/versewell-%1").arg(getuid())
                       : QString::fromLocal8Bit(runtime) + QStringLiteral("/versewell");
    QByteArray path = base.toLocal8Bit();
    mkdir(path.constData(), 0700);
    struct stat st {};
    // The folder must be ours and closed to everyone else.
    if (lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return false;
    if ((st.st_mode & 077) != 0 && chmod(path.constData(), 0700) != 0) return false;
    gFolder = path.toStdString();
    return true;
}

QString socketName() {
    return QString::fromStdString(gFolder) + QStringLiteral("/instance.socket");
}

bool knock() {
    // The holder may still be starting: try for a short while.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(socketName());
        if (socket.waitForConnected(500)) {
            socket.write("knock\n");
            socket.waitForBytesWritten(500);
            bool answered = socket.waitForReadyRead(2000) && socket.readAll().startsWith("ok");
            socket.disconnectFromServer();
            return answered;
        }
        QThread::msleep(50);
    }
    return false;
}
} // namespace

InstanceClaim claimSingleInstance(void (*onKnock)()) {
    if (!privateFolder()) return InstanceClaim::Failed;
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto lock = std::make_unique<QLockFile>(QString::fromStdString(gFolder) +
                                                QStringLiteral("/instance.lock"));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            gLock = std::move(lock);
            QLocalServer::removeServer(socketName());
            gServer = new QLocalServer;
            gServer->setSocketOptions(QLocalServer::UserAccessOption);
            if (!gServer->listen(socketName())) return InstanceClaim::Failed;
            QObject::connect(gServer, &QLocalServer::newConnection, [onKnock]() {
                while (QLocalSocket* socket = gServer->nextPendingConnection()) {
                    QObject::connect(socket, &QLocalSocket::readyRead, [socket, onKnock]() {
                        if (!socket->readAll().startsWith("knock")) return;
                        socket->write("ok\n");
                        socket->flush();
                        if (onKnock) onKnock();
                    });
                    QObject::connect(socket, &QLocalSocket::disconnected, socket,
                                     &QObject::deleteLater);
                }
            });
            return InstanceClaim::First;
        }
        if (knock()) return InstanceClaim::Other;
        // No answer: the holder may have died without clean-up; its lock is stale then.
        lock->removeStaleLockFile();
    }
    return InstanceClaim::Failed;
}

void releaseSingleInstance() {
    if (gServer) {
        gServer->close();
        delete gServer;
        gServer = nullptr;
    }
    if (gLock) {
        gLock->unlock();
        gLock.reset();
    }
}

const char* instanceFolder() {
    return gFolder.c_str();
}
