#pragma once
// The message table: every run-time message, caption part and label by its key, with its
// built-in Polish text.
#include <QString>

// Built-in Polish text of a key (keys compared without regard to case); empty for an unknown key.
QString BuiltInMessage(const QString& key);
// TranslateString(key, BuiltInMessage(key)): the text to show.
QString Msg(const QString& key);
