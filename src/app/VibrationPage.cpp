// The vibration page: its controls, its entry from the main menu, an acquisition over the head,
// the spectrum of the samples and the display switches.
#include "app/VibrationPage.h"

#include "app/ModeSequences.h"
#include "instrument/OdczytSygnaluPomiarowego.h"
#include "app/WarmUpControls.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PageControls.h"
#include "app/Unit_glowny.h"
#include "app/VibrationRules.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/VibrationSpectrum.h"
#include "foundations/MeasurementModes.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "app/dialogs/UPomiarFFT.h"
#include "platform/ChartSeries.h"

using namespace pagecontrols;

namespace {

constexpr int kPageVibration = 9;
constexpr int kPageMainMenu = 1;

// The commands a vibration acquisition disables and its end enables again.
TTagSet VibrationCommandTags() { return TagSet({2, 3, 4, 5, 42}); }

}  // namespace

struct VibrationPage::KeptBackground {
    std::vector<evaluation::TComplex> re, im;
};

VibrationPage::VibrationPage(TMainForm& shell) : QObject(&shell), shell_(shell) {}
VibrationPage::~VibrationPage() = default;

QWidget* VibrationPage::Build() {
    auto* page = named(new QWidget, "AnalizaFFT");
    auto* lay = new QHBoxLayout(page);
    // The time chart above the spectrum, the switches beside them.
    FFTCzas = chart(page, "FFTCzas");
    WykresFFT = chart(page, "WykresFFT");
    SCzasowa = FFTCzas->AddNewSeries<platform::TFastLineSeries>(QStringLiteral("SCzasowa"));
    SFreq = WykresFFT->AddNewSeries<platform::TFastLineSeries>(QStringLiteral("SFreq"));
    for (platform::TChart* c : {FFTCzas, WykresFFT}) {
        c->SetLegendVisible(false);
        c->SetAllowZoom(true);
    }
    auto* charts = new QVBoxLayout;
    charts->addWidget(FFTCzas, 1);
    charts->addWidget(WykresFFT, 1);
    lay->addLayout(charts, 3);

    auto* side = new QVBoxLayout;
    GaugeFFT = gauge(page, "GaugeFFT");
    Label31 = label(page, "Label31", QString());
    RGFFTCzas = named(new TRadioGroup(QStringLiteral("Sygnał"),
                                      {QStringLiteral("Dystans"), QStringLiteral("Prędkość"),
                                       QStringLiteral("Przyspieszenie")},
                                      page),
                      "RGFFTCzas");
    RGFFTOut = named(new TRadioGroup(QStringLiteral("Wynik"),
                                     {QStringLiteral("Amplituda"), QStringLiteral("Faza"),
                                      QStringLiteral("Część rzecz."), QStringLiteral("Część urojona")},
                                     page),
                     "RGFFTOut");
    CBSkladStala = named(new QCheckBox(QStringLiteral("Składowa stała"), page), "CBSkladStala");
    CBLog = named(new QCheckBox(QStringLiteral("Skala log."), page), "CBLog");
    cbBackGroundFFT = named(new QCheckBox(QStringLiteral("Redukcja tła"), page), "cbBackGroundFFT");
    cbBackGroundFFT->setEnabled(false);
    bSaveBackG = button(page, "bSaveBackG", QStringLiteral("Jako tło"));
    bSaveBackG->setEnabled(false);
    FFTPom = button(page, "FFTPom", QStringLiteral("P&omiar"));
    FFTGMenu = button(page, "FFTGMenu", QStringLiteral("&Główne menu"));
    for (QWidget* w : std::initializer_list<QWidget*>{GaugeFFT, Label31, RGFFTCzas, RGFFTOut, CBSkladStala, CBLog,
                                                      cbBackGroundFFT, bSaveBackG})
        side->addWidget(w);
    side->addStretch(1);
    side->addWidget(FFTPom);
    side->addWidget(FFTGMenu);
    lay->addLayout(side);
    return page;
}

