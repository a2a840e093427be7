// Export command and the vibration page of the main window.
#include <QAction>
#include "instrument/LinkPort.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PunktyPoz.h"
#include "app/UWybDrukFFT.h"
#include "app/Unit_glowny.h"
#include "app/Unit_glowny_types.h"
#include "app/VibrationPage.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/VibrationSpectrum.h"
#include "foundations/Display.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "instrument/UPomiarFFT.h"
#include "platform/ChartSeries.h"

namespace {

constexpr int kVibrationPage = 9;

// The commands a vibration acquisition disables and its end enables again.
TTagSet VibrationCommandTags() { return TagSet({2, 3, 4, 5, 42}); }

// The box layout that holds w directly, searched from `layout` down.
QBoxLayout* layoutHolding(QLayout* layout, QWidget* w) {
    if (!layout) return nullptr;
    if (layout->indexOf(w) >= 0) return qobject_cast<QBoxLayout*>(layout);
    for (int i = 0; i < layout->count(); ++i)
        if (QBoxLayout* l = layoutHolding(layout->itemAt(i)->layout(), w)) return l;
    return nullptr;
}

void callSeam(const std::function<void()>& seam) {
    if (seam) seam();
}

}  // namespace

// The acquisition acts on the program's link; disabling the window leaves the acquisition
// form, which it parents, usable.
struct TMainForm::VibrationParts : instrument::FftAcquisitionHost {
    explicit VibrationParts(TMainForm& form) : f(form) {}
    void SetMainWindowEnabled(bool on) override {
        if (f.centralWidget()) f.centralWidget()->setEnabled(on);
        if (f.menuBar()) f.menuBar()->setEnabled(on);
    }

    TMainForm& f;
    // The transform's work arrays, made on the first entry to the page, freed when it is left.
    std::unique_ptr<evaluation::VibrationBuffers> buffers;
    platform::TChartSeries* SCzasowa = nullptr;
    platform::TChartSeries* SFreq = nullptr;
    // The background frame ("Jako tło"), made when first needed and kept for the program's life.
    std::unique_ptr<QByteArray> FftBackSamples;

    evaluation::VibrationSettings settings() const {
        evaluation::VibrationSettings s;
        s.signal = f.RGFFTCzas ? f.RGFFTCzas->ItemIndex() : 0;
        s.output = f.RGFFTOut ? f.RGFFTOut->ItemIndex() : 0;
        s.showDc = f.CBSkladStala && f.CBSkladStala->isChecked();
        s.background = f.cbBackGroundFFT && f.cbBackGroundFFT->isChecked();
        s.resolution10 = f.ModeHost().ResolutionButtonVisible() && f.Resolution10;
        s.laserWavelength = LaserWavelength;
        return s;
    }
    void clearSeries() {
        if (SCzasowa) SCzasowa->Clear();
        if (SFreq) SFreq->Clear();
    }
    void undoZoom() {
        if (f.FFTCzas) f.FFTCzas->UndoZoom();
        if (f.WykresFFT) f.WykresFFT->UndoZoom();
    }
    void applyAxisTitles() {
        const evaluation::VibrationSettings s = settings();
        f.FFTCzas->LeftAxis().SetTitle(vibrationpage::TimeAxisTitle(s.signal));
        f.WykresFFT->LeftAxis().SetTitle(vibrationpage::SpectrumAxisTitle(s.signal, s.output));
    }
};

TMainForm::VibrationParts& TMainForm::VibrationState() {
    if (!VibrationPartsHolder) VibrationPartsHolder = std::make_shared<VibrationParts>(*this);
    return *VibrationPartsHolder;
}

