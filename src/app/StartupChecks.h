#pragma once
// What the start finds damaged or out of reach, each said in one line among the start-up
// messages: the settings file, the language file, the default point lists and the data folders.
// Plain rules; the main window shows the lines.
#include <QString>
#include <QStringList>

#include "platform/Registry.h"

struct TSettings;

// The line for a settings file that was damaged (its copy kept) or could not be read (kept as it
// is); empty for a sound file.
QString SettingsFileStateMessage(platform::Registry::FileState state, const QString& filePath, const QString& copy);

// The line for a language file that is there but damaged or unreadable.
QString DamagedLanguageFileMessage(const QString& path);

// The line for a default point list that could not be read: kept as `copy`, or, where no copy
// could be made, left as it is (and not written over).
QString DamagedPointListMessage(const QString& path, const QString& copy);

// The data folders of the settings that are not there and cannot be made, or cannot be written;
// missing ones are made on the way.
QStringList UnwritableDataFolders(const TSettings& settings);
QString UnwritableFoldersMessage(const QStringList& folders);
