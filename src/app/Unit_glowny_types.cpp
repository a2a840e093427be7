// The measurement type pages of the main window: entries of the positioning and flatness
// pages, the open and save guard, the point list command,
// the results gate, Stop, the set-up picture, the spreadsheet transfer and the service page.
#include <QAction>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QResource>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QApplication>

#include "app/ModeSequences.h"
#include "app/PositioningPage.h"
#include "app/ModeSequencesMainForm.h"
#include "app/PointStoreWidgets.h"
#include "app/LiveReadoutPage.h"
#include "app/ServicePage.h"
#include "app/VelocityPage.h"
#include "app/SpreadsheetLink.h"
#include "app/AngularPage.h"
#include "app/Unit_glowny.h"
#include "evaluation/PointStore.h"
#include "foundations/FR_Utils.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"
#include "foundations/MeasurementModes.h"

namespace {

constexpr int kPageStraightness = 3;  // positioning and straightness
constexpr int kPageService = 6;

const TTagSet& PositioningShown() {
    static const TTagSet s = TagSet({9, 10, 11, 15, 17, 18, 19, 20, 23, 26, 27, 28, 29, 30, 31, 43});
    return s;
}
const TTagSet& PositioningHidden() {
    static const TTagSet s = TagSet({13, 21, 37, 38, 39, 40, 41, 44});
    return s;
}

void showIf(QWidget* w, bool on) {
    if (w) w->setVisible(on);
}
void enableIf(QAction* a, bool on) {
    if (a) a->setEnabled(on);
}
}  // namespace

// The window's side of the type pages' calls: each goes to the part of the window that owns it
// (the entries and panels to the mode sequences over the window's host).
class TMainForm::TypeCallsOfWindow final : public TypePageCalls {
public:
    explicit TypeCallsOfWindow(TMainForm& f) : f_(f) {}

    bool HeadReady() override { return f_.EntryHost().HeadReady(); }
    void StartLinearReading() override { modes::StartLinearReading(f_.EntryHost()); }
    void StartVelocityReading() override { modes::StartVelocityReading(f_.EntryHost()); }
    void StartSignalMonitor() override { f_.StartPageSignalMonitor(); }
    void RestartMeteoReading() override { f_.EntryHost().RestartMeteoReading(); }
    void HidePositioningPanels() override { modes::HidePositioningPanels(f_.EntryHost()); }
    void ShowPositioningPanels() override { modes::ShowPositioningPanels(f_.EntryHost()); }
    void ResetHeadFlags() override { modes::ResetHeadFlags(f_.EntryHost()); }
    void ClearFifo() override { f_.EntryHost().ClearFifo(); }
    void ReturnToMainMenuFromVelocity() override { modes::ReturnToMainMenuFromVelocity(f_.EntryHost()); }
    void ShowRecentFiles(int mode) override { f_.UpdateRecentFilesMenu(mode); }
    void RefreshParameterSummary() override { f_.RefreshParameterSummary(); }
    bool OpenMeasurement(int mode) override { return f_.OpenMeasurement(mode); }
    bool SaveMeasurement(int mode) override { return f_.SaveMeasurement(mode); }
    void StoreFlatnessLine() override { f_.StoreFlatnessLine(); }
    bool EditTargetPoints() override { return f_.EditPositioningTargetPoints(); }
    void EvaluatePositioningRun() override { f_.EvaluatePositioning(true); }
    void RedrawPositioningResults() override { f_.EvaluatePositioning(false); }
    void EndMeasurementRun() override { f_.EndMeasurementRun(); }
    int AskSaveChanges() override { return f_.AskSaveChanges(); }
    void FillHeaderEnvironment() override { f_.FillHeaderEnvironment(); }
    int MeasuredAxis() override { return int(f_.EntryHost().MeasuredAxisField()); }

private:
    TMainForm& f_;
};

TypePageCalls& TMainForm::WindowTypeCalls() {
    if (!typeCalls_) typeCalls_ = std::make_shared<TypeCallsOfWindow>(*this);
    return *typeCalls_;
}

TypePageCalls& TMainForm::TypeCalls() { return typeCallsStandIn_ ? *typeCallsStandIn_ : WindowTypeCalls(); }

bool PositioningRunUsable(const TCykl& cycles) {
    if (cycles.Count() < 2) return false;
    const int first = cycles[0].Punkt.Count();
    if (first <= 5) return false;
    for (int c = 1; c < cycles.Count(); ++c)
        if (cycles[c].Punkt.Count() != first) return false;
    return true;
}

