#include "foundations/FR_Utils.h"

QString TranslateString(const QString& key, const QString& defaultText) {
    (void)key;
    return defaultText;
}
