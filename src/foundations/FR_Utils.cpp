#include "foundations/FR_Utils.h"

QString TranslateString(const QString& key, const QString& defaultText) {
    (void)key;
    return defaultText;
}

void TranslateForm(QWidget* form) {
    if (auto* f = qobject_cast<TSSForm*>(form)) f->AfterTranslate();
}

TSSForm::TSSForm(QWidget* parent) : QDialog(parent) {}

void TSSForm::FinishCreate() { TranslateForm(this); }
