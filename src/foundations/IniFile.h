#pragma once
// Reader of Windows initialisation files (the language files): "[Section]" lines and
// "key=value" lines. Section and key names are compared without regard to case; the keys of a
// section keep their file order. Text is code page 1250 unless the file starts with a UTF-8
// byte-order mark.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace foundations {

class IniFile {
public:
    IniFile() = default;
    // Reads a file; a file that cannot be read gives an empty store and false.
    bool load(const QString& filePath);
    void parse(const QByteArray& bytes);
    // What was parsed held bytes no such file holds: a NUL byte, a line that is neither blank, a
    // comment, a "[section]" nor a "key=value", or nothing at all. The readable entries are still
    // there.
    bool damaged() const { return damaged_; }

    bool hasSection(const QString& section) const;
    // Key names of a section as written in the file, in file order (first of duplicates only).
    QStringList keys(const QString& section) const;
    std::optional<QString> value(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& defaultValue) const;

private:
    struct Section {
        QStringList keys;                // as written
        QHash<QString, QString> values;  // by lower-case key
    };
    std::vector<Section> sections_;
    QHash<QString, int> index_;  // lower-case section name -> sections_ index
    bool damaged_ = false;
};

}  // namespace foundations
