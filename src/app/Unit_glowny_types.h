#pragma once
// The measurement type pages of the main window: what they call of other parts of the window,
// and the plain rules of their entries.
#include <QString>
#include <optional>

#include "foundations/PomiarCol.h"

// What the type pages (positioning, velocity, angular, flatness, vibration) call of other parts
// of the window: their entries, the open and save guard, the velocity run toggle, the results
// gate and the set-up picture. The window implements every call (Unit_glowny_types.cpp),
// forwarding to the part that owns it.
class TypePageCalls {
public:
    virtual bool HeadReady() = 0;
    virtual void StartLinearReading() = 0;
    virtual void StartVelocityReading() = 0;
    virtual void StartSignalMonitor() = 0;
    virtual void RestartMeteoReading() = 0;
    virtual void HidePositioningPanels() = 0;
    virtual void ShowPositioningPanels() = 0;
    virtual void ResetHeadFlags() = 0;
    virtual void ClearFifo() = 0;
    virtual void ReturnToMainMenuFromVelocity() = 0;
    // The recent-file commands of a file type.
    virtual void ShowRecentFiles(int mode) = 0;
    virtual void RefreshParameterSummary() = 0;
    // Open and save as a file type (0..5); true when it happened.
    virtual bool OpenMeasurement(int mode) = 0;
    virtual bool SaveMeasurement(int mode) = 0;
    virtual void StoreFlatnessLine() = 0;
    // The target points editor; true on OK.
    virtual bool EditTargetPoints() = 0;
    // Statistics and result views.
    virtual void EvaluatePositioningRun() = 0;
    // Result views from the statistics held.
    virtual void RedrawPositioningResults() = 0;
    virtual void EndMeasurementRun() = 0;
    // 2 Cancel, 6 Yes, 7 No.
    virtual int AskSaveChanges() = 0;
    virtual void FillHeaderEnvironment() = 0;
    virtual int MeasuredAxis() = 0;

protected:
    ~TypePageCalls() = default;
};

// The run can be evaluated: at least 2 cycles, more than 5 points in the first, and every cycle
// as long as the first.
bool PositioningRunUsable(const TCykl& cycles);

// Name of the set-up picture for a measurement mode and measured axis: "katowe" (mode 8),
// "wollaston" (mode 9) or "liniowe", then x, y or z; the Wollaston readout shows the X picture
// for the Y axis too.
QString SetupPictureName(int mode, int measuredAxis);

// The expansion coefficient (1/K) of ComboBox1's material item: aluminium, copper, duralumin,
// steel; none for the user's own value (item 4) or an item that is not there.
std::optional<double> MaterialExpansionCoefficient(int item);

// The chart background of a positioning method in the program folder: "liniowe", "pilgrim" or
// "pilgrim2" as PNG or SVG; empty when neither exists.
QString PositioningBackgroundFile(const QString& programDir, int positioningMethod);
// The base name of that background ("liniowe", "pilgrim", "pilgrim2"; empty for another method)
// and what is said when neither file is there.
QString PositioningBackgroundName(int positioningMethod);
QString MissingBackgroundText(int positioningMethod);
