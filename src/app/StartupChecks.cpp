#include "app/StartupChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

#include "app/Settings.h"
#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"

namespace {

QString filled(const char* key, const char* builtIn, const QString& value) {
    return FillPlaceholder(TranslateString(QString::fromLatin1(key), QString::fromUtf8(builtIn)),
                           QDir::toNativeSeparators(value));
}

}  // namespace

QString SettingsFileStateMessage(platform::Registry::FileState state, const QString& filePath, const QString& copy) {
    if (state == platform::Registry::FileState::Fine) return QString();
    if (!copy.isEmpty())
        return filled("stUstawieniaUszkodzone",
                      "Plik ustawień był uszkodzony: odczytano z niego, co się dało, reszta ma wartości domyślne. "
                      "Jego kopia: %s",
                      copy);
    return filled("stUstawieniaNieczytelne",
                  "Nie można odczytać pliku ustawień %s: obowiązują wartości domyślne, a plik nie zostanie nadpisany.",
                  filePath);
}

QString DamagedLanguageFileMessage(const QString& path) {
    return filled("stJezykUszkodzony",
                  "Plik języka %s jest uszkodzony lub nieczytelny: teksty, których z niego nie odczytano, są "
                  "wbudowane (polskie).",
                  path);
}

QString DamagedPointListMessage(const QString& path, const QString& copy) {
    if (!copy.isEmpty())
        return filled("stListaPunktowUszkodzona",
                      "Domyślna lista punktów była uszkodzona i nie została wczytana. Jej kopia: %s", copy);
    return filled("stListaPunktowNieczytelna",
                  "Domyślna lista punktów %s jest uszkodzona i nie została wczytana; nie zostanie nadpisana.", path);
}

QStringList UnwritableDataFolders(const TSettings& s) {
    QStringList out;
    for (const QString& dir : {s.PositioningDir, s.FlatnessDir, s.PointListDir, s.VelocityDir, s.StraightnessDir,
                               s.AngularDir, s.FftDir}) {
        if (dir.isEmpty()) continue;  // its dialog opens in the current folder
        // A relative folder (such as one from Windows) is not made wherever the program runs.
        const bool there = (QDir::isAbsolutePath(dir) ? QDir().mkpath(dir) : QFileInfo::exists(dir)) && QFileInfo(dir).isDir();
        if (!there || ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) != 0) out << QDir::toNativeSeparators(dir);
    }
    return out;
}

QString UnwritableFoldersMessage(const QStringList& folders) {
    if (folders.isEmpty()) return QString();
    return filled("stFolderyNieDoZapisu",
                  "Nie można zapisywać w folderach danych (inne można wybrać w konfiguracji): %s",
                  folders.join(QStringLiteral(", ")));
}
