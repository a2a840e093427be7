#include "platform/SafeSave.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

QString reason(const QString& msg) { return msg.isEmpty() ? QStringLiteral("write error") : msg; }

// The buffered bytes are flushed first and checked; only a whole file is renamed.
QString commit(QSaveFile& file) {
    errno = 0;
    if (!file.flush()) {
        const int err = errno;
        const QString msg = err != 0 ? QString::fromLocal8Bit(std::strerror(err)) : file.errorString();
        file.cancelWriting();
        return reason(msg);
    }
    if (!file.commit()) return reason(file.errorString());
    return QString();
}

}  // namespace

QString SaveThroughTemporary(const QString& FileName, const std::function<bool(QIODevice&)>& Body) {
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly)) return reason(f.errorString());
    bool written = false;
    try {
        written = Body(f);
    } catch (...) {
        f.cancelWriting();
        throw;
    }
    if (!written) {
        const QString msg = f.errorString();
        f.cancelWriting();
        return reason(msg);
    }
    return commit(f);
}

QString SaveBytes(const QString& FileName, const QByteArray& Bytes) {
    return SaveThroughTemporary(FileName, [&](QIODevice& d) {
        return Bytes.isEmpty() || d.write(Bytes) == Bytes.size();
    });
}

}  // namespace platform
