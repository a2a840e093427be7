#pragma once
// Per-user settings store that stands in for the Windows registry: one INI file per user, keys
// ("SOFTWARE\Brantova\VKM30") and value names compared without regard to case.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;

namespace platform {

class Registry {
public:
    // Opens the store file. Without a path: the file named by VKM30_SETTINGS, else
    // ~/.config/Brantova/VKM30.ini.
    explicit Registry(const QString& filePath = QString());
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    static QString defaultFilePath();
    QString filePath() const;

    // A key is the registry path below the user's root, e.g. "SOFTWARE\Brantova\VKM30\Options";
    // the last component is what the settings code calls a section.
    bool valueExists(const QString& key, const QString& name) const;
    std::optional<QString> readString(const QString& key, const QString& name) const;
    void writeString(const QString& key, const QString& name, const QString& value);
    void writeInteger(const QString& key, const QString& name, qint32 value);
    std::optional<QByteArray> readBinary(const QString& key, const QString& name) const;
    void writeBinary(const QString& key, const QString& name, const QByteArray& value);
    void deleteValue(const QString& key, const QString& name);
    void sync();

private:
    QString canonical(const QString& key, const QString& name) const;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace platform
