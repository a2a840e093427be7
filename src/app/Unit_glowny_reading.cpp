// The live reading of the main window: the reading thread's samples converted with the
// window's settings, shown on the current page and handed to point acceptance while a run is
// in progress; the thread's end goes to the link status window.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>

#include "app/ModeSequencesMainForm.h"
#include "app/Unit_glowny.h"
#include "foundations/Display.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/MemoryFifo.h"
#include "instrument/SerialFrameParser.h"
#include "instrument/UOdczyt.h"
#include "instrument/UOdczytSample.h"
#include "instrument/Unit_Komunikaty.h"

namespace {

template <class T = QWidget>
T* named(TMainForm& f, const char* name) {
    return f.findChild<T*>(QString::fromLatin1(name));
}

// A check box or a checkable menu command of that name is ticked.
bool ticked(TMainForm& f, const char* name) {
    if (auto* a = named<QAction>(f, name)) return a->isChecked();
    if (auto* c = named<QCheckBox>(f, name)) return c->isChecked();
    return false;
}

void showOn(TDisplay* d, double v) {
    if (d) d->SetValue(v);
}

void addLimited(QListWidget* l, const QString& line, int maxLines) {
    if (!l) return;
    l->addItem(line);
    while (l->count() > maxLines) delete l->takeItem(0);
}

}  // namespace

struct TMainForm::ReadingParts : instrument::ReadingSink, instrument::ReadingLink, instrument::SampleOutputs {
    explicit ReadingParts(TMainForm& form) : f(form), komunikatySink(form, form.ModeHost()), odczyt(*this, *this) {}
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
        c.filterOn = ticked(f, "Filtr1");
        c.resolution10 = f.ModeHost().ResolutionButtonVisible() && f.Resolution10;
        c.straightnessMethod = f.StraightnessMethod;
        c.signPlus = f.SpeedButtonZnak && f.SpeedButtonZnak->text() == QStringLiteral("+");
        return c;
    }
    instrument::SampleInputs Inputs() {
        instrument::SampleInputs in;
        in.mainPage = f.NotebookMainForm ? f.NotebookMainForm->currentIndex() : 0;
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
        return in;
    }
    void Sample(int32_t raw) {
        mode = f.MeasurementMode;
        instrument::ProcessSample(raw, Inputs(), Conversion(), FilterPrevious, CurrentValue, f.Acceptance(), *this,
                                  HeadAcceptRequest);
    }

    // --- ReadingSink (user-interface thread) ---
    void PrepareSerialReading() override {
        ReceiveState = 1;
        if (f.Fifo) f.Fifo->Clear();
    }
    void ProcessSample(int32_t raw) override {
        if (ticked(f, "ZeemanTestON")) {
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
        instrument::ShowStatus(level, f.MeasurementMode, f.NotebookMainForm ? f.NotebookMainForm->currentIndex() : 0,
                               StatusByteEnabled.load(), smoothedLevel, *this);
    }
    void ReadingEnded(uint64_t generation) override {
        // While the window goes no stop is reported and no reading restarted.
        if (closing || !Komunikaty) return;
        Komunikaty->KoniecPrzerwaniaOdczyt(generation);
    }

    // --- ReadingLink (reading thread) ---
    std::optional<uint8_t> ReadDataByte() override {
        uint8_t b = 0;
        if (!::ReadDataByte(b)) return std::nullopt;
        return b;
    }
    void SetHeadStatus(uint8_t status, uint8_t flags) override {
        HeadStatus = status;
        HeadFlags = flags;
    }
    uint8_t SerialSignalLevel() override { return ::SerialSignalLevel.load(); }
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
    void ShowEffectiveWavelength(double nm) override { showOn(named<TDisplay>(f, "DispLambda"), nm); }
    void ShowReadout(double v) override { showOn(f.DisplayWys, v); }
    void ShowMeasuredPosition(double v) override { showOn(f.DispWarMierzona, v); }
    void ShowVelocity(double v) override { showOn(f.DisplayPredkosc, v); }
    void ShowStraightnessValue(double v) override { showOn(named<TDisplay>(f, "Disp2oswar"), v); }
    void ShowStraightnessUnit(const QString& u) override {
        if (auto* l = named<QLabel>(f, "Label38")) l->setText(u);
    }
    void ShowDetector(double x, double y) override {
        showOn(named<TDisplay>(f, "DisplayProst"), x);
        showOn(named<TDisplay>(f, "DispProstoY"), y);
    }
    void ShowAngle(double division, double total) override {
        showOn(named<TDisplay>(f, "DisplayPodzKat"), division);
        showOn(named<TDisplay>(f, "DispKatCalkowity"), total);
    }
    void RecordValue(double v) override {
        if (f.VelocitySamples) f.VelocitySamples->Add().Value = v;
    }
    void SendValueToExcel() override {
        if (f.DisplayWys) f.SendValueToExcel(uint8_t(f.DisplayWys->Precision()), f.DisplayWys->Value());
    }
    void AddServiceSignal(uint8_t level) override { addLimited(f.PSListBox3, QString::number(level), 23); }
    void ShowReadoutGauges() override {
        if (f.NotebookWyswietlacz && f.NotebookWyswietlacz->currentIndex() == 1) f.NotebookWyswietlacz->setCurrentIndex(0);
    }
    void ShowSignalLevel(const QString& gauge, int value) override {
        auto* g = f.findChild<QProgressBar*>(gauge);
        if (!g) return;
        g->setValue(value);
        const int span = g->maximum() - g->minimum();
        const int percent = span > 0 ? (g->value() - g->minimum()) * 100 / span : 0;
        const uint32_t c = instrument::SignalGaugeColour(percent);  // 0x00BBGGRR
        QPalette p = g->palette();
        p.setColor(QPalette::Highlight, QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
        g->setPalette(p);
    }

    TMainForm& f;
    MainFormKomunikatySink komunikatySink;
    bool komunikatyConnected = false;
    bool closing = false;
    double smoothedLevel = 0.0;
    // The mode as the thread's stop check reads it (written on the UI thread at each start).
    std::atomic<uint8_t> mode{10};
    instrument::TOdczyt odczyt;  // last: it ends before the members it uses go
};

TMainForm::ReadingParts& TMainForm::Reading() {
    if (!ReadingPartsHolder) {
        ReadingPartsHolder = std::make_shared<ReadingParts>(*this);
        ReadingParts* r = ReadingPartsHolder.get();
        ModeHost().Seams.CreateReadingThread = [r](uint64_t generation) {
            r->mode = r->f.MeasurementMode;
            r->odczyt.Start(generation);
        };
        // Asked only while the window goes: from then on an ending thread starts no other.
        RegisterThreadWatch([r] {
            r->closing = true;
            return r->odczyt.Running();
        });
        // The signal monitor the link status window restarts calls this window's mode host.
        RegisterThreadWatch([] { return OdczytSygPomiarowego::Running(); });
    }
    return *ReadingPartsHolder;
}

instrument::TOdczyt& TMainForm::ReadingThread() { return Reading().odczyt; }
MainFormKomunikatySink& TMainForm::KomunikatySink() { return Reading().komunikatySink; }

void TMainForm::ConnectReading() {
    ReadingParts& r = Reading();
    if (Komunikaty && !r.komunikatyConnected) {
        Komunikaty->SetSink(&r.komunikatySink);
        r.komunikatyConnected = true;
    }
}
