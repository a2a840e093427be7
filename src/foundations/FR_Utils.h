#pragma once
// Language service: the base form that translates itself, and run-time texts by message key.
#include <QDialog>
#include <QLocale>
#include <QString>

class QWidget;

// Where the language choice is kept: the abbreviation of the chosen language, empty for the
// system's language.
inline constexpr const char* kLanguageChoiceKey = "Software\\Brantova\\Vkm30\\Options";
inline constexpr const char* kLanguageChoiceValue = "Locales";

// Text of a message key from the current language file's "Strings" section, else Default.
// Never opens the file itself: before the first form is translated the built-in text is used.
QString TranslateString(const QString& key, const QString& defaultText);

// Replaces the texts of a form (any top-level widget; its objectName is the section name) from
// the current language file, opening it first when none is open; then calls AfterTranslate
// when the form is a TSSForm.
void TranslateForm(QWidget* form);

// The number fields, readouts and chart labels of a form with the language's decimal
// separator (part of TranslateForm).
void ShowNumbersOfLanguage(QWidget* form);

// After a language change: the run-time texts a form built from messages of the language just
// left (chart titles, axis and series titles, a label or status line showing a message) in the
// new language. Texts of the inspector's own (a machine name, a file name) stay.
struct MessageText;
void RetranslateRunTimeTexts(QWidget* form, const QList<MessageText>& before, const QList<MessageText>& after);

// Chooses and opens the current language file: "Vkm30." + the stored choice in the program
// folder; with no choice the system's language, and "EN" when a non-Polish system has no file
// of its own. A missing file is no error: every lookup then gives its built-in text.
void LoadLanguageFile();
// Closes the current language file and Qt's translations (program end; tests start over).
void CloseLanguageFile();
bool LanguageFileOpen();
// The locale whose decimal separator the program shows: the system's, unless the language in
// use (a language file chosen by the user) is another language than the system's; then that
// language's own (English on a Polish system writes 1.5, Polish on an English one 1,5).
QLocale ShownNumberLocale();
// Path of the current language file (empty when none is open); the file may not exist.
QString CurrentLanguageFilePath();
// The current language file when it is there but could not be read, or is damaged (IniFile::
// damaged): its texts that could not be read stay built in. Empty otherwise.
QString DamagedLanguageFile();
// "<program folder>/Vkm30." : a language file is this followed by the abbreviation.
QString LanguageFileBaseName();
// The existing file base name + abbreviation (letter case ignored, as on Windows), or empty.
QString FindLanguageFile(const QString& abbreviation);

// Base of the program's dialogs. A form builds its controls in its constructor and calls
// FinishCreate() as its last step: the form is then translated once, after its controls exist.
class TSSForm : public QDialog {
    Q_OBJECT
public:
    explicit TSSForm(QWidget* parent = nullptr);
    virtual void AfterTranslate() {}

protected:
    void FinishCreate();
};
