#pragma once
// Point acceptance: decides, sample by sample, when the machine has come to rest at a measuring
// point, for the three positioning patterns, straightness and flatness lines and angular
// divisions. Plain code on the user-interface thread: the reading thread's sample handler feeds
// it one converted sample at a time; what it decides goes out through AcceptanceSink, whose
// routines the main window implements (point store, run end, indicators, motor).
#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>

#include "foundations/PomiarCol.h"

namespace instrument {

// Settings of a run (main-window fields and menu check marks).
struct AcceptanceSettings {
    double errorWindow = 0.0;        // ErrorWindow, µm
    double vibration = 0.0;          // Vibration, µm
    uint32_t pointNumber = 25;       // PointNumber, stable samples needed
    double pointDistance = 0.0;      // PointDistance, µm (linear pattern)
    int cycleCount = 1;              // CycleCount
    double errorWindowPK = 0.0;      // ErrorWindowPK, arc seconds
    double vibrationPK = 0.0;        // VibrationPK, arc seconds
    uint32_t pointNumberPK = 25;     // PointNumberPK
    bool uniDirectional = false;     // UniDirectional
    int straightnessPointCount = 0;  // StraightnessPointCount
    bool pointsFromList = false;     // PunktyZListy
    bool manualAccept = false;       // ReczneZaliczeniePunktu
    bool manualAcceptPK = false;     // ReczneZaliczeniePunktuPK
    bool stopAfterEachCycle = false; // StopPoKazdymCyklu1
    bool autoEndLine = false;        // Automatyczny1
    int moveThreshold = 10;          // ScrollBar13 position (10..200)
    int rotationDirection = 0;       // RotationDirection
    double startPoint = 0.0;         // StartPoint, mm
};

// The state the run and cycle starts set up and acceptance advances.
struct AcceptanceState {
    int32_t pointIndex = 0;              // PointIndex
    int32_t acceptState = 0;             // AcceptState (pilgrim patterns)
    bool approachBackwardNext = false;   // ApproachBackwardNext (pilgrim 2)
    bool passFinished = false;           // PassFinished (linear)
    bool forwardPass = true;             // ForwardPass
    double lastValue = 0.0;              // LastValue
    double lastAcceptedValue = 0.0;      // LastAcceptedValue
    int currentCycle = 1;                // CurrentCycle, 1-based
    uint32_t stableCount = 0;            // consecutive stable samples (32-bit: long settle times)
    bool manualAcceptRequest = false;    // ManualAcceptRequest (button or timer)
    int32_t acceptedPointCount = 0;      // AcceptedPointCount (straightness line)
    bool moveHintPhase = false;          // MoveHintPhase
    bool awaitingRotation = false;       // AwaitingRotation
    double rotationStartValue = 0.0;     // RotationStartValue
    double angleBase = 0.0;              // AngleBase, arc seconds
};

// The main window's side of acceptance. Each routine carries the name it has on the main window
// or in the point store; the arguments say what the routine would otherwise read from globals.
// Every call is pure: a run the window does not wire does not compile.
class AcceptanceSink {
public:
    virtual ~AcceptanceSink() = default;
    virtual void MessageBeep() = 0;
    // Indicators: LabOkno (in the window), LabZal (accepted), DispWarZadana (target in mm).
    virtual void ShowInWindow(bool) = 0;
    virtual void ShowAccepted(bool) = 0;
    virtual void ShowTarget(double /*mm*/) = 0;
    // Flips the sign used by the conversion.
    virtual void SpeedButtonZnakClick() = 0;
    // Linear teaching cycle turns back: remove the last point of DoPrzodu, point
    // `cyclePointIndex` of the current cycle and the last point of LiniaZera (when it has any);
    // the grid gets `gridRows` rows. The last target has already been removed.
    virtual void TurnBack(int /*cyclePointIndex*/, int /*gridRows*/) = 0;
    // Store point i of cycle `cycle` (1-based) with the reading v, forward or backward. In the
    // teaching cycle the forward store appends the taught target (v rounded to a millimetre).
    virtual void StorePositioningPoint(int /*i*/, int /*cycle*/, double /*v*/, bool /*forward*/) = 0;
    virtual void FillPositioningGrid(int /*i*/, int /*cycle*/, double /*v*/, bool /*forward*/) = 0;
    virtual int PositioningCycleCount() = 0;
    virtual void SaveBackupCopy() = 0;
    // Linear pattern: both passes are measured and the cycle ends when the axis comes to rest
    // at the start point again; the prompt says so until then.
    virtual void ShowReturnToStart(double /*startPoint, mm*/) = 0;
    virtual void HideReturnToStart() = 0;
    virtual void StartPositioningCycle() = 0;
    virtual void FinishPositioningMeasurement() = 0;
    // Straightness: Label124's text (Label20 hidden), TimerProstoliniowosc1, the point store.
    virtual void ShowStraightnessInfo(const QString&) = 0;
    virtual void StartStraightnessTimer() = 0;
    virtual void StoreStraightnessPoint(double /*v*/) = 0;
    virtual void EndMeasurementRun() = 0;
    // Angular: drives the reflector back; true when it has arrived.
    virtual bool MotorToTarget(int /*direction*/, double /*target*/, double /*v*/) = 0;
    virtual void RestartCounting() = 0;
    virtual void ShowAngularInfo(const QString&) = 0;  // LabelInfoPK
    virtual void AddAngularPoint(int /*i*/) = 0;
    virtual void FinishAngularMeasurement() = 0;
};

class PointAcceptance {
public:
    // `targets` are the positioning targets (Dystans in mm), `angularTargets` the angular ones
    // (degrees), `angularPoints` receives the accepted angular points. `headAcceptRequest` is
    // the flag the reading thread sets when the head's key is pressed.
    PointAcceptance(AcceptanceSink& sink, TPunkt& targets, TPunkt& angularTargets, TPunkt& angularPoints,
                    std::atomic<bool>& headAcceptRequest);

    AcceptanceSettings settings;
    AcceptanceState state;

    // Positioning samples; each returns the reading with the start point added, which becomes
    // the current value.
    double AcceptLinear(double currentValue);
    double AcceptPilgrim(double currentValue);
    double AcceptPilgrim2(double currentValue);
    // By PositioningMethod: 0 linear, 1 pilgrim, 2 pilgrim 2.
    double AcceptPositioning(int positioningMethod, double currentValue);
    // Straightness and flatness lines: v is the converted reading.
    void AcceptStraightness(double v);
    // Angular divisions: v is the absolute angle in arc seconds.
    void AcceptAngular(double v);

    // Resets the acceptance values at a cycle start (PointIndex 0, forward pass, pass not
    // finished, LastAcceptedValue far below any axis position, stable count 0); the pilgrim
    // patterns also reset AcceptState at their run start.
    void ResetForCycle(bool resetAcceptState);

    // The teaching cycle: targets are taught by the run itself.
    bool TeachingCycle() const { return !settings.pointsFromList && state.currentCycle == 1; }

private:
    std::optional<double> target(int i) const;
    std::optional<double> angularTarget(int i) const;
    double AcceptPilgrimCommon(double currentValue, int method);
    void AcceptPilgrimPoint();
    void AcceptPilgrim2Point();
    bool takeRequest();
    void advancePilgrimPoint();

    AcceptanceSink& sink_;
    TPunkt& targets_;
    TPunkt& angularTargets_;
    TPunkt& angularPoints_;
    std::atomic<bool>& headRequest_;
};

}  // namespace instrument
