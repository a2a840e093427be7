#pragma once
// The measuring program for the machine under test: a G-code text that drives the axis from
// target point to target point and dwells at each, approaching the points in the order that
// point acceptance (instrument/PointAcceptance) expects for the chosen cycle pattern.
//
// Moves are incremental steps of Krok; before each approach the axis goes 2 units past the
// point and comes back, so backlash is always taken out in the direction of the approach.
// Dwells are in seconds of the control: U2 gives acceptance (PointNumber samples at 25 a
// second, 1 s by default) time to take a point; U5 at the base point covers the first point of
// the run and, in the linear pattern, the return to the start between cycles, where the run
// takes two acceptances in one dwell (the end of the cycle, then the next cycle's first point).
//
// How to run it: start the program on the control, and start the run on the PC while the axis
// rests at the base point after the opening take-up (the first U5 dwell): started earlier, the
// run takes the base before the take-up, which the linear pattern then reads as a wrong counting
// sign and pilgrim 2 as its next approach. The targets come from a point list (base, base + Krok,
// ... along the axis; a taught first cycle does not fit the far-end overtravel), the linear
// pattern's start point is the base, and the error window is below the 2-unit overtravel.
#include <QString>
#include <QStringList>

struct GcodeRouteInputs {
    int BaseX = 0, BaseY = 0, BaseZ = 0;  // BazaX, BazaY, BazaZ: absolute base point
    int Axis = 0;                         // WyborOsi: 0 X, 1 Y, 2 Z
    int Step = 3;                         // Krok
    int PointCount = 3;                   // IloscPunktow
    int CycleCount = 1;                   // IloscCykli
    int Method = 0;                       // PositioningMethod: 0 linear, 1 pilgrim, 2 pilgrim 2
};

inline constexpr int kGcodeMinStep = 3, kGcodeMaxStep = 1000;
inline constexpr int kGcodeMinPoints = 3, kGcodeMaxPoints = 255;
inline constexpr int kGcodeMinCycles = 1, kGcodeMaxCycles = 50;
inline constexpr int kGcodeOvertravel = 2;

// Empty when the inputs make a program; otherwise the message to show. A step, count or axis
// out of range is refused rather than turned into a program that drives the axis elsewhere.
QString CheckGcodeRoute(const GcodeRouteInputs& in);

// The blocks of the program, one per line, without line ends; empty when CheckGcodeRoute
// refuses the inputs. A pattern other than 0..2 gives only the opening.
QStringList GcodeRouteLines(const GcodeRouteInputs& in);

// Writes the lines as 8-bit text with CR LF through a temporary file renamed over FileName.
// Errors throw MeasurementFileError; the previous file then stays as it was.
void SaveGcodeRoute(const QString& FileName, const QStringList& lines);
