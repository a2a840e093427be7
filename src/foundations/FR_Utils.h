#pragma once
// Language service: the base form that translates itself, and run-time texts by message key.
#include <QDialog>
#include <QString>

class QWidget;

// Text of a message key from the current language file's "Strings" section, else Default.
// Never opens the file itself: before the first form is translated the built-in text is used.
QString TranslateString(const QString& key, const QString& defaultText);

// Replaces the texts of a form (any top-level widget; its objectName is the section name) from
// the current language file, opening it first when none is open; then calls AfterTranslate
// when the form is a TSSForm.
void TranslateForm(QWidget* form);

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
