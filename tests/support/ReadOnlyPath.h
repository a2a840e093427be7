#pragma once
// A file or folder that cannot be written while this lives: its mode, and for root (whom the mode
// does not stop) the immutable flag. ok() says whether writing is really refused here.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

class ReadOnlyPath {
public:
    explicit ReadOnlyPath(const QString& path) : path_(QFile::encodeName(path)) {
        struct stat st {};
        if (stat(path_.constData(), &st) != 0) return;
        mode_ = st.st_mode & 07777;
        chmod(path_.constData(), S_ISDIR(st.st_mode) ? 0555 : 0444);
        if (geteuid() == 0) setImmutable(true);
        ok_ = access(path_.constData(), W_OK) != 0;
    }
    ~ReadOnlyPath() {
        if (geteuid() == 0) setImmutable(false);
        if (mode_) chmod(path_.constData(), mode_);
    }
    ReadOnlyPath(const ReadOnlyPath&) = delete;
    ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;
    bool ok() const { return ok_; }

private:
    void setImmutable(bool on) {
        const int fd = open(path_.constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) return;
        int flags = 0;
        if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        close(fd);
    }
    QByteArray path_;
    mode_t mode_ = 0;
    bool ok_ = false;
};

}  // namespace testsupport
