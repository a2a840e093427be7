#pragma once
// The main window's settings and where they are kept in the per-user settings store.
// TMainForm inherits TSettings; the controls that show a setting are synchronised with these
// fields by the main window (named in the comments).
#include <QString>
#include <cstdint>
#include <vector>

#include "app/RecentFiles.h"

namespace platform {
class Registry;
}

inline constexpr const char* kSettingsKey = "SOFTWARE\\Brantova\\VKM30";

struct TSettings {
    // "Point Parameter"
    int32_t PointDistance = 10;      // µm
    int32_t Vibration = 10;          // µm
    int32_t PointNumber = 25;        // stable samples, 25 a second
    int32_t ErrorWindow = 1000;      // µm
    int32_t VibrationPK = 10;        // arc seconds
    int32_t PointNumberPK = 25;
    int32_t ErrorWindowPK = 1000;    // arc seconds
    int32_t HeadOnOffThreshold = 20;  // ScrollBar4 position, 1..40
    int32_t MaxErrorThreshold = 50;   // ScrollBar5 position, 40..100 (hundredths of a mm)

    // "Service Parameter" (SystemNumber is a shared global)
    int32_t TransmissionIndex = 1;    // PSTransmisja2.ItemIndex: 0 "FIFO", 1 "RS232"
    int32_t ComPortIndex = 0;         // ComPortUstawienia.ItemIndex, 0..9 for COM1..COM10
    uint8_t SignalGaugeMax = 175;
    uint8_t SignalGaugeMin = 100;
    int32_t MeteoAveragingIndex = 0;  // RadioGroupUsrednianieMeteo.ItemIndex: 0 "Tak", 1 "Nie"
    bool BigErrorWarning = false;     // CheckBox4
    int32_t AverageChangeLimit = 20;  // ScrollBar12 position, 0..50
    int32_t MoveDetectThreshold = 40; // ScrollBar13 position, 10..200
    uint8_t BaudRateIndex = 6;        // speed ordinal of the port component (110 first)
    uint8_t AltBaudRateIndex = 11;
    bool SystemXY = false;            // cbSystemXY

    // "Directory"
    QString PositioningDir = "brak";
    QString FlatnessDir, PointListDir, VelocityDir, StraightnessDir, AngularDir, FftDir;

    // "Options": positioning run and point acceptance
    bool Automatic = true;            // Automatyczny1 checked
    int32_t AutoAcceptTime = 70;      // ScrollBar16 position, 10..150, tenths of a second
    bool HandControl = false;         // ReczneZaliczeniePunktu checked
    bool HandControlPK = false;       // ReczneZaliczeniePunktuPK checked
    bool StopAfterCycle = true;       // StopPoKazdymCyklu1 checked
    bool TargetValueCorrection = false;  // KorekcjaWartosciZadanej checked
    bool UniDirectional = false;
    bool PointsFromList = false;      // PunktyZListy checked
    int32_t CycleCount = 2;
    uint8_t PositioningMethod = 0;    // 0 linear, 1 pilgrim, 2 pilgrim 2
    double BaseLength = 100.0;        // mm

    // "Options": views and plotted characteristics
    bool ShowMeanForward = true;      // series SredniaWPrzod
    bool ShowMeanBackward = true;     // SredniaWTyl
    bool ShowMeanBoth = true;         // SredniaDwukier
    bool ShowSigmaForward = true;     // SredniaPp3Sigma, SredniaPm3Sigma
    bool ShowSigmaBackward = true;    // SredniaTp3Sigma, SredniaTm3Sigma
    bool ShowSigmaBoth = true;        // SredniaDp3Sigma, SredniaDm3Sigma
    bool ShowMeasForward = true;      // PomiaryWPrzod
    bool ShowMeasBackward = true;     // PomiaryWTyl
    bool ShowBacklash = true;         // LuzZwrotny
    bool AllCycles = true;            // WszyskieCykle1 checked; PoprzednieWPrzod, PoprzednieWTyl
    bool ShowTargetValue = true;      // MenuItemWartosczadana checked
    bool ShowTotalAngle = true;       // MenuItemKatCalkowity checked
    bool ShowErrorTable = true;       // MenuItemTabelkaOdchylek checked
    bool ShowErrorTablePK = true;     // MenuItemTabelkaOdchylekPK checked, GridOdchylkaPK visible
    bool PointsOrDistance = false;    // Dystans1 checked
    bool PointsOrAngle = false;       // Kat1 checked
    int32_t NormIndex = 0;            // ComboBoxNorma.ItemIndex, 0..5
    QString MachineName;              // CBMaszyna.Text