void VibrationPage::Connect() {
    RGFFTCzas->SetItemIndex(std::clamp<int>(shell_.FftSignalIndex, 0, 2));
    RGFFTOut->SetItemIndex(std::clamp<int>(shell_.FftOutputIndex, 0, 3));
    CBSkladStala->setChecked(shell_.FftDcComponent);
    CBLog->setChecked(shell_.FftLogScale);
    WykresFFT->BottomAxis().SetLogarithmic(shell_.FftLogScale);

    connect(FFTPom, &QPushButton::clicked, this, &VibrationPage::FFTPomClick);
    connect(FFTGMenu, &QPushButton::clicked, this, &VibrationPage::FFTGMenuClick);
    connect(RGFFTCzas, &TRadioGroup::changed, this, [this](int i) {
        shell_.FftSignalIndex = i;
        RGFFTCzasClick();
    });
    connect(RGFFTOut, &TRadioGroup::changed, this, [this](int i) {
        shell_.FftOutputIndex = i;
        RGFFTOutClick();
    });
    connect(bSaveBackG, &QPushButton::clicked, this, &VibrationPage::bSaveBackGClick);
    connect(cbBackGroundFFT, &QCheckBox::toggled, this, &VibrationPage::cbBackGroundFFTClick);
    connect(CBSkladStala, &QCheckBox::toggled, this, [this](bool on) {
        shell_.FftDcComponent = on;
        RGFFTOutClick();
    });
    connect(CBLog, &QCheckBox::toggled, this, [this](bool on) {
        shell_.FftLogScale = on;
        CBLogClick();
    });
}

evaluation::VibrationSettings VibrationPage::Settings() const {
    evaluation::VibrationSettings s;
    s.signal = RGFFTCzas->ItemIndex();
    s.output = RGFFTOut->ItemIndex();
    s.showDc = CBSkladStala->isChecked();
    s.background = cbBackGroundFFT->isChecked();
    s.resolution10 = shell_.ModeHost().ResolutionButtonVisible() && shell_.Resolution10;
    s.laserWavelength = LaserWavelength;
    return s;
}

void VibrationPage::ClearSeries() {
    SCzasowa->Clear();
    SFreq->Clear();
}

void VibrationPage::UndoZoom() {
    FFTCzas->UndoZoom();
    WykresFFT->UndoZoom();
}

void VibrationPage::ApplyAxisTitles() {
    const evaluation::VibrationSettings s = Settings();
    FFTCzas->LeftAxis().SetTitle(vibrationrules::TimeAxisTitle(s.signal));
    WykresFFT->LeftAxis().SetTitle(vibrationrules::SpectrumAxisTitle(s.signal, s.output));
}

evaluation::VibrationBuffers& VibrationPage::Buffers() {
    if (!buffers_) {
        buffers_ = std::make_unique<evaluation::VibrationBuffers>();
        if (keptBackground_) {
            buffers_->FftBackRe = std::move(keptBackground_->re);
            buffers_->FftBackIm = std::move(keptBackground_->im);
            keptBackground_.reset();
        }
    }
    return *buffers_;
}

void VibrationPage::FreeVibrationBuffers() {
    if (!buffers_) return;
    // "Redukcja tła" keeps its background for the rest of the program (the frame it was stored
    // from is gone when the page is left); only the page's own arrays go.
    if (FftBackSamples) {
        keptBackground_ = std::make_unique<KeptBackground>();
        keptBackground_->re = std::move(buffers_->FftBackRe);
        keptBackground_->im = std::move(buffers_->FftBackIm);
    }
    buffers_.reset();
}

void VibrationPage::SetMainWindowEnabled(bool on) {
    if (shell_.centralWidget()) shell_.centralWidget()->setEnabled(on);
    if (shell_.menuBar()) shell_.menuBar()->setEnabled(on);
}

void VibrationPage::BitBtnFFTClick() {
    shell_.MeasurementMode = kModeVibration;
    shell_.ShowMenuItemsByTag(TagSet({15, 23, 26}), true);
    shell_.ShowMenuItemsByTag(TagSet({6, 9, 10, 13, 27, 28, 37, 38, 41, 44}), false);

    FFTCzas->BottomAxis().SetTitle(Msg("stCzas") + QStringLiteral(" [s]"));
    WykresFFT->BottomAxis().SetTitle(Msg("stCzest") + QStringLiteral(" [Hz]"));
    ApplyAxisTitles();
    shell_.TypeCalls().ShowRecentFiles(kModeVibration);
    shell_.setWindowTitle(shell_.ModeCaptions[kModeVibration]);

    // Made once, zeroed at every entry (the background frame stays; its transform is made anew
    // from it at the next computation).
    Buffers() = evaluation::VibrationBuffers();
    shell_.FftSamples().fill(0, kFftSampleBytes);
    UndoZoom();

    if (InterfaceError) {
        FFTPom->setEnabled(false);
        GaugeFFT->hide();
    } else {
        if (shell_.TypeCalls().HeadReady())
            modes::StartFftReading(shell_.EntryHost());
        else
            shell_.TypeCalls().StartSignalMonitor();
        shell_.TypeCalls().RestartMeteoReading();
    }
    shell_.NotebookMainForm->setCurrentIndex(kPageVibration);
}

void VibrationPage::FFTPomClick() {
    if (!shell_.SaveOrDiscardChanges(kModeVibration)) return;
    modes::ResetHeadFlags(shell_.EntryHost());
    ClearSeries();
    UndoZoom();
    shell_.EnableMenuItemsByTag(VibrationCommandTags(), false);

    MeasurementRunning = true;
    SetMainWindowEnabled(false);
    auto* form = new TFPomiarFFT(this, &shell_);
    form->show();
    shell_.SendHeadCommand('z');
}

