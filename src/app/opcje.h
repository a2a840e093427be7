#pragma once
// "Konfiguracja": the measurement settings in one modal window. What the window opens on, the
// page it starts on and how its values go back into the settings are plain code; the window
// shows and gathers them and stores nothing itself.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "foundations/FR_Utils.h"
#include "instrument/LadowanieProgramu.h"
#include "instrument/UCheckCom.h"

struct TSettings;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QToolButton;
class TRadioGroup;
class TRealSpinEdit;

// Everything the window edits, in the units of its controls.
struct TOptionsValues {
    QString positioningDir, flatnessDir, straightnessDir, velocityDir, angularDir, fftDir;
    int pointDistance = 100;        // µm
    int vibration = 10;             // µm
    double pointTime = 1.0;         // s
    int errorWindow = 1000;         // µm
    int cycleCount = 2;
    int positioningMethod = 0;      // 0 linear, 1 pilgrim, 2 pilgrim 2
    bool uniDirectional = false;
    bool systemXY = false;          // two-axis system: the simultaneous measurement may be chosen
    bool posAndStr = false;
    int velocityUnit = 0;
    int straightnessMethod = 0;
    int statisticsMethod = 0;
    int straightnessPointCount = 5;
    bool flatnessGrid = false;
    int flatnessHLines = 3, flatnessVLines = 3;
    int rotationDirection = 0;
    int errorWindowPK = 1000;       // arc seconds
    int vibrationPK = 10;           // arc seconds
    double pointTimePK = 1.0;       // s
    int comPort = 0;                // 0 for COM1
    bool humidityFromSensor = true, pressureFromSensor = true, airTempFromSensor = true,
         materialTempFromSensor = true;
    double referenceTemperatureC = 20.0;
    int temperatureUnit = 0;        // 0 °C, 1 °F
    int pressureUnit = 0;           // 0 hPa, 1 mmHg, 2 inHg
    int lengthUnit = 0;             // 0 mm, 1 inch
};

// The window's values from the settings and the shared globals the window shows (the reference
// temperature in °C and the length unit).
TOptionsValues OptionsFromSettings(const TSettings& settings, double referenceTemperature, int32_t lengthUnit);
// Acceptance times: seconds shown, stable samples (25 a second, nearest) stored.
int32_t SamplesFromSeconds(double seconds);
double SecondsFromSamples(int32_t samples);

// Copies accepted values back in the order the program applies them: the first group (folders
// to the line counts), then the rest (point count, sensor ticks, PosAndStr, units). The
// language is applied between the two by the caller. PosAndStr is cleared without the two-axis
// system.
void StoreOptionsFirst(const TOptionsValues& v, TSettings& settings);
void StoreOptionsRest(const TOptionsValues& v, TSettings& settings, double& referenceTemperature,
                      int32_t& lengthUnit);

// Pages of the window, in tab order.
enum class OptionsPage { Interfejs, Pozycjonowanie, Predkosc, Prostoliniowosc, Mapa, PodzialyKatowe, TSFFT, tsMeteo };
// The page the window starts on: "Interfejs" from the main menu page's button, otherwise the
// page of the measurement mode (velocity for a mode without a page of its own).
OptionsPage OptionsFirstPage(bool fromBitButton, int measurementMode);

// What the port detection's result does: the port to choose (nullopt: the choice stays) and the
// message to show (empty: none).
struct PortDetectionOutcome {
    std::optional<int> portIndex;
    QString message;
};
PortDetectionOutcome PortDetectionResult(int modalResult, int portIndex);

