#pragma once
// "Rejestracja": the recording window of the live readout. A timed log adds a row with the
// shown value and the six environment readings every chosen interval; the all-samples mode lets
// the reading append every converted sample to the window's value collection while this window
// counts them. Rows or samples go to a text file; none are dropped without a question.
#include <QDateTime>

#include "app/Recording.h"
#include "foundations/FR_Utils.h"
#include "foundations/PomiarCol.h"

class QCheckBox;
class QPushButton;
class QSpinBox;
class QTimer;
class TDisplay;
class THeaderListbox;

// What the recording window reads of the main window.
class RecordingSource {
public:
    virtual ~RecordingSource() = default;
    // The value of the readout DisplayWys and its decimals.
    virtual double ShownValue() const = 0;
    virtual int ShownDecimals() const = 0;
    // The environment labels' captions: H, P, T, T1, T2, T3.
    virtual RecordingEnvironment EnvironmentTexts() const = 0;
    // The value collection the reading appends to in the all-samples mode.
    virtual TVelValue& Samples() = 0;
};

class TFRejestracja : public TSSForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 123;
    explicit TFRejestracja(RecordingSource& source, QWidget* parent = nullptr);
    ~TFRejestracja() override;

    // --- handlers ---
    void FormCreate();
    void SPGodzinaChange();  // the three spin edits
    void SPSekundaEnter();
    void CBWszystkieClick();
    void BStartClick();
    void BStopClick();
    void BWyczyscClick();
    // Saves the rows (timed) or the samples (all samples); true when the file was written.
    bool BZapisClick();
    void BKoniecClick();
    void ButtonPomocClick();
    void Timer1Timer();

    // A timed row dated t (only while the timed log runs), and the error row of a stopped reading.
    void AddRow(const QDateTime& t);
    void AddErrorRow();

    bool Saved() const { return log_.Saved(); }
    RecordingInterval Interval() const { return interval_; }

    QSpinBox* SPGodzina;
    QSpinBox* SPMinuta;
    QSpinBox* SPSekunda;
    QCheckBox* CBWszystkie;
    QPushButton* BStart;
    QPushButton* BStop;
    QPushButton* BWyczysc;
    QPushButton* BZapis;
    QPushButton* BKoniec;
    QPushButton* ButtonPomoc;
    THeaderListbox* ListaPomiarow;
    TDisplay* Display1;
    QTimer* Timer1;

protected:
    // Closing in any way (Esc, the title bar, "&Koniec rejstracji") goes through the question.
    void reject() override;

private:
    void showCount();
    // FormCloseQuery: unsaved rows or samples are offered for saving; false keeps the window.
    bool FormCloseQuery();
    // Before Start clears the collection: unsaved samples there are dropped only on a Yes.
    bool MayClearSamples();
    bool allSamples() const;
    // Writes the rows (samples false) or the samples; true when the file was written.
    bool save(bool samples);

    RecordingSource& source_;
    RecordingInterval interval_;
    QDateTime lastRow_;
    RecordingLog log_;
    bool timedOn_ = false;
    // Samples of this window's all-samples recording not yet written.
    bool samplesUnsaved_ = false;
};

// The recording window while it is open (the link status window adds its error row), else null.
extern TFRejestracja* FRejestracja;

// "&Rejestracja": the window, shown modally and freed; FRejestracja points to it meanwhile.
void RunRecordingWindow(RecordingSource& source, QWidget* parent);
