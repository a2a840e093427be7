#include "platform/ReadFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// limit < 0: the whole file; refuseLarger: a file above limit is refused, else only limit bytes
// are read.
FileRead readRegular(const QString& path, qint64 limit, bool refuseLarger) {
    FileRead r;
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty()) {
        r.status = FileRead::Missing;
        r.reason = systemText(ENOENT);
        return r;
    }
    // Opened without waiting: a fifo with no writer would otherwise block here.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        r.status = e == ENOENT || e == ENOTDIR ? FileRead::Missing : FileRead::Failed;
        r.reason = systemText(e);
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        r.reason = systemText(errno);
        ::close(fd);
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.status = FileRead::NotRegular;
        ::close(fd);
        return r;
    }
    r.size = qint64(st.st_size);
    if (refuseLarger && limit >= 0 && r.size > limit) {
        r.status = FileRead::TooLarge;
        ::close(fd);
        return r;
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        r.reason = f.errorString();
        ::close(fd);
        return r;
    }
    r.bytes = limit >= 0 && !refuseLarger ? f.read(limit) : f.readAll();
    if (f.error() != QFileDevice::NoError) {
        r.reason = f.errorString();
        r.bytes.clear();
        return r;
    }
    // A file that grew while it was read is still held to the limit.
    if (refuseLarger && limit >= 0 && r.bytes.size() > limit) {
        r.status = FileRead::TooLarge;
        r.bytes.clear();
        return r;
    }
    r.status = FileRead::Read;
    return r;
}

}  // namespace

FileRead ReadRegularFile(const QString& path, qint64 maxBytes) { return readRegular(path, maxBytes, true); }

FileRead ReadRegularFileStart(const QString& path, qint64 count) {
    return readRegular(path, count < 0 ? 0 : count, false);
}

}  // namespace platform
