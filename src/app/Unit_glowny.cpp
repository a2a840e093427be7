// The main window's creation and destruction, its translated captions and the readings it takes
// at start-up (calibration file, machine names, gauge limits).
#include <utility>

#include "app/AlignmentTarget.h"
#include "app/HelpWindow.h"
#include "app/PositioningPage.h"
#include "app/AngularPage.h"
#include "app/EnvironmentPanel.h"
#include "app/FlatnessPage.h"
#include "app/Unit_glowny.h"
#include "app/MainMenuPage.h"
#include "app/StartPage.h"
#include "instrument/LinkPort.h"
#include "app/LiveReadoutPage.h"
#include "app/ServicePage.h"
#include "app/VibrationPage.h"
#include "app/VelocityPage.h"
#include "app/AlignmentPage.h"
#include "app/Unit_glowny_link.h"
#include "app/UDataModule.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <cstring>

#include "app/dialogs/Unit_Komunikaty.h"
#include "foundations/Display.h"
#include "foundations/FR_Utils.h"
#include "foundations/HeadList.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "foundations/MessageDlg.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"
#include "foundations/Transl.h"
#include "instrument/KalibracjaFile.h"
#include "foundations/MeasurementModes.h"
#include "platform/AppPaths.h"
#include "platform/Registry.h"
#include "platform/Sync.h"

TMainForm* MainForm = nullptr;

