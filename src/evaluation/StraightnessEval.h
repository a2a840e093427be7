#pragma once
// Straightness fits: removing the end-point line or the least-squares line from a point list
// (Dystans cm, Xa horizontal µm, Xr vertical µm), the slopes as angles in arc seconds, the values
// of the two straightness charts with their titles and captions, the environment fields of the
// measurement header, and left padding for aligned numbers.
#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "evaluation/MeasurementHeader.h"
#include "evaluation/PositioningStats.h"
#include "foundations/NumberFormat.h"
#include "foundations/PomiarCol.h"

namespace evaluation {

// 1 µm over 1 cm is 0.0001 rad; 206264.8 arc seconds per radian.
constexpr double SlopeToRadian = 0.0001;
constexpr double RadianToArcSecond = 206264.8;
constexpr double CmToInch = 0.3937007874015748;

// Angles of the Xa line and of the Xr line, in arc seconds, held with 6-byte real precision.
using LineAngles = std::array<double, 2>;
// Slope of Xa, slope of Xr (µm/cm), intercept of Xa, intercept of Xr (µm).
using LineCoefficients = std::array<double, 4>;

// A double rounded to the 40 significant bits of a 6-byte real (0 below its range).
double RoundToReal48(double value);

// Appends to `dest` one item per source point with Dystans copied and Xa, Xr replaced by their
// distances from the line through the first and the last point; `angles` gets the two slopes.
// Fewer than two points, or a last position equal to the first: no line is removed (the
// readings are copied as they are) and both angles are 0.
void FitEndPointLine(const TPunkt& source, TPunkt& dest, LineAngles& angles);
// The same with the least-squares line of each component. Fewer than two distinct positions:
// no line removed, angles 0.
void FitLeastSquaresLine(const TPunkt& source, TPunkt& dest, LineAngles& angles);
// Least-squares slope and intercept of both components; all 0 for fewer than two distinct
// positions.
void LeastSquaresCoefficients(const TPunkt& source, LineCoefficients& coefficients);

// What the main window's straightness settings choose for a plot.
struct StraightnessPlotOptions {
    int statisticsMethod = 0;    // 0 end-point line, 1 least-squares line, 2 no line removed
    int straightnessMethod = 0;  // 0 angular, 1 deflection, 2 the 3-D method (two-axis detector)
    bool flatnessMode = false;   // MeasurementMode 3
    int flatnessLine = 0;
    int lengthUnit = 0;  // 0 cm, 1 inch on the x axis; any other value plots nothing
};

// The contents of the two straightness charts and their value labels.
struct StraightnessPlot {
    QStringList horizontalTitle;  // wykres
    QStringList verticalTitle;    // WykresOsY
    SeriesValues horizontal{"DoPrzodu", {}};
    SeriesValues vertical{"ProstoOsY", {}};
    double horizontalValue = 0.0;  // max - min of the end-point-line residuals, µm
    double verticalValue = 0.0;
    QString horizontalCaption;  // LabelLuzZwrotny
    QString verticalCaption;    // LabBladProsY
};

// The plot of a measured point list: curves of the residuals chosen by the statistics method
// (points with a non-finite coordinate left out), the straightness values always from the
// end-point line, and the captions "Prostoliniowość = %5.2f µm".
StraightnessPlot PlotStraightness(const TPunkt& points, const StraightnessPlotOptions& options,
                                  QChar separator = foundations::systemDecimalSeparator());

// The environment panel as the run start finds it: each check box chooses the station's
// reading over the manual entry beside it.
struct EnvironmentEntry {
    bool humidityFromStation = false;  // CBWilg, else SEWilgotnosc
    QString humidityText;
    bool pressureFromStation = false;  // CBCis, else seCisnienie
    QString pressureText;
    bool airFromStation = false;  // CBTemp, else SETempPow
    QString airText;
    bool materialFromStation = false;  // CBTMat, else SETempMat
    QString materialText;
    double humidity = 0, pressure = 0, airTemperature = 0, materialTemperature = 0;  // readings
    double referenceTemperature = 20.0;
};
// The current readings of the shared environment globals (check boxes and texts left empty).
EnvironmentEntry EnvironmentFromGlobals();

// Writes humidity, pressure, air and material temperature, reference temperature and the date
// (system short format) into the header, each cut to its field's width. Readings are written
// with "." as the decimal separator.
void FillHeaderEnvironment(TMeasurementHeader& header, const EnvironmentEntry& entry, const QDate& today);

// Width - length + 1 blanks before S when S is at most Width long; a longer S unchanged.
QString PadLeft(uint8_t width, const QString& s);

}  // namespace evaluation
