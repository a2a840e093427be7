#pragma once
#include <optional>
// The measurement type pages of the main window (positioning, velocity, flatness): what their
// entries, the open and save guard, the velocity run toggle, the results gate and the set-up
// picture need from other parts of the window. Each seam is filled
// by the part that owns it; an empty seam does nothing (or answers as noted).
#include <QString>
#include <functional>

#include "foundations/PomiarCol.h"

struct TypePageSeams {
    std::function<bool()> HeadReady;                 // empty: not ready
    std::function<void()> StartLinearReading;
    std::function<void()> StartVelocityReading;
    std::function<void()> StartSignalMonitor;
    std::function<void()> RestartMeteoReading;
    std::function<void()> HidePositioningPanels;
    std::function<void()> ShowPositioningPanels;
    std::function<void()> ResetHeadFlags;
    std::function<void()> ClearFifo;
    std::function<void()> ReturnToMainMenuFromVelocity;
    std::function<void(int mode)> ShowRecentFiles;   // the recent-file commands of a type
    std::function<void()> RefreshParameterSummary;
    // Open and save as a file type (0..5); true when it happened.
    std::function<bool(int mode)> OpenMeasurement;
    std::function<bool(int mode)> SaveMeasurement;
    std::function<void()> StoreFlatnessLine;
    std::function<bool()> EditTargetPoints;          // the target points editor; true on OK
    std::function<void()> EvaluatePositioningRun;    // statistics and result views
    std::function<void()> RedrawPositioningResults;  // result views from the statistics held
    std::function<void()> EndMeasurementRun;
    std::function<int()> AskSaveChanges;             // 2 Cancel, 6 Yes, 7 No; empty: 7
    std::function<void()> FillHeaderEnvironment;
    std::function<int()> MeasuredAxis;               // empty: 0
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