class TFOpcje : public TSSForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 113;
    // Its port search's thread is made by `portSearch` (the owner of the link's threads).
    explicit TFOpcje(instrument::PortSearchThreads& portSearch, QWidget* parent = nullptr,
                     instrument::LoaderSpeeds speeds = {});

    // Shows the values; the measuring card (cardLink) disables the port choice.
    void Load(const TOptionsValues& v, bool cardLink);
    // The values shown; the reference temperature converted back to °C.
    TOptionsValues Values() const;
    void ShowPage(OptionsPage page);
    OptionsPage CurrentPage() const;

    // The port search ran, and found the head (its port then stays open at the speed that
    // answered).
    bool PortSearched() const { return portSearched_; }
    bool PortFound() const { return portFound_; }

    // The language chosen (index into LanguageCodes; -1 for none).
    int LanguageIndex() const;
    const QStringList& LanguageCodes() const { return LanguageCodes_; }

    void PrzegladPozClick();
    void PrzegladPredClick();
    void PrzegladProstClick();
    void PrzegladPlasClick();
    void PrzegladKatoweClick();
    void PrzegladFFTClick();
    void ButtonDomClick();
    void Button1Click();
    void ButtonPomocClick();
    void SBSiatkaClick();
    void SBKopertaClick();
    void bWykComClick();
    void rgTempUnitClick();
    void RSETRefChange();

    QTabWidget* PageControl1;
    // Interfejs
    TRadioGroup* RadioGroupCom;
    TRadioGroup* RGJezyk;
    QPushButton* bWykCom;
    TRadioGroup* rgUnit;
    // Pozycjonowanie
    QSpinBox* SpinEditOdstep;
    QSpinBox* SpinEditDrgania;
    TRealSpinEdit* PointTimeEdit;
    QSpinBox* SpinEditDopBlad;
    QSpinBox* SpinEditLiczbaCykli;
    QToolButton* SBLiniowa;
    QToolButton* SBPielgrzym;
    QToolButton* SBPielgrzymJS;
    QCheckBox* cbJednostronny;
    QCheckBox* cbPozycIProsto;
    QLineEdit* EditKatPoz;
    QPushButton* PrzegladPoz;
    QPushButton* ButtonDom;
    // Predkosc
    TRadioGroup* VelUnit;
    QLineEdit* EditKatPredkosc;
    QPushButton* PrzegladPred;
    // Prostoliniowosc
    TRadioGroup* RadioGroupMetoda;
    TRadioGroup* RadioGroupStatystyka;
    QSpinBox* MSELPunkt;
    QLineEdit* EditKatProst;
    QPushButton* PrzegladProst;
    // Mapa
    QToolButton* SBKoperta;
    QToolButton* SBSiatka;
    QLabel* LabPozime;
    QLabel* LabPionowe;
    QSpinBox* SELiczbaPozimych;
    QSpinBox* SELiczbaPinowych;
    QLineEdit* EditKatPlas;
    QPushButton* PrzegladPlas;
    // PodzialyKatowe
    TRadioGroup* RadioGroupKierunekObrotu;
    QSpinBox* SEDopDladPK;
    QSpinBox* SEDrganiaPK;
    TRealSpinEdit* RSECzasPK;
    QLineEdit* EditKatPodzKatowe;
    QPushButton* PrzegladKatowe;
    QPushButton* Button1;
    // TSFFT
    QLineEdit* EditKatFFT;
    QPushButton* PrzegladFFT;
    // tsMeteo
    QCheckBox* CBW;
    QCheckBox* CBC;
    QCheckBox* CBT;
    QCheckBox* CBTM;
    TRealSpinEdit* RSETRef;
    TRadioGroup* rgTempUnit;
    TRadioGroup* rgPresUnit;

    QPushButton* ButtonOk;
    QPushButton* ButtonAnuluj;
    QPushButton* ButtonPomoc;

private:
    QStringList LanguageCodes_;
    double ReferenceTemperatureC = 20.0;
    bool systemXY_ = false;
    bool loading_ = false;
    bool portSearched_ = false;
    bool portFound_ = false;
    instrument::LoaderSpeeds speeds_;
    instrument::PortSearchThreads& portSearch_;
};

// What the configuration command needs of the main window.
class OptionsDialogHost {
public:
    virtual ~OptionsDialogHost();
    virtual TSettings& OptionsSettings() = 0;
    virtual int OptionsMeasurementMode() const = 0;
    // The choices the window keeps in its own controls (the port, the sensor ticks) follow the
    // settings.
    virtual void ShowStoredChoices() = 0;
    // The hand-entry environment fields get their ranges and values for the units, as at start.
    virtual void ApplyEnvironmentEntryUnits() = 0;
    // The displays that follow the length unit.
    virtual void ApplyLengthUnit() = 0;
    // The page of the current measurement type is brought up to date after the change.
    virtual void RefreshPageAfterOptions() = 0;
    // The port search drives the link's own port: its port, speed and open state are kept
    // before the dialog shows, and afterwards either the port the search found stays open
    // (keepFound: OK after a search that found the head) or the kept state comes back.
    virtual void RememberSerialLink() = 0;
    virtual void SettleSerialLink(bool keepFound) = 0;
    // Who makes the port search's thread.
    virtual instrument::PortSearchThreads& PortSearch() = 0;
};

// The whole command: copy in, show, and on OK copy back, change the language when another was
// chosen, and let the window refresh. True on OK.
bool RunOptionsDialog(OptionsDialogHost& host, bool fromBitButton, QWidget* parent = nullptr);