namespace {

constexpr int kHelpCalibration = 133;
// Decimals of the live readout with 10 nm resolution (index 8 is not used).
constexpr std::array<uint8_t, 10> kDisplayPrecision10nm = {6, 3, 5, 2, 7, 4, 5, 4, 0, 2};
constexpr int kFlatnessLineSlots = 16;
constexpr int kPagePositioning = 3;  // positioning and straightness
constexpr int kPageAngular = 5;

QString fixedText(double v, int precision, int decimals) {
    return foundations::formatFixed(v, precision, decimals, foundations::systemDecimalSeparator());
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainForm");
    setWindowTitle(QStringLiteral("Veldrasta"));
    BuildMainMenu();
    StartView = new StartPage(this);
    ReadoutPage = new LiveReadoutPage(*this);
    VelocityView = new VelocityPage(*this);
    TableView = new TablePage(this, *this);
    ServiceView = new ServicePage(ServiceHost(), this);
    VibrationView = new VibrationPage(*this);
    AngularView = new AngularPage(*this);
    FlatnessView = new FlatnessPage(*this);
    AlignmentView = new AlignmentPage(this);
    BuildPages();
    BuildLink();
    ConnectTypePages();
    ConnectRunPages();
    ConnectRunControl();
    ConnectPageEntry();
    ConnectMeasurementFiles();
    ConnectResults();
    MenuView->Connect();
    FlatnessView->Connect();
    ReadoutPage->Connect();
    VelocityView->Connect();
    EnvironmentView->Connect();
    PositioningView->Connect();
    ConnectParameterSummary();
    ConnectExport();
    VibrationView->Connect();
    ConnectPrinting();
    AngularView->Connect();
    ConnectMenuCommands();
    ConnectOptions();
    ConnectTwoAxisReview();
    ConnectServicePanel();
    MainForm = this;
    FormCreate();
    shownMessages_ = CurrentMessageTexts();  // what the captions were just built from
    TranslateForm(this);  // as every form, once its controls exist
    setLanguageChangedHandler([this](LanguageChange c) { LanguageChanged(c); });
}

TMainForm::~TMainForm() {
    setLanguageChangedHandler({});
    FormDestroy();
    if (MainForm == this) MainForm = nullptr;
}

QString TMainForm::CalibrationFilePath() const { return ProgramDir + QString::fromLatin1(kCalibrationFileName); }

void TMainForm::FormCreate() {
    FirstSheetNumber = 1;
    SheetCount = 0;
    BuildLanguageMenu(Jezyk1);

    CreateLinkObjects();
    PositioningCycles = std::make_unique<TCykl>();
    TargetPoints = std::make_unique<TPunkt>();
    AngularTargetPoints = std::make_unique<TPunkt>();
    StraightnessPoints = std::make_unique<TPunkt>();
    CyclesY = std::make_unique<TCykl>();
    ForwardStats = std::make_unique<TPunkt>();
    BackwardStats = std::make_unique<TPunkt>();
    FlatnessLines = std::make_unique<TCykl>();
    for (int i = 0; i < kFlatnessLineSlots; ++i) FlatnessLines->Add();
    AngularPoints = std::make_unique<TPunkt>();
    VelocitySamples = std::make_unique<TVelValue>();

    TranslateCaptions();
    AdjustToScreen();

    ProgramDir = platform::programDirectory();
    if (!ProgramDir.endsWith(u'/')) ProgramDir += u'/';

    LLambda->setText(fixedText(LaserWavelength * 1e9, 9, 6));
    LWolaston->setText(fixedText(41.42, 5, 2));
    DisplayPrecision = kDisplayPrecision10nm;
    DisplayLengthUnit = 0;

    SettingsCorrections corrections = LoadStoredSettings();
    for (SettingsCorrection& c : SetDefaultDirectories(*this, ProgramDir)) corrections.push_back(std::move(c));
    LoadRecentFiles(platform::appRegistry(), *this);
    ShowStartupDamage();
    Label127->setText(QStringLiteral("Program - ") + ProgramDir);

    NotebookMainForm->setCurrentIndex(0);
    TextLineMode = false;
    SkipSamples = 0;

    // The events (and the card's semaphore) exist before anything can signal them: opening the
    // serial link starts the frame parser, which sets SampleEvent and MeteoDataEvent.
    Threads();
    AirCorrection = 1.0;
    ReadingStopped = true;
    MeteoStopped = true;
    SignalMonitorStopped = true;

    if (instrument::SerialLinkChosen()) {
        ReadoutPage->SetMessage(Msg("stBrakInterfejs"));
        NotebookFlagi->setCurrentIndex(1);  // "Flagi RS"
        OpenSerialLink();
        PendingReply = 3;
    } else {
        NotebookFlagi->setCurrentIndex(0);  // "Flagi Fifo"
        ReadoutPage->SetMessage(Msg("stBarkKarty"));
        Threads().MakeCardSemaphore();
    }

    ReadoutPage->ShowReadoutPage(0);
    Environment().ChooseSteel();
    Positioning().BacklashLabel()->clear();
    Positioning().StraightnessYErrorLabel()->clear();

    SetGaugeLimits();

    InterfaceError = false;
    DataSaved = VelocityDataSaved = FlatnessDataSaved = ExtraDataSaved = true;
    WaitingForLaser = true;

    ReadLaserCalibration();
    // Said once, at start: the service panel's reading of the settings corrects them silently.
    if (!corrections.empty()) ShowStartupMessage(SettingsCorrectionsMessage(corrections), TMsgDlgType::mtWarning);

    const int w = Positioning().ResultsList()->width();
    const int s0 = int(std::nearbyint(w * 0.5));
    const int s1 = int(std::nearbyint(w * 0.24));
    Positioning().ResultsList()->SetSectionWidth(0, s0);
    Positioning().ResultsList()->SetSectionWidth(1, s1);
    Positioning().ResultsList()->SetSectionWidth(2, std::max(0, w - s0 - s1));

    for (QStatusBar* s : std::initializer_list<QStatusBar*>{Positioning().StatusBar(), AngularView->StatusBar()}) {
        QFont f = s->font();
        f.setPointSize(8);
        s->setFont(f);
        for (QLabel* l : s->findChildren<QLabel*>()) l->setFont(f);
        s->setFixedHeight(std::max(19, QFontMetrics(f).height() + 6));
    }

    SetGridHeadings();

    DrawAlignmentTarget(0, 0, 1000, 2000, 25, 25);

    OpenMachineTable();
    FillMachineCombo();
}

void TMainForm::SetGridHeadings() {
    auto head = [](QTableWidget* g, const QStringList& titles, QAction* axisCommand) {
        if (g->rowCount() < 1) g->setRowCount(1);
        for (int c = 0; c < titles.size() && c < g->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(titles[c]);
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignCenter);
            g->setItem(0, c, item);
        }
        // The heading of column 1 carries the chart command that switches its axis.
        if (QTableWidgetItem* item = g->item(0, 1))
            item->setData(Qt::UserRole, QVariant::fromValue(static_cast<QObject*>(axisCommand)));
    };
    head(Positioning().DeviationGrid(), {PointColumnCaption, "Xa", "Xr"}, Numerpunktu1);
    head(AngularView->DeviationGrid(), {PointColumnCaption, "Dc", "Ds"}, Numerpunktu2);
}