std::optional<double> MaterialExpansionCoefficient(int item) {
    switch (item) {
    case 0: return 2.45e-5;
    case 1: return 1.74e-5;
    case 2: return 2.26e-5;
    case 3: return 1.17e-5;
    default: return std::nullopt;
    }
}

QString SetupPictureName(int mode, int measuredAxis) {
    QString base = mode == kModeAngleReadout ? QStringLiteral("katowe") : mode == kModeWollastonReadout ? QStringLiteral("wollaston") : QStringLiteral("liniowe");
    if (mode == kModeWollastonReadout && measuredAxis == 1) measuredAxis = 0;
    const int axis = measuredAxis >= 0 && measuredAxis <= 2 ? measuredAxis : 0;
    return base + QChar(u'x' + axis);
}

QString PositioningBackgroundName(int positioningMethod) {
    static const char* const names[] = {"liniowe", "pilgrim", "pilgrim2"};
    if (positioningMethod < 0 || positioningMethod > 2) return QString();
    return QLatin1String(names[positioningMethod]);
}

QString PositioningBackgroundFile(const QString& programDir, int positioningMethod) {
    const QString name = PositioningBackgroundName(positioningMethod);
    if (name.isEmpty()) return QString();
    for (const char* ext : {".png", ".svg"}) {
        const QString path = programDir + name + QLatin1String(ext);
        if (QFileInfo::exists(path)) return path;
    }
    return QString();
}

QString MissingBackgroundText(int positioningMethod) {
    return FillPlaceholder(TranslateString(QStringLiteral("stBrakTla"),
                                           QString::fromUtf8("Brak obrazu tła wykresu: %s (plik .png lub .svg "
                                                             "w folderze programu)")),
                           PositioningBackgroundName(positioningMethod));
}

void TMainForm::ConnectTypePages() {
    if (QAction* a = MenuCommand("Otworz1")) connect(a, &QAction::triggered, this, &TMainForm::Otworz1Click);
    for (const char* name : {"Zapisz1", "Zapiszjako1"})
        if (QAction* a = MenuCommand(name)) connect(a, &QAction::triggered, this, &TMainForm::Zapisz1Click);
    if (QAction* a = MenuCommand("Stop1")) connect(a, &QAction::triggered, this, &TMainForm::Stop1Click);
    if (QAction* a = MenuCommand("PunktyZListy")) {
        // The command decides its tick itself: undo the automatic toggle first.
        connect(a, &QAction::triggered, this, [this, a](bool checked) {
            a->setChecked(!checked);
            PunktyZListyClick();
        });
    }
    if (QAction* a = MenuCommand("StopPoKazdymCyklu1")) {
        connect(a, &QAction::triggered, this, [this, a](bool checked) {
            a->setChecked(!checked);
            StopPoKazdymCyklu1Click();
        });
    }
}

void TMainForm::DisableLinearStart() {
    if (Positioning().StartButton()) Positioning().StartButton()->setEnabled(false);
    enableIf(MenuCommand("Start1"), false);
    if (MeasurementMode == kModeStraightness || MeasurementMode == kModeFlatness) {
        for (QWidget* w : std::initializer_list<QWidget*>{Positioning().AcceptPointButton(), Positioning().WaitProgress(), Positioning().WaitTimeBar(), Positioning().WaitTimeLabel()})
            showIf(w, false);
    }
}

void TMainForm::ShowPositioningOnEnd() {
    if (!InterfaceError) TypeCalls().ShowPositioningPanels();
    showIf(Positioning().BacklashLabel(), false);
    showIf(Positioning().StraightnessYErrorLabel(), false);
}

