// Measurement files of the main window: the open and save commands over the measurement
// document, the window caption, the recent-file commands and opening from the command line.
// The document works on a copy of the window's collections; after a load the copy of the
// type's collections comes back into the window, so a failed load changes only what its type
// is meant to lose.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

#include "app/ModeSequencesMainForm.h"
#include "app/PositioningPage.h"
#include "app/PointStoreWidgets.h"
#include "app/PositioningRun.h"
#include "app/PunktyPoz.h"
#include "app/StraightnessRun.h"
#include "app/Unit_DaneMaszyny.h"
#include "app/AngularPage.h"
#include "app/FlatnessPage.h"
#include "app/MainMenuPage.h"
#include "app/Unit_glowny.h"
#include "app/VibrationPage.h"
#include "evaluation/MeasurementFilesDocument.h"
#include "evaluation/PointStore.h"
#include "evaluation/PositioningStats.h"
#include "evaluation/StraightnessEval.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RealSpinEdit.h"
#include "foundations/SharedGlobals.h"

namespace {

constexpr double kMmToInch = 0.03937007874015748;

// Commands a loaded file offers (save as, print, preview, export), and what a failed one takes
// away besides (compensation table, two-axis review).
const TTagSet& FileOpenedTags() {
    static const TTagSet s = TagSet({3, 4, 5, 42});
    return s;
}
const TTagSet& FileFailedTags() {
    static const TTagSet s = TagSet({3, 4, 5, 28, 42, 44});
    return s;
}

void showIf(QWidget* w, bool on) {
    if (w) w->setVisible(on);
}

}  // namespace

struct TMainForm::FileParts {
    explicit FileParts(TMainForm& form) : f(form), doc(data, callbacks(form)) {
        // The header's operator, company and feed are remembered between runs.
        data.Header.Operator = CutShortString(form.HeaderOperator, TMeasurementHeader::OperatorCap);
        data.Header.Company = CutShortString(form.HeaderCompany, TMeasurementHeader::CompanyCap);
        data.Header.Feed = CutShortString(form.HeaderFeed, TMeasurementHeader::FeedCap);
    }