void TMainForm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    SaveStoredSettings();
    // The program is closing: settings that could not be written are said, not lost silently.
    if (const QString e = SaveRecentFiles(platform::appRegistry(), *this); !e.isEmpty())
        MessageDlg(SettingsNotSavedMessage(platform::appRegistry().filePath(), e), TMsgDlgType::mtError, mbOK);

    // The threads end before anything they share goes away.
    EndHeadLink();

    FreeLinkObjects();
    PositioningCycles.reset();
    TargetPoints.reset();
    AngularTargetPoints.reset();
    StraightnessPoints.reset();
    CyclesY.reset();
    ForwardStats.reset();
    BackwardStats.reset();
    FlatnessLines.reset();
    AngularPoints.reset();
    VelocitySamples.reset();

    threads_.reset();  // the events and the semaphore, once nothing can signal them
    FreeVibrationBuffers();
    CloseMachineTable();
    ReleaseLink();
}

bool TMainForm::StopThreadsAndWait(int timeoutMs) {
    return threads_ ? threads_->Stop(timeoutMs) : true;
}

bool TMainForm::ThreadsStopping() const { return !threads_ || threads_->Stopping(); }

void TMainForm::TranslateCaptions() {
    const QString cap = Msg("stCap");
    static const char* const captionKeys[6] = {"StCapPoz", "StCapPred", "StCapProsto",
                                                "StCapMapa", "stCapPodzKat", "stCapFFT"};
    static const char* const filterKeys[6] = {"stPlikiPoz", "stPlikiPred", "stPlikiProsto",
                                               "stPlikiMapa", "stPlikiPodzKat", "stPlikiFFT"};
    for (int i = 0; i < 6; ++i) {
        ModeCaptions[i] = cap + QStringLiteral(" - ") + Msg(captionKeys[i]);
        ModeFilters[i] = Msg(filterKeys[i]) + QStringLiteral(" (*%s)|*%s|") + Msg("stAllFiles") +
                         QStringLiteral(" (*.*)|*.*");
    }
    StatisticsMethodNames = {Msg("stMPK"), Msg("stMNK"), Msg("stBrak")};
    RotationDirectionNames = {Msg("stLewo"), Msg("stPrawo")};
    FftSignalNames = {Msg("stDystans"), Msg("stPredkosc"), Msg("stPrzyspieszenie")};
    FftOutputNames = {Msg("stAmplituda"), Msg("stFaza"), Msg("stCzescRze"), Msg("stCzescUro")};

    EnvironmentView->TranslateCaptions();
    VelocityView->TranslateCaptions();
    FlatnessView->TranslateCaptions();
    Positioning().ResultsList()->SetSectionText(0, Msg("stParametr"));
    Positioning().ResultsList()->SetSectionText(1, TranslateString(QStringLiteral("stWarDop"), QStringLiteral("War. dop.")));
    Positioning().ResultsList()->SetSectionText(2, Msg("stWartosc"));
    PointColumnCaption = Msg("stPunkt");
    DistanceColumnCaption = Msg("stDystans");
    Positioning().ResolutionButton()->setText(Msg("stRozdzielczosc") + (Resolution10 ? QStringLiteral(" 10 nm") : QStringLiteral(" 100 nm")));
    if (Positioning().DeviationGrid()->item(0, 0)) SetGridHeadings();  // after creation: follow the language
}

