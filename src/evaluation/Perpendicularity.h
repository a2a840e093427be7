#pragma once
// Perpendicularity of two machine axes from two straightness runs, one along each axis: a
// reference line is removed from the chosen deviation of each run, its slope gives the axis'
// angle, and the angle between the axes is 90° + angle of axis 1 − angle of axis 2 (arc
// seconds). So a positive slope of axis 1 opens the angle beyond 90°, a positive slope of axis 2
// closes it; equal slopes give exactly 90°.
#include <QChar>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "foundations/NumberFormat.h"
#include "foundations/PomiarCol.h"

namespace evaluation {

constexpr double RightAngleArcSeconds = 324000.0;  // 90°

// Which deviation of a run is evaluated (rgOs).
enum PerpendicularityPlane : int { ppHorizontal = 0, ppVertical = 1 };  // Xa, Xr
// Which reference line is removed (RGStatystyka).
enum PerpendicularityLine : int { plEndPoints = 0, plLeastSquares = 1 };

// Why a run gives no line.
enum class AxisLineFault {
    None,
    TooFewPoints,   // fewer than two points, or no span between the positions the line needs
    NonFinite,      // a position or deviation of the run is not a number
};

struct AxisLineFit {
    AxisLineFault fault = AxisLineFault::None;
    double angle = 0.0;               // arc seconds (6-byte real precision); 0 without a line
    std::vector<QPointF> residuals;   // (Dystans cm, residual µm), finite points only
    bool fitted() const { return fault == AxisLineFault::None; }
};

// Removes the chosen line (plEndPoints or plLeastSquares; any other value: end points) from the
// chosen deviation (ppHorizontal Xa, ppVertical Xr; any other value: Xa) of a run. Without a
// line the residuals are the readings as they are and the angle is 0.
AxisLineFit FitAxisLine(const TPunkt& points, int line, int plane);

// 324000 + angle1 − angle2, arc seconds.
double AngleBetweenAxes(double angle1, double angle2);

// Whole arc seconds split on their absolute value; sign 1 for a negative input.
struct ArcSecondsSplit {
    uint8_t sign = 0;
    uint32_t degrees = 0;
    uint8_t minutes = 0;
    uint8_t seconds = 0;
    bool operator==(const ArcSecondsSplit&) const = default;
};
ArcSecondsSplit SplitArcSeconds(int32_t s);

// An axis' slope angle as its label shows it: fixed, precision 5, 2 decimals.
QString FormatSlopeAngle(double angle, QChar separator = foundations::systemDecimalSeparator());
// The result line: v with 1 decimal, " sek. = ", then v as degrees, minutes and seconds with
// 1 decimal: "324012.5 sek. = 90° 0' 12.5\"". The degrees, minutes and seconds are those of v
// rounded to the tenth the first figure shows, so 59.96" reads 1' 0.0", never 60.0"; a
// negative v carries its sign before the degrees.
QString FormatAngleBetweenAxes(double v, QChar separator = foundations::systemDecimalSeparator());

// The two axes of the form: their loaded runs, stored angles and the current fits.
class PerpendicularityEval {
public:
    struct Axis {
        TPunkt points;
        bool loaded = false;
        double angle = 0.0;     // the axis' stored angle: kept until a fit replaces it
        AxisLineFit line;       // the last fit
    };

    int plane = ppHorizontal;
    int line = plEndPoints;

    const Axis& axis(int index) const { return axes_.at(size_t(index)); }

    // Reads a straightness file into axis `index` (0 or 1) through the measurement file reader,
    // without touching any header but its own, and fits the axis. On failure the reader's
    // message is returned and the axis keeps what it held.
    std::optional<QString> LoadAxis(int index, const QString& fileName);
    // Uses the given points as the run of axis `index` (a loaded run) and fits it.
    void SetAxisPoints(int index, const TPunkt& points);
    // Fits axis `index` again with the current plane and line; nothing for an axis never loaded.
    void FitAxis(int index);
    void FitBoth() { FitAxis(0); FitAxis(1); }

    bool BothLoaded() const { return axes_[0].loaded && axes_[1].loaded; }
    // The angle between the axes when both runs give a line.
    std::optional<double> AngleBetween() const;
    // Why no angle can be given: one line per loaded axis without a line (empty when none).
    QStringList Faults() const;
    // The result label: the angle between the axes when both runs give a line; the faults when
    // a loaded run gives none; "-" otherwise.
    QString ResultText(QChar separator = foundations::systemDecimalSeparator()) const;

private:
    std::array<Axis, 2> axes_;
};

}  // namespace evaluation