void TMainForm::BitBtnpozycjonowanieClick() {
    DisplayLengthUnit = LengthUnit == 1 ? 4 : 0;
    MeasurementMode = kModePositioning;
    for (QWidget* w : std::initializer_list<QWidget*>{Positioning().YChart(), Positioning().ResultsPanel(), Positioning().StraightnessPanel()}) showIf(w, false);
    TypeCalls().HidePositioningPanels();
    if (Positioning().StartButton()) Positioning().StartButton()->setText(QStringLiteral("&Start"));

    // Emptied first: the reset clears the title too.
    Points().ResetChartAndGrid(Points().Plots().wykres);
    SetChartAxisTitle(Positioning().Chart(), ChartAxis::Left, Msg("stBlad") + QStringLiteral(" [ µm ]"));
    const bool byNumber = Numerpunktu1 && Numerpunktu1->isChecked();
    SetChartAxisTitle(Positioning().Chart(), ChartAxis::Bottom,
                      byNumber ? Msg("stNrPunktu")
                               : Msg("stOdleglosc") + (LengthUnit == 1 ? QStringLiteral(" [ in ]") : QStringLiteral(" [ mm ]")));
    SetPointNumberAxis(Positioning().Chart(), byNumber);
    SetChartLegendVisible(Positioning().Chart(), false);
    SetChartTitle(Positioning().Chart(), Msg("stWykresPoz") + QStringLiteral(" - ") +
                              QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));

    if (Positioning().ButtonPages()) Positioning().ButtonPages()->setCurrentIndex(0);
    enableIf(MenuCommand("TabelaPomiarow"), false);
    for (QWidget* w : std::initializer_list<QWidget*>{Positioning().BacklashLabel(), Positioning().StraightnessYErrorLabel(), Positioning().WaitProgress(), Positioning().WaitTimeBar(), Positioning().WaitTimeLabel()})
        showIf(w, false);

    ShowPositioningBackground();

    setWindowTitle(ModeCaptions[kModePositioning]);
    ShowMenuItemsByTag(PositioningShown(), true);
    ShowMenuItemsByTag(PositioningHidden(), false);
    QAction* fromList = MenuCommand("PunktyZListy");
    enableIf(MenuCommand("PunktyPozycjonowania1"), fromList && fromList->isChecked());
    TypeCalls().ShowRecentFiles(kModePositioning);
    TypeCalls().RefreshParameterSummary();
    PositioningCycles->Clear();
    DeviationGridWidth = 0;
    // Nothing measured or loaded yet: nothing to save, print or export, no run to stop.
    EnableMenuItemsByTag(TagSet({2, 3, 4, 5, 28, 42}), false);
    enableIf(MenuCommand("Stop1"), false);

    if (InterfaceError) {
        TypeCalls().HidePositioningPanels();
        DisableLinearStart();
    } else {
        StartPageReading(false);
    }
    NotebookMainForm->setCurrentIndex(kPageStraightness);
}

void TMainForm::StartPageReading(bool velocity) {
    if (TypeCalls().HeadReady()) {
        if (velocity)
            TypeCalls().StartVelocityReading();
        else
            TypeCalls().StartLinearReading();
    } else {
        if (velocity)
            VelocityView->DisableVelocityStart();
        else
            DisableLinearStart();
        TypeCalls().StartSignalMonitor();
    }
    TypeCalls().RestartMeteoReading();
}

void TMainForm::Otworz1Click() {
    auto open = [this](int mode) { return TypeCalls().OpenMeasurement(mode); };
    if (MeasurementMode == kModeVelocity) {
        if (VelocityRunning)
            ShowMessage(Msg("stTrwaPomiar"));
        else
            open(1);
        return;
    }
    if (MeasurementMode == kModeFlatness && NotebookMainForm->currentIndex() == kPageStraightness) {
        // A flatness line is measured on the straightness page: the file is a straightness line.
        MeasurementMode = kModeStraightness;
        if (MeasurementRunning)
            ShowMessage(Msg("stTrwaPomiar"));
        else if (open(2))
            TypeCalls().StoreFlatnessLine();
        MeasurementMode = kModeFlatness;
        return;
    }
    if (MeasurementRunning)
        ShowMessage(Msg("stTrwaPomiar"));
    else
        open(MeasurementMode);
}

void TMainForm::Zapisz1Click() {
    auto save = [this](int mode) { return TypeCalls().SaveMeasurement(mode); };
    if (MeasurementMode == kModeVelocity) {
        if (VelocityRunning)
            ShowMessage(Msg("stTrwaPomiar"));
        else
            save(1);
        return;
    }
    if (MeasurementMode == kModeFlatness && NotebookMainForm->currentIndex() == kPageStraightness) {
        MeasurementMode = kModeStraightness;
        if (MeasurementRunning)
            ShowMessage(Msg("stTrwaPomiar"));
        else
            save(2);
        MeasurementMode = kModeFlatness;
        return;
    }
    if (MeasurementRunning)
        ShowMessage(Msg("stTrwaPomiar"));
    else
        save(MeasurementMode);
}

void TMainForm::PunktyZListyClick() {
    if (MeasurementRunning) {
        ShowMessage(Msg("stTrwaPomiar"));
    } else if (TypeCalls().EditTargetPoints()) {
        if (QAction* a = MenuCommand("PunktyZListy")) a->setChecked(true);
        PointsFromList = true;
        enableIf(MenuCommand("PunktyPozycjonowania1"), true);
    }
    TypeCalls().RefreshParameterSummary();
}

