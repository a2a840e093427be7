#pragma once
// "Wykrywanie portu szeregowego": runs the port search and closes with its result, modal result
// 1 with the port index found, or 3 when no port answered (2 when the user cancelled).
#include <QTimer>
#include <cstdint>
#include <memory>

#include "foundations/FR_Utils.h"
#include "instrument/UCheckCom.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;

class TfWykCom : public TSSForm, public instrument::CheckComSink {
    Q_OBJECT
public:
    // Modal result when no port answered.
    static constexpr int kNoPortAnswered = 3;

    // The search thread is made by `threads` (the owner of the link's threads). Speeds:
    // TMainForm.BaudRateIndex and AltBaudRateIndex. The search starts at once.
    explicit TfWykCom(instrument::PortSearchThreads& threads, QWidget* parent = nullptr,
                      instrument::LoaderSpeeds speeds = {}, instrument::CheckComTimings timings = {});
    // A search still under way is ended first.
    ~TfWykCom() override;

    QStackedWidget* Notebook1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* BitBtn2;  // page 0 "Anuluj"
    QPushButton* BitBtn3;  // page 0 "Dalej"
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QProgressBar* ProgressBar2;
    QPushButton* BitBtn4;  // page 1 "Anuluj"
    QPushButton* BitBtn5;  // page 1 "Dalej"
    QLabel* Label6;
    QLabel* Label7;
    QProgressBar* ProgressBar1;
    QPushButton* BitBtn1;  // page 2 "Anuluj"
    QTimer Timer1;

    void FormCreate();
    void BitBtn1Click();
    void BitBtn3Click();
    void BitBtn5Click();
    void Timer1Timer();

    // The port index found (0 for COM1); valid after modal result 1.
    uint8_t PortIndex() const { return portIndex_; }
    // From the start of the search until its end has reached the dialog.
    bool Searching() const { return searching_; }

    // While a search runs, closing only asks it to end; the dialog closes when it has.
    void done(int result) override;

    // CheckComSink
    void UpdateProgress(int32_t attempt) override;
    void SearchEnded(instrument::CheckComOutcome outcome, uint8_t portIndex) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void finish(int result);

    instrument::LoaderSpeeds speeds_;
    instrument::CheckComTimings timings_;
    instrument::PortSearchThreads& threads_;
    bool searchStarted_ = false;  // one search per dialog
    int ticks_ = 0;
    uint8_t portIndex_ = 0;
    bool searching_ = false;
    bool destroying_ = false;
    int pendingResult_ = 0;  // a search that ended before the dialog was shown
};
