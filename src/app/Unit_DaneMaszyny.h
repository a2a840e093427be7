#pragma once
// Machine data dialog: edits the machine description of the measurement header and shows the
// environment readings of the run.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "evaluation/MeasurementHeader.h"
#include "foundations/FR_Utils.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The stored environment texts turned back into numbers: an empty text or "--" stands for the
// default; the first "." and then the first "," are decimal separators; units are removed
// (pressure: three characters from the first "h"; temperature: "°" with the character after
// it, then a "C"). nullopt when what is left is no number.
std::optional<double> PressureFromHeaderText(const QString& text);
std::optional<double> AirTemperatureFromHeaderText(const QString& text);
std::optional<double> MaterialTemperatureFromHeaderText(const QString& text);

class TFormDaneMaszyny : public TSSForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 121;
    static constexpr int NotesCapacity = 505;

    explicit TFormDaneMaszyny(QWidget* parent = nullptr);

    // Shows the dialog on Header, environment values in the given units, and writes the edited
    // fields back when it is confirmed. True on OK.
    static bool FillHeader(TMeasurementHeader& header, uint8_t temperatureUnit, uint8_t pressureUnit,
                           QWidget* parent = nullptr);

    // The two halves of FillHeader around the modal run.
    void LoadHeader(const TMeasurementHeader& header, uint8_t temperatureUnit, uint8_t pressureUnit);
    // Writes the edited fields, each cut to its capacity; the date and the environment fields
    // are left as they are.
    void StoreHeader(TMeasurementHeader& header) const;

private:
    void PomocClick();

    QLineEdit* EditTypMaszyny;
    QLineEdit* EditNumerSer;
    QComboBox* ComboBoxOsMaszyny;
    QLineEdit* EditOperator;
    QLineEdit* EditFirma;
    QLineEdit* EditPred;
    QPlainTextEdit* MemoUwagi;
    QGroupBox* GroupBox1;
    QLabel* LabelData;
    QLabel* LabelWilgotnosc;
    QLabel* LabelCisnienie;
    QLabel* LabelTempPowietrza;
    QLabel* LabelTempPodloza;
};

using TFDaneMaszyny = TFormDaneMaszyny;
