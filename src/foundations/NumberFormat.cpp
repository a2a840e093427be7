#include "foundations/NumberFormat.h"

#include <QByteArray>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundations/FR_Utils.h"
#include "foundations/LocaleTable.h"

namespace foundations {

namespace {

// Keeps `count` significant digits of d (count <= 0 keeps none), rounding half away from zero
// on the exact digits; a carry out of the first digit raises the exponent.
void roundDigits(ExactDecimal& d, int count) {
    if (count >= d.digits.size()) return;
    bool up = count >= 0 && d.digits[count] >= '5';
    if (count < 0) {
        d.digits.clear();
        return;
    }
    d.digits.truncate(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[i] == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            d.digits[i] = char(d.digits[i] + 1);
        } else {
            d.digits.prepend('1');
            d.digits.truncate(std::max(count, 1));
            ++d.exponent;
        }
    }
    while (!d.digits.isEmpty() && d.digits.endsWith('0')) d.digits.chop(1);
    if (d.digits.isEmpty()) d.exponent = 0;
}

QString nonFinite(double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Digits of d as a fixed-point text with exactly `decimals` decimals (d already rounded).
QString fixedText(const ExactDecimal& d, int decimals, QChar separator) {
    QString intPart, fracPart;
    const int n = d.digits.size();
    if (n == 0 || d.exponent <= 0) {
        intPart = QStringLiteral("0");
    } else {
        for (int i = 0; i < d.exponent; ++i) intPart += QChar(i < n ? d.digits[i] : '0');
    }
    for (int k = 0; k < decimals; ++k) {
        int i = d.exponent + k;  // index of the digit at decimal place k + 1
        fracPart += QChar(i >= 0 && i < n ? d.digits[i] : '0');
    }
    QString s = (d.negative && n > 0) ? QStringLiteral("-") : QString();
    s += intPart;
    if (decimals > 0) s += separator + fracPart;
    return s;
}

QString rightAlign(const QString& s, int width) {
    return s.size() >= width ? s : QString(width - s.size(), u' ') + s;
}

}  // namespace

namespace {

// The significant digits of |value| with `sig` digits in all (printf rounds the last one).
ExactDecimal printfDigits(double value, int sig) {
    ExactDecimal d;
    d.negative = std::signbit(value);
    if (value == 0.0 || !std::isfinite(value)) return d;
    char buf[900];
    int len = std::snprintf(buf, sizeof buf, "%.*e", sig - 1, std::fabs(value));
    const char* e = std::find(buf, buf + len, 'e');
    d.exponent = std::atoi(e + 1) + 1;
    d.digits.reserve(int(e - buf));
    for (const char* p = buf; p < e; ++p)
        if (*p >= '0' && *p <= '9') d.digits += *p;
    return d;
}

void dropTrailingZeros(ExactDecimal& d) {
    while (d.digits.endsWith('0')) d.digits.chop(1);
}

// Digits good enough to round at the position countOf(exponent) gives: 40 digits from printf
// when a non-zero digit behind that position shows printf's own rounding did not carry into
// it, else all the exact digits.
template <typename CountOf>
ExactDecimal digitsForRounding(double value, CountOf countOf) {
    constexpr int kQuick = 40;
    ExactDecimal d = printfDigits(value, kQuick);
    if (d.digits.isEmpty()) return d;
    const int count = countOf(d.exponent);
    bool safe = count >= 0 && count + 1 < kQuick;
    if (safe) {
        safe = false;
        for (int i = count + 1; i < kQuick; ++i)
            if (d.digits[i] != '0') {
                safe = true;
                break;
            }
    }
    if (!safe) return exactDecimal(value);
    dropTrailingZeros(d);
    return d;
}

}  // namespace

ExactDecimal exactDecimal(double value) {
    // A double has at most 767 significant decimal digits, so 800 shows it exactly.
    ExactDecimal d = printfDigits(value, 800);
    dropTrailingZeros(d);
    return d;
}

QString formatFixed(double value, int precision, int decimals, QChar separator) {
    if (!std::isfinite(value)) return nonFinite(value);
    precision = std::clamp(precision, 1, 767);
    decimals = std::max(decimals, 0);
    auto countOf = [&](int exponent) { return std::min(precision, exponent + decimals); };
    ExactDecimal d = digitsForRounding(value, countOf);
    if (!d.digits.isEmpty()) roundDigits(d, countOf(d.exponent));
    if (d.exponent > precision) {
        // Scientific form: the significant digits, trailing zeros dropped, and the exponent.
        QString s = d.negative ? QStringLiteral("-") : QString();
        s += QChar(d.digits[0]);
        if (d.digits.size() > 1) s += separator + QString::fromLatin1(d.digits.mid(1));
        s += u'E' + QString::number(d.exponent - 1);
        return s;
    }
    return fixedText(d, decimals, separator);
}

QString formatGeneral(double value, int precision, QChar separator) {
    if (!std::isfinite(value)) return nonFinite(value);
    precision = std::clamp(precision, 1, 767);
    ExactDecimal d = digitsForRounding(value, [&](int) { return precision; });
    if (d.digits.isEmpty()) return QStringLiteral("0");
    roundDigits(d, precision);
    const QString sign = d.negative ? QStringLiteral("-") : QString();
    const int n = d.digits.size();
    if (d.exponent > precision || d.exponent < -4) {
        QString s = sign + QChar(d.digits[0]);
        if (n > 1) s += separator + QString::fromLatin1(d.digits.mid(1));
        return s + u'E' + QString::number(d.exponent - 1);
    }
    return fixedText(d, std::max(0, n - d.exponent), separator);
}

QString formatField(double value, int width, int decimals) {
    if (!std::isfinite(value)) return rightAlign(nonFinite(value), width);
    decimals = std::max(decimals, 0);
    auto countOf = [&](int exponent) { return exponent + decimals; };
    ExactDecimal d = digitsForRounding(value, countOf);
    if (!d.digits.isEmpty()) roundDigits(d, countOf(d.exponent));
    return rightAlign(fixedText(d, decimals, u'.'), width);
}

QString formatFieldExp(double value, int width) {
    if (!std::isfinite(value)) return rightAlign(nonFinite(value), width);
    const int decimals = std::clamp(width - 9, 1, 14);
    ExactDecimal d = digitsForRounding(value, [&](int) { return decimals + 1; });
    int exponent = 0;
    QString mantissa;
    if (!d.digits.isEmpty()) {
        roundDigits(d, decimals + 1);
        exponent = d.exponent - 1;
    }
    mantissa += QChar(d.digits.isEmpty() ? '0' : d.digits[0]);
    mantissa += u'.';
    for (int i = 1; i <= decimals; ++i) mantissa += QChar(i < d.digits.size() ? d.digits[i] : '0');
    QString s = (d.negative && !d.digits.isEmpty()) ? QStringLiteral("-") : QStringLiteral(" ");
    s += mantissa + u'E' + (exponent < 0 ? u'-' : u'+') +
         QStringLiteral("%1").arg(std::abs(exponent), 4, 10, QChar(u'0'));
    return rightAlign(s, width);
}

std::optional<double> parseUserReal(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?$"));
    QString t = text.trimmed();
    if (!re.match(t).hasMatch()) return std::nullopt;
    t.replace(u',', u'.');
    bool ok = false;
    double v = t.toDouble(&ok);  // QString::toDouble is locale-independent ("C")
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QChar systemDecimalSeparator() {
    const QString p = ShownNumberLocale().decimalPoint();
    return p.isEmpty() ? QChar(u'.') : p.front();
}

}  // namespace foundations