    static MeasurementDocument::Callbacks callbacks(TMainForm& f) {
        MeasurementDocument::Callbacks cb;
        cb.AskSaveChanges = [&f] { return f.AskSaveChanges(); };
        cb.AskChangeMachineInfo = [] {
            return MessageDlg(Msg("stZmianaInfo"), TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes;
        };
        cb.EditHeader = [&f](TMeasurementHeader& h) {
            if (!TFormDaneMaszyny::FillHeader(h, f.TemperatureUnit, f.PressureUnit, &f)) return;
            f.HeaderOperator = h.Operator;
            f.HeaderCompany = h.Company;
            f.HeaderFeed = h.Feed;
        };
        cb.OpenDialog = [&f](const FileDialogSettings& s) { return RunFileDialog(&f, s, false); };
        cb.SaveDialog = [&f](const FileDialogSettings& s) { return RunFileDialog(&f, s, true); };
        cb.ShowError = [](const QString& m) { MessageDlg(m, TMsgDlgType::mtError, mbOK); };
        cb.AverageXYCycles = [&f] {
            f.AverageXYCycles();
            f.Files().data.StraightnessPoints = *f.StraightnessPoints;
        };
        cb.AddRecentFile = [&f](int mode, const QString& name) { f.AddRecentFile(mode, name); };
        cb.FileLoaded = [&f](const QString&, bool ok) { f.Files().loaded(ok); };
        return cb;
    }

    // The document's copy of the window before a command.
    void prepare(int mode) {
        data.PositioningCycles = *f.PositioningCycles;
        data.VelocitySamples = *f.VelocitySamples;
        data.StraightnessPoints = *f.StraightnessPoints;
        data.FlatnessLines = *f.FlatnessLines;
        data.FlatnessMethod = f.FlatnessMethod;
        data.FlatnessHLines = f.FlatnessHLines;
        data.FlatnessVLines = f.FlatnessVLines;
        data.AngularPoints = *f.AngularPoints;
        doc.Mode = mode;
        doc.Dirs = {f.PositioningDir, f.VelocityDir, f.StraightnessDir, f.FlatnessDir, f.AngularDir, f.FftDir};
        doc.ModeFilters = f.ModeFilters;
        doc.ModeCaptions = f.ModeCaptions;
        doc.PosAndStr = f.PosAndStr;
    }
    void loaded(bool ok);
    // The type's collections back into the window after a load (read, or reset by a failure).
    void takeLoaded(int mode) {
        switch (mode) {
        case mfPositioning: *f.PositioningCycles = data.PositioningCycles; break;
        case mfVelocity: *f.VelocitySamples = data.VelocitySamples; break;
        case mfStraightness: *f.StraightnessPoints = data.StraightnessPoints; break;
        case mfFlatness:
            *f.FlatnessLines = data.FlatnessLines;
            f.FlatnessMethod = data.FlatnessMethod;
            f.FlatnessHLines = data.FlatnessHLines;
            f.FlatnessVLines = data.FlatnessVLines;
            break;
        case mfAngular: *f.AngularPoints = data.AngularPoints; break;
        default: break;
        }
    }

    TMainForm& f;
    MeasurementData data;
    MeasurementDocument doc;
};

TMainForm::FileParts& TMainForm::Files() {
    if (!FilePartsHolder) FilePartsHolder = std::make_shared<FileParts>(*this);
    return *FilePartsHolder;
}

TMeasurementHeader& TMainForm::MeasurementHeader() { return Files().data.Header; }

QByteArray& TMainForm::FftSamples() { return Files().data.FftSamples; }

void TMainForm::ConnectMeasurementFiles() {
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) CommandLineFile = args[1];

}

bool TMainForm::OpenMeasurement(int mode) {
    if (!HasMeasurementFile(mode)) return false;
    FileParts& fp = Files();
    fp.prepare(mode);
    return fp.doc.OpenMeasurement();
}

bool TMainForm::SaveMeasurement(int mode, bool askHeader) {
    if (!HasMeasurementFile(mode)) return false;
    FileParts& fp = Files();
    fp.prepare(mode);
    if (!fp.doc.SaveMeasurement(askHeader)) return false;
    EnableMenuItemsByTag(TagSet({2}), false);
    setWindowTitle(fp.doc.Caption);
    return true;
}

bool TMainForm::LoadMeasurementFile(const QString& fileName, int mode) {
    if (!HasMeasurementFile(mode)) return false;
    FileParts& fp = Files();
    fp.prepare(mode);
    return fp.doc.LoadFile(fileName);
}

void TMainForm::FileParts::loaded(bool ok) {
    const int mode = doc.Mode;
    takeLoaded(mode);
    f.setWindowTitle(doc.Caption);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    f.ShowLoadedMeasurement(mode, ok);
    QApplication::restoreOverrideCursor();
}

