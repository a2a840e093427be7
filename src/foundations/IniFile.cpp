#include "foundations/IniFile.h"

#include <QFile>

#include "foundations/Cp1250.h"
#include "platform/ReadFile.h"

namespace foundations {

namespace {

// Like the Windows profile functions: a value wholly inside matching quotes loses them, which
// is how a language file keeps leading or trailing blanks of a text.
QString unquote(const QString& v) {
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.mid(1, v.size() - 2);
    return v;
}

}  // namespace

bool IniFile::load(const QString& filePath) {
    sections_.clear();
    index_.clear();
    damaged_ = false;
    const platform::FileRead read = platform::ReadRegularFile(filePath);
    if (!read.ok()) return false;
    parse(read.bytes);
    return true;
}

void IniFile::parse(const QByteArray& bytes) {
    sections_.clear();
    index_.clear();
    damaged_ = bytes.contains('\0') || bytes.trimmed().isEmpty();
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.mid(3));
    else
        text = fromCp1250(bytes);

    Section* current = nullptr;  // null before the first section and inside a repeated one
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[')) {
            int close = line.indexOf(u']');
            if (close < 0) damaged_ = true;
            QString name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            QString lower = name.toLower();
            if (index_.contains(lower)) {
                current = nullptr;  // the first section of a name is the one that counts
            } else {
                index_.insert(lower, int(sections_.size()));
                sections_.push_back({});
                current = &sections_.back();
            }
            continue;
        }
        int eq = line.indexOf(u'=');
        if (eq <= 0) {
            damaged_ = true;
            continue;
        }
        if (!current) continue;
        QString key = line.left(eq).trimmed();
        if (key.isEmpty()) continue;
        QString lower = key.toLower();
        if (current->values.contains(lower)) continue;
        current->keys << key;
        current->values.insert(lower, unquote(line.mid(eq + 1).trimmed()));
    }
}

bool IniFile::hasSection(const QString& section) const { return index_.contains(section.toLower()); }

QStringList IniFile::keys(const QString& section) const {
    auto it = index_.find(section.toLower());
    return it == index_.end() ? QStringList() : sections_[*it].keys;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    auto it = index_.find(section.toLower());
    if (it == index_.end()) return std::nullopt;
    const Section& s = sections_[*it];
    auto v = s.values.find(key.toLower());
    if (v == s.values.end()) return std::nullopt;
    return *v;
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

}  // namespace foundations
