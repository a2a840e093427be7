#pragma once
// "Pomiar": the progress of a vibration acquisition, how many samples the head has stored and
// how many it has sent back, and its end. Shown without waiting while the main window is
// disabled; it frees itself when closed, and closing it by any way ends the acquisition.
#include <QTimer>
#include <cstdint>

#include "foundations/FR_Utils.h"
#include "instrument/FftAcquisition.h"

class QLabel;
class QProgressBar;
class QPushButton;

class TFPomiarFFT : public TSSForm {
    Q_OBJECT
public:
    // Without a host the program's link is used.
    explicit TFPomiarFFT(instrument::FftAcquisitionHost* host = nullptr, QWidget* parent = nullptr);
    // A form destroyed before it was closed still ends the acquisition.
    ~TFPomiarFFT() override;

    QLabel* Label1;          // "Zapamiętane próbki:"
    QProgressBar* Gauge1;    // stored samples
    QLabel* Label2;          // "Przesłane próbki:"
    QProgressBar* Gauge2;    // transferred samples
    QPushButton* BitBtn1;    // "Anuluj"
    QTimer Timer1;           // stall watch, from the start of the transfer

    // The reading thread's sample (its hand-off): the first gauge advances, and at its end the
    // transfer starts with Timer1.
    void AddStoredSample();
    // The frame parser's second gauge: index of the last sample received.
    void SetTransferredSamples(int32_t index);

    void FormClose();
    void BitBtn1Click();
    void Timer1Timer();

    const instrument::FftAcquisition& Acquisition() const { return acquisition_; }

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    instrument::FftAcquisition acquisition_;
};

// The acquisition form while it is open, else null.
extern TFPomiarFFT* FPomiarFFT;