void TMainForm::ConnectExportAndVibration() {
    VibrationParts& v = VibrationState();

    // The page's time chart goes above the spectrum, its switches beside them.
    QWidget* page = WykresFFT->parentWidget();
    FFTCzas = new platform::TChart(page);
    FFTCzas->setObjectName(QStringLiteral("FFTCzas"));
    FFTCzas->setMinimumSize(200, 140);
    v.SCzasowa = FFTCzas->AddNewSeries<platform::TFastLineSeries>(QStringLiteral("SCzasowa"));
    v.SFreq = WykresFFT->AddNewSeries<platform::TFastLineSeries>(QStringLiteral("SFreq"));
    for (platform::TChart* c : {FFTCzas, WykresFFT}) {
        c->SetLegendVisible(false);
        c->SetAllowZoom(true);
    }
    if (QBoxLayout* row = layoutHolding(page->layout(), WykresFFT)) {
        const int at = row->indexOf(WykresFFT);
        row->removeWidget(WykresFFT);
        auto* charts = new QVBoxLayout;
        charts->addWidget(FFTCzas, 1);
        charts->addWidget(WykresFFT, 1);
        row->insertLayout(at, charts, 3);
    }
    RGFFTCzas = new TRadioGroup(QStringLiteral("Sygnał"),
                                {QStringLiteral("Dystans"), QStringLiteral("Prędkość"), QStringLiteral("Przyspieszenie")}, page);
    RGFFTCzas->setObjectName(QStringLiteral("RGFFTCzas"));
    RGFFTOut = new TRadioGroup(QStringLiteral("Wynik"),
                               {QStringLiteral("Amplituda"), QStringLiteral("Faza"), QStringLiteral("Część rzecz."),
                                QStringLiteral("Część urojona")},
                               page);
    RGFFTOut->setObjectName(QStringLiteral("RGFFTOut"));
    CBSkladStala = new QCheckBox(QStringLiteral("Składowa stała"), page);
    CBSkladStala->setObjectName(QStringLiteral("CBSkladStala"));
    CBLog = new QCheckBox(QStringLiteral("Skala log."), page);
    CBLog->setObjectName(QStringLiteral("CBLog"));
    cbBackGroundFFT = new QCheckBox(QStringLiteral("Redukcja tła"), page);
    cbBackGroundFFT->setObjectName(QStringLiteral("cbBackGroundFFT"));
    cbBackGroundFFT->setEnabled(false);
    bSaveBackG = new QPushButton(QStringLiteral("Jako tło"), page);
    bSaveBackG->setObjectName(QStringLiteral("bSaveBackG"));
    bSaveBackG->setEnabled(false);
    FFTGMenu = new QPushButton(QStringLiteral("&Główne menu"), page);
    FFTGMenu->setObjectName(QStringLiteral("FFTGMenu"));
    if (QBoxLayout* side = layoutHolding(page->layout(), FFTPom)) {
        int at = side->indexOf(Label31) + 1;
        for (QWidget* w : std::initializer_list<QWidget*>{RGFFTCzas, RGFFTOut, CBSkladStala, CBLog, cbBackGroundFFT,
                                                          bSaveBackG})
            side->insertWidget(at++, w);
        side->addWidget(FFTGMenu);
    }
    // The choices as the settings left them.
    RGFFTCzas->SetItemIndex(std::clamp<int>(FftSignalIndex, 0, 2));
    RGFFTOut->SetItemIndex(std::clamp<int>(FftOutputIndex, 0, 3));
    CBSkladStala->setChecked(FftDcComponent);
    CBLog->setChecked(FftLogScale);
    WykresFFT->BottomAxis().SetLogarithmic(FftLogScale);

    connect(BitBtnFFT, &QPushButton::clicked, this, &TMainForm::BitBtnFFTClick);
    connect(FFTPom, &QPushButton::clicked, this, &TMainForm::FFTPomClick);
    connect(FFTGMenu, &QPushButton::clicked, this, &TMainForm::FFTGMenuClick);
    connect(RGFFTCzas, &TRadioGroup::changed, this, [this](int i) {
        FftSignalIndex = i;
        RGFFTCzasClick();
    });
    connect(RGFFTOut, &TRadioGroup::changed, this, [this](int i) {
        FftOutputIndex = i;
        RGFFTOutClick();
    });
    connect(bSaveBackG, &QPushButton::clicked, this, &TMainForm::bSaveBackGClick);
    connect(cbBackGroundFFT, &QCheckBox::toggled, this, &TMainForm::cbBackGroundFFTClick);
    connect(CBSkladStala, &QCheckBox::toggled, this, [this](bool on) {
        FftDcComponent = on;
        RGFFTOutClick();
    });
    connect(CBLog, &QCheckBox::toggled, this, [this](bool on) {
        FftLogScale = on;
        CBLogClick();
    });
    if (QAction* a = MenuCommand(QStringLiteral("Eksport1"))) connect(a, &QAction::triggered, this, &TMainForm::Eksport1Click);
    if (RSEWspRoz) connect(RSEWspRoz, &QLineEdit::textChanged, this, &TMainForm::RSEWspRozChange);
    if (ComboBox1) connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TMainForm::ComboBox1Change);
    if (DispWarMierzona && DispWarMierzona->parentWidget() && DispWarMierzona->parentWidget()->layout()) {
        UpDown1 = new QSpinBox(DispWarMierzona->parentWidget());
        UpDown1->setObjectName(QStringLiteral("UpDown1"));
        UpDown1->setRange(1, 5);
        UpDown1->setValue(2);
        UpDown1->setToolTip(QStringLiteral("Liczba cyfr"));
        DispWarMierzona->parentWidget()->layout()->addWidget(UpDown1);
        connect(UpDown1, &QSpinBox::valueChanged, this, &TMainForm::UpDown1Click);
    }
}

