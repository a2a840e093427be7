// The live reading of the main window: the reading thread's samples converted with the
// window's settings, shown on the current page and handed to point acceptance while a run is
// in progress; the thread's end goes to the link status window.
#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QProgressBar>
#include <QStackedWidget>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>
#include <chrono>
#include <thread>

#include "app/ModeSequencesMainForm.h"
#include "app/PositioningPage.h"
#include "evaluation/PointStore.h"
#include "app/LiveReadoutPage.h"
#include "app/ServicePage.h"
#include "app/AngularPage.h"
#include "app/EnvironmentPanel.h"
#include "app/Unit_glowny.h"
#include "app/VibrationPage.h"
#include "app/VelocityPage.h"
#include "instrument/MotorDrive.h"
#include "foundations/Display.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "foundations/RadioGroup.h"
#include "instrument/AirCorrection.h"
#include "instrument/MemoryFifo.h"
#include "instrument/OdczytMeteo.h"
#include "instrument/SerialFrameParser.h"
#include "instrument/UOdczyt.h"
#include "instrument/UOdczytSample.h"
#include "app/dialogs/Unit_Komunikaty.h"

namespace {

void showOn(TDisplay* d, double v) {
    if (d) d->SetValue(v);
}

void addLimited(QListWidget* l, const QString& line, int maxLines) {
    if (!l) return;
    l->addItem(line);
    while (l->count() > maxLines) delete l->takeItem(0);
}

// The environment thread's side of the window: the environment labels, the globals and the
// air correction of each round.
class MainMeteoSink : public instrument::MeteoThreadSink {
public:
    explicit MainMeteoSink(TMainForm& f) : f_(f) {}

    void ShowServiceChannel(int channel, int32_t raw) override {
        if (f_.ServicePageShown()) f_.Service().ShowMeteoChannel(channel, raw);
    }
    void ShowServiceRawValues(const instrument::MeteoWords& raw) override {
        if (f_.ServicePageShown()) f_.Service().ShowMeteoRawValues(raw);
    }
    void UpdateMeteoDisplays(const instrument::MeteoWords& values) override {
        // With the calibration form open its raw value labels take the round instead.
        if (::CalibrationFormOpen) {
            f_.ShowCalibrationCounts(values);
            return;
        }
        last_ = instrument::ComputeMeteoReadout(values, CalibrationTable, f_.TemperatureUnit, f_.PressureUnit);
        f_.Environment().ShowStationReadings(last_);
        if (f_.ServicePageShown()) f_.Service().ShowMeteoValues(last_.serviceTexts);
        instrument::StoreMeteoReadout(last_);
        shown_ = true;
    }
    void ComputeEdlenFactor() override {
        if (::CalibrationFormOpen) return;
        instrument::EnvironmentChoiceInput in;
        f_.Environment().TakeSensorUse(in);
        in.humidityValid = shown_ && last_.humidity.has_value();
        in.measuredHumidity = Humidity;
        in.pressureValid = shown_ && last_.pressure.has_value();
        in.measuredPressure = Pressure;
        in.defaultPressure = DefaultPressure;
        in.airValid = shown_ && last_.airTemperature.has_value();
        in.measuredAirTemperature = AirTemperature;
        in.defaultAirTemperature = DefaultAirTemperature;
        in.materialValid = shown_ && last_.materialTemperature.has_value();
        in.measuredMaterialTemperature = MaterialTemperature;
        in.defaultMaterialTemperature = DefaultMaterialTemperature;
        in.referenceTemperature = ReferenceTemperature;
        instrument::ComputeEdlenFactor(in);
    }
    // The thread object stays with the threads' owner, and RestartMeteo starts it again: its end
    // leaves the displays as the last round set them.
    void MeteoThreadEnded(uint64_t) override {}

private:
    TMainForm& f_;
    instrument::MeteoReadout last_;
    bool shown_ = false;
};

// Card: one environment channel (command byte, 5 ms, low byte from 0x303 and high from 0x302).
std::optional<int32_t> CardMeteoExchange(uint8_t command) {
    ::SendCommandByte(command);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const int32_t low = ::InPort(0x303);
    const int32_t high = ::InPort(0x302);
    return low + 256 * high;
}

}  // namespace

struct TMainForm::ReadingParts : instrument::ReadingSink, instrument::ReadingLink, instrument::SampleOutputs {
    explicit ReadingParts(TMainForm& form)
        : f(form), komunikatySink(form, form.ModeHost(), form.LinkCalls()), meteoSink(form) {
        TakeMeteoSettings();
    }

    // The averaging choices the thread reads, from the window's controls.
    void TakeMeteoSettings() {
        meteoSettings.averagingOn = f.MeteoAveragingIndex == 0;
        if (f.ScrollBar12) meteoSettings.changeThreshold = f.ScrollBar12->value();
    }
    // The environment station runs again (turned on first when it had been stopped).
    void RestartMeteo() {
        TakeMeteoSettings();
        if (MeteoStopped.load()) {
            ::SendCommandByte(HeadCommand::MeteoOn);
            MeteoStopped = false;
        }
        f.Threads().StartMeteo();
    }
    ~ReadingParts() override {
        if (Komunikaty && komunikatyConnected) Komunikaty->SetSink(nullptr);
    }

