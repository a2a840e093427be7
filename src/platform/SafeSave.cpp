#include "platform/SafeSave.h"

#include <cerrno>
#include <cstring>

namespace platform {

QString CommitSaveFile(QSaveFile& file) {
    errno = 0;
    if (!file.flush()) {
        const int err = errno;
        const QString msg = err != 0 ? QString::fromLocal8Bit(std::strerror(err)) : file.errorString();
        file.cancelWriting();
        return msg.isEmpty() ? QStringLiteral("write error") : msg;
    }
    if (!file.commit()) {
        const QString msg = file.errorString();
        return msg.isEmpty() ? QStringLiteral("write error") : msg;
    }
    return QString();
}

}  // namespace platform
