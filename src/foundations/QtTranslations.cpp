#include "foundations/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "foundations/LocaleTable.h"

namespace {

struct Installed {
    std::unique_ptr<QTranslator> translator;
    QString language;
};

Installed& installed() {
    static Installed i;
    return i;
}

}  // namespace

QString IsoLanguageOf(const QString& abbreviation) {
    const QString a = abbreviation.trimmed().toUpper();
    if (a.isEmpty()) return QString();
    for (const foundations::LocaleRow& row : foundations::localeRows()) {
        const QString rowAbbrev = QString::fromLatin1(row.abbrev).toUpper();
        // A two-letter abbreviation names a language's neutral locale (its abbreviation cut).
        if (a.size() == 2 ? row.country[0] == '\0' && rowAbbrev.left(2) == a : rowAbbrev == a) return QString::fromLatin1(row.isoLanguage);
    }
    return QString();
}

void UseQtTranslations(const QString& isoLanguage) {
    Installed& now = installed();
    if (now.translator && now.language == isoLanguage) return;
    if (now.translator) {
        QCoreApplication::removeTranslator(now.translator.get());
        now.translator.reset();
        now.language.clear();
    }
    if (isoLanguage.isEmpty() || !QCoreApplication::instance()) return;
    auto t = std::make_unique<QTranslator>();
    if (!t->load(QStringLiteral("qtbase_") + isoLanguage, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return;
    QCoreApplication::installTranslator(t.get());
    now.translator = std::move(t);
    now.language = isoLanguage;
}

QString QtTranslationsLanguage() { return installed().language; }
