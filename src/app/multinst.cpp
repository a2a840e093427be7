#include "app/multinst.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace app {

namespace {
constexpr int kConnectTimeoutMs = 2000;
const QByteArray kActivate = "activate\n";
}  // namespace

QString InstanceGuard::baseName() {
    QString name = QString::fromLatin1(kInstanceName);
    name.replace(u' ', u'_');
    return name + u'-' + QString::number(::getuid());
}

QString InstanceGuard::runtimeDirectory() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir()) return xdg;
    return QDir::tempPath();
}

void InstanceGuard::PrepareRuntimeDirectory() {
    const char* set = std::getenv("XDG_RUNTIME_DIR");
    if (set && *set) return;
    const char* tmp = std::getenv("TMPDIR");
    const std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/runtime-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    struct stat st {};
    // Only a folder of our own that nobody else can enter will do; otherwise Qt's own fallback stays.
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return;
    if ((st.st_mode & 0777) != 0700 && ::chmod(dir.c_str(), 0700) != 0) return;
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

InstanceGuard::InstanceGuard(const QString& directory, QObject* parent)
    : QObject(parent), directory_(directory.isEmpty() ? runtimeDirectory() : directory) {
    lock_ = new QLockFile(lockFilePath());
    // A lock is never stale by age; one left by a copy that died is taken over (Qt checks the
    // process id in it).
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        listen();
        return;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        flags_ |= ifOtherRunning;
        tellRunningCopy();
    } else {
        flags_ |= ifNoGuard;
    }
}

InstanceGuard::~InstanceGuard() {
    if (server_) server_->close();
    delete lock_;  // unlocks when held
}

QString InstanceGuard::lockFilePath() const { return QDir(directory_).filePath(baseName() + ".lock"); }
QString InstanceGuard::serverPath() const { return QDir(directory_).filePath(baseName() + ".sock"); }

void InstanceGuard::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left behind belongs to a copy that has ended.
    QLocalServer::removeServer(serverPath());
    if (!server_->listen(serverPath())) {
        flags_ |= ifNoActivation;
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, s, [s] { s->readAll(); });
            emit activationRequested();
        }
    });
}

void InstanceGuard::tellRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(serverPath());
    if (!socket.waitForConnected(kConnectTimeoutMs)) return;  // the first copy is not raised
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
}

InstanceGuard& ProcessInstanceGuard() {
    static InstanceGuard* guard = new InstanceGuard();  // lives as long as the process
    return *guard;
}

uint8_t GetInstanceFlags() { return ProcessInstanceGuard().flags(); }

void BringToFront(QWidget* window) {
    if (!window) return;
    // Minimise, then restore: the pair raises the window also from behind other windows.
    const bool maximised = window->windowState() & Qt::WindowMaximized;
    window->showMinimized();
    if (maximised)
        window->showMaximized();
    else
        window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace app
