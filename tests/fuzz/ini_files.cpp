// INI text: the language files' reader and the program's settings file. Any text parses; every
// key a section lists has a value; settings read from a damaged file are still usable.
//
// Input: byte 0 chooses the reader (even: the language file reader, odd: the settings file);
// the rest is the file.
#include <QDir>

#include "FuzzSupport.h"
#include "app/Settings.h"
#include "foundations/IniFile.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"

namespace {

void languageReader(const QByteArray& bytes) {
    foundations::IniFile ini;
    ini.parse(bytes);
    for (const QString& section : {QStringLiteral("Strings"), QStringLiteral("TMainForm"), QString()}) {
        const QStringList keys = ini.keys(section);
        if (!keys.isEmpty()) FUZZ_CHECK(ini.hasSection(section));
        for (const QString& key : keys) {
            FUZZ_CHECK(ini.value(section, key).has_value());
            FUZZ_CHECK(ini.value(section, key.toLower()) == ini.value(section, key));
        }
    }
}

void settingsFile(const QByteArray& bytes) {
    platform::setAppRegistryFile(fuzz::writeScratch(QStringLiteral("settings.ini"), bytes));
    TSettings settings;
    ReadSettings(platform::appRegistry(), settings);
    LoadRecentFiles(platform::appRegistry(), settings);
    (void)ReadBinaryDouble(platform::appRegistry(), QStringLiteral("Cisnienie"), 1013.25);
    // What was read must write out and read back without harm.
    platform::setAppRegistryFile(fuzz::scratchPath(QStringLiteral("written.ini")));
    WriteSettings(platform::appRegistry(), settings);
    SaveRecentFiles(platform::appRegistry(), settings);
    TSettings again;
    ReadSettings(platform::appRegistry(), again);
    // A damaged input leaves a copy of itself beside it; the next input must not find it.
    for (const QString& n : QDir(fuzz::scratchDir()).entryList({QStringLiteral("settings.ini.damaged*")}, QDir::Files))
        QFile::remove(fuzz::scratchPath(n));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QByteArray rest = fuzz::bytesOf(data + 1, size - 1);
    if (data[0] % 2 == 0)
        languageReader(rest);
    else
        settingsFile(rest);
    return 0;
}