// --- export ---

void TMainForm::Eksport1Click() {
    int choice = -1;
    if (MeasurementMode == 5) {
        choice = ChoosePrintChart(true, false, this);
        if (choice == -1) return;
    }
    const vibrationpage::ExportWriter writer = vibrationpage::ExportWriterFor(MeasurementMode, choice);
    if (writer == vibrationpage::ExportWriter::None) return;

    const bool typed = MeasurementMode < ModeCaptions.size();
    const std::array<QString, 6> dirs{PositioningDir, VelocityDir, StraightnessDir, FlatnessDir, AngularDir, FftDir};
    const QString name =
        vibrationpage::ExportFileName(windowTitle(), typed ? ModeCaptions[MeasurementMode] : QString());
    const auto file = RunFileDialog(this, vibrationpage::ExportDialogSettings(name, typed ? dirs[MeasurementMode] : QString()), true);
    if (!file) return;

    vibrationpage::ExportSources s;
    s.positioning = PositioningCycles.get();
    s.velocity = VelocitySamples.get();
    s.straightness = StraightnessPoints.get();
    s.flatness = FlatnessLines.get();
    s.angular = AngularPoints.get();
    if (writer == vibrationpage::ExportWriter::FftTime) s.fftTime = vibrationpage::ChartValues(*FFTCzas);
    if (writer == vibrationpage::ExportWriter::FftSpectrum) s.fftSpectrum = vibrationpage::ChartValues(*WykresFFT);
    try {
        vibrationpage::WriteExport(writer, s, *file);
    } catch (const MeasurementFileError& e) {
        MessageDlg(e.message(), TMsgDlgType::mtError, mbOK);
    }
}

// --- the vibration page ---

void TMainForm::BitBtnFFTClick() {
    VibrationParts& v = VibrationState();
    MeasurementMode = 5;
    ShowMenuItemsByTag(TagSet({15, 23, 26}), true);
    ShowMenuItemsByTag(TagSet({6, 9, 10, 13, 27, 28, 37, 38, 41, 44}), false);

    FFTCzas->BottomAxis().SetTitle(Msg("stCzas") + QStringLiteral(" [s]"));
    WykresFFT->BottomAxis().SetTitle(Msg("stCzest") + QStringLiteral(" [Hz]"));
    v.applyAxisTitles();
    if (TypeSeams.ShowRecentFiles) TypeSeams.ShowRecentFiles(5);
    setWindowTitle(ModeCaptions[5]);

    // Made once, zeroed at every entry.
    if (v.buffers)
        *v.buffers = evaluation::VibrationBuffers();
    else
        v.buffers = std::make_unique<evaluation::VibrationBuffers>();
    FftSamples().fill(0, kFftSampleBytes);
    v.undoZoom();

    if (InterfaceError) {
        FFTPom->setEnabled(false);
        GaugeFFT->hide();
    } else {
        if (TypeSeams.HeadReady && TypeSeams.HeadReady())
            modes::StartFftReading(EntryHost());
        else
            callSeam(TypeSeams.StartSignalMonitor);
        callSeam(TypeSeams.RestartMeteoReading);
    }
    NotebookMainForm->setCurrentIndex(kVibrationPage);
}

void TMainForm::FFTPomClick() {
    if (!SaveOrDiscardChanges(5)) return;
    VibrationParts& v = VibrationState();
    modes::ResetHeadFlags(EntryHost());
    v.clearSeries();
    v.undoZoom();
    EnableMenuItemsByTag(VibrationCommandTags(), false);

    MeasurementRunning = true;
    v.SetMainWindowEnabled(false);
    auto* form = new TFPomiarFFT(&v, this);
    form->show();
    SendHeadCommand('z');
}

void TMainForm::FFTGMenuClick() {
    if (!SaveOrDiscardChanges(5)) return;
    VibrationParts& v = VibrationState();
    v.buffers.reset();
    // The file's body keeps its size: a later save writes it whole.
    FftSamples().fill(0, kFftSampleBytes);
    v.clearSeries();

    if (instrument::SerialLinkChosen()) EntryHost().SetLinkWatchdogEnabled(false);
    modes::StopReading(EntryHost());
    SendHeadCommand('R');
    EnableMenuItemsByTag(VibrationCommandTags(), false);
    modes::UpdateCaption(EntryHost());
    NotebookMainForm->setCurrentIndex(1);
}