    // "Options": methods and counts of the other measurement types
    uint8_t StraightnessMethod = 0;   // 0 angular, 1 deflection, 2 3-D
    uint8_t StatisticsMethod = 0;     // 0 end points, 1 least squares, 2 none
    int32_t StraightnessPointCount = 5;
    uint8_t FlatnessMethod = 0;       // 0 envelope, 1 grid
    int32_t FlatnessHLines = 3;       // 3..8
    int32_t FlatnessVLines = 3;       // 3..8
    uint8_t RotationDirection = 0;    // 0 left, 1 right
    uint8_t VelocityChartUnit = 0;    // 0 mm/s, 1 m/s, 2 m/min, 3 mm/min, 4 in/s, 5 in/min
    bool PosAndStr = false;
    int32_t FftSignalIndex = 0;       // RGFFTCzas.ItemIndex: "Dystans", "Prędkość", "Przyspieszenie"
    int32_t FftOutputIndex = 0;       // RGFFTOut.ItemIndex: amplitude, phase, real, imaginary
    bool FftLogScale = false;         // CBLog
    bool FftDcComponent = false;      // CBSkladStala

    // "Options": environment, units, header texts and reports
    // (ReferenceTemperature, the three defaults and LengthUnit are shared globals)
    bool HumidityFromSensor = true;      // CBWilg
    bool PressureFromSensor = true;      // CBCis
    bool AirTempFromSensor = true;       // CBTemp
    bool MaterialTempFromSensor = true;  // CBTMat
    int32_t ManualHumidity = 50;         // SEWilgotnosc.Value, 10..90 %
    uint8_t TemperatureUnit = 0;         // 0 °C, 1 °F
    uint8_t PressureUnit = 0;            // 0 hPa, 1 mmHg, 2 inHg
    // Operator, company and feed of the measurement header; the main window copies them into
    // and out of its MeasurementHeader.
    QString HeaderOperator;              // at most 20 characters
    QString HeaderCompany;               // at most 20 characters
    QString HeaderFeed;                  // at most 9 characters
    QString ReportNumber = "01";
    int32_t CompTableBasePoint = 0;
    uint8_t CompTableSystem = 0;
    uint8_t CompTableAxis = 0;
    uint8_t CompTableFormat = 0;

    // Recent measurement files by type ("Files")
    TRecentFileList RecentPositioning, RecentStraightness, RecentVelocity, RecentFlatness, RecentAngular,
        RecentFft;
};

// A stored value that was outside what its control can show, and what was taken instead.
struct SettingsCorrection {
    QString name;    // the value's name in the store, e.g. "Point number"
    QString stored;  // its text as stored
    QString taken;   // the value used
};
using SettingsCorrections = std::vector<SettingsCorrection>;

// Reads every setting but the recent files into Settings and the shared globals (SystemNumber,
// InterfaceMode, ReferenceTemperature, DefaultPressure, DefaultAirTemperature,
// DefaultMaterialTemperature, LengthUnit, StartPoint, StartPointPK, StartPointDisp). Missing or
// unreadable values take their defaults; numbers outside what their control can show are
// brought into its range (an index outside its list takes the default), and each one is
// returned, so that the start can say so.
SettingsCorrections ReadSettings(platform::Registry& registry, TSettings& settings);
// Writes the same values back.
void WriteSettings(platform::Registry& registry, const TSettings& settings);

// When PositioningDir is "brak" (first start) every data folder becomes its default subfolder
// of ProgramDir (which ends with a separator), and the folders are created. An installed
// program folder is often read-only: where the folders cannot be made there, they go under
// `userDataDir` instead (by default the user's data folder, DefaultUserDataDir()).
// A stored folder that cannot exist (a file stands where a folder of its path would be, or its
// name cannot be a name on this system) becomes its default subfolder the same way, made when
// missing; each such folder is returned. An empty folder stays empty (the dialogs open in the
// current folder), and one that is only missing (an unplugged drive) is kept.
SettingsCorrections SetDefaultDirectories(TSettings& settings, const QString& programDir);
SettingsCorrections SetDefaultDirectories(TSettings& settings, const QString& programDir,
                                          const QString& userDataDir);
// True when no folder can ever be made at that path.
bool FolderCannotExist(const QString& dir);
// The start-up message listing the corrections; empty when there are none.
QString SettingsCorrectionsMessage(const SettingsCorrections& corrections);
// "$XDG_DATA_HOME/VKM30/" (usually ~/.local/share/VKM30/).
QString DefaultUserDataDir();

// The six recent-file lists in "Files". Saving writes the settings file: empty result when it
// holds everything, else the reason.
void LoadRecentFiles(platform::Registry& registry, TSettings& settings);
QString SaveRecentFiles(platform::Registry& registry, const TSettings& settings);

// The message for a settings file that could not be written (its path, then the reason).
QString SettingsNotSavedMessage(const QString& filePath, const QString& reason);

// 8-byte binary doubles kept directly in the settings key (the target points editor's "FPDist"
// and "FPInt"). A missing value or one of another size gives Default.
double ReadBinaryDouble(platform::Registry& registry, const QString& name, double defaultValue);
void WriteBinaryDouble(platform::Registry& registry, const QString& name, double value);

// Conversions of the store's text values, exposed for the dialogs that share them.
// Integer: decimal, or hexadecimal after "0x"/"0X"; anything else gives Default.
int32_t SettingsTextToInt(const QString& text, int32_t defaultValue);
// Real: "." or "," as decimal separator; a text that does not convert gives 0.0.
double SettingsTextToReal(const QString& text);
// Real written with ".".
QString SettingsRealToText(double value);
