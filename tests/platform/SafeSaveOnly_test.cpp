// Every file the program writes goes through platform::SaveThroughTemporary, so a full disk or a
// kill during a save never leaves a cut-short file in place of a good one. This reads the program's
// sources and names any other place that opens a file for writing.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString sourceRoot() { return QStringLiteral(VKM30_TEST_DATA "/../../src"); }

QStringList writersOutsideTheSaveRoutine() {
    // Direct writers, and opens with a write mode on anything but an in-memory buffer.
    static const QRegularExpression direct(
        R"(\bQSaveFile\b|\bstd::ofstream\b|\bstd::fstream\b|\bfopen\s*\(|\bQFile::copy\b|\bQFile::rename\b|\bcreat\s*\(|QTextStream\s*\w+\s*\(\s*stdout)");
    static const QRegularExpression open(
        R"((\w+)(?:\.|->)open\s*\([^;]*\b(WriteOnly|ReadWrite|Append|Truncate|NewOnly)\b)");
    QStringList found;
    QDirIterator it(sourceRoot(), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains("/platform/SafeSave.")) continue;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            found << path + ": unreadable";
            continue;
        }
        const QString text = QString::fromUtf8(f.readAll());
        const QStringList lines = text.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            const QString where = QString("%1:%2: %3").arg(path.mid(sourceRoot().size() + 1)).arg(i + 1).arg(line.trimmed());
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

TEST(SafeSaveOnly, NoWriterBypassesTheSaveRoutine) {
    ASSERT_TRUE(QFile::exists(sourceRoot() + "/platform/SafeSave.cpp")) << sourceRoot().toStdString();
    const QStringList found = writersOutsideTheSaveRoutine();
    EXPECT_TRUE(found.isEmpty()) << "write through platform::SaveThroughTemporary instead:\n"
                                 << found.join('\n').toStdString();
}