void TMainForm::ShowLoadedMeasurement(int mode, bool ok) {
    evaluation::PointStore& store = Points();
    if (!ok) {
        EnableMenuItemsByTag(FileFailedTags(), false);
        switch (mode) {
        case mfPositioning:
            store.ResetChartAndGrid(store.Plots().wykres);
            PositioningControl().DeleteEnabled = false;
            if (Positioning().DeleteCycleButton()) Positioning().DeleteCycleButton()->setEnabled(false);
            break;
        case mfVelocity: store.ClearVelocitySeries(); break;
        case mfFlatness: Flatness().ResetFlatnessMap(); break;
        default: break;
        }
        return;
    }

    switch (mode) {
    case mfPositioning: {
        // The statistics first (only a run that can be evaluated has them): the review shows
        // the first cycle over them.
        if (PositioningRunUsable(*PositioningCycles)) TypeCalls().EvaluatePositioningRun();
        PositioningControl().CurrentCycle() = 1;
        store.ShowPositioningCycle(1);
        const auto backlash = evaluation::BacklashCaption(*PositioningCycles, 1);
        if (Positioning().BacklashLabel()) {
            Positioning().BacklashLabel()->setText(backlash.value_or(QString()));
            Positioning().BacklashLabel()->setVisible(backlash && ShowBacklash);
        }
        if (PositioningCycles->Count() > 0) {
            *TargetPoints = (*PositioningCycles)[PositioningCycles->Count() - 1].Punkt;
            if (TargetPoints->Count() > 0) StartPoint = (*TargetPoints)[0].Dystans;
        }
        if (TRealSpinEdit* edit = PunktStartowy)
            edit->SetValue(LengthUnit == 1 ? StartPoint * kMmToInch : StartPoint);
        if (QAction* a = MenuCommand(QStringLiteral("Parametry1"))) a->setEnabled(false);
        SetChartLegendVisible(Positioning().Chart(), false);
        showIf(Positioning().ResultsPanel(), false);
        SetChartAxesAutomatic();
        PositioningControl().DeleteEnabled = true;
        if (Positioning().DeleteCycleButton()) Positioning().DeleteCycleButton()->setEnabled(true);
        if (Positioning().ButtonPages()) Positioning().ButtonPages()->setCurrentIndex(1);
        if (QAction* a = MenuCommand(QStringLiteral("TabelaPomiarow"))) a->setEnabled(true);
        TypeCalls().RefreshParameterSummary();
        TypeCalls().HidePositioningPanels();
        EnableMenuItemsByTag(TagSet({28}), true);
        break;
    }
    case mfVelocity: store.PlotVelocity(); break;
    case mfStraightness:
        SetChartAxesAutomatic();
        PlotStraightnessPoints();
        EnableMenuItemsByTag(TagSet({44}), true);
        break;
    case mfFlatness:
        Flatness().UpdateLineMask();
        Flatness().BuildFlatnessMap();
        Flatness().EnableNewMap(true);
        break;
    case mfAngular:
        *AngularTargetPoints = *AngularPoints;
        if (TRealSpinEdit* edit = PunktStartowyPK)
            edit->SetValue(StartPointPK);  // an angle: degrees whatever the length unit
        Angular().ShowLoadedRun();
        store.PlotPositionPK();
        modes::HideAngularPanels(ModeHost());
        break;
    case mfVibration: FftAnalysis().ComputeVibrationSpectrum(); break;
    default: break;
    }
    EnableMenuItemsByTag(FileOpenedTags(), true);
}

TRecentFileList& TMainForm::RecentFiles(int mode) {
    switch (mode) {
    case mfVelocity: return RecentVelocity;
    case mfStraightness: return RecentStraightness;
    case mfFlatness: return RecentFlatness;
    case mfAngular: return RecentAngular;
    case mfVibration: return RecentFft;
    default: return RecentPositioning;
    }
}

void TMainForm::AddRecentFile(int mode, const QString& fileName) {
    if (!HasMeasurementFile(mode)) return;
    RecentFiles(mode).Add(fileName);
    UpdateRecentFilesMenu(mode);
}

void TMainForm::UpdateRecentFilesMenu(int mode) {
    if (!HasMeasurementFile(mode)) return;
    if (QMenu* menu = MenuOf(QStringLiteral("Plik1")))
        FillRecentFilesMenu(menu, RecentFiles(mode), [this](const QString& name) { File01Click(name); });
}

void TMainForm::File01Click(const QString& fileName) {
    if (MeasurementRunning || VelocityRunning) {
        ShowMessage(Msg("stTrwaPomiar"));
        return;
    }
    const int mode = MeasurementMode;
    if (!HasMeasurementFile(mode) || fileName.isEmpty()) return;
    FileParts& fp = Files();
    fp.prepare(mode);
    if (fp.doc.ConfirmDiscard()) fp.doc.LoadFile(fileName);
}

