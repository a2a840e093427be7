#include "foundations/ProgramMessages.h"

#include "foundations/FR_Utils.h"

QString BuiltInMessage(const QString& key) {
    (void)key;
    return QString();
}

QString Msg(const QString& key) { return TranslateString(key, BuiltInMessage(key)); }
