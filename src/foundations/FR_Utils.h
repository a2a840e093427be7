#pragma once
// Language service: the base form that translates itself, and run-time texts by message key.
#include <QString>

// Text of a message key from the current language file's "Strings" section, else Default.
// Never opens the file itself: before the first form is translated the built-in text is used.
QString TranslateString(const QString& key, const QString& defaultText);
