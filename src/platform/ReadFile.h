#pragma once
// The one way the program reads a file whole: measurement files, point lists, imports, the
// calibration file, language files and the interface's program. Only a regular file is read: a
// fifo, a device or a socket would block the window thread in open() or read() for good, so it is
// refused before anything waits on it. A size limit refuses a file too large for what it claims
// to be before its bytes are read. No other code opens a file for reading
// (tests/platform/ReadFileOnly_test.cpp checks the sources).
#include <QByteArray>
#include <QString>

namespace platform {

struct FileRead {
    enum Status {
        Read,         // bytes hold the file (or its first maxBytes when the caller only wants those)
        Missing,      // no such file
        NotRegular,   // a folder, fifo, device or socket: not opened for reading
        TooLarge,     // larger than the limit; nothing read
        Failed,       // open or read failed; reason says why
    };
    Status status = Failed;
    QByteArray bytes;
    QString reason;    // the system's text for Missing and Failed
    qint64 size = 0;   // the file's size when known
    bool ok() const { return status == Read; }
};

// Reads the whole file. maxBytes < 0: no limit.
FileRead ReadRegularFile(const QString& path, qint64 maxBytes = -1);
// Reads at most the first `count` bytes of a regular file, whatever follows them.
FileRead ReadRegularFileStart(const QString& path, qint64 count);

}  // namespace platform
