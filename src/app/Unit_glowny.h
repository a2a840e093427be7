#pragma once
// The main window: its objects, pages, menus and life cycle. The window's methods are spread
// over several files by area: Unit_glowny.cpp (creation and destruction), Unit_glowny_menu.cpp
// (main menu and Tags), Unit_glowny_pages.cpp (building the pages), Unit_glowny_rules.cpp (the
// plain rules the window applies, testable without it).
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "app/HelpWindow.h"
#include "app/LinkState.h"
#include "app/LinkThreads.h"
#include "app/PageControls.h"
#include "app/ServicePanel.h"
#include "app/Settings.h"
#include "app/TablePage.h"
#include "app/Unit_glowny_types.h"
#include "evaluation/CompensationTables.h"
#include "evaluation/PositioningStats.h"
#include "foundations/MessageDlg.h"
#include "foundations/PomiarCol.h"
#include "foundations/ProgramMessages.h"
#include "platform/Chart.h"
#include "instrument/LadowanieProgramu.h"
#include "instrument/UOdczytB.h"
#include "foundations/MeasurementModes.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMessageBox;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QStatusBar;
class QTableWidget;
class QTimer;
class QToolButton;
class QSpinBox;
class TCommPortDriver;
enum TComPortNumber : uint8_t;
enum TComPortBaudRate : uint8_t;
class TMemoryFifo;
namespace instrument {
struct MeteoThreadSettings;
class SerialFrameParser;
enum class LinkKind : uint8_t;
class TOdczyt;
}
class MainFormModeHost;
class MainFormKomunikatySink;
class ModeHostCalls;
class LinkStatusCalls;
namespace platform {
class CardPorts;
class TChart;
class TPoint3DSeries;
}
class TDisplay;
class RecordingSource;
class LiveReadoutPage;
class MainMenuPage;
class PositioningPage;
class StartPage;
class ServicePage;
class ServicePanelHost;
class TKalibracja;
class VelocityPage;
class VibrationPage;
class AngularPage;
class AlignmentPage;
class FlatnessPage;
class EnvironmentPanel;
class THeaderListbox;
class TRadioGroup;
class TRealSpinEdit;
struct PointStoreBinding;
class PositioningRun;
class StraightnessRun;
namespace instrument {
class PointAcceptance;
}
namespace evaluation {
class PointStore;
}
enum class LanguageChange;

// A set of main-menu Tags, one bit per Tag value 0..255.
using TTagSet = std::bitset<256>;
TTagSet TagSet(std::initializer_list<int> tags);

// One Tagged command of the main menu; `parent` is the top-level command it sits under, empty
// for a top-level command itself.
struct MenuTagEntry {
    int tag;
    const char* name;
    const char* caption;
    const char* parent;
};
// Every Tagged command, in menu order (top-level commands first in their own order).
const std::vector<MenuTagEntry>& MainMenuTagTable();

// How the window adapts to a screen: the scale factor of the whole form, and whether the
// main-menu page is centred (wider screens than 4:3).
struct ScreenAdjustment {
    double scale = 1.0;
    bool centre = false;
};
ScreenAdjustment AdjustToScreenRule(int screenWidth, int screenHeight);


// Index of the machine to select after the combo is filled: the one named `remembered`, else 0;
// -1 when there is no machine.
int MachineComboIndex(const QStringList& names, const QString& remembered);

// The decimals of the velocity readouts by chart unit (0..5); out of range: those of unit 0.
int VelocityDisplayDecimals(int chartUnit);

// The window title in the language of `after`: the page's caption ("Veldrasta - Menu Główne",
// a type's caption) at its head becomes the same caption in the new language and what follows
// it (the file name) stays; a title without such a caption stays as it is.
QString RetranslateWindowTitle(const QString& title, const MessageTexts& before, const MessageTexts& after);

// The help context of a notebook page of the main window (0 for the contents); the page of the
// positioning chart serves the measurement mode it shows (straightness, a flatness line).
int PageHelpContext(int page, int measurementMode);

