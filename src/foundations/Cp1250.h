#pragma once
// Windows code page 1250, the 8-bit text of short strings and of the files the system writes.
#include <QByteArray>
#include <QString>

namespace foundations {

char16_t cp1250ToUnicode(unsigned char b);
QString fromCp1250(const QByteArray& bytes);
// Characters the code page lacks become `replacement`.
QByteArray toCp1250(const QString& text, char replacement = '?');

}  // namespace foundations
