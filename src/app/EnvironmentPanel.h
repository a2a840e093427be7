#pragma once
// The environment panel ("PanelMeteo") beside the measurement pages of the main window. It owns
// the panel's controls: the station check boxes CBTemp, CBTMat, CBWilg, CBCis (each quantity
// measured or typed), the station's readings Label25, Label19, Label11-13, Label23, Label24,
// the count filter Filtr1, the effective wavelength DispLambda, the material ComboBox1 with the
// user's coefficient RSEWspRoz, and the hand entries SETempPow, SETempMat, SEWilgotnosc and
// seCisnienie. It builds them, holds their handlers and keeps the hand-entered values in °C and
// hPa whatever unit they are shown in.
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QSpinBox;
class QWidget;
class TDisplay;
class TRealSpinEdit;
struct TSettings;
namespace instrument {
struct EnvironmentChoiceInput;
struct MeteoReadout;
}
namespace evaluation {
struct EnvironmentEntry;
}

// What the environment panel asks of the window.
class EnvironmentPanelCalls {
public:
    virtual ~EnvironmentPanelCalls() = default;
    // The units the hand entries are shown in: 0 °C, 1 °F; 0 hPa, 1 mmHg, 2 inHg.
    virtual uint8_t EntryTemperatureUnit() const = 0;
    virtual uint8_t EntryPressureUnit() const = 0;
};

class EnvironmentPanel final : public QObject {
public:
    EnvironmentPanel(QObject* owner, EnvironmentPanelCalls& calls);

    QFrame* Build();
    void Connect();

    // --- handlers ---
    // Each box: the station's reading while ticked, its hand entry while not.
    void CBWilgClick();
    void CBCisClick();
    void CBTempClick();
    void CBTMatClick();
    // The material: a listed one sets ExpansionCoefficient, the user's own opens RSEWspRoz.
    void ComboBox1Change();
    // The user's coefficient: the edit shows 10^-6/K.
    void RSEWspRozChange();
    void SETempPowExit();
    // The hand-entered values are kept in °C and hPa whatever unit they are shown in.
    void SETempPowChange();
    void SETempMatChange();
    void seCisnienieChange();

    // Shown beside the measurement pages, not beside the start, menu and service pages.
    void FollowPage(int page);
    // At start: steel, with its coefficient in RSEWspRoz.
    void ChooseSteel();
    // The material items that the language translates ("Stal ", "Użytkownika").
    void TranslateCaptions();
    // Without the calibration file the station cannot be read: the four boxes go off and stay
    // disabled, and the stored choice is kept for when the file is back.
    void SensorsOffForCalibration();
    // The stored sensor ticks (not while they are off for calibration) and the tick into the
    // settings (not while they are off for calibration: the stored choice stays).
    void ShowSensorChoices(const TSettings& s);
    void TakeSensorChoices(TSettings& s) const;
    // The settings' hand-entered values and sensor ticks shown; and taken back.
    void ShowStoredValues(const TSettings& s);
    void StoreValues(TSettings& s) const;
    // The hand entries in the current units, with their ranges; showing them stores nothing.
    void ShowEnvironmentEntries();

    // --- the reading ---
    // The station's round on the reading labels ("--" for a value out of range).
    void ShowStationReadings(const instrument::MeteoReadout& r);
    // Which values the air correction takes from the station, and the typed humidity.
    void TakeSensorUse(instrument::EnvironmentChoiceInput& in) const;
    // The reading's count filter is ticked.
    bool FilterOn() const;
    void ShowEffectiveWavelength(double nm);
    // What the recording writes: humidity, pressure, air and the three material sensors as shown.
    std::array<QString, 6> ShownReadings() const;
    // The sensor ticks and the hand entries' texts for the measurement header.
    void TakeHeaderEntries(evaluation::EnvironmentEntry& e) const;

private:
    void ShowMeasuredOrTyped(QCheckBox* box, std::initializer_list<QLabel*> readings, QWidget* entry);

    EnvironmentPanelCalls& calls_;
    QFrame* PanelMeteo = nullptr;
    QCheckBox* CBTemp = nullptr;
    QCheckBox* CBTMat = nullptr;
    QCheckBox* CBWilg = nullptr;
    QCheckBox* CBCis = nullptr;
    QCheckBox* Filtr1 = nullptr;
    // What the station reads: air (Label25), material (Label19, sensors Label11-13), humidity
    // (Label23) and pressure (Label24).
    QLabel* Label25 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label24 = nullptr;
    TDisplay* DispLambda = nullptr;
    QComboBox* ComboBox1 = nullptr;
    TRealSpinEdit* RSEWspRoz = nullptr;
    TRealSpinEdit* SETempPow = nullptr;
    TRealSpinEdit* SETempMat = nullptr;
    TRealSpinEdit* seCisnienie = nullptr;
    QSpinBox* SEWilgotnosc = nullptr;
    // Each station reading with its own caption: the material sensors have one, the others'
    // caption is their box.
    std::vector<std::pair<QLabel*, QLabel*>> readingRows_;
    // The sensor boxes were switched off for want of calibration, not by the user.
    bool sensorsOffForCalibration_ = false;
};
