#pragma once
// The message table: every run-time message, caption part and label by its key, with its
// built-in Polish text.
#include <QString>
#include <QStringList>

// Built-in Polish text of a key (keys compared without regard to case); empty for an unknown key.
QString BuiltInMessage(const QString& key);
// Every key of the table once, in table order (for language-file checks).
QStringList BuiltInMessageKeys();
// TranslateString(key, BuiltInMessage(key)): the text to show.
QString Msg(const QString& key);

// The text of every key of the table as the language in use gives it, in table order.
struct MessageText {
    QString key;
    QString text;
};
using MessageTexts = QList<MessageText>;
MessageTexts CurrentMessageTexts();

// A text the window built from messages of one language, in another: every message text of
// `before` found in it as a whole (not inside a longer word) becomes its text in `after`, the
// longest first; what lies between (numbers, units, dates, " - ") stays. Texts with a "%d" or
// "%s" and texts of one character are left alone, as are texts the two languages share.
QString RetranslateText(const QString& text, const MessageTexts& before, const MessageTexts& after);

// A message with its first "%d" or "%s" replaced by value. Language-file texts are never used
// as format strings: every other "%" stays as written.
QString FillPlaceholder(const QString& text, const QString& value);
inline QString FillPlaceholder(const QString& text, long long value) { return FillPlaceholder(text, QString::number(value)); }
