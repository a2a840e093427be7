#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace platform {

namespace {
// Keys are stored in one case so that "Software\Brantova\Vkm30\Options" and
// "SOFTWARE\Brantova\VKM30\Options" meet; value names likewise.
QString fold(const QString& s) { return s.toLower(); }
}  // namespace

Registry::Registry(const QString& filePath) {
    QString path = filePath.isEmpty() ? defaultFilePath() : filePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

Registry::~Registry() { settings_->sync(); }

QString Registry::defaultFilePath() {
    const QByteArray env = qgetenv("VKM30_SETTINGS");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    return QDir::homePath() + "/.config/Brantova/VKM30.ini";
}

QString Registry::filePath() const { return settings_->fileName(); }

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
}

void Registry::writeInteger(const QString& key, const QString& name, qint32 value) {
    settings_->setValue(canonical(key, name), QString::number(value));
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
}

void Registry::deleteValue(const QString& key, const QString& name) { settings_->remove(canonical(key, name)); }

void Registry::sync() { settings_->sync(); }

}  // namespace platform
