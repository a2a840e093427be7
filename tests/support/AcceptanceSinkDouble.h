#pragma once
// A test double of the acceptance engine's sink: every call answered and otherwise ignored (the
// motor arrives at once, no cycles are stored). Tests derive from it and record what they check.
#include "instrument/PointAcceptance.h"

namespace testsupport {

class AcceptanceSinkDouble : public instrument::AcceptanceSink {
public:
    void MessageBeep() override {}
    void ShowInWindow(bool) override {}
    void ShowAccepted(bool) override {}
    void ShowTarget(double) override {}
    void SpeedButtonZnakClick() override {}
    void TurnBack(int, int) override {}
    void StorePositioningPoint(int, int, double, bool) override {}
    void FillPositioningGrid(int, int, double, bool) override {}
    int PositioningCycleCount() override { return 0; }
    void SaveBackupCopy() override {}
    void ShowReturnToStart(double) override {}
    void HideReturnToStart() override {}
    void StartPositioningCycle() override {}
    void FinishPositioningMeasurement() override {}
    void ShowStraightnessInfo(const QString&) override {}
    void StartStraightnessTimer() override {}
    void StoreStraightnessPoint(double) override {}
    void EndMeasurementRun() override {}
    bool MotorToTarget(int, double, double) override { return true; }
    void RestartCounting() override {}
    void ShowAngularInfo(const QString&) override {}
    void AddAngularPoint(int) override {}
    void FinishAngularMeasurement() override {}
};

}  // namespace testsupport