void TMainForm::OpenCommandLineFile(int mode, const QString& path) {
    if (!HasMeasurementFile(mode)) return;
    MainMenu().EnterType(mode);
    // The file is of this type whatever the page entry did.
    MeasurementMode = uint8_t(mode);
    LoadMeasurementFile(path, mode);
}

bool TMainForm::EditPositioningTargetPoints() {
    double start = LengthUnit == 1 ? StartPoint * kMmToInch : StartPoint;
    if (!EditTargetPoints(*TargetPoints, start, 1, LengthUnit, PositioningMethod, PointListDir, this))
        return false;
    StartPoint = LengthUnit == 1 ? start * 25.4 : start;
    if (TRealSpinEdit* edit = PunktStartowy) edit->SetValue(start);
    return true;
}

void TMainForm::AverageXYCycles() {
    if (CyclesY->Count() == 0) return;
    TPunkt mean = (*CyclesY)[0].Punkt;
    const int n = CyclesY->Count();
    for (int c = 1; c < n; ++c) {
        const TPunkt& cycle = (*CyclesY)[c].Punkt;
        // A cycle longer than the first adds only to the points the first one has.
        for (int j = 0; j < cycle.Count() && j < mean.Count(); ++j) {
            mean[j].Xa += cycle[j].Xa;
            mean[j].Xr += cycle[j].Xr;
        }
    }
    for (int j = 0; j < mean.Count(); ++j) {
        mean[j].Xa /= n;
        mean[j].Xr /= n;
    }
    *StraightnessPoints = mean;
}

void TMainForm::PlotStraightnessPoints() { PlotStraightnessOf(*StraightnessPoints, StraightnessMethod == 2); }

void TMainForm::PlotStraightnessOf(const TPunkt& points, bool bothPlanes, bool positionsInMm) {
    evaluation::StraightnessPlotOptions o;
    o.statisticsMethod = StatisticsMethod;
    o.straightnessMethod = StraightnessMethod;
    o.flatnessMode = MeasurementMode == mfFlatness;
    o.flatnessLine = StraightnessControl().FlatnessLine;
    o.lengthUnit = positionsInMm ? 0 : LengthUnit;
    const evaluation::StraightnessPlot plot = evaluation::PlotStraightness(points, o);
    evaluation::PointStore& store = Points();
    const evaluation::PointStorePlots& p = store.Plots();
    store.ResetChartAndGrid(p.wykres);
    // The vertical plane's chart starts empty too, so its background curves do not pile up.
    if (bothPlanes)
        if (auto* second = qobject_cast<platform::TChart*>(Positioning().YChart())) second->ClearAllSeries();
    auto fill = [](evaluation::IPlotSeries* s, const evaluation::SeriesValues& v) {
        if (!s) return;
        s->Clear();
        s->AddXYs(v.points);
    };
    fill(p.DoPrzodu, plot.horizontal);
    const bool twoAxes = bothPlanes;
    if (twoAxes) fill(p.ProstoOsY, plot.vertical);
    if (auto* chart = qobject_cast<platform::TChart*>(Positioning().Chart())) chart->SetTitleText(plot.horizontalTitle);
    if (twoAxes)
        if (auto* chart = qobject_cast<platform::TChart*>(Positioning().YChart())) chart->SetTitleText(plot.verticalTitle);
    if (Positioning().BacklashLabel()) {
        Positioning().BacklashLabel()->setText(plot.horizontalCaption);
        Positioning().BacklashLabel()->show();
    }
    if (Positioning().StraightnessYErrorLabel()) {
        Positioning().StraightnessYErrorLabel()->setText(plot.verticalCaption);
        Positioning().StraightnessYErrorLabel()->setVisible(twoAxes);
    }
}
