#include "foundations/Display.h"

#include <QPainter>
#include <cmath>

#include "foundations/NumberFormat.h"

TDisplay::TDisplay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    color_ = palette().color(QPalette::Window);
    resize(60, 12);
}

double TDisplay::RoundValue(double value, int precision) {
    if (!std::isfinite(value)) return value;
    const double f = std::pow(10.0, precision);
    // From 2^52 on a double has no fraction left to round, and the product could overflow.
    if (!(std::fabs(value) * f < 4503599627370496.0)) return value;
    const double r = std::trunc(std::fabs(value) * f + 0.5) / f;
    return std::copysign(r, value);
}

void TDisplay::SetValue(double value) {
    const double r = RoundValue(value, precision_);
    if (r == value_ || (std::isnan(r) && std::isnan(value_))) return;
    value_ = r;
    redraw();
}

void TDisplay::SetPrecision(int p) {
    if (p < 0 || p > 14) return;
    precision_ = p;
    redraw();
}

QChar TDisplay::DecSep() const { return decSep_.isNull() ? foundations::systemDecimalSeparator() : decSep_; }

void TDisplay::SetDecSep(QChar c) {
    decSep_ = c;
    redraw();
}

void TDisplay::SetAngle(bool on) {
    angle_ = on;
    redraw();
}

void TDisplay::SetColor(const QColor& c) {
    color_ = c;
    redraw();
}

QString TDisplay::DecimalText(double value, int precision, QChar sep) {
    return foundations::formatFixed(value, 10, precision, sep);
}

QString TDisplay::AngleText(double value, int precision, QChar sep) {
    if (!std::isfinite(value)) return foundations::formatFixed(value, 10, precision, sep);
    // Arc seconds truncated toward zero; the sign is taken from the value itself, so that
    // -0.5" still shows its minus.
    double whole = std::trunc(value);
    const QString sign = value < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    whole = std::fabs(whole);
    const double degrees = std::floor(whole / 3600.0);
    const double minutes = std::floor(std::fmod(whole, 3600.0) / 60.0);
    const double seconds = std::fmod(whole, 60.0) + std::fabs(value - std::trunc(value));
    auto pad = [sep](QString t) {
        int p = t.indexOf(sep);
        p = p < 0 ? int(t.size()) + 1 : p + 1;
        if (p < 3 || p == t.size()) t.prepend(QStringLiteral("  "));
        return t;
    };
    const QString m = pad(QString::number(qint64(minutes)));
    const QString s = pad(foundations::formatFixed(seconds, 4, precision, sep));
    return sign + QString::number(degrees, 'f', 0) + QChar(0x00B0) + m + u'\'' + s + u'"';
}

QString TDisplay::DisplayText() const {
    return angle_ ? AngleText(value_, precision_, DecSep()) : DecimalText(value_, precision_, DecSep());
}

void TDisplay::redraw() {
    ++redraws_;
    update();
}

void TDisplay::paintEvent(QPaintEvent*) {
    // Qt paints widgets through a back buffer, so the readout never flickers.
    QPainter p(this);
    p.fillRect(rect(), color_);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const QString t = DisplayText();
    const QFontMetrics fm(font());
    const int y = (height() - fm.height()) / 2;
    p.drawText(QRect(0, y, width(), fm.height()), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, t);
}