    // --- the window's settings for one sample ---
    instrument::ConversionSettings Conversion() {
        instrument::ConversionSettings c;
        c.mode = f.MeasurementMode;
        c.wavelength = LaserWavelength;
        c.airCorrection = AirCorrection;
        c.materialTemperature = MaterialTemperature;
        c.referenceTemperature = ReferenceTemperature;
        c.expansionCoefficient = ExpansionCoefficient;
        c.filterOn = f.Environment().FilterOn();
        c.filterThreshold = f.FilterThreshold;
        c.resolution10 = f.ModeHost().ResolutionButtonVisible() && f.Resolution10;
        c.straightnessMethod = f.StraightnessMethod;
        c.signPlus = f.Readout().SignPlus();
        return c;
    }
    instrument::SampleInputs Inputs() {
        instrument::SampleInputs in;
        in.servicePanelShown = f.ServicePageShown();
        in.measureLevelLost = ::MeasureLevelLost();
        in.measurementRunning = MeasurementRunning.load();
        in.positioningMethod = f.PositioningMethod;
        in.lengthUnit = LengthUnit;
        in.displayLengthUnit = f.DisplayLengthUnit;
        in.displayVelocityUnit = f.DisplayVelocityUnit;
        in.velocityChartUnit = f.VelocityChartUnit;
        in.startPoint = StartPoint;
        in.startPointDisp = StartPointDisp;
        in.detectorX = DetectorX.load();
        in.detectorY = DetectorY.load();
        in.calibrationXY = CalibrationXY;
        in.recordingOn = RecordingOn.load();
        return in;
    }
    void Sample(int32_t raw) {
        mode = f.MeasurementMode;
        instrument::ProcessSample(raw, Inputs(), Conversion(), FilterPrevious, CurrentValue, f.Acceptance(), *this,
                                  HeadAcceptRequest);
    }

    // --- ReadingSink (user-interface thread) ---
    void PrepareSerialReading() override {
        instrument::LinkState().ReceiveState = 1;
        if (f.Fifo) f.Fifo->Clear();
    }
    void ProcessSample(int32_t raw) override {
        if (f.Service().ZeemanTestOn()) {
            AddServiceCount(raw);
            return;
        }
        Sample(raw);
    }
    void DrainFifo() override {
        if (!f.Fifo) return;
        while (!ReadingStopped.load() && !f.Fifo->Empty()) {
            const int32_t raw = int32_t(f.Fifo->Get());
            RawCount = raw;
            Sample(raw);
        }
    }
    void ShowStatus(uint8_t level) override {
        instrument::ShowStatus(level, f.MeasurementMode, f.ServicePageShown(),
                               StatusByteEnabled.load(), smoothedLevel, *this);
    }
    void ReadingEnded(uint64_t generation) override {
        // While the window goes no stop is reported and no reading restarted.
        if (f.ThreadsStopping() || !Komunikaty) return;
        Komunikaty->KoniecPrzerwaniaOdczyt(generation);
    }

    // --- ReadingLink (reading thread) ---
    std::optional<uint8_t> ReadDataByte() override {
        uint8_t b = 0;
        if (!::ReadDataByte(b)) return std::nullopt;
        return b;
    }
    void SetHeadStatus(uint8_t status, uint8_t flags) override {
        instrument::LinkState().HeadStatus = status;
        instrument::LinkState().HeadFlags = flags;
    }
    uint8_t SerialSignalLevel() override { return instrument::LinkState().SerialSignalLevel.load(); }
    instrument::StopCheckInput StopInputs() override {
        instrument::StopCheckInput in;
        in.mode = mode.load();
        in.measurementRunning = MeasurementRunning.load();
        in.velocityRunning = VelocityRunning.load();
        in.dataErrorActive = ::DataErrorActive();
        in.serialFlagBit0 = ::SerialFlagBit0();
        in.measureLevelLost = ::MeasureLevelLost();
        in.serialFlagBit2 = ::SerialFlagBit2();
        in.headReady = ::HeadReady();
        return in;
    }
    bool TakeRemoteEvent() override { return ::TakeRemoteEvent(); }
    void ResetHeadFlags() override { modes::ResetHeadFlags(f.ModeHost()); }