void TMainForm::LanguageChanged(LanguageChange change) {
    const MessageTexts before = std::exchange(shownMessages_, CurrentMessageTexts());
    const QString title = windowTitle();  // the form's own caption replaces it below
    TranslateForm(this);
    TranslateCaptions();
    VelocityView->UpdateVelocityUnitCaptions();
    FollowLanguageOnPages(before, title);
    // From the menu as from the options: the whole program speaks the new language at once.
    if (Komunikaty) TranslateForm(Komunikaty);
}

int TMainForm::CurrentHelpContext() const {
    return NotebookMainForm ? PageHelpContext(NotebookMainForm->currentIndex(), MeasurementMode) : 0;
}

void TMainForm::FollowLanguageOnPages(const MessageTexts& before, const QString& title) {
    setWindowTitle(RetranslateWindowTitle(title, before, shownMessages_));
    RetranslateRunTimeTexts(this, before, shownMessages_);
    // Figures the window wrote once, with the new language's separator.
    LLambda->setText(fixedText(LaserWavelength * 1e9, 15, 6));
    LWolaston->setText(fixedText(41.42, 5, 2));
    // What the open page builds from its state is built again: the summary, the results.
    const int page = NotebookMainForm->currentIndex();
    if (page == kPagePositioning || page == kPageAngular) {
        RefreshParameterSummary();
        if (MeasurementMode == kModePositioning) FillPositioningResults();
    }
}

void TMainForm::ReadLaserCalibration() {
    if (!::ReadLaserCalibration(ProgramDir)) {
        ShowStartupMessage(CalibrationMissingMessage(), TMsgDlgType::mtError, kHelpCalibration);
        // Without calibration the sensors cannot be read: the values entered by hand are used.
        Environment().SensorsOffForCalibration();
    }
    LNazwaLas->setText(LaserName);
    LLambda->setText(fixedText(LaserWavelength * 1e9, 15, 6));
}

void TMainForm::FillMachineCombo() {
    const QString remembered = Positioning().MachineChoice()->currentText();
    const QStringList names = MachineNames();
    Positioning().MachineChoice()->clear();
    Positioning().MachineChoice()->addItems(names);
    Positioning().MachineChoice()->setCurrentIndex(MachineComboIndex(names, remembered));
}

void TMainForm::UpdateServiceHints() {
    PSLabel46->setText(FillPlaceholder(QStringLiteral("Próg - Głowica wył./Wygrzewanie ( %d )."), ScrollBar4->value()));
    PSLabel57->setText(QStringLiteral("Odchylka nie większa niż ") + fixedText(ScrollBar5->value() * 0.01, 15, 2) +
                       QStringLiteral(" mm"));
}

void TMainForm::SetGaugeLimits() {
    for (QProgressBar* g : SignalGauges()) {
        if (!g) continue;
        g->setMaximum(SignalGaugeMax);
        g->setMinimum(SignalGaugeMin);
    }
}

void TMainForm::AdjustToScreen() {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect r = s->geometry();
    AdjustToScreen(r.width(), r.height());
}

void TMainForm::AdjustToScreen(int w, int h) {
    LastScreenAdjustment = AdjustToScreenRule(w, h);
    MenuView->AdjustToScreen(LastScreenAdjustment.scale);
}

void TMainForm::DisconnectAndClose() {
    // The link stays while the closing question may still keep the window; a window that
    // closes ends the link itself, after the head's reset.
    close();
}

void TMainForm::EndHeadLink() {
    if (headLinkEnded_) return;
    headLinkEnded_ = true;
    // A thread ending now could still send a byte; the reset must come after it.
    StopThreadsAndWait();
    SendHeadCommand('R');
    CloseSerialLink();
}

void TMainForm::closeEvent(QCloseEvent* e) {
    if (!FormCloseQuery()) {
        e->ignore();
        return;
    }
    e->accept();
    // The program ends with this window: the head is left at once, and the link status window
    // and the help go with it, so that neither keeps the program running without it.
    EndHeadLink();
    if (Komunikaty) Komunikaty->hide();
    CloseHelpWindow();
}

void TMainForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!shownOnce_) {
        shownOnce_ = true;
        StartInterfaceStartup();
    }
}

// ---- seams: each stands for a part that is wired in here when it is in the program ----

void TMainForm::OpenMachineTable() {
    if (!DataModule1) return;
    TMachineTable* t = DataModule1->TableMachines;
    t->SetDatabaseName(ProgramDir);
    // Without the table the program goes on; only the machine limits are missing.
    if (!t->Open()) MessageDlg(MachineTableErrorMessage(t->LastError()), TMsgDlgType::mtError, mbOK);
}

QStringList TMainForm::MachineNames() const {
    if (!DataModule1 || !DataModule1->TableMachines->Active()) return {};
    return DataModule1->TableMachines->Names();
}

void TMainForm::DrawAlignmentTarget(int32_t x, int32_t y, int32_t deltaX, int32_t deltaY, int32_t levelBlue,
                                    int32_t levelRed) {
    Readout().DrawAlignmentTarget(alignment::TargetFor(x, y, deltaX, deltaY, levelBlue, levelRed));
}

void TMainForm::StartInterfaceStartup() {
    // The interface's program is checked (and loaded when it does not run) while the start
    // picture shows; the loader's end, through the link status window, opens the main menu.
    startupRunning_ = true;
    StartView->BeginStartupProgress();
    StartProgramLoad();
}

void TMainForm::ShowStartupMessage(const QString& text, TMsgDlgType type, int helpContext) {
    if (startupRunning_) {
        startupMessages_.push_back({text, type, helpContext});
        return;
    }
    MessageDlg(text, type, mbOK, helpContext);
}

void TMainForm::ShowQueuedStartupMessages() {
    startupRunning_ = false;
    StartView->EndStartupProgress();
    MenuView->ShowLinkState();
    const std::vector<StartupMessage> queued = std::move(startupMessages_);
    startupMessages_.clear();
    for (const StartupMessage& m : queued) MessageDlg(m.text, m.type, mbOK, m.helpContext);
}

bool TMainForm::FormCloseQuery() {
    if (VelocityRunning || MeasurementRunning) {
        ShowMessage(Msg("stZakoncz"));
        return false;
    }
    // A cancelled or failed save keeps the window, and the data, as Cancel does.
    if (!SaveOrDiscardChanges(MeasurementMode)) return false;
    modes::StopReading(ModeHost());
    return true;
}

void TMainForm::FreeVibrationBuffers() {
    if (VibrationView) VibrationView->FreeVibrationBuffers();
}

void TMainForm::CloseMachineTable() {
    if (DataModule1) DataModule1->TableMachines->Close();
}

// 10 nm <-> 100 nm: the head's resolution byte, the readout decimals of every unit and the
// filter's threshold follow; the count starts again at the new resolution.
void TMainForm::BRozdzielClick() {
    Resolution10 = !Resolution10;
    Positioning().ResolutionButton()->setText(Msg("stRozdzielczosc") + (Resolution10 ? QStringLiteral(" 10 nm") : QStringLiteral(" 100 nm")));
    const uint8_t byte = Resolution10 ? modes::kResolution10nm : modes::kResolution100nm;
    SendHeadCommand(byte);
    DisplayPrecision = modes::PrecisionTableFor(byte);
    FilterThreshold = Resolution10 ? 128 : 8;
    MainFormModeHost& h = ModeHost();
    if (MeasurementMode == kModeDistanceReadout || MeasurementMode == kModeVelocityReadout) {
        h.ApplyReadoutView(modes::DisplayUnitView(MeasurementMode, DisplayLengthUnit, DisplayVelocityUnit,
                                                  DisplayPrecision));
    } else if (MeasurementMode == kModeAngleReadout || MeasurementMode == kModeWollastonReadout) {
        ReadoutPage->SetReadoutDecimals(DisplayPrecision[9]);
    }
    modes::RestartCounting(h);
}
