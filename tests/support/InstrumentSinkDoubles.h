#pragma once
// Test doubles of the instrument layer's sinks: every call a test does not care about is
// answered and otherwise ignored. Tests derive from them and record what they check.
#include <memory>
#include <optional>

#include "instrument/LadowanieProgramu.h"
#include "instrument/LinkPort.h"
#include "instrument/OdczytMeteo.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "instrument/SerialFrameParser.h"
#include "instrument/UCheckCom.h"
#include "instrument/UOdczyt.h"
#include "instrument/UOdczytB.h"
#include "app/dialogs/Unit_Komunikaty.h"

namespace testsupport {

class LinkSinkDouble : public instrument::LinkSink {
public:
    void SetCommandReadyColour(uint32_t) override {}
    void SetStatusText(const QString&) override {}
    void ShowMessage(const QString&) override {}
};

class LoadProgramSinkDouble : public instrument::LoadProgramSink {
public:
    void AddMessageLine(const QString&) override {}
    void ShowErrorBox(const QString&) override {}
    void SetStatusText(const QString&) override {}
    void SetProgress(int) override {}
    void ShowCommandError() override {}
    bool ServicePageShown() override { return false; }
    void Reconnect(uint8_t) override {}
    void RememberBaudRates(uint8_t, uint8_t) override {}
    void ReportLoadEnd(bool) override {}
};

class BiosTextSinkDouble : public instrument::BiosTextSink {
public:
    void ClearList(instrument::LinkList) override {}
    void AddListLine(instrument::LinkList, const QString&) override {}
};

class MeteoThreadSinkDouble : public instrument::MeteoThreadSink {
public:
    void ShowServiceChannel(int, int32_t) override {}
    void ShowServiceRawValues(const instrument::MeteoWords&) override {}
    void MeteoThreadEnded(uint64_t) override {}
};

class SignalSourceDouble : public ISignalSource {
public:
    void BeginMonitoring() override {}
    bool FollowsReadiness() const override { return false; }
};

class SerialFrameSinkDouble : public instrument::SerialFrameSink {
public:
    bool ServicePageShown() override { return false; }
    bool ServiceTraceOn() override { return false; }
    bool ZeemanTestOn() override { return false; }
    bool CalibrationFormOpen() override { return false; }
    bool AlignmentViewOn() override { return false; }
    int ListCount(instrument::LinkList) override { return 0; }
    void AddListLine(instrument::LinkList, const QString&) override {}
    void DeleteOldestLines(instrument::LinkList, int) override {}
    void ShowFlagBits() override {}
    void BlinkMeteoLabels() override {}
    void SetStatusText(const QString&) override {}
    void Beep() override {}
    void EnableAlignment() override {}
    void ShowCalibrationOffsets(int32_t, int32_t) override {}
    void DrawAlignmentTarget(int32_t, int32_t, int32_t, int32_t, uint8_t, uint8_t) override {}
    void ShowXyValues(int32_t, int32_t, int32_t, int32_t, uint8_t, uint8_t) override {}
    int32_t* FftSampleBuffer() override { return nullptr; }
    void SetFftGauge(int32_t) override {}
    void FftTransferComplete() override {}
};

class CheckComSinkDouble : public instrument::CheckComSink {
public:
    void UpdateProgress(int32_t) override {}
    void SearchEnded(instrument::CheckComOutcome, uint8_t) override {}
};

// The port search's thread owner for a dialog under test: one search at a time, kept until its
// dialog goes.
class PortSearchThreadsDouble : public instrument::PortSearchThreads {
public:
    bool StartPortSearch(instrument::CheckComSink& owner, instrument::LoaderSpeeds speeds,
                         instrument::CheckComTimings timings) override {
        search.reset();
        search = std::make_unique<instrument::TCheckCom>(owner, speeds, timings);
        owner_ = &owner;
        ++starts;
        search->Resume();
        return true;
    }
    void AskPortSearchToEnd(instrument::CheckComSink& owner) override {
        if (search && owner_ == &owner) search->Terminate();
    }
    void EndPortSearch(instrument::CheckComSink& owner) override {
        if (owner_ == &owner) search.reset();
    }
    std::unique_ptr<instrument::TCheckCom> search;
    int starts = 0;

private:
    instrument::CheckComSink* owner_ = nullptr;
};

class ReadingLinkDouble : public instrument::ReadingLink {
public:
    std::optional<uint8_t> ReadDataByte() override { return std::nullopt; }
    void SetHeadStatus(uint8_t, uint8_t) override {}
    uint8_t SerialSignalLevel() override { return 0; }
    bool TakeRemoteEvent() override { return false; }
    void ResetHeadFlags() override {}
};

class ReadingSinkDouble : public instrument::ReadingSink {
public:
    void PrepareSerialReading() override {}
    void ProcessSample(int32_t) override {}
    void DrainFifo() override {}
    void ShowStatus(uint8_t) override {}
    void ReadingEnded(uint64_t) override {}
};

class KomunikatySinkDouble : public IKomunikatySink {
public:
    void AddRecordingErrorRow() override {}
    bool MotorRunning() const override { return false; }
    void ClearMotorRunning() override {}
    void ShowWaitingForLaser() override {}
    bool ReopenFailedLink() override { return true; }
    void EnterServicePanel() override {}
    void SetMainWindowEnabled(bool) override {}
    void ShowTypeGaugeLevel(int) override {}
    void SetStatusText(const QString&) override {}
    void ShowErrorMessage(const QString&) override {}
    void AppendServiceLog(const QString&) override {}
    int MainPage() const override { return 0; }
    void ShowMainPage(int) override {}
    QString CommandLineParameter() const override { return {}; }
    void OpenCommandLineFile(int, const QString&) override {}
};

}  // namespace testsupport
