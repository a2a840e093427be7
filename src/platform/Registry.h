#pragma once
// Per-user settings store that stands in for the Windows registry: one INI file per user, keys
// ("SOFTWARE\Brantova\VKM30") and value names compared without regard to case.
//
// The values live in a private working copy of the file; only sync() writes the file itself, and
// it writes it through the safe-save routine, checked whole: QSettings' own save would rename a
// file cut short on a full disk over the good one without a word.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;
class QTemporaryDir;

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
    // Writes the file. Empty result: the file holds every value; otherwise the reason, and the
    // file is as it was.
    QString sync();

    // What opening found. A damaged file (not in the settings format, or not readable) gave what
    // could be read of it; a copy of it was kept beside it first, so the next save loses nothing.
    // Where no copy could be made, the damaged file is never written over.
    enum class FileState { Fine, Damaged, Unreadable };
    FileState fileState() const { return state_; }
    QString damagedCopy() const { return damagedCopy_; }

private:
    QString canonical(const QString& key, const QString& name) const;
    bool writeWorkingCopy(QByteArray& bytes);
    void rebuildWorkingCopy();
    QString path_;
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<QSettings> settings_;
    FileState state_ = FileState::Fine;
    QString damagedCopy_;
    bool keepFile_ = false;  // damaged and not copied: never written over
    QByteArray lastWhole_;  // the last content known to hold every value
    int files_ = 0;
    bool dirty_ = false;  // stored or deleted since the file was last written
};

}  // namespace platform