class TMainForm : public QMainWindow,
                  public TSettings,
                  public instrument::LoadProgramSink,
                  public instrument::BiosTextSink,
                  public TablePageCalls,
                  public HelpContextSource {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- life cycle (Unit_glowny.cpp) ---
    void FormCreate();
    void FormDestroy();
    void TranslateCaptions();
    void ReadLaserCalibration();
    void FillMachineCombo();
    void UpdateServiceHints();
    void SetGaugeLimits();
    void AdjustToScreen();
    void AdjustToScreen(int screenWidth, int screenHeight);
    void DisconnectAndClose();
    // How every ending leaves the head: the threads end, the head gets the reset 'R' as the
    // last byte it hears (its count stream stops, so the next start finds it answering), then
    // the serial port closes. Once; closing the window and destroying it both come here.
    void EndHeadLink();
    // The language service calls this after a language change: the window, the link status
    // window and what the open page shows follow at once.
    void LanguageChanged(LanguageChange change);
    // F1: the help page of the open notebook page.
    int CurrentHelpContext() const override;

    // --- main menu (Unit_glowny_menu.cpp) ---
    void EnableMenuItemsByTag(const TTagSet& tags, bool flag);
    void ShowMenuItemsByTag(const TTagSet& tags, bool flag);
    // A menu command (or a top-level command's action) by its component name; null when none.
    QAction* MenuCommand(const QString& name) const;
    QMenu* MenuOf(const QString& topLevelName) const;
    static int TagOf(const QAction* action);

    // --- owned objects ---
    std::unique_ptr<TCykl> PositioningCycles;
    std::unique_ptr<TPunkt> TargetPoints;
    std::unique_ptr<TPunkt> AngularTargetPoints;
    std::unique_ptr<TPunkt> StraightnessPoints;
    std::unique_ptr<TCykl> CyclesY;
    std::unique_ptr<TPunkt> ForwardStats;
    std::unique_ptr<TPunkt> BackwardStats;
    // The positioning chart's series points, refilled on every evaluation (buffers kept).
    std::vector<evaluation::SeriesValues> PositioningSeriesBuffers;
    std::unique_ptr<TCykl> FlatnessLines;
    std::unique_ptr<TPunkt> AngularPoints;
    std::unique_ptr<TVelValue> VelocitySamples;

    // --- fields ---
    QString ProgramDir;  // program folder, with "/" at the end
    std::array<QString, 6> ModeCaptions;
    std::array<QString, 6> ModeFilters;  // each still holds two "%s" for the extension
    std::array<uint8_t, 10> DisplayPrecision{};
    QString PointColumnCaption, DistanceColumnCaption;
    int32_t FirstSheetNumber = 1;
    int32_t SheetCount = 0;
    uint8_t DisplayLengthUnit = 0;
    uint8_t DisplayVelocityUnit = 0;
    uint8_t MeasurementMode = kModeNone;
    int32_t SkipSamples = 0;
    bool Resolution10 = false;
    int32_t FilterThreshold = 8;  // raw counts of the reading's filter (128 at 10 nm)
    // Where the calibration file is looked for (ProgramDir + "Kalibracja.dat").
    QString CalibrationFilePath() const;

    // --- main menu ---
    QMenu* Jezyk1 = nullptr;
    QMenu* PopupMenuWykres = nullptr;  // pop-up menu of the positioning chart
    QAction* MenuOsX = nullptr;        // its "Oś &X": Numerpunktu1 and Dystans1
    QAction* Numerpunktu1 = nullptr;
    QAction* Dystans1 = nullptr;
    QMenu* PopupMenuPK = nullptr;  // pop-up menu of the angular chart
    QAction* Numerpunktu2 = nullptr;
    QAction* Kat1 = nullptr;
    QAction* OY1 = nullptr;  // "Oś &Y" of both pop-up menus
    QMenu* PopupMenuPredkosc = nullptr;  // pop-up menu of the velocity chart
    QAction* Skalaosiprdkoci1 = nullptr;
    QAction* Skalaosiczasu1 = nullptr;
    QAction* Generujtras1 = nullptr;      // file menu
    QAction* Dopuszczalnebdy1 = nullptr;  // edit menu
    // The compensation table's format, system, axis and base point, as last chosen.
    evaluation::CompTableChoice CompTableChoice;

    // --- pages ---
    QStackedWidget* NotebookMainForm = nullptr;
    QStackedWidget* NotebookFlagi = nullptr;
    QStackedWidget* NotebookUstawienia = nullptr;

    // The start picture and the main menu page.
    StartPage& Start() { return *StartView; }
    MainMenuPage& MainMenu() { return *MenuView; }
    // What the main menu page's link state line is made from.
    app::LinkStateInput CurrentLinkState() const;

    // The environment panel beside the measurement pages.
    EnvironmentPanel& Environment() { return *EnvironmentView; }

    // The live readout page.
    LiveReadoutPage& Readout() { return *ReadoutPage; }

    // The positioning and straightness page.
    PositioningPage& Positioning() { return *PositioningView; }

    // The velocity page.
    VelocityPage& Velocity() { return *VelocityView; }

    // The angular page.
    AngularPage& Angular() { return *AngularView; }

    // service panel
    QLabel* LLambda = nullptr;
    QLabel* LWolaston = nullptr;
    QLabel* LNazwaLas = nullptr;
    QLabel* Label127 = nullptr;
    QScrollBar* ScrollBar4 = nullptr;
    QScrollBar* ScrollBar5 = nullptr;
    QLabel* PSLabel46 = nullptr;
    QLabel* PSLabel57 = nullptr;
    TRadioGroup* PSTransmisja2 = nullptr;      // 0 "FIFO" (card), 1 "RS232"
    TRadioGroup* ComPortUstawienia = nullptr;  // COM1..COM10
    QPushButton* RSButton_Polacz = nullptr;
    QPushButton* RSButton_Rozlacz = nullptr;
    QCheckBox* CheckBox3 = nullptr;  // "Odczyt wartości": serial trace on
    QListWidget* RSListBox = nullptr;
    QPushButton* RSButton19 = nullptr;
    QListWidget* PSListBox1 = nullptr;
    QListWidget* PSListBox2 = nullptr;
    QListWidget* PSListBox3 = nullptr;
    pagecontrols::PanelStatusBar* PSStatusBar1 = nullptr;
    // Link type choice: InterfaceMode := the chosen index; the flag page follows; the port
    // choice is offered only for the serial link.
    void PSTransmisja2Click();
    // Settings of the service panel (Unit_glowny_settings.cpp). While ticked the head's
    // "velocity too high" flag is ignored (not stored: each run starts with the warning on).
    QCheckBox* CheckBoxIgnorujZaDuzaPredkosc = nullptr;
    // 0 "Tak": the environment thread averages its readings; 1 "Nie".
    TRadioGroup* RadioGroupUsrednianieMeteo = nullptr;
    QCheckBox* CheckBox4 = nullptr;   // "Ostrzeganie o zbyt dużej odchyłki"
    // "System z pomiarem XY": the two-axis detector is there (the configuration then offers
    // positioning and straightness together); an XY block from the head ticks it.
    QCheckBox* cbSystemXY = nullptr;
    void CheckBoxIgnorujZaDuzaPredkoscClick();
    void RadioGroupUsrednianieMeteoClick();
    void CheckBox4Click();
    void cbSystemXYClick();
    // What the environment thread reads each round: the averaging choice and ScrollBar12
    // (Unit_glowny_reading.cpp); ApplyMeteoChoices hands a changed choice to a running thread.
    const instrument::MeteoThreadSettings& MeteoThreadChoices();
    void ApplyMeteoChoices();

    // The flatness page.
    FlatnessPage& Flatness() { return *FlatnessView; }

    // The vibration page.
    VibrationPage& FftAnalysis() { return *VibrationView; }

    // The seven signal-level gauges, in SetGaugeLimits' order.
    std::array<QProgressBar*, 7> SignalGauges() const;

    // --- link to the head (Unit_glowny_link.cpp) ---
    TCommPortDriver* CommPortDriver1 = nullptr;
    std::unique_ptr<TMemoryFifo> Fifo;
    std::unique_ptr<instrument::SerialFrameParser> FrameParser;
    // Sends one command byte to the interface (card or serial link).
    void SendHeadCommand(uint8_t byte);
    // Opens the serial link at BaudRateIndex as the connect button does; closes it.
    void OpenSerialLink();
    void CloseSerialLink();
    // The link is open (the disconnect button is offered).
    bool SerialLinkOpen() const;
    void RSButton_PolaczClick();
    void RSButton_RozlaczClick();
    // The port component takes the port chosen in ComPortUstawienia (reopened when open).
    void ApplyComPortSetting();
    // A serial line that hung up was closed: the port opens again as the connect button opens
    // it (the message says so when it cannot). True when the link is usable as far as the port
    // goes: the card, a line that has not failed, or a port open again.
    bool ReopenFailedLink();
    // Received bytes go to the frame parser.
    void CommPortDriver1ReceiveData(const uint8_t* data, int32_t size);
    // The serial link's watchdog (200 ms; every frame restarts its count): three ticks
    // without a frame report the link lost.
    QTimer* PSTimer2 = nullptr;
    void PSTimer2Timer();
    // The head is gone (the port failed or hung up, or the watchdog ran out): a running reading
    // ends with StopReason 7 and the link status window shows why; without a reading an error
    // message says so. Reported once until the watchdog is started again.
    void LinkLost();
    // Chooses the link by InterfaceMode and installs it with the port component, the card's
    // ports (card link) and the sink; every part of the program then asks the link which it is.
    void ConfigureLink();
    // The same with this link and card (a simulated card in tests).
    void ConfigureLink(instrument::LinkKind kind, platform::CardPorts* card);
    void SetLinkStatusText(const QString& text);
    // The card's I/O ports could not be opened (no raw port rights): the link state lines say
    // why and what to do, and a message says it once a run. The cause stays for the state line.
    void ReportCardPortsMissing(const QString& cause);
    QString CardPortsError;
    bool CardPortsMessageShown = false;
    // Reads and writes the registry settings and the lists that go with them
    // (Unit_glowny_settings.cpp), with the controls that show them.
    // The settings read and shown; returns the stored values that were out of range.
    SettingsCorrections LoadStoredSettings();
    // Writes the settings file; empty result when it holds everything, else the reason.
    QString SaveStoredSettings();
    void SettingsToControls();
    void ControlsToSettings();
    // Opens the machine table in the program folder (a missing file gives an empty table).
    void OpenMachineTable();
    // Names of the machine table, first record to last.
    QStringList MachineNames() const;
    // Chart titles and axis titles.
    enum class ChartAxis { Left, Bottom };
    // (any widget; only a chart takes them)
    void SetChartTitle(QWidget* chart, const QString& title);
    void SetChartAxisTitle(QWidget* chart, ChartAxis axis, const QString& title);
    // The bottom axis counts points (whole-number ticks) or shows a distance or an angle.
    static void SetPointNumberAxis(QWidget* chart, bool byNumber);
    static QString ChartTitle(const QWidget* chart);
    static QString ChartAxisTitle(const QWidget* chart, ChartAxis axis);
    // The beam-alignment target of the live readout page from the two-axis detector: the beam
    // at (x, y) and at (x + deltaX, y + deltaY), each spot red while its level is 10 or less.
    void DrawAlignmentTarget(int32_t x, int32_t y, int32_t deltaX, int32_t deltaY, int32_t levelBlue,
                             int32_t levelRed);
    // Starts the interface start-up when the window is first shown.
    void StartInterfaceStartup();
    // Asked before the window closes; false keeps it open.
    bool FormCloseQuery();
    // Frees the vibration sample and spectrum buffers; closes the machine table.
    void FreeVibrationBuffers();
    void CloseMachineTable();

    // The owner of the link's threads: every kind is made and started there (made on first use
    // at start-up, gone at FormDestroy).
    LinkThreads& Threads();
    // The owner's shutdown order: no thread started any more, the loader told to end, the stop
    // flags and quit events set, then waiting (processing events) until every thread has ended
    // or `timeoutMs` has passed; true when all have ended.
    bool StopThreadsAndWait(int timeoutMs = 5000);
    // From the start of the shutdown order: an ending thread reports nothing and starts no other.
    bool ThreadsStopping() const;

    // The adjustment applied by the last AdjustToScreen.
    ScreenAdjustment LastScreenAdjustment;
    // Headings of the two deviation grids.
    void SetGridHeadings();

    // --- measurement type pages (Unit_glowny_types.cpp) ---
    // What the type pages call of other parts of the window: the window's own calls, or the
    // stand-in a test has set.
    TypePageCalls& TypeCalls();
    TypePageCalls& WindowTypeCalls();
    // Tests stand in for the calls; null gives the window's own back.
    void SetTypeCalls(TypePageCalls* calls) { typeCallsStandIn_ = calls; }
    int32_t DeviationGridWidth = 0;
    int32_t SavedServicePage = 0;
    QString SavedServiceCaption;  // the window's caption before the service panel opened
    void ConnectTypePages();
    void BitBtnpozycjonowanieClick();
    void Otworz1Click();
    void Zapisz1Click();
    void PunktyZListyClick();
    bool ShowPositioningResults();
    void Stop1Click();
    void StopPoKazdymCyklu1Click();
    bool ShowSetupPicture();
    void SendValueToExcel(uint8_t digits, double value);
    void EnterServicePanel();
    void HideServiceMenus();
    void DisableLinearStart();
    // The reading of a page that is entered: at once with a ready head, else the signal monitor
    // (the start disabled until the head is ready); the environment reading runs either way.
    void StartPageReading(bool velocity);
    void ShowPositioningOnEnd();
    // The point store over this window's charts and deviation grids (made on first use).
    evaluation::PointStore& Points();
    std::shared_ptr<PointStoreBinding> PointStoreParts;
    bool SetupPictureWarned = false;
    // The positioning chart's background of the cycle pattern (PositioningMethod); a missing
    // picture is said as the set-up picture's is.
    void ShowPositioningBackground();
    bool BackgroundPictureWarned = false;
    // A missing picture: a message box the first time in a run (`said` then set), a status-bar
    // line on later visits.
    void SayMissingPicture(bool& said, const QString& text);
    bool SpreadsheetTransferWarned = false;

    // --- positioning, straightness and flatness runs (Unit_glowny_runs.cpp) ---
    // The acceptance engine, the run controls and their views, made on first use.
    struct RunParts;
    std::shared_ptr<RunParts> RunPartsHolder;
    RunParts& Runs();
    instrument::PointAcceptance& Acceptance();
    PositioningRun& PositioningControl();
    StraightnessRun& StraightnessControl();
    void ConnectRunPages();
    // Acceptance settings from the window's settings (before a run or cycle starts).
    void ApplyAcceptanceSettings();
    // The shared start and stop of the run pages (ButtonPozStart and the menu's "Start").
    void Start1Click();
    void RestartPositioningRun();
    void StartPositioningCycle();
    void SaveBackupCopy();
    void FinishPositioningMeasurement();
    void EnableControlsAfterMeasurement();
    void EndMeasurementRun();
    void StoreFlatnessLine();
    // Both value axes of wykres scale automatically (after a file is loaded, two-axis review).
    void SetChartAxesAutomatic();

    // --- live reading (Unit_glowny_reading.cpp) ---
    // The host of the mode sequences (the one the runs use).
    MainFormModeHost& ModeHost();
    // The reading thread, its sinks and the link status window's sink, made on first use.
    struct ReadingParts;
    std::shared_ptr<ReadingParts> ReadingPartsHolder;
    ReadingParts& Reading();
    instrument::TOdczyt& ReadingThread();
    MainFormKomunikatySink& KomunikatySink();
    // Hands the link status window this window's sink (start-up, once the link status window
    // exists).
    void ConnectReading();
    // A reading thread of this generation for the current mode; the environment reading again.
    void StartReadingThread(uint64_t generation);
    void RestartMeteoReading();

    // --- calls of the mode host and the link status window (Unit_glowny_shellcalls.cpp) ---
    class ShellCalls;
    std::shared_ptr<ShellCalls> ShellCallsHolder;
    ShellCalls& Shell();
    ModeHostCalls& ModeCalls();
    LinkStatusCalls& LinkCalls();
    void SetLinkWatchdogEnabled(bool on);  // PSTimer2

    // --- service panel, key sequences and the calibration form (Unit_glowny_service.cpp) ---
    ServicePage& Service() { return *ServiceView; }
    // The service menus' commands, the panel's connections and the window's key preview.
    void ConnectServicePanel();
    // A key typed anywhere on the window: the service and calibration sequences.
    void FormKeyPress(QChar key);
    service::KeySequenceMatcher KeySequences;
    void LeaveServicePanel();
    // The calibration form, modal; while it is open the frame parser and the environment
    // thread show into it.
    void kalibracja1Click();
    TKalibracja* CalibrationForm = nullptr;
    void ShowCalibrationOffsets(int32_t x, int32_t y);
    void ShowCalibrationCounts(const std::array<int32_t, 6>& counts);
    // The environment thread on its own (the service panel's "Odczyt Meteo", the calibration
    // form's "&Start"): no switch-on byte.
    bool MeteoReadingRunning();
    void StartMeteoThread();
    class ServiceCalls;
    std::shared_ptr<ServiceCalls> ServiceCallsHolder;
    ServicePanelHost& ServiceHost();

    // --- dialog and view commands of the menus (Unit_glowny_commands.cpp) ---
    void ConnectMenuCommands();
    void TabelaKompensacji1Click();
    void Generujtras1Click();
    void ImportDanychClick();
    void Widok3D1Click();
    void Dopuszczalnebdy1Click();
    void DlugoscpodstawkiClick();
    void Oprogramie1Click();
    void Spistreciiindex1Click();
    void OY1Click();
    void Skalaosiprdkoci1Click();
    void Skalaosiczasu1Click();
    // "Kreślone parametry" of the positioning chart's pop-up and ButtonKresParametry of the
    // results: the choice of plotted characteristics.
    QAction* Parametry1 = nullptr;
    void Parametry1Click();
    // "&Kopiuj do schowka" of the positioning, velocity and angular charts.
    QAction* Kopiujdoschowka1 = nullptr;
    void Kopiujdoschowka1Click();
    // A click on an axis of wykres: only the value axis is scaled.
    void wykresClickAxis(platform::TChartAxis* axis);

    // --- measured-cycles table and default point lists (Unit_glowny_table.cpp) ---
    // "Tabela Pomiarów": the current positioning cycle on the table page.
    void TabelaPomiarowClick();
    TablePage& Table() { return *TableView; }
    void ReturnFromTable() override;
    // "defp.dtp" and "defp.dtk" beside the program: read with the settings, written with them.
    void LoadDefaultPointLists();
    void SaveDefaultPointLists();
    // Damaged default lists that could not be copied aside: never written over.
    bool keepDamagedPositioningList_ = false;
    bool keepDamagedAngularList_ = false;
    // The damage the start found in the settings file, the language file and the data folders.
    void ShowStartupDamage();

    // --- the recording window's view of the window (Unit_glowny_recording.cpp) ---
    class RecordingParts;
    std::shared_ptr<RecordingParts> RecordingPartsHolder;
    RecordingSource& RecordingData();

    // --- two-axis review (Unit_glowny_twoaxis.cpp) ---
    // Builds the review's buttons and its button page, connects them (construction).
    void ConnectTwoAxisReview();
    QPushButton* BPomiaryXY = nullptr;  // review page
    QPushButton* BProst2 = nullptr;     // end-of-run page
    QToolButton* sbFirstCycle = nullptr;
    QToolButton* sbLastCycle = nullptr;
    QToolButton* sbXYFirst = nullptr;
    QToolButton* sbXYPoprzedni = nullptr;
    QToolButton* sbXYNastepny = nullptr;
    QToolButton* sbXYLast = nullptr;
    QLabel* lOpisXY = nullptr;
    QPushButton* bRaoprtXY = nullptr;
    QPushButton* BPowrotDoPoz = nullptr;
    QPushButton* Button4 = nullptr;
    platform::TLineSeries* LiniaZeraOsy = nullptr;
    // The second-axis review of the current cycle (also the entry the service panel may use).
    void BPomiaryXYClick();
    void sbXYFirstClick();
    void sbXYPoprzedniClick();
    void sbXYNastepnyClick();
    void sbXYLastClick();
    void bRaoprtXYClick();
    void BPowrotDoPozClick();
    void Button4Click();
    void sbFirstCycleClick();
    void sbLastCycleClick();
    void WykresOsYBeforeDrawAxes();
    // Second-axis cycle c (1-based, kept within the cycles) on both straightness charts.
    void ShowXYCycle(int cycle);
    // The straightness charts and labels from `points`; both planes with `bothPlanes`.
    // The second-axis cycles of a positioning run hold their positions in mm (the run's
    // targets), drawn as they are whatever the length unit.
    void PlotStraightnessOf(const TPunkt& points, bool bothPlanes, bool positionsInMm = false);

    // --- firmware loader and BIOS text (Unit_glowny_loader.cpp) ---
    // Starts the loader at BaudRateIndex/AltBaudRateIndex through the threads' owner, unless one
    // runs.
    void StartProgramLoad();
    // Pauses and poll counts of the loader (tests shorten them before the window is shown).
    instrument::LoaderTimings ProgramLoadTimings;
    // Reads the card's start-up text into the service lists (after a BIOS reset).
    void StartBiosTextRead();
    void AddMessageLine(const QString& line) override;
    void ShowErrorBox(const QString& text) override;
    void SetStatusText(const QString& text) override;
    void SetProgress(int percent) override;
    void ShowCommandError() override;
    bool ServicePageShown() override;
    bool SerialPortOpen() override;
    void Reconnect(uint8_t speedIndex) override;
    void RememberBaudRates(uint8_t mainIndex, uint8_t altIndex) override;
    void ReportLoadEnd(bool failed) override;
    void LoaderEnded(const instrument::LoadResult& result) override;
    void ClearList(instrument::LinkList list) override;
    void AddListLine(instrument::LinkList list, const QString& line) override;
    // --- configuration, units, service captions, serial speed (Unit_glowny_options.cpp) ---
    void ConnectOptions();
    // "Ko&nfiguracja" (fromBitButton: the main menu page's button opens on "Interfejs") and
    // "Edycja > Konfiguracja" (the page of the current measurement type).
    void BitBtnKonfiguracjaClick(bool fromBitButton);
    // Start points, their unit labels, the position chart's axis title and the readout unit
    // follow LengthUnit; then ApplyDisplayUnit.
    void ApplyLengthUnit();
    // The live readout's unit label and decimals by the readout unit and DisplayPrecision.
    void ApplyDisplayUnit();
    // After the dialog's OK: the port choice and sensor ticks shown, the hand-entry fields in
    // the new units, the page of the current measurement type brought up to date.
    void ShowOptionChoices();
    void RefreshPageAfterOptions();
    void ScrollBar4Change();
    void ScrollBar5Change();
    // " Speed b/s ": the port's speed, item "300" being the second speed of the port component.
    TRadioGroup* BaudRateRG = nullptr;
    void BaudRateRGClick();
    // BaudRateRG shows the speed (a port component ordinal) the link was opened with.
    void ShowLinkSpeed(uint8_t speedIndex);
    class OptionsHost;
    std::shared_ptr<OptionsHost> OptionsHostHolder;
    // The port component as it was before the configuration's port search.
    struct SavedSerialLink {
        TComPortNumber port{};
        TComPortBaudRate speed{};
        bool open = false;
    };
    void SettleSerialLink(const SavedSerialLink& saved, bool keepFound);
    // 10 nm <-> 100 nm (BRozdziel): the head's resolution byte, the readout decimals and the
    // filter's threshold follow.
    void BRozdzielClick();

    // --- run control (Unit_glowny_control.cpp) ---
    // Asked before the current mode's data are discarded: 2 Cancel, 6 Yes (save), 7 No.
    int AskSaveChanges();
    // Before a mode's data are discarded: the save question; Yes saves (a save that did not
    // happen keeps the data), No marks them saved. True when the caller may go on.
    bool SaveOrDiscardChanges(int mode);
    // Builds and connects this area's controls and timers (construction).
    void ConnectRunControl();
    // Service panel settings: movement detection, environment averaging, gauge limits.
    QScrollBar* ScrollBar13 = nullptr;
    QScrollBar* ScrollBar12 = nullptr;
    QScrollBar* ScrollBar10 = nullptr;
    QScrollBar* ScrollBar11 = nullptr;
    QLabel* PsLabel02 = nullptr;
    QLabel* Label133 = nullptr;
    QLabel* Label131 = nullptr;
    QLabel* Label132 = nullptr;
    QPushButton* Button18 = nullptr;  // "Zapis Konfiguracji"
    QPushButton* Button19 = nullptr;  // "Odczyt Konfiguracji"
    QPushButton* Button22 = nullptr;  // "Następna strona..."
    QPushButton* PSButton39 = nullptr;  // "Koniec Od. M"
    QPushButton* ResetSprzetowy = nullptr;
    QPushButton* ResetProgramu = nullptr;
    // The target points of the positioning or angular run, and the measurement header.
    void PunktyPozycjonowania1Click();
    void Danemaszyny1Click();
    void ReczneZaliczeniePunktuClick();
    void Automatyczny1Click();
    void BitBtnProstolinowoscClick();
    void ScrollBar13Change();
    void ScrollBar12Change();
    void ScrollBar10Change();
    void ScrollBar11Change();
    void Button18Click();
    void Button19Click();
    void Button22Click();
    void PSButton39Click();
    void ResetSprzetowyClick();
    void ResetProgramuClick();
    // The environment readings or hand entries and today's date into the measurement header.
    void FillHeaderEnvironment();
    // (run control: further declarations above this line)

    // --- page entry: the reading and the signal monitor of each page (Unit_glowny_entry.cpp) ---
    // Connects the point source commands (construction).
    void ConnectPageEntry();
    // The mode host with the reading parts made (reading thread and environment start wired).
    MainFormModeHost& EntryHost();
    // A page waits for the laser: the signal monitor starts the page's reading once it is ready.
    void StartPageSignalMonitor();
    // "Punkty z listy" and "Punkty generowane automatycznie": one tick, mirrored in PointsFromList.
    void ConnectPointSourceCommands();
    void Puntyautomatycznie1Click();
    // (page entry: further declarations above this line)

    // --- measurement files of the window: open, save, caption, recent files, command line
    // (Unit_glowny_files.cpp) ---
    // Takes the command line's file (construction).
    void ConnectMeasurementFiles();
    // The document behind the file commands, with the bodies the window keeps nowhere else (the
    // vibration samples) and the measurement header; made on first use.
    struct FileParts;
    std::shared_ptr<FileParts> FilePartsHolder;
    FileParts& Files();
    // The header of the current measurement: the bytes at the head of its file, edited by the
    // machine data form, filled with the environment when a run starts.
    struct TMeasurementHeader& MeasurementHeader();
    // The raw vibration samples of the ".dt7" file (32768 bytes).
    QByteArray& FftSamples();
    // Open and save commands for a file type (0..5); true when a file was loaded or written. A
    // cancelled dialog, a Cancel to the save question, or a save that did not happen leaves
    // everything as it was and answers false.
    bool OpenMeasurement(int mode);
    bool SaveMeasurement(int mode, bool askHeader = true);
    // Reads a file of the given type and shows it on its page; false (with the message) when it
    // cannot be read.
    bool LoadMeasurementFile(const QString& fileName, int mode);
    // The page of the type after a load: the loaded data shown, or the failure's resets.
    void ShowLoadedMeasurement(int mode, bool ok);
    // The recent-file list of a file type, and the "Plik1" commands showing it.
    TRecentFileList& RecentFiles(int mode);
    void AddRecentFile(int mode, const QString& fileName);
    void UpdateRecentFilesMenu(int mode);
    // A recent-file command: the run guard, the save question, then the file.
    void File01Click(const QString& fileName);
    // The first command-line argument: a measurement file to open when the interface is ready.
    QString CommandLineFile;
    // Opens the page of the type (its main-menu button), then the file.
    void OpenCommandLineFile(int mode, const QString& path);
    // The target points editor on TargetPoints with the start point; true on OK.
    bool EditPositioningTargetPoints();
    // StraightnessPoints := the mean of the second-axis cycles (CyclesY); nothing while empty.
    void AverageXYCycles();
    // The straightness charts and labels from StraightnessPoints.
    void PlotStraightnessPoints();
    // (files: further declarations above this line)

    // --- positioning results by standard (Unit_glowny_results.cpp) ---
    // Makes the characteristics' lines and connects the standard choice (construction).
    void ConnectResults();
    // Evaluates the run in PositioningCycles and draws its characteristics on wykres; with
    // `recompute` the means, the deviations and the results list are computed first.
    void EvaluatePositioning(bool recompute);
    // Refills ListboxWyniki for the standard of ComboBoxNorma against the limits of the machine
    // in CBMaszyna and switches the standard's characteristics on; nothing before an evaluation.
    void FillPositioningResults();
    // Draws one cell of ListboxWyniki: the value column red when the row's value is over its
    // limit.
    void ListboxWynikiDrawCell(int index, int col, class QPainter* p, const QRect& rect, bool selected);
    // The choice of plotted characteristics ("Parametry" on wykres), offered when every
    // characteristic is off.
    void ChooseCharacteristics();
    // (results: further declarations above this line)


    // --- parameter summary, zero line, flatness line commands, start point
    // (Unit_glowny_summary.cpp) ---
    void ConnectParameterSummary();
    // The summary of the current mode: StatusBar1's, or the angular page's own; on the
    // positioning page the earlier cycles follow "Wszyskie cykle".
    void RefreshParameterSummary();
    // The five panels of StatusBar1: the parameters the next positioning, straightness or
    // flatness line run will be made with (page entries, option changes, a loaded file).
    void ShowMeasurementParameters();
    // The zero line of wykres, drawn across the chart while its value axis includes 0.
    platform::TLineSeries* LiniaZera = nullptr;
    void wykresBeforeDrawAxes();
    // "Wszyskie cykle": the earlier cycles' series shown exactly while it is checked.
    void WszyskieCykle1Click();
    // The start points of the positioning, angular and live readout modes, shown in the length
    // unit; Label68, Label88 and Label89 show the unit beside them.
    TRealSpinEdit* PunktStartowy = nullptr;
    TRealSpinEdit* PunktStartowyPK = nullptr;
    TRealSpinEdit* PunktStartowyWysw = nullptr;
    QLabel* Label68 = nullptr;
    QLabel* Label88 = nullptr;
    QLabel* Label89 = nullptr;
    void PunktStartowyEnter(TRealSpinEdit* edit);
    void PunktStartowyExit(TRealSpinEdit* edit);
    void PunktStartowyChange(TRealSpinEdit* edit);
    // The edit of a start point shows the stored value in the length unit (quietly: showing it
    // stores nothing).
    void ShowStartPoint(TRealSpinEdit* edit);
    void ProstopadloscClick();
    // (summary: further declarations above this line)

    // --- export command and digit switch (Unit_glowny_export.cpp) ---
    void ConnectExport();
    // "&Eksport": the current type's data as a text file.
    void Eksport1Click();
    // "&Drukuj" and "Podgląd wydruku" (Unit_glowny_print.cpp): the report of the type and page
    // on screen, printed after the printer set-up or previewed.
    void ConnectPrinting();
    void Drukuj1Click();
    void Podgladwydruku1Click();
    class PrintHost;
    // Digits of the positioning readouts (1..5, start 2): both readouts take 6 - position
    // decimals.
    QSpinBox* UpDown1 = nullptr;
    void UpDown1Click();


protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    // Unit_glowny.cpp: what the pages show in the language just left, into the new one.
    void FollowLanguageOnPages(const MessageTexts& before, const QString& title);
    MessageTexts shownMessages_;  // the message texts the window's run-time texts were built from

    // Unit_glowny_menu.cpp
    void BuildMainMenu();
    void showPositioningCycleWithBacklash(int cycle);
    // Unit_glowny_pages.cpp
    void BuildPages();
    QWidget* BuildServicePage();

    StartPage* StartView = nullptr;
    MainMenuPage* MenuView = nullptr;
    class MenuPageCalls;
    std::shared_ptr<MenuPageCalls> MenuCallsHolder;
    LiveReadoutPage* ReadoutPage = nullptr;
    PositioningPage* PositioningView = nullptr;
    class PositioningCalls;
    std::shared_ptr<PositioningCalls> PositioningCallsHolder;
    VelocityPage* VelocityView = nullptr;
    TablePage* TableView = nullptr;
    ServicePage* ServiceView = nullptr;
    VibrationPage* VibrationView = nullptr;
    AngularPage* AngularView = nullptr;
    FlatnessPage* FlatnessView = nullptr;
    AlignmentPage* AlignmentView = nullptr;
    EnvironmentPanel* EnvironmentView = nullptr;
    class EnvironmentCalls;
    std::shared_ptr<EnvironmentCalls> EnvironmentCallsHolder;

    void BuildLink();
    void CreateLinkObjects();
    void FreeLinkObjects();
    void ReleaseLink();
    class MainLinkSink;
    class MainFrameSink;
    std::unique_ptr<MainLinkSink> linkSink_;
    std::unique_ptr<MainFrameSink> frameSink_;
    std::unique_ptr<platform::CardPorts> CardPortsIo;
    QPointer<QMessageBox> linkLostBox_;  // the message without a reading, while it is open
    bool destroyed_ = false;
    bool headLinkEnded_ = false;
    bool shownOnce_ = false;
    // Until the interface start-up has ended, its messages (the calibration file, the loader's
    // errors) wait, so they come on the main menu rather than over the start picture.
    bool startupRunning_ = true;
    struct StartupMessage {
        QString text;
        TMsgDlgType type;
        int helpContext;
    };
    std::vector<StartupMessage> startupMessages_;
    void ShowStartupMessage(const QString& text, TMsgDlgType type, int helpContext = 0);
    void ShowQueuedStartupMessages();
    // The link's threads and their events, and what the threads are wired to (which outlives
    // them).
    class ThreadWiring;
    std::shared_ptr<ThreadWiring> threadWiring_;
    std::unique_ptr<LinkThreads> threads_;
    class TypeCallsOfWindow;
    std::shared_ptr<TypeCallsOfWindow> typeCalls_;
    TypePageCalls* typeCallsStandIn_ = nullptr;
};

extern TMainForm* MainForm;
