#pragma once
// Language service: the base form that translates itself, and run-time texts by message key.
#include <QDialog>
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

// Chooses and opens the current language file: "Vkm30." + the stored choice in the program
// folder; with no choice the system's language, and "EN" when a non-Polish system has no file
// of its own. A missing file is no error: every lookup then gives its built-in text.
void LoadLanguageFile();
// Closes the current language file and Qt's translations (program end; tests start over).
void CloseLanguageFile();
bool LanguageFileOpen();
// Path of the current language file (empty when none is open); the file may not exist.
QString CurrentLanguageFilePath();
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
