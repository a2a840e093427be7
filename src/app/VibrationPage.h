#pragma once
// The vibration page ("AnalizaFFT") of the main window. It owns the page's controls (the time
// chart FFTCzas above the spectrum WykresFFT, the signal gauge, the signal and output choices,
// the display switches, "Jako tło" with "Redukcja tła", the acquisition button and the way back),
// builds them, and holds the page's entry, an acquisition through TFPomiarFFT (the host it acts
// on), the transform's work arrays and the background frame. The samples themselves stay in the
// window's file document (FftSamples).
#include <QObject>
#include <QByteArray>
#include <cstdint>
#include <memory>

#include "instrument/FftAcquisition.h"

struct WarmUpControls;
namespace modes {
enum class ModeControl;
}
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;
class TMainForm;
class TRadioGroup;
namespace evaluation {
struct VibrationBuffers;
struct VibrationSettings;
}
namespace platform {
class TChart;
class TChartSeries;
}

class VibrationPage final : public QObject, public instrument::FftAcquisitionHost {
public:
    explicit VibrationPage(TMainForm& shell);
    ~VibrationPage() override;

    QWidget* Build();
    // Connects the page's controls; the choices as the settings left them.
    void Connect();

    // --- handlers ---
    void BitBtnFFTClick();
    void FFTPomClick();
    void FFTGMenuClick();
    void RGFFTCzasClick();
    void RGFFTOutClick();
    void CBLogClick();
    void bSaveBackGClick();
    void cbBackGroundFFTClick();

    // The spectrum of the window's samples on both charts (after a transfer, a ".dt7").
    void ComputeVibrationSpectrum();
    // The acquisition's hooks: a reading-thread sample, the parser's progress and its end.
    void FftSampleStored();
    int32_t* FftTransferBuffer();
    void FftTransferProgress(int32_t index);
    void FftTransferEnded();

    // Leaving the page (and the program's end): the frame's transform arrays are freed; the
    // background frame and its transform arrays stay for the program's life.
    void FreeVibrationBuffers();
    bool HoldsFrameBuffers() const { return buffers_ != nullptr; }

    // The acquisition disables the window's contents, not the acquisition form it parents.
    void SetMainWindowEnabled(bool on) override;

    platform::TChart* TimeChart() const { return FFTCzas; }
    platform::TChart* SpectrumChart() const { return WykresFFT; }
    QProgressBar* SignalGauge() const { return GaugeFFT; }
    // What the signal monitor shows the warm-up on while the page waits for the laser.
    WarmUpControls SignalWarmUpControls() const;
    // The page's controls the mode sequences act on; null for one it does not own.
    QObject* ModeControlOf(modes::ModeControl c) const;

private:
    evaluation::VibrationSettings Settings() const;
    void ClearSeries();
    void UndoZoom();
    void ApplyAxisTitles();
    evaluation::VibrationBuffers& Buffers();

    TMainForm& shell_;
    platform::TChart* FFTCzas = nullptr;
    platform::TChart* WykresFFT = nullptr;
    platform::TChartSeries* SCzasowa = nullptr;
    platform::TChartSeries* SFreq = nullptr;
    QProgressBar* GaugeFFT = nullptr;
    QLabel* Label31 = nullptr;
    QPushButton* FFTPom = nullptr;
    TRadioGroup* RGFFTCzas = nullptr;
    TRadioGroup* RGFFTOut = nullptr;
    QCheckBox* CBSkladStala = nullptr;
    QCheckBox* CBLog = nullptr;
    QCheckBox* cbBackGroundFFT = nullptr;
    QPushButton* bSaveBackG = nullptr;
    QPushButton* FFTGMenu = nullptr;
    // The transform's work arrays, made on the first entry to the page, freed when it is left.
    std::unique_ptr<evaluation::VibrationBuffers> buffers_;
    // The background frame ("Jako tło"), made when first needed and kept for the program's life,
    // with its transform arrays while the page's arrays are freed.
    std::unique_ptr<QByteArray> FftBackSamples;
    struct KeptBackground;
    std::unique_ptr<KeptBackground> keptBackground_;
};
