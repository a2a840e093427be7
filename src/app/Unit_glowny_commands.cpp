// Menu commands of the main window that open a dialog or switch a view: the view menu's panels,
// the compensation table, the route generator, text import, the 3-D view, the machine limits,
// the base length, the about box, help and the chart axis scaling.
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>

#include "app/ChartClipboard.h"
#include "app/PositioningPage.h"
#include "app/CoRysowac.h"
#include "app/DeviationGrids.h"
#include "app/DialogParts.h"
#include "app/Form_Gcodes.h"
#include "app/Informacje.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "app/Podstawka.h"
#include "app/PositioningRun.h"
#include "app/PunktyPoz.h"
#include "app/SkalowanieOsi.h"
#include "app/UDBMaszyny.h"
#include "app/UKorCos.h"
#include "app/VelocityPage.h"
#include "app/AngularPage.h"
#include "app/FlatnessPage.h"
#include "app/Unit_glowny.h"
#include "app/WybFormat.h"
#include "evaluation/CompensationTables.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PointStore.h"
#include "evaluation/PositioningStats.h"
#include "evaluation/TextImport.h"
#include "foundations/MeasurementModes.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "platform/Chart.h"

namespace {

void showError(const QString& text) { MessageDlg(text, TMsgDlgType::mtError, mbOK); }

// The open dialog of a text import: the mode's filter with the import's extension, in the data
// folder of the measurement type.
std::optional<QString> chooseImportFile(TMainForm& f, int mode, const QString& extension, const QString& folder) {
    FileDialogSettings s;
    s.Filter = FilterWithExtension(f.ModeFilters[size_t(mode)], extension);
    s.FilterIndex = 1;
    s.DefaultExt = extension;
    s.InitialDir = folder;
    return RunFileDialog(&f, s, false);
}

}  // namespace

void TMainForm::ConnectMenuCommands() {
    // The view menu: a ticked command shows its panel of the positioning page (the page that
    // straightness shares keeps them hidden; the page's entry shows them by the ticks).
    if (QAction* a = MenuCommand(QStringLiteral("MenuItemWartosczadana")))
        connect(a, &QAction::toggled, this, [this](bool on) {
            if (Positioning().TargetPanel() && MeasurementMode == kModePositioning) Positioning().TargetPanel()->setVisible(on);
        });
    if (QAction* a = MenuCommand(QStringLiteral("MenuItemTabelkaOdchylek")))
        connect(a, &QAction::toggled, this, [this](bool on) {
            if (Positioning().DeviationGrid() && MeasurementMode == kModePositioning) Positioning().DeviationGrid()->setVisible(on);
        });

    // Commands of the file and edit menus without a Tag: always offered where their menu is.
    if (QMenu* file = MenuOf(QStringLiteral("Plik1"))) {
        QAction* before = MenuCommand(QStringLiteral("Drukuj1"));
        Generujtras1 = new QAction(QStringLiteral("Generuj trasę"), file);
        Generujtras1->setObjectName(QStringLiteral("Generujtras1"));
        file->insertAction(before, Generujtras1);
    }
    if (QMenu* edit = MenuOf(QStringLiteral("Edycja1"))) {
        Dopuszczalnebdy1 = new QAction(QStringLiteral("Dopuszczalne błędy"), edit);
        Dopuszczalnebdy1->setObjectName(QStringLiteral("Dopuszczalnebdy1"));
        edit->insertAction(MenuCommand(QStringLiteral("TabelaPomiarow")), Dopuszczalnebdy1);
    }
    // The deviation tables draw their own cells.
    InstallDeviationGridDrawing(Positioning().DeviationGrid(), DeviationGridWidth, Label133);
    InstallDeviationGridDrawing(Angular().DeviationGrid(), DeviationGridWidth, Label133);
    // The choice of plotted characteristics, from the chart's pop-up and the results page.
    Parametry1 = new QAction(QStringLiteral("Kreślone parametry"), this);
    Parametry1->setObjectName(QStringLiteral("Parametry1"));
    PopupMenuWykres->addAction(Parametry1);
    connect(Parametry1, &QAction::triggered, this, &TMainForm::Parametry1Click);
    // Axis scaling of the charts' pop-up menus.
    OY1 = new QAction(QStringLiteral("Oś &Y"), this);
    OY1->setObjectName(QStringLiteral("OY1"));
    PopupMenuWykres->addSeparator();
    PopupMenuWykres->addAction(OY1);
    PopupMenuPK->addSeparator();
    PopupMenuPK->addAction(OY1);
    PopupMenuPredkosc = new QMenu(this);
    PopupMenuPredkosc->setObjectName(QStringLiteral("PopupMenuPredkosc"));
    Skalaosiprdkoci1 = PopupMenuPredkosc->addAction(QStringLiteral("Skala osi prędkości"));
    Skalaosiprdkoci1->setObjectName(QStringLiteral("Skalaosiprdkoci1"));
    Skalaosiczasu1 = PopupMenuPredkosc->addAction(QStringLiteral("Skala osi czasu"));
    Skalaosiczasu1->setObjectName(QStringLiteral("Skalaosiczasu1"));
    // "&Kopiuj do schowka" in the pop-ups of the three charts that have one.
    Kopiujdoschowka1 = new QAction(QStringLiteral("&Kopiuj do schowka"), this);
    Kopiujdoschowka1->setObjectName(QStringLiteral("Kopiujdoschowka1"));
    for (QMenu* popup : {PopupMenuWykres, PopupMenuPK, PopupMenuPredkosc}) {
        popup->addSeparator();
        popup->addAction(Kopiujdoschowka1);
    }
    connect(Kopiujdoschowka1, &QAction::triggered, this, &TMainForm::Kopiujdoschowka1Click);
    if (Positioning().Chart())
        connect(Positioning().Chart(), &platform::TChart::axisClicked, this,
                [this](platform::TChartAxis* axis, Qt::MouseButton) { wykresClickAxis(axis); });
    if (platform::TChart* chart = Velocity().Chart()) {
        chart->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(chart, &QWidget::customContextMenuRequested, this, [this, chart](const QPoint& pos) {
            PopupMenuPredkosc->popup(chart->mapToGlobal(pos));
        });
    }

    auto onTrigger = [this](const char* name, void (TMainForm::*handler)()) {
        if (QAction* a = MenuCommand(QString::fromLatin1(name))) connect(a, &QAction::triggered, this, handler);
    };
    // The service panel's link buttons.
    if (RSButton_Polacz) connect(RSButton_Polacz, &QPushButton::clicked, this, &TMainForm::RSButton_PolaczClick);
    if (RSButton_Rozlacz) connect(RSButton_Rozlacz, &QPushButton::clicked, this, &TMainForm::RSButton_RozlaczClick);
    onTrigger("TabelaKompensacji1", &TMainForm::TabelaKompensacji1Click);
    onTrigger("ImportDanych", &TMainForm::ImportDanychClick);
    onTrigger("TabelaPomiarow", &TMainForm::TabelaPomiarowClick);
    onTrigger("Widok3D1", &TMainForm::Widok3D1Click);
    onTrigger("Dlugoscpodstawki", &TMainForm::DlugoscpodstawkiClick);
    onTrigger("Oprogramie1", &TMainForm::Oprogramie1Click);
    onTrigger("Spistreciiindex1", &TMainForm::Spistreciiindex1Click);
    connect(Generujtras1, &QAction::triggered, this, &TMainForm::Generujtras1Click);
    connect(Dopuszczalnebdy1, &QAction::triggered, this, &TMainForm::Dopuszczalnebdy1Click);
    connect(OY1, &QAction::triggered, this, &TMainForm::OY1Click);
    connect(Skalaosiprdkoci1, &QAction::triggered, this, &TMainForm::Skalaosiprdkoci1Click);
    connect(Skalaosiczasu1, &QAction::triggered, this, &TMainForm::Skalaosiczasu1Click);
}

