#pragma once
// Stands in for the window's type page calls while it lives: a call the test has given a
// function runs that function, every other call goes on to the window's own.
#include <functional>

#include "app/Unit_glowny.h"
#include "app/Unit_glowny_types.h"

class TypeCallsStandIn final : public TypePageCalls {
public:
    explicit TypeCallsStandIn(TMainForm& f) : f_(f), own_(f.WindowTypeCalls()) { f_.SetTypeCalls(this); }
    ~TypeCallsStandIn() { f_.SetTypeCalls(nullptr); }
    TypeCallsStandIn(const TypeCallsStandIn&) = delete;
    TypeCallsStandIn& operator=(const TypeCallsStandIn&) = delete;

    std::function<bool()> headReady;
    std::function<void()> startLinearReading;
    std::function<void()> startVelocityReading;
    std::function<void()> startSignalMonitor;
    std::function<void()> restartMeteoReading;
    std::function<bool(int)> openMeasurement;
    std::function<bool(int)> saveMeasurement;
    std::function<void()> storeFlatnessLine;
    std::function<void()> returnToMainMenuFromVelocity;
    std::function<int()> askSaveChanges;
    std::function<void()> endMeasurementRun;
    std::function<bool()> editTargetPoints;
    std::function<void()> evaluatePositioningRun;
    std::function<void()> redrawPositioningResults;

    bool HeadReady() override { return headReady ? headReady() : own_.HeadReady(); }
    void StartLinearReading() override { startLinearReading ? startLinearReading() : own_.StartLinearReading(); }
    void StartVelocityReading() override {
        startVelocityReading ? startVelocityReading() : own_.StartVelocityReading();
    }
    void StartSignalMonitor() override { startSignalMonitor ? startSignalMonitor() : own_.StartSignalMonitor(); }
    void RestartMeteoReading() override { restartMeteoReading ? restartMeteoReading() : own_.RestartMeteoReading(); }
    void HidePositioningPanels() override { own_.HidePositioningPanels(); }
    void ShowPositioningPanels() override { own_.ShowPositioningPanels(); }
    void ResetHeadFlags() override { own_.ResetHeadFlags(); }
    void ClearFifo() override { own_.ClearFifo(); }
    void ReturnToMainMenuFromVelocity() override {
        returnToMainMenuFromVelocity ? returnToMainMenuFromVelocity() : own_.ReturnToMainMenuFromVelocity();
    }
    void ShowRecentFiles(int mode) override { own_.ShowRecentFiles(mode); }
    void RefreshParameterSummary() override { own_.RefreshParameterSummary(); }
    bool OpenMeasurement(int mode) override {
        return openMeasurement ? openMeasurement(mode) : own_.OpenMeasurement(mode);
    }
    bool SaveMeasurement(int mode) override {
        return saveMeasurement ? saveMeasurement(mode) : own_.SaveMeasurement(mode);
    }
    void StoreFlatnessLine() override { storeFlatnessLine ? storeFlatnessLine() : own_.StoreFlatnessLine(); }
    bool EditTargetPoints() override { return editTargetPoints ? editTargetPoints() : own_.EditTargetPoints(); }
    void EvaluatePositioningRun() override {
        evaluatePositioningRun ? evaluatePositioningRun() : own_.EvaluatePositioningRun();
    }
    void RedrawPositioningResults() override {
        redrawPositioningResults ? redrawPositioningResults() : own_.RedrawPositioningResults();
    }
    void EndMeasurementRun() override { endMeasurementRun ? endMeasurementRun() : own_.EndMeasurementRun(); }
    int AskSaveChanges() override { return askSaveChanges ? askSaveChanges() : own_.AskSaveChanges(); }
    void FillHeaderEnvironment() override { own_.FillHeaderEnvironment(); }
    int MeasuredAxis() override { return own_.MeasuredAxis(); }

private:
    TMainForm& f_;
    TypePageCalls& own_;
};
