#include "app/Gcodes.h"

#include <QIODevice>

#include "evaluation/MeasurementFiles.h"
#include "foundations/Cp1250.h"
#include "foundations/FR_Utils.h"
#include "foundations/StreamIO.h"

QString CheckGcodeRoute(const GcodeRouteInputs& in) {
    if (in.Axis < 0 || in.Axis > 2)
        return TranslateString(QStringLiteral("stGcodeOs"), QString::fromUtf8("Nieznana oś ruchu: wybierz X, Y lub Z."));
    if (in.Step < kGcodeMinStep || in.Step > kGcodeMaxStep)
        return TranslateString(QStringLiteral("stGcodeKrok"), QString::fromUtf8("Krok musi wynosić od 3 do 1000."));
    if (in.PointCount < kGcodeMinPoints || in.PointCount > kGcodeMaxPoints)
        return TranslateString(QStringLiteral("stGcodePunkty"),
                               QString::fromUtf8("Ilość punktów musi wynosić od 3 do 255."));
    if (in.CycleCount < kGcodeMinCycles || in.CycleCount > kGcodeMaxCycles)
        return TranslateString(QStringLiteral("stGcodeCykle"), QString::fromUtf8("Ilość cykli musi wynosić od 1 do 50."));
    return {};
}

namespace {

class Route {
public:
    explicit Route(QChar axis) : axis_(axis) {}
    // Incremental move along the axis; integers are written plainly, "-" only when negative.
    void move(int by) { lines_ << QStringLiteral("G91") + axis_ + QString::number(by) + u';'; }
    void dwell(int seconds) { lines_ << QStringLiteral("G04U") + QString::number(seconds) + u';'; }
    void line(const QString& block) { lines_ << block; }
    QStringList take() { return std::move(lines_); }

private:
    QChar axis_;
    QStringList lines_;
};

constexpr int kOver = kGcodeOvertravel;

void linearBody(Route& r, const GcodeRouteInputs& in) {
    for (int c = 1; c <= in.CycleCount; ++c) {
        for (int i = 1; i < in.PointCount; ++i) {
            r.move(in.Step);
            r.dwell(2);
        }
        // Past the far end and back: the last point is taken again from above.
        r.move(kOver);
        r.dwell(1);
        r.move(-kOver);
        r.dwell(2);
        for (int i = 1; i < in.PointCount; ++i) {
            r.move(-in.Step);
            r.dwell(2);
        }
        // Back at the base: the run waits for a fresh stop there to close the cycle (its last
        // one too, or Stop would drop it as unfinished), then takes the next cycle's first
        // point in the same dwell; hence below and back, and U5 as at the start.
        r.move(-kOver);
        r.dwell(1);
        r.move(kOver);
        r.dwell(5);
    }
}

void pilgrimBody(Route& r, const GcodeRouteInputs& in) {
    for (int p = 1; p <= in.PointCount; ++p) {
        if (p > 1) {
            r.move(in.Step);
            r.dwell(2);
        }
        r.move(kOver);
        r.move(-kOver);
        r.dwell(2);
        for (int c = 1; c < in.CycleCount; ++c) {
            r.move(-kOver);
            r.move(kOver);
            r.dwell(2);
            r.move(kOver);
            r.move(-kOver);
            r.dwell(2);
        }
    }
}

void pilgrim2Body(Route& r, const GcodeRouteInputs& in) {
    for (int p = 1; p <= in.PointCount; ++p) {
        if (p > 1) {
            r.move(in.Step);
            r.dwell(2);
        }
        for (int c = 1; c < in.CycleCount; ++c) {
            r.move(-kOver);
            r.move(kOver);
            r.dwell(2);
        }
        for (int c = 1; c <= in.CycleCount; ++c) {
            r.move(kOver);
            r.move(-kOver);
            r.dwell(2);
        }
    }
}

}  // namespace

QStringList GcodeRouteLines(const GcodeRouteInputs& in) {
    if (!CheckGcodeRoute(in).isEmpty()) return {};
    Route r(QChar(u"XYZ"[in.Axis]));
    r.line(QStringLiteral("G90X%1Y%2Z%3;").arg(in.BaseX).arg(in.BaseY).arg(in.BaseZ));
    r.line(QStringLiteral("G94F100;"));
    r.move(-kOver);
    r.dwell(1);
    r.move(kOver);
    switch (in.Method) {
    case 0:
        r.dwell(5);
        linearBody(r, in);
        break;
    case 1:
        r.dwell(5);
        pilgrimBody(r, in);
        break;
    case 2:
        r.dwell(5);
        pilgrim2Body(r, in);
        break;
    default:
        break;
    }
    return r.take();
}

void SaveGcodeRoute(const QString& FileName, const QStringList& lines) {
    QString text;
    for (const QString& l : lines) text += l + QStringLiteral("\r\n");
    const QByteArray bytes = foundations::toCp1250(text);
    SaveFileThroughTemporary(FileName, [&](QIODevice& d) { foundations::writeExact(d, bytes.constData(), bytes.size()); });
}