void TMainForm::TabelaKompensacji1Click() {
    if (PositioningCycles->Count() == 0 || (*PositioningCycles)[0].Punkt.Count() == 0) return;
    FileDialogSettings dialog =
        evaluation::CompTableSaveDialog(windowTitle(), ModeCaptions[kModePositioning], PositioningDir);
    CompTableChoice.Format = ChooseCompensationFormat(CompTableChoice, (*PositioningCycles)[0].Punkt, this);
    if (CompTableChoice.Format == evaluation::ctfNone) return;
    const std::optional<QString> chosen = RunFileDialog(this, dialog, true);
    if (!chosen) return;
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty()) name += dialog.DefaultExt;
    const evaluation::CompTableResult r = evaluation::WriteCompTable(
        name, evaluation::CompTableRunFrom(*PositioningCycles, MeasurementHeader()), CompTableChoice);
    if (!r.ok() && !r.Message.isEmpty()) showError(r.Message);
}

void TMainForm::Generujtras1Click() {
    TForm_Gcodes form(PositioningMethod, this);
    form.exec();
}

void TMainForm::ImportDanychClick() {
    // An import replaces the mode's data: never during a run, and unsaved data is offered for
    // saving first, as opening a file does.
    const bool imports = MeasurementMode == kModePositioning || MeasurementMode == kModeStraightness ||
                         MeasurementMode == kModeFlatness;
    if (imports && MeasurementRunning) {
        ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    if (imports && !SaveOrDiscardChanges(MeasurementMode)) return;
    // Each file is read into copies; only a whole import replaces the data, the header and what
    // the page shows, so a failed one leaves everything as it was.
    TMeasurementHeader header = MeasurementHeader();
    switch (MeasurementMode) {
    case kModePositioning: {
        if (Positioning().ButtonPages() && Positioning().ButtonPages()->currentIndex() == 2) PositioningControl().ButtonRaportPoprzednieClick();
        const auto file = chooseImportFile(*this, 0, QStringLiteral(".dta"), PositioningDir);
        if (!file) return;
        TCykl cycles;
        QString addition;
        if (const auto failure = ImportMeasurementText(*file, cycles, header, &addition)) {
            showError(*failure);
            return;
        }
        *PositioningCycles = cycles;
        // The imported run has no second axis: one of an earlier run would not belong to it.
        CyclesY->Clear();
        MeasurementHeader() = header;
        // The title names what is shown now, not a file opened before.
        setWindowTitle(ModeCaptions[kModePositioning] + addition);
        PositioningControl().CurrentCycle() = 1;
        Points().ShowPositioningCycle(1);
        const auto backlash = evaluation::BacklashCaption(*PositioningCycles, 1);
        if (Positioning().BacklashLabel()) {
            Positioning().BacklashLabel()->setText(backlash.value_or(QString()));
            Positioning().BacklashLabel()->setVisible(backlash && ShowBacklash);
        }
        if (Positioning().StraightnessGauge()) Positioning().StraightnessGauge()->hide();
        if (Positioning().StraightnessPanel()) Positioning().StraightnessPanel()->hide();
        modes::HidePositioningPanels(ModeHost());
        DataSaved = true;
        if (Positioning().ButtonPages()) Positioning().ButtonPages()->setCurrentIndex(1);
        if (QAction* a = MenuCommand(QStringLiteral("TabelaPomiarow"))) a->setEnabled(true);
        break;
    }
    case kModeStraightness: {
        const auto file = chooseImportFile(*this, 2, QStringLiteral(".lda"), StraightnessDir);
        if (!file) return;
        TPunkt points;
        try {
            ImportTextReadings(*file, points, header);
        } catch (const TextFormatError&) {
            showError(TextImportFormatMessage());
            return;
        } catch (const MeasurementFileError& e) {
            showError(e.message());
            return;
        }
        *StraightnessPoints = points;
        MeasurementHeader() = header;
        setWindowTitle(ModeCaptions[kModeStraightness] + QStringLiteral(" - ") + QFileInfo(*file).fileName());
        PlotStraightnessPoints();
        break;
    }
    case kModeFlatness: {
        const auto file = chooseImportFile(*this, 3, QStringLiteral(".fda"), FlatnessDir);
        if (!file) return;
        TCykl lines = *FlatnessLines;
        if (const auto failure = LoadFlatnessText(*file, lines, header)) {
            showError(*failure);
            return;
        }
        *FlatnessLines = lines;
        MeasurementHeader() = header;
        setWindowTitle(ModeCaptions[kModeFlatness] + QStringLiteral(" - ") + QFileInfo(*file).fileName());
        FlatnessDataSaved = false;
        Flatness().UpdateLineMask();
        Flatness().BuildFlatnessMap();
        break;
    }
    default: return;  // nothing imported, nothing to offer
    }
    EnableMenuItemsByTag(TagSet({3, 4, 5, 28}), true);
}

void TMainForm::Widok3D1Click() { ShowStraightness3D(*StraightnessPoints, StatisticsMethod, this); }

void TMainForm::Dopuszczalnebdy1Click() {
    {
        TFBDMaszyny dialog(nullptr, this);
        if (Positioning().StandardChoice()) dialog.ShowStandardPage(Positioning().StandardChoice()->currentIndex());
        dialog.exec();
    }
    FillMachineCombo();
    FillPositioningResults();
}

void TMainForm::DlugoscpodstawkiClick() {
    BaseLength = AskBaseLength(LengthUnit, BaseLength, this);
    TypeCalls().RefreshParameterSummary();
}

void TMainForm::Oprogramie1Click() { ShowAboutBox(this); }
void TMainForm::Spistreciiindex1Click() { ShowHelpContents(); }

void TMainForm::Parametry1Click() {
    if (Positioning().Chart()) TFCoRysowac::SetChecks(*Positioning().Chart(), this);
}

void TMainForm::Kopiujdoschowka1Click() {
    platform::TChart* chart = nullptr;
    switch (MeasurementMode) {
    case kModePositioning: chart = Positioning().Chart(); break;
    case kModeVelocity: chart = Velocity().Chart(); break;
    case kModeAngular: chart = Angular().Chart(); break;
    default: break;  // the other modes have no such command
    }
    if (chart) CopyChartToClipboard(*chart);
}

void TMainForm::wykresClickAxis(platform::TChartAxis* axis) {
    if (Positioning().Chart() && axis == &Positioning().Chart()->LeftAxis()) EditAxisScale(*axis, QStringLiteral("y"), this);
}

void TMainForm::OY1Click() {
    platform::TChart* chart = MeasurementMode == kModePositioning ? Positioning().Chart() : Angular().Chart();
    if (chart) EditAxisScale(chart->LeftAxis(), QStringLiteral("y"), this);
}

void TMainForm::Skalaosiprdkoci1Click() {
    if (platform::TChart* chart = Velocity().Chart())
        EditAxisScale(chart->LeftAxis(), TranslateString(QStringLiteral("stPredkosci"), QStringLiteral("Prędkości")), this);
}

void TMainForm::Skalaosiczasu1Click() {
    if (platform::TChart* chart = Velocity().Chart())
        EditAxisScale(chart->BottomAxis(), TranslateString(QStringLiteral("stCzasu"), QStringLiteral("Czasu")), this);
}
