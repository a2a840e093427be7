#pragma once
// The status bar summary of the positioning and straightness page (the parameters the next run
// will be made with), the zero line rule of the positioning chart and the start point edits'
// unit rules. Plain code: the window gathers the settings and captions, these give the texts.
#include <QChar>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace summary {

// What the summary is made from: the settings and the captions of the menu commands it names
// (as translated on the window).
struct SummaryInput {
    uint8_t measurementMode = 0;  // 0 positioning; any other: straightness and flatness lines
    // Positioning.
    bool handAccept = false;  // ReczneZaliczeniePunktu checked
    QString handAcceptCaption;
    bool pointsFromList = false;  // PunktyZListy checked
    QString pointsFromListCaption;
    std::optional<double> lastTarget;  // the last target point (mm); none while the list is empty
    uint8_t positioningMethod = 0;     // 0 linear, 1 pilgrim, 2 pilgrim 2
    int32_t cycleCount = 0;
    bool uniDirectional = false;
    bool stopAfterCycle = false;  // StopPoKazdymCyklu1 checked
    QString stopAfterCycleCaption;
    // Straightness and flatness lines.
    uint8_t straightnessMethod = 0;  // 0 angular, 1 deflection, 2 3-D
    double baseLength = 0.0;         // mm
    int32_t straightnessPointCount = 0;
    uint8_t statisticsMethod = 0;
    QStringList statisticsMethodNames;
    QChar decimalSeparator = u'.';
};

// The five panels of StatusBar1, panel 0 first.
std::array<QString, 5> MeasurementParameterTexts(const SummaryInput& in);

// The unit of the straightness readout: "sek" for the angular method, "µm" otherwise.
QString StraightnessUnitCaption(uint8_t straightnessMethod);

// The zero line is drawn only when the value axis runs from below zero to above it.
bool ZeroLineShown(double leftMinimum, double leftMaximum);

// A start point (held in mm) as its edit shows it: inches for length unit 1.
double StartPointShown(double storedMm, int32_t lengthUnit);
// The decimals of a start point edit in a length unit.
int StartPointDecimals(int32_t lengthUnit);
// The text a start point edit with `decimals` decimals shows for a stored start point.
QString StartPointText(double storedMm, int decimals, int32_t lengthUnit, QChar separator);
// The start point after its edit shows `text`: the edit's value (0 for a text that is no number),
// × 25.4 in inch units. The very text the stored value is shown with keeps the stored value, so
// that showing a start point does not round it.
double StartPointFromEdit(double storedMm, const QString& text, int decimals, int32_t lengthUnit,
                          QChar separator);

}  // namespace summary
