#include "app/SpreadsheetLink.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringConverter>
#include <QTextStream>

#include "foundations/FR_Utils.h"
#include "platform/ReadFile.h"

namespace spreadsheet {

namespace {

// Splits an Exec value into words: blanks separate, double quotes group, a backslash inside
// quotes escapes the next character.
QStringList execWords(const QString& value) {
    QStringList words;
    QString word;
    bool quoted = false, any = false;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (quoted) {
            if (c == u'\\' && i + 1 < value.size()) {
                word += value[++i];
            } else if (c == u'"') {
                quoted = false;
            } else {
                word += c;
            }
        } else if (c == u'"') {
            quoted = any = true;
        } else if (c.isSpace()) {
            if (any || !word.isEmpty()) words << word;
            word.clear();
            any = false;
        } else {
            word += c;
        }
    }
    if (any || !word.isEmpty()) words << word;
    return words;
}

// A word that is a field code on its own is dropped; "%%" stands for "%".
std::optional<QString> withoutFieldCodes(const QString& word) {
    if (word.size() == 2 && word[0] == u'%' && word[1] != u'%') return std::nullopt;
    QString out = word;
    out.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return out;
}

std::optional<QString> defaultDesktopEntry(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForStarted(3000)) return std::nullopt;
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return std::nullopt;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return std::nullopt;
    const QString name = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    if (name.isEmpty() || name.contains(u'/')) return std::nullopt;
    return name;
}

}  // namespace

std::optional<Command> DesktopEntryCommand(const QString& text) {
    bool inEntry = false;
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!inEntry || !line.startsWith(QStringLiteral("Exec"))) continue;
        const int eq = line.indexOf(u'=');
        if (eq < 0 || line.left(eq).trimmed() != QStringLiteral("Exec")) continue;
        Command c;
        for (const QString& w : execWords(line.mid(eq + 1).trimmed()))
            if (const auto kept = withoutFieldCodes(w)) c.arguments << *kept;
        if (c.arguments.isEmpty()) return std::nullopt;
        c.program = c.arguments.takeFirst();
        if (c.program.isEmpty()) return std::nullopt;
        return c;
    }
    return std::nullopt;
}

std::optional<Command> FindExcelPath() {
    for (const char* type : {"application/vnd.oasis.opendocument.spreadsheet", "application/vnd.ms-excel"}) {
        const auto entry = defaultDesktopEntry(QString::fromLatin1(type));
        if (!entry) continue;
        const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, *entry);
        if (path.isEmpty()) continue;
        const platform::FileRead read = platform::ReadRegularFile(path);
        if (!read.ok()) continue;
        if (auto c = DesktopEntryCommand(QString::fromUtf8(read.bytes))) return c;
    }
    return std::nullopt;
}

bool StartProgram(const Command& command) { return QProcess::startDetached(command.program, command.arguments); }

QString NoSpreadsheetText() {
    return TranslateString(QStringLiteral("stBrakArkusza"),
                           QStringLiteral("Nie znaleziono domyślnego programu arkusza kalkulacyjnego"));
}

QString NoTransferText() {
    return TranslateString(
        QStringLiteral("stBrakDDE"),
        QStringLiteral("Bieżące przesyłanie odczytów do arkusza nie jest dostępne w tym systemie"));
}

}  // namespace spreadsheet
