#pragma once
// Shared set-up of the link tests: the globals at their start values, events of our own, and a
// parser sink that records what the window would show.
#include <gtest/gtest.h>

#include <QStringList>
#include <map>
#include <vector>

#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/MemoryFifo.h"
#include "instrument/SerialFrameParser.h"
#include "platform/Sync.h"
#include "support/InstrumentSinkDoubles.h"

class RecordingSink : public testsupport::SerialFrameSinkDouble {
public:
    bool servicePage = false, trace = false, zeeman = false, calibrationOpen = false, alignmentOn = false;
    std::map<instrument::LinkList, QStringList> lists;
    QStringList status;
    int flagShows = 0, meteoBlinks = 0, beeps = 0, alignmentEnabled = 0, fftDone = 0;
    std::vector<std::array<int32_t, 6>> targets, xyShown;
    std::vector<std::pair<int32_t, int32_t>> calibration;
    std::vector<int32_t> fftSamples = std::vector<int32_t>(kFftSampleCount, 0);
    bool withFftBuffer = true;
    int32_t lastGauge = -1;

    bool ServicePageShown() override { return servicePage; }
    bool ServiceTraceOn() override { return trace; }
    bool ZeemanTestOn() override { return zeeman; }
    bool CalibrationFormOpen() override { return calibrationOpen; }
    bool AlignmentViewOn() override { return alignmentOn; }
    int ListCount(instrument::LinkList l) override { return lists[l].size(); }
    void AddListLine(instrument::LinkList l, const QString& s) override { lists[l].append(s); }
    void DeleteOldestLines(instrument::LinkList l, int n) override { lists[l].erase(lists[l].begin(), lists[l].begin() + n); }
    void ShowFlagBits() override { ++flagShows; }
    void BlinkMeteoLabels() override { ++meteoBlinks; }
    void SetStatusText(const QString& t) override { status.append(t); }
    void Beep() override { ++beeps; }
    void EnableAlignment() override { ++alignmentEnabled; }
    void ShowCalibrationOffsets(int32_t x, int32_t y) override { calibration.push_back({x, y}); }
    void DrawAlignmentTarget(int32_t a, int32_t b, int32_t c, int32_t d, uint8_t e, uint8_t f) override {
        targets.push_back({a, b, c, d, e, f});
    }
    void ShowXyValues(int32_t a, int32_t b, int32_t c, int32_t d, uint8_t e, uint8_t f) override {
        xyShown.push_back({a, b, c, d, e, f});
    }
    int32_t* FftSampleBuffer() override { return withFftBuffer ? fftSamples.data() : nullptr; }
    void SetFftGauge(int32_t c) override { lastGauge = c; }
    void FftTransferComplete() override { ++fftDone; }
};

class LinkGlobalsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedGlobals();
        instrument::ResetLinkState();
        ReplyText.clear();
        SampleEvent = &sample;
        MeteoDataEvent = &meteo;
        ComCheckEvent = &comCheck;
        ProgramLoadEvent = &programLoad;
        // A reading thread runs: bytes go to the frame state machine.
        ReadingStopped = false;
        SignalMonitorStopped = false;
    }
    void TearDown() override {
        SampleEvent = MeteoDataEvent = ComCheckEvent = ProgramLoadEvent = nullptr;
        instrument::ResetLink();
        ResetSharedGlobals();
        instrument::ResetLinkState();
    }

    platform::ManualResetEvent sample, meteo, comCheck, programLoad;
};

inline std::vector<uint32_t> drain(TMemoryFifo& f) {
    std::vector<uint32_t> out;
    while (!f.Empty()) out.push_back(f.Get());
    return out;
}