void TMainForm::RGFFTCzasClick() {
    VibrationParts& v = VibrationState();
    FFTCzas->LeftAxis().SetAutomatic(true);
    WykresFFT->LeftAxis().SetAutomatic(true);
    v.applyAxisTitles();
    if (v.SCzasowa && v.SCzasowa->Count() > 0) ComputeVibrationSpectrum();
}

void TMainForm::RGFFTOutClick() {
    VibrationParts& v = VibrationState();
    v.applyAxisTitles();
    WykresFFT->LeftAxis().SetAutomatic(true);
    if (!v.buffers || !v.SCzasowa || !v.SFreq) return;
    const evaluation::VibrationSettings s = v.settings();
    evaluation::PlotSpectrum(*v.buffers, s, s.FirstBin(), *v.SCzasowa, *v.SFreq);
}

void TMainForm::CBLogClick() {
    platform::TChartAxis& axis = WykresFFT->BottomAxis();
    if (CBLog->isChecked()) {
        WykresFFT->AdjustAxes();
        if (axis.Minimum() < 0.0) axis.SetMinimum(vibrationpage::LogAxisMinimum(axis.Minimum()));
    }
    axis.SetLogarithmic(CBLog->isChecked());
}

void TMainForm::UpDown1Click() {
    const int decimals = vibrationpage::ReadoutDecimals(UpDown1->value());
    DispWarMierzona->SetPrecision(decimals);
    if (DispWarZadana) DispWarZadana->SetPrecision(decimals);
}

void TMainForm::RSEWspRozChange() { ExpansionCoefficient = RSEWspRoz->Value() * 1e-6; }

void TMainForm::ComboBox1Change() {
    const int item = ComboBox1->currentIndex();
    if (item == 4) {
        RSEWspRoz->setEnabled(true);  // the user's value takes over once it is changed
        return;
    }
    if (const auto coefficient = MaterialExpansionCoefficient(item)) ExpansionCoefficient = *coefficient;
    RSEWspRoz->SetValue(ExpansionCoefficient * 1e6);
    RSEWspRoz->setEnabled(false);
}

void TMainForm::ComputeVibrationSpectrum() {
    VibrationParts& v = VibrationState();
    if (!v.buffers) v.buffers = std::make_unique<evaluation::VibrationBuffers>();
    const evaluation::TFftFrame frame = evaluation::FftFrameFromBytes(FftSamples());
    evaluation::TFftFrame back{};
    if (v.FftBackSamples) back = evaluation::FftFrameFromBytes(*v.FftBackSamples);
    evaluation::ComputeSpectrum(*v.buffers, frame, v.FftBackSamples ? &back : nullptr, v.settings(), *v.SCzasowa,
                                *v.SFreq);
    if (bSaveBackG) bSaveBackG->setEnabled(true);
}

void TMainForm::bSaveBackGClick() {
    VibrationParts& v = VibrationState();
    cbBackGroundFFT->setEnabled(true);
    cbBackGroundFFT->setChecked(true);  // switches the subtraction on when it was off
    if (!v.FftBackSamples) v.FftBackSamples = std::make_unique<QByteArray>(kFftSampleBytes, '\0');
    QByteArray frame = FftSamples();
    frame.resize(kFftSampleBytes, '\0');
    *v.FftBackSamples = frame;
}

void TMainForm::cbBackGroundFFTClick() {
    VibrationParts& v = VibrationState();
    // The background's transform holds values only after the next computation; until then zeros.
    if (!v.FftBackSamples) v.FftBackSamples = std::make_unique<QByteArray>(kFftSampleBytes, '\0');
    if (!v.buffers) v.buffers = std::make_unique<evaluation::VibrationBuffers>();
    if (!v.SCzasowa || !v.SFreq) return;
    const evaluation::VibrationSettings s = v.settings();
    evaluation::PlotSpectrum(*v.buffers, s, CBSkladStala->isChecked() ? 0 : 1, *v.SCzasowa, *v.SFreq);
}

// --- the acquisition's hooks ---

void TMainForm::FftSampleStored() {
    if (FPomiarFFT) FPomiarFFT->AddStoredSample();
}

int32_t* TMainForm::FftTransferBuffer() {
    QByteArray& samples = FftSamples();
    if (samples.size() != kFftSampleBytes) samples.fill(0, kFftSampleBytes);
    return reinterpret_cast<int32_t*>(samples.data());
}

void TMainForm::FftTransferProgress(int32_t index) {
    if (FPomiarFFT) FPomiarFFT->SetTransferredSamples(index);
}

void TMainForm::FftTransferEnded() {
    if (FPomiarFFT) FPomiarFFT->close();
    EnableMenuItemsByTag(VibrationCommandTags(), true);
    ComputeVibrationSpectrum();
    DataSaved = false;
}