void VibrationPage::FFTGMenuClick() {
    if (!shell_.SaveOrDiscardChanges(kModeVibration)) return;
    FreeVibrationBuffers();
    // The file's body keeps its size: a later save writes it whole.
    shell_.FftSamples().fill(0, kFftSampleBytes);
    ClearSeries();

    if (instrument::SerialLinkChosen()) shell_.EntryHost().SetLinkWatchdogEnabled(false);
    modes::StopReading(shell_.EntryHost());
    shell_.SendHeadCommand('R');
    shell_.EnableMenuItemsByTag(VibrationCommandTags(), false);
    modes::UpdateCaption(shell_.EntryHost());
    shell_.NotebookMainForm->setCurrentIndex(kPageMainMenu);
}

void VibrationPage::RGFFTCzasClick() {
    FFTCzas->LeftAxis().SetAutomatic(true);
    WykresFFT->LeftAxis().SetAutomatic(true);
    ApplyAxisTitles();
    if (SCzasowa->Count() > 0) ComputeVibrationSpectrum();
}

void VibrationPage::RGFFTOutClick() {
    ApplyAxisTitles();
    WykresFFT->LeftAxis().SetAutomatic(true);
    if (!buffers_) return;
    const evaluation::VibrationSettings s = Settings();
    evaluation::PlotSpectrum(*buffers_, s, s.FirstBin(), *SCzasowa, *SFreq);
}

void VibrationPage::CBLogClick() {
    platform::TChartAxis& axis = WykresFFT->BottomAxis();
    if (CBLog->isChecked()) {
        WykresFFT->AdjustAxes();
        if (axis.Minimum() < 0.0) axis.SetMinimum(vibrationrules::LogAxisMinimum(axis.Minimum()));
    }
    axis.SetLogarithmic(CBLog->isChecked());
}

void VibrationPage::ComputeVibrationSpectrum() {
    const evaluation::TFftFrame frame = evaluation::FftFrameFromBytes(shell_.FftSamples());
    evaluation::TFftFrame back{};
    if (FftBackSamples) back = evaluation::FftFrameFromBytes(*FftBackSamples);
    evaluation::ComputeSpectrum(Buffers(), frame, FftBackSamples ? &back : nullptr, Settings(), *SCzasowa, *SFreq);
    bSaveBackG->setEnabled(true);
}

void VibrationPage::bSaveBackGClick() {
    cbBackGroundFFT->setEnabled(true);
    cbBackGroundFFT->setChecked(true);  // switches the subtraction on when it was off
    if (!FftBackSamples) FftBackSamples = std::make_unique<QByteArray>(kFftSampleBytes, '\0');
    QByteArray frame = shell_.FftSamples();
    frame.resize(kFftSampleBytes, '\0');
    *FftBackSamples = frame;
}

void VibrationPage::cbBackGroundFFTClick() {
    // The background's transform holds values only after the next computation; until then zeros.
    if (!FftBackSamples) FftBackSamples = std::make_unique<QByteArray>(kFftSampleBytes, '\0');
    const evaluation::VibrationSettings s = Settings();
    evaluation::PlotSpectrum(Buffers(), s, CBSkladStala->isChecked() ? 0 : 1, *SCzasowa, *SFreq);
}

void VibrationPage::FftSampleStored() {
    if (FPomiarFFT) FPomiarFFT->AddStoredSample();
}

int32_t* VibrationPage::FftTransferBuffer() {
    QByteArray& samples = shell_.FftSamples();
    if (samples.size() != kFftSampleBytes) samples.fill(0, kFftSampleBytes);
    return reinterpret_cast<int32_t*>(samples.data());
}

void VibrationPage::FftTransferProgress(int32_t index) {
    if (FPomiarFFT) FPomiarFFT->SetTransferredSamples(index);
}

void VibrationPage::FftTransferEnded() {
    if (FPomiarFFT) FPomiarFFT->close();
    shell_.EnableMenuItemsByTag(VibrationCommandTags(), true);
    ComputeVibrationSpectrum();
    DataSaved = false;
}

WarmUpControls VibrationPage::SignalWarmUpControls() const { return {GaugeFFT, nullptr, FFTPom, Label31, nullptr}; }

QObject* VibrationPage::ModeControlOf(modes::ModeControl c) const {
    using C = modes::ModeControl;
    switch (c) {
    case C::Label31: return Label31;
    case C::GaugeFFT: return GaugeFFT;
    case C::FFTPom: return FFTPom;
    default: return nullptr;
    }
}