void TMainForm::StopPoKazdymCyklu1Click() {
    if (QAction* a = MenuCommand("StopPoKazdymCyklu1")) {
        a->setChecked(!a->isChecked());
        StopAfterCycle = a->isChecked();
    }
    TypeCalls().RefreshParameterSummary();
}

bool TMainForm::ShowPositioningResults() {
    showIf(Positioning().BacklashLabel(), false);
    if (!PositioningRunUsable(*PositioningCycles)) {
        ShowMessage(Msg("stZaMaloCykli"));
        return false;
    }
    TypeCalls().HidePositioningPanels();
    showIf(Positioning().ResultsPanel(), true);
    enableIf(MenuCommand("Parametry1"), true);
    SetChartLegendVisible(Positioning().Chart(), true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (Positioning().BacklashLabel()) Positioning().BacklashLabel()->clear();
    if (Positioning().ButtonPages()) Positioning().ButtonPages()->setCurrentIndex(2);
    enableIf(MenuCommand("TabelaPomiarow"), false);
    TypeCalls().EvaluatePositioningRun();
    SetChartTitle(Positioning().Chart(), Msg("stWykresRap"));
    QApplication::restoreOverrideCursor();
    return true;
}

void TMainForm::Stop1Click() {
    if (MeasurementMode == kModeVelocity)
        VelocityView->ButtonStartVClick();
    else if (MeasurementMode == kModeAngular)
        AngularView->BStartPKClick();
    else
        TypeCalls().EndMeasurementRun();
}

bool TMainForm::ShowSetupPicture() {
    const QString bundle = ProgramDir + QStringLiteral("foto.rcc");
    const QString name = SetupPictureName(MeasurementMode, TypeCalls().MeasuredAxis());
    QPixmap picture;
    const bool registered = QFileInfo::exists(bundle) && QResource::registerResource(bundle);
    if (registered) {
        for (const QString& ext : {QStringLiteral(".png"), QStringLiteral(".bmp"), QString()}) {
            if (picture.load(QStringLiteral(":/foto/") + name + ext) || picture.load(QStringLiteral(":/") + name + ext))
                break;
        }
        QResource::unregisterResource(bundle);
    }
    if (picture.isNull()) {
        // The page goes on without its picture.
        SayMissingPicture(SetupPictureWarned, Msg("stBrakFoto"));
        return false;
    }
    Readout().ShowSetupPicture(picture);
    return true;
}

void TMainForm::ShowPositioningBackground() {
    const QString path = PositioningBackgroundFile(ProgramDir, PositioningMethod);
    SetChartBackground(Positioning().Chart(), path);
    if (path.isEmpty()) SayMissingPicture(BackgroundPictureWarned, MissingBackgroundText(PositioningMethod));
}

void TMainForm::SayMissingPicture(bool& said, const QString& text) {
    // A box the first time in a run of the program; later only the status bar, so that no
    // visit to a page costs a click.
    if (!said) {
        said = true;
        ShowMessage(text);
    } else {
        statusBar()->showMessage(text);
    }
}

void TMainForm::SendValueToExcel(uint8_t digits, double value) {
    (void)digits;
    (void)value;
    // There is no live conversation with a spreadsheet on this system: say so once.
    if (SpreadsheetTransferWarned) return;
    SpreadsheetTransferWarned = true;
    statusBar()->showMessage(spreadsheet::NoTransferText());
}

void TMainForm::EnterServicePanel() {
    if (NotebookMainForm->currentIndex() == kPageService) return;
    SavedServicePage = NotebookMainForm->currentIndex();
    SavedServiceCaption = windowTitle();
    NotebookMainForm->setCurrentIndex(kPageService);
    setWindowTitle(Msg("stCap") + QStringLiteral(" - ") +
                   TranslateString(QStringLiteral("stCapSerwis"), QStringLiteral("Panel serwisowy")));
    for (const char* m : {"Opcje1", "Funkcje1"})
        if (QMenu* menu = MenuOf(m)) menu->menuAction()->setVisible(true);
    Service().RefreshFlagView();
    Service().Entered();
    if (instrument::SerialLinkChosen()) instrument::LinkState().ReceiveState = 1;
}

void TMainForm::HideServiceMenus() {
    for (const char* m : {"Opcje1", "Funkcje1"})
        if (QMenu* menu = MenuOf(m)) menu->menuAction()->setVisible(false);
}
