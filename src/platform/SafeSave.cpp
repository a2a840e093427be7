#include "platform/SafeSave.h"

#include "platform/ReadFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr const char* kTemporaryMark = ".~vkm30-";
constexpr int kRandomLetters = 6;

QString systemReason(int err) {
    return err != 0 ? QString::fromLocal8Bit(std::strerror(err)) : QStringLiteral("write error");
}

QString reason(const QString& msg) { return msg.isEmpty() ? QStringLiteral("write error") : msg; }

QByteArray native(const QString& path) { return QFile::encodeName(path); }

// A symbolic link is saved through: the file it names gets the new content, the link stays.
QString resolvedTarget(const QString& FileName) {
    const QFileInfo fi(FileName);
    if (fi.isSymLink()) {
        const QString t = fi.symLinkTarget();
        if (!t.isEmpty()) return t;
    }
    return FileName;
}

QString randomLetters() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString s;
    for (int i = 0; i < kRandomLetters; ++i) s += QChar::fromLatin1(letters[QRandomGenerator::global()->bounded(62)]);
    return s;
}

// The temporary, open and locked for the life of one save.
struct Temporary {
    QString path;
    int fd = -1;
    ~Temporary() {
        if (fd >= 0) ::close(fd);
    }
    void drop() {
        if (fd < 0) return;
        ::unlink(native(path).constData());
        ::close(fd);
        fd = -1;
    }
};

QString createTemporary(const QString& target, Temporary& t) {
    struct stat existing {};
    const bool exists = ::stat(native(target).constData(), &existing) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        t.path = target + QString::fromLatin1(kTemporaryMark) + randomLetters();
        t.fd = ::open(native(t.path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (t.fd >= 0) break;
        if (errno != EEXIST) return systemReason(errno);
    }
    if (t.fd < 0) return systemReason(EEXIST);
    // Held until the save ends (or the process does), so a later save can tell a temporary that
    // is still being written from one a killed program left behind.
    ::flock(t.fd, LOCK_EX);
    if (exists) ::fchmod(t.fd, existing.st_mode & 07777);  // the file keeps its permissions
    return QString();
}

}  // namespace

bool IsTemporaryOf(const QString& FileName, const QString& candidate) {
    const QString base = QFileInfo(FileName).fileName() + QString::fromLatin1(kTemporaryMark);
    const QString name = QFileInfo(candidate).fileName();
    if (name.size() != base.size() + kRandomLetters || !name.startsWith(base)) return false;
    for (const QChar c : QStringView(name).mid(base.size()))
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) return false;
    return true;
}

QStringList RemoveStaleTemporaries(const QString& FileName) {
    const QString target = resolvedTarget(FileName);
    const QFileInfo fi(target);
    const QDir dir = fi.absoluteDir();
    QStringList removed;
    const QStringList names =
        dir.entryList({fi.fileName() + QString::fromLatin1(kTemporaryMark) + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& n : names) {
        if (!IsTemporaryOf(target, n)) continue;
        const QString path = dir.filePath(n);
        const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        // A save that runs holds the lock; the lock of a killed program went with it.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            struct stat open {}, named {};
            // Still the file that was locked (not renamed into place meanwhile)?
            if (::fstat(fd, &open) == 0 && ::lstat(native(path).constData(), &named) == 0 && open.st_ino == named.st_ino &&
                open.st_dev == named.st_dev && S_ISREG(named.st_mode) && ::unlink(native(path).constData()) == 0)
                removed << path;
        }
        ::close(fd);
    }
    return removed;
}

QString SaveThroughTemporary(const QString& FileName, const std::function<bool(QIODevice&)>& Body) {
    const QString target = resolvedTarget(FileName);
    if (::access(native(target).constData(), F_OK) == 0 && ::access(native(target).constData(), W_OK) != 0)
        return QStringLiteral("Existing file %1 is not writable").arg(QDir::toNativeSeparators(FileName));
    RemoveStaleTemporaries(target);

    Temporary t;
    if (QString e = createTemporary(target, t); !e.isEmpty()) return e;
    {
        QFile f;
        if (!f.open(t.fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            const QString e = reason(f.errorString());
            t.drop();
            return e;
        }
        bool written = false;
        try {
            written = Body(f);
        } catch (...) {
            f.close();
            t.drop();
            throw;
        }
        if (!written) {
            const QString e = reason(f.errorString());
            f.close();
            t.drop();
            return e;
        }
        // The buffered bytes are flushed and checked; only a whole file is renamed.
        errno = 0;
        if (!f.flush()) {
            const int err = errno;
            const QString e = err != 0 ? systemReason(err) : reason(f.errorString());
            f.close();
            t.drop();
            return e;
        }
        f.close();
    }
    if (::rename(native(t.path).constData(), native(target).constData()) != 0) {
        const QString e = systemReason(errno);
        t.drop();
        return e;
    }
    return QString();
}

QString SaveBytes(const QString& FileName, const QByteArray& Bytes) {
    return SaveThroughTemporary(FileName, [&](QIODevice& d) {
        return Bytes.isEmpty() || d.write(Bytes) == Bytes.size();
    });
}

QString KeepDamagedCopy(const QString& FileName) {
    const FileRead in = ReadRegularFile(FileName);
    if (!in.ok()) return QString();
    const QByteArray& bytes = in.bytes;
    for (int n = 1; n < 1000; ++n) {
        const QString copy = FileName + QStringLiteral(".damaged") + (n > 1 ? QString::number(n) : QString());
        if (QFileInfo(copy).isSymLink()) continue;
        if (const FileRead kept = ReadRegularFile(copy); kept.status != FileRead::Missing) {
            // The same damage found again (its save failed, or the file came back): one copy.
            if (kept.ok() && kept.bytes == bytes) return copy;
            continue;
        }
        return SaveBytes(copy, bytes).isEmpty() ? copy : QString();
    }
    return QString();
}

}  // namespace platform
