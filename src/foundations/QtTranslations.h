#pragma once
// Qt's own texts (file and print dialogs, standard buttons, edit menus) in the program's
// language, from the translations Qt keeps in its translations folder.
#include <QString>

// The ISO 639 language of a language abbreviation ("EN" and "ENU" give "en", "PLK" gives "pl");
// empty when no locale has it.
QString IsoLanguageOf(const QString& abbreviation);

// Installs Qt's translation "qtbase_<isoLanguage>" in place of the one installed before. A
// missing translation is no error: Qt's texts are then its built-in English ones.
void UseQtTranslations(const QString& isoLanguage);
// The language of the translation in use; empty when none is installed.
QString QtTranslationsLanguage();
