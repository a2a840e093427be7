#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/ReadFile.h"
#include "platform/SafeSave.h"

namespace platform {

namespace {
// Keys are stored in one case so that "Software\Brantova\Vkm30\Options" and
// "SOFTWARE\Brantova\VKM30\Options" meet; value names likewise.
QString fold(const QString& s) { return s.toLower(); }

// QSettings reads any bytes without complaint, garbage as no values at all. What it writes has
// only blank lines, comments, "[section]" lines and "key=value" lines, and never a NUL byte.
bool settingsText(const QByteArray& bytes) {
    if (bytes.contains('\0')) return false;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        if (line.startsWith('[') ? line.contains(']') : line.indexOf('=') > 0) continue;
        return false;
    }
    return true;
}
}  // namespace

Registry::Registry(const QString& filePath) : path_(filePath.isEmpty() ? defaultFilePath() : filePath) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    scratch_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vkm30-settings-XXXXXX"));
    if (!scratch_->isValid())
        scratch_ = std::make_unique<QTemporaryDir>(path_ + QStringLiteral(".~vkm30-work-XXXXXX"));
    const QString work = scratch_->isValid() ? scratch_->filePath(QStringLiteral("settings.ini"))
                                             : path_ + QStringLiteral(".~vkm30-work/settings.ini");

    const FileRead read = ReadRegularFile(path_);
    const bool exists = read.status != FileRead::Missing;
    const bool readable = read.ok() || !exists;
    const QByteArray bytes = read.bytes;
    // Without a working copy nothing can be read or saved safely: the file stays as it is.
    const bool copied = scratch_->isValid() && (bytes.isEmpty() || SaveBytes(work, bytes).isEmpty());
    settings_ = std::make_unique<QSettings>(work, QSettings::IniFormat);
    if (!readable || !copied)
        state_ = FileState::Unreadable;
    else if (settings_->status() == QSettings::FormatError || !settingsText(bytes))
        state_ = FileState::Damaged;
    if (state_ != FileState::Fine && exists) {
        damagedCopy_ = readable ? KeepDamagedCopy(path_) : QString();
        keepFile_ = damagedCopy_.isEmpty();
    }
    if (!copied) keepFile_ = true;
    if (state_ == FileState::Fine) lastWhole_ = bytes;
}

Registry::~Registry() {
    // After the application object has gone (a store kept to the end of the process) Qt's own
    // settings machinery may be gone too: whoever owns the store syncs it before that.
    if (QCoreApplication::instance()) sync();
}

QString Registry::defaultFilePath() {
    const QByteArray env = qgetenv("VKM30_SETTINGS");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    return QDir::homePath() + "/.config/Brantova/VKM30.ini";
}

QString Registry::filePath() const { return path_; }

QString Registry::canonical(const QString& key, const QString& name) const {
    QString k = fold(key);
    k.replace('\\', '/');
    while (k.endsWith('/')) k.chop(1);
    // QSettings treats '/' as a group separator; value names may hold anything else.
    QString n = fold(name);
    n.replace('/', "%2F");
    return k + '/' + n;
}

bool Registry::valueExists(const QString& key, const QString& name) const {
    return settings_->contains(canonical(key, name));
}

std::optional<QString> Registry::readString(const QString& key, const QString& name) const {
    const QString c = canonical(key, name);
    if (!settings_->contains(c)) return std::nullopt;
    return settings_->value(c).toString();
}

void Registry::writeString(const QString& key, const QString& name, const QString& value) {
    settings_->setValue(canonical(key, name), value);
    dirty_ = true;
}

void Registry::writeInteger(const QString& key, const QString& name, qint32 value) {
    settings_->setValue(canonical(key, name), QString::number(value));
    dirty_ = true;
}

std::optional<QByteArray> Registry::readBinary(const QString& key, const QString& name) const {
    const QString c = canonical(key, name);
    if (!settings_->contains(c)) return std::nullopt;
    const QVariant v = settings_->value(c);
    if (v.typeId() == QMetaType::QByteArray) return v.toByteArray();
    return std::nullopt;  // stored as something else: not a binary value
}

void Registry::writeBinary(const QString& key, const QString& name, const QByteArray& value) {
    settings_->setValue(canonical(key, name), value);
    dirty_ = true;
}

void Registry::deleteValue(const QString& key, const QString& name) {
    settings_->remove(canonical(key, name));
    dirty_ = true;
}

QString Registry::sync() {
    if (keepFile_) {
        settings_->sync();
        return QStringLiteral("the settings file %1 could not be read and is kept as it is").arg(path_);
    }
    if (!dirty_) return QString();  // as QSettings: a file nothing was stored in is not written
    QByteArray bytes;
    if (!writeWorkingCopy(bytes)) {
        // QSettings may take a copy it cut short for written and never write it again: the values
        // go into a new working copy, made from the last bytes known whole.
        rebuildWorkingCopy();
        if (!writeWorkingCopy(bytes)) return QStringLiteral("the settings could not be written whole");
    }
    lastWhole_ = bytes;
    const FileRead current = ReadRegularFile(path_);
    if (current.status == FileRead::Missing && bytes.isEmpty()) {  // nothing stored, nothing to write
        dirty_ = false;
        return QString();
    }
    QString e = current.ok() && current.bytes == bytes ? QString() : SaveBytes(path_, bytes);
    if (e.isEmpty()) dirty_ = false;
    return e;
}

bool Registry::writeWorkingCopy(QByteArray& bytes) {
    settings_->sync();
    bytes.clear();
    const FileRead work = ReadRegularFile(settings_->fileName());
    if (!work.ok() && work.status != FileRead::Missing) return false;
    bytes = work.bytes;
    // Read back from a file of its own name (QSettings keeps what it read of a name): the copy
    // must hold every value before it may replace the settings file.
    const QString check = scratch_->filePath(QStringLiteral("check%1.ini").arg(++files_));
    if (!SaveBytes(check, bytes).isEmpty()) return false;
    bool whole = false;
    {
        QSettings again(check, QSettings::IniFormat);
        const QStringList keys = settings_->allKeys();
        whole = again.allKeys() == keys;
        for (int i = 0; whole && i < keys.size(); ++i) whole = again.value(keys[i]) == settings_->value(keys[i]);
    }
    QFile::remove(check);
    return whole;
}

void Registry::rebuildWorkingCopy() {
    const QString work = scratch_->filePath(QStringLiteral("settings%1.ini").arg(++files_));
    if (!lastWhole_.isEmpty() && !SaveBytes(work, lastWhole_).isEmpty()) return;
    auto fresh = std::make_unique<QSettings>(work, QSettings::IniFormat);
    const QStringList keys = settings_->allKeys();
    for (const QString& k : fresh->allKeys())
        if (!keys.contains(k)) fresh->remove(k);
    for (const QString& k : keys)
        if (fresh->value(k) != settings_->value(k)) fresh->setValue(k, settings_->value(k));
    settings_ = std::move(fresh);
}

}  // namespace platform