    // --- SampleOutputs (user-interface thread) ---
    void AddServiceCount(int32_t raw) override { addLimited(f.PSListBox1, QString::number(raw), 15); }
    void ShowEffectiveWavelength(double nm) override { f.Environment().ShowEffectiveWavelength(nm); }
    void ShowReadout(double v) override { f.Readout().ShowReading(v); }
    void ShowMeasuredPosition(double v) override { showOn(f.Positioning().MeasuredDisplay(), v); }
    void ShowVelocity(double v) override { f.Velocity().ShowVelocity(v); }
    // Stored and plotted only while a velocity run lasts (the store checks it).
    void AddVelocitySample() override { f.Points().AddVelocitySample(CurrentValue); }
    void ShowStraightnessValue(double v) override { showOn(f.Positioning().PositionDisplay(), v); }
    void ShowStraightnessUnit(const QString& u) override {
        if (f.Positioning().PositionUnitLabel()) f.Positioning().PositionUnitLabel()->setText(u);
    }
    void ShowDetector(double x, double y) override {
        showOn(f.Positioning().StraightnessDisplay(), x);
        showOn(f.Positioning().StraightnessYDisplay(), y);
    }
    void ShowAngle(double division, double total) override {
        f.Angular().ShowAngle(division, total);
    }
    void FftSample() override { f.FftAnalysis().FftSampleStored(); }
    void RecordValue(double v) override {
        if (!f.VelocitySamples) return;
        f.VelocitySamples->Add().Value = v;
        ++RecordingTicks;
    }
    void SendValueToExcel() override {
        f.SendValueToExcel(uint8_t(f.Readout().ReadingPrecision()), f.Readout().ReadingValue());
    }
    void AddServiceSignal(uint8_t level) override { addLimited(f.PSListBox3, QString::number(level), 23); }
    void ShowReadoutGauges() override {
        f.Readout().ShowReadoutGauges();
    }
    void ShowSignalLevel(const QString& gauge, int value) override {
        QProgressBar* g = nullptr;
        for (QProgressBar* candidate : f.SignalGauges())
            if (candidate && candidate->objectName() == gauge) g = candidate;
        ShowSignalGauge(g, value);
    }

    TMainForm& f;
    MainFormKomunikatySink komunikatySink;
    bool komunikatyConnected = false;
    double smoothedLevel = 0.0;
    // The mode as the thread's stop check reads it (written on the UI thread at each start).
    std::atomic<uint8_t> mode{10};
    MainMeteoSink meteoSink;
    instrument::MeteoThreadSettings meteoSettings;
};

// What the link's threads are wired to: the reading parts, the card's environment channel and
// the window itself for the loader and the BIOS text.
class TMainForm::ThreadWiring final : public LinkThreadWiring {
public:
    explicit ThreadWiring(TMainForm& f) : f_(f) {}
    instrument::ReadingSink& ReadingOutputs() override { return f_.Reading(); }
    instrument::ReadingLink& ReadingPort() override { return f_.Reading(); }
    instrument::MeteoThreadSink& MeteoOutputs() override { return f_.Reading().meteoSink; }
    instrument::MeteoThreadSettings& MeteoChoices() override { return f_.Reading().meteoSettings; }
    instrument::TOdczytMeteo::CardExchange MeteoCardExchange() override { return CardMeteoExchange; }
    instrument::LoadProgramSink& LoaderOutputs() override { return f_; }
    instrument::LoaderTimings LoaderPauses() override { return f_.ProgramLoadTimings; }
    instrument::BiosTextSink& BiosTextOutputs() override { return f_; }

private:
    TMainForm& f_;
};

LinkThreads& TMainForm::Threads() {
    if (!threads_) {
        if (!threadWiring_) threadWiring_ = std::make_shared<ThreadWiring>(*this);
        threads_ = std::make_unique<LinkThreads>(*threadWiring_);
    }
    return *threads_;
}

TMainForm::ReadingParts& TMainForm::Reading() {
    if (!ReadingPartsHolder) ReadingPartsHolder = std::make_shared<ReadingParts>(*this);
    return *ReadingPartsHolder;
}

void TMainForm::StartReadingThread(uint64_t generation) {
    Reading().mode = MeasurementMode;
    Threads().StartReading(generation);
}

void TMainForm::RestartMeteoReading() { Reading().RestartMeteo(); }

const instrument::MeteoThreadSettings& TMainForm::MeteoThreadChoices() { return Reading().meteoSettings; }

void TMainForm::ApplyMeteoChoices() {
    // Before the reading parts exist no thread runs; the next start takes the choices.
    if (ReadingPartsHolder) ReadingPartsHolder->TakeMeteoSettings();
}

bool TMainForm::MeteoReadingRunning() { return Threads().MeteoRunning(); }

void TMainForm::StartMeteoThread() {
    ReadingParts& r = Reading();
    r.TakeMeteoSettings();
    Threads().StartMeteo();
}

instrument::TOdczyt& TMainForm::ReadingThread() { return Threads().Reading(); }
MainFormKomunikatySink& TMainForm::KomunikatySink() { return Reading().komunikatySink; }

void TMainForm::ConnectReading() {
    ReadingParts& r = Reading();
    if (Komunikaty && !r.komunikatyConnected) {
        Komunikaty->SetSink(&r.komunikatySink);
        r.komunikatyConnected = true;
    }
}
