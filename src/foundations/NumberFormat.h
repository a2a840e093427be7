#pragma once
// Numbers as text. Every rounding here is half away from zero on the exact decimal value of the
// double, so 0.125 with two decimals gives 0.13 and 1.005 (really 1.00499999...) gives 1.00.
#include <QChar>
#include <QString>
#include <optional>

namespace foundations {

// Fixed-point text: rounded to `precision` significant digits but at most `decimals` decimals,
// padded with zeros to `decimals` decimals; "-" only when a non-zero digit is shown. When the
// integer part needs more than `precision` digits the text is in scientific form ("1.5E20").
// Non-finite values give "NAN", "INF" or "-INF".
QString formatFixed(double value, int precision, int decimals, QChar separator = u'.');

// General text (what FloatToStr gives with precision 15): up to `precision` significant digits,
// trailing zeros dropped; scientific ("1.5E20", "1E-6") when the integer part needs more than
// `precision` digits or the value is below 0.00001.
QString formatGeneral(double value, int precision = 15, QChar separator = u'.');

// Pascal-style field x:w:d: `decimals` decimals (no significant-digit cap), right-aligned in
// `width` with blanks and never cut. The separator is always ".", as in files the system writes.
QString formatField(double value, int width, int decimals);
// Pascal-style field x:w: scientific form with a blank or "-", one digit, "." and w - 9
// decimals (1 to 14), "E", the exponent's sign and four digits; x:23 gives
// " 1.00000000000000E+0000". Right-aligned in `width`, never cut.
QString formatFieldExp(double value, int width = 23);
// printf-style "%<width>.<decimals>f" with the rounding above (same as formatField).
inline QString formatPrintfF(double value, int width, int decimals) { return formatField(value, width, decimals); }

// A real typed by the user: blanks around it are ignored, "." and "," both serve as the
// decimal separator (one at most), an optional sign and exponent are accepted. nullopt when the
// text is not a number.
std::optional<double> parseUserReal(const QString& text);
// The decimal separator shown to the user: the system locale's, or that of the language the
// user chose when it is not the system's language (ShownNumberLocale).
QChar systemDecimalSeparator();

// The decimal digits of a double exactly as it is stored, for rounding: `digits` holds the
// significant digits without leading zeros ("" for zero), and value = 0.digits × 10^exponent.
struct ExactDecimal {
    bool negative = false;
    QByteArray digits;
    int exponent = 0;
};
ExactDecimal exactDecimal(double value);

}  // namespace foundations
