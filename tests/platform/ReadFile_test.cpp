// Reading a file the user named: only a regular file is read, a fifo or folder is refused at
// once (it would block the window thread for good), and a size limit refuses before reading.
// Also: no code of the program opens a file for reading any other way.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/ReadFile.h"
#include "platform/SafeSave.h"
#include "support/FifoFile.h"

using platform::FileRead;

TEST(ReadRegularFile, ReadsRegularFilesAndRefusesTheRestAtOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(platform::SaveBytes(dir.filePath("ten"), "0123456789").isEmpty());
    testsupport::FifoFile fifo(dir.filePath("fifo"));
    ASSERT_TRUE(fifo.Made());

    const FileRead whole = platform::ReadRegularFile(dir.filePath("ten"));
    EXPECT_EQ(whole.status, FileRead::Read);
    EXPECT_EQ(whole.bytes, "0123456789");

    struct Case {
        const char* name;
        qint64 limit;
        FileRead::Status status;
    };
    const Case cases[] = {
        {"ten", 10, FileRead::Read},        // exactly at the limit
        {"ten", 9, FileRead::TooLarge},     // one byte over: nothing read
        {"missing", -1, FileRead::Missing},
        {"ten/below", -1, FileRead::Missing},   // a file in the way of the path
        {"fifo", -1, FileRead::NotRegular},     // would block in open() without a writer
        {".", -1, FileRead::NotRegular},        // the folder itself
    };
    for (const Case& c : cases) {
        const FileRead r = platform::ReadRegularFile(dir.filePath(c.name), c.limit);
        EXPECT_EQ(r.status, c.status) << c.name << " limit " << c.limit;
        if (c.status != FileRead::Read) EXPECT_TRUE(r.bytes.isEmpty()) << c.name;
    }
    EXPECT_FALSE(platform::ReadRegularFile(dir.filePath("missing")).reason.isEmpty());
    EXPECT_EQ(platform::ReadRegularFile(QString()).status, FileRead::Missing);
    EXPECT_EQ(platform::ReadRegularFile("/dev/zero").status, FileRead::NotRegular);

    // The start of a file, whatever follows; a fifo is refused the same way.
    EXPECT_EQ(platform::ReadRegularFileStart(dir.filePath("ten"), 4).bytes, "0123");
    EXPECT_EQ(platform::ReadRegularFileStart(dir.filePath("ten"), 40).bytes, "0123456789");
    EXPECT_EQ(platform::ReadRegularFileStart(dir.filePath("fifo"), 4).status, FileRead::NotRegular);
    EXPECT_FALSE(fifo.Unblocked());
}

namespace {

QString sourceRoot() { return QStringLiteral(VKM30_TEST_DATA "/../../src"); }

// Opens for reading of anything but an in-memory buffer, and the standard library's readers.
QStringList readersOutsideTheReadRoutine() {
    static const QRegularExpression direct(R"(\bstd::ifstream\b|\bstd::fstream\b|\bfopen\s*\(|::open\s*\([^;]*\bO_RDONLY\b)");
    static const QRegularExpression open(R"((\w+)(?:\.|->)open\s*\([^;]*\bReadOnly\b)");
    QStringList found;
    QDirIterator it(sourceRoot(), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains("/platform/ReadFile.") || path.contains("/platform/SafeSave.")) continue;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            found << path + ": unreadable";
            continue;
        }
        const QString text = QString::fromUtf8(f.readAll());
        const QStringList lines = text.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            const QString where =
                QString("%1:%2: %3").arg(path.mid(sourceRoot().size() + 1)).arg(i + 1).arg(line.trimmed());
            if (direct.match(line).hasMatch()) {
                found << where;
                continue;
            }
            const auto m = open.match(line);
            if (!m.hasMatch()) continue;
            const QRegularExpression buffer("\\bQBuffer\\s+" + QRegularExpression::escape(m.captured(1)) + "\\b");
            if (!buffer.match(text).hasMatch()) found << where;
        }
    }
    return found;
}

}  // namespace

TEST(ReadRegularFile, NoReaderBypassesTheReadRoutine) {
    ASSERT_TRUE(QFile::exists(sourceRoot() + "/platform/ReadFile.cpp")) << sourceRoot().toStdString();
    const QStringList found = readersOutsideTheReadRoutine();
    EXPECT_TRUE(found.isEmpty()) << "read through platform::ReadRegularFile instead:\n"
                                 << found.join('\n').toStdString();
}
