// The parameter summary in the real window's status bar, the zero line of wykres, "Wszyskie
// cykle", the flatness line commands and the start point edits.
#include <QAction>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>

#include "app/FlatnessPage.h"
#include "MainWindowFixture.h"
#include "TypeCallsStandIn.h"
#include "support/ModalDialog.h"
#include "app/PunktyPoz.h"
#include "app/StraightnessRun.h"
#include "app/UProstopa.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "foundations/RealSpinEdit.h"
#include "evaluation/PointStore.h"
#include "platform/Chart.h"
#include "platform/Chart3DSeries.h"

namespace {

TPunkt targets(std::initializer_list<double> mm) {
    TPunkt p;
    for (double d : mm) p.Add().Dystans = d;
    return p;
}

}  // namespace

class ParameterSummaryWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            // Saving asks whether to change the machine data: never here.
            if (r.text == Msg("stZmianaInfo")) return int(mrNo);
            messages.push_back(r);
            return answer;
        });
        setFileDialogHook([](const FileDialogSettings&, bool) { return std::optional<QString>(); });
    }
    void TearDown() override {
        stand.reset();  // before the window goes
        setFileDialogHook({});
        MainWindowTest::TearDown();
    }
    // The window with its pages' readings left out: the head is "ready" and starts nothing.
    void startWindow() {
        start();
        f = form();
        stand.reset();
        stand = std::make_unique<TypeCallsStandIn>(*f);
        stand->headReady = [] { return true; };
        stand->startLinearReading = [] {};
        stand->startVelocityReading = [] {};
        stand->startSignalMonitor = [] {};
        stand->restartMeteoReading = [] {};
        messages.clear();
    }
    QStringList panels() const {
        QStringList t;
        for (int i = 0; i < 5; ++i) t << Control<QStatusBar>(f, "StatusBar1")->findChild<QLabel*>("StatusBar1Panel" + QString::number(i))->text();
        return t;
    }
    // The axis choice form answered with `line` (OK), as the inspector would.
    static void answerAxisChoice(int line) {
        TWyborOsi::setExecuteHook([line](TWyborOsi& w) {
            w.RadioGroupOsie->button(line - 1)->click();
            w.BitBtnOk->click();
            return w.result();
        });
    }
    static void cancelAxisChoice() {
        TWyborOsi::setExecuteHook([](TWyborOsi&) { return int(QDialog::Rejected); });
    }
    void trigger(const char* command) {
        QAction* a = f->MenuCommand(QString::fromLatin1(command));
        ASSERT_NE(a, nullptr) << command;
        a->trigger();
    }

    TMainForm* f = nullptr;
    std::unique_ptr<TypeCallsStandIn> stand;
    int answer = mrOk;
};

TEST_F(ParameterSummaryWindow, EnteringAPageShowsTheParametersOfItsNextRun) {
    startWindow();
    // Positioning: points from a list ending at 500 mm, linear one-direction runs; the distance
    // stays in mm in inch units too (the list is held in mm).
    f->PositioningMethod = 0;
    f->UniDirectional = true;
    f->CycleCount = 3;
    LengthUnit = 1;
    f->MenuCommand("PunktyZListy")->setChecked(true);
    *f->TargetPoints = targets({0, 250, 500});
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 3);
    EXPECT_TRUE(Control<QStatusBar>(f, "StatusBar1")->isVisibleTo(f->NotebookMainForm->currentWidget()));
    EXPECT_EQ(panels(), QStringList({"Zaliczanie automatyczne", "Punkty z listy, Dystans: 500,0 mm",
                                     "Liczba cykli w serii: 3", "Liniowe-Jednokierunkowy", QString::fromUtf8("Stop po każdym cyklu")}));
    LengthUnit = 0;

    // Straightness with the deflection method.
    f->StraightnessMethod = 1;
    f->BaseLength = 50;
    f->StraightnessPointCount = 7;
    f->StatisticsMethod = 1;
    Control<QPushButton>(f, "BitBtnProstolinowosc")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 3);
    EXPECT_EQ(panels(), QStringList({QString::fromUtf8("Metoda uchyleń"), QString::fromUtf8("Odstęp miądzy punktami: 50 mm"),
                                     QString::fromUtf8("Liczba punktów: 7"), "", StatisticsMethodNames[1]}));
    EXPECT_EQ(Control<QLabel>(f, "LabelJedProsto")->text(), QString::fromUtf8("µm"));

    // A flatness line, measured on the same page, with the angular method.
    f->StraightnessMethod = 0;
    f->BaseLength = 100;
    f->StatisticsMethod = 0;
    Control<QPushButton>(f, "BitBtnMapaPlaskosci")->click();
    answerAxisChoice(2);
    Control<QPushButton>(f, "ButtonMapaPlaskosciStart")->click();
    EXPECT_EQ(f->MeasurementMode, 3);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 3);
    EXPECT_EQ(panels(), QStringList({QString::fromUtf8("Metoda kątowa"), QString::fromUtf8("Długość podstawki: 100 mm"),
                                     QString::fromUtf8("Liczba punktów: 7"), "", StatisticsMethodNames[0]}));
    EXPECT_EQ(Control<QLabel>(f, "LabelJedProsto")->text(), "sek");

    // The velocity page has no summary: its page carries no status bar.
    Control<QPushButton>(f, "BitBtnpredkosc")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 4);
    EXPECT_TRUE(f->NotebookMainForm->currentWidget()->findChildren<QStatusBar*>().isEmpty());
}

TEST_F(ParameterSummaryWindow, ChangedOptionsShowAtOnce) {
    startWindow();
    f->PositioningMethod = 1;
    f->CycleCount = 4;
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    EXPECT_EQ(panels()[2], QString::fromUtf8("Liczba pomiarów punktu: 4"));
    EXPECT_EQ(panels()[3], "Pielgrzym");

    const bool manual = f->MenuCommand("ReczneZaliczeniePunktu")->isChecked();
    trigger("ReczneZaliczeniePunktu");
    EXPECT_EQ(panels()[0], manual ? QString("Zaliczanie automatyczne") : QString::fromUtf8("Ręczne zaliczenie punktu"));
    const bool stop = f->MenuCommand("StopPoKazdymCyklu1")->isChecked();
    trigger("StopPoKazdymCyklu1");
    EXPECT_EQ(panels()[4], stop ? QString() : QString::fromUtf8("Stop po każdym cyklu"));
    f->MenuCommand("PunktyZListy")->setChecked(true);
    trigger("Puntyautomatycznie1");
    EXPECT_EQ(panels()[1], "Punkty automatycznie");

    // In the angular mode the refresh is the angular page's own: StatusBar1 keeps its texts.
    const QStringList before = panels();
    auto* angularPanel = Control<QStatusBar>(f, "StatusBar2")->findChild<QLabel*>("StatusBar2Panel2");
    angularPanel->clear();
    f->MeasurementMode = 4;
    f->TypeCalls().RefreshParameterSummary();
    EXPECT_FALSE(angularPanel->text().isEmpty());
    EXPECT_EQ(panels(), before);
}

TEST_F(ParameterSummaryWindow, ZeroLineMarksZeroOnlyInsideTheValueRange) {
    startWindow();
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    platform::TChart& chart = *Control<platform::TChart>(f, "wykres");
    ASSERT_EQ(chart.SeriesByName("LiniaZera"), f->LiniaZera);
    auto* data = chart.AddNewSeries<platform::TLineSeries>("Probe");
    data->AddXY(0, -2);
    data->AddXY(100, 3);
    chart.RenderImage(QSize(400, 300));
    ASSERT_EQ(f->LiniaZera->Count(), 2);
    EXPECT_EQ(f->LiniaZera->XValue(0), chart.BottomAxis().Minimum());
    EXPECT_EQ(f->LiniaZera->XValue(1), chart.BottomAxis().Maximum());
    EXPECT_EQ(f->LiniaZera->YValue(0), 0.0);
    EXPECT_EQ(f->LiniaZera->YValue(1), 0.0);

    // Data that no longer reach below zero: the line goes and does not hold the axis at 0.
    data->Clear();
    data->AddXY(0, 1);
    data->AddXY(50, 5);
    chart.RenderImage(QSize(400, 300));
    EXPECT_EQ(f->LiniaZera->Count(), 0);
    EXPECT_GT(chart.LeftAxis().Minimum(), 0.0);
    EXPECT_EQ(chart.BottomAxis().Maximum(), 50.0);

    // A fixed axis from 0 to 5 µm has no zero line; from -2 to 3 µm it has.
    chart.LeftAxis().SetMinMax(0, 5);
    chart.RenderImage(QSize(400, 300));
    EXPECT_EQ(f->LiniaZera->Count(), 0);
    chart.LeftAxis().SetMinMax(-2, 3);
    chart.RenderImage(QSize(400, 300));
    EXPECT_EQ(f->LiniaZera->Count(), 2);
}

TEST_F(ParameterSummaryWindow, AllCyclesShowsTheEarlierCyclesExactlyWhileChecked) {
    startWindow();
    f->MenuCommand("WszyskieCykle1")->setChecked(true);
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    platform::TChartSeries* forward = Control<platform::TChart>(f, "wykres")->SeriesByName("PoprzednieWPrzod");
    platform::TChartSeries* backward = Control<platform::TChart>(f, "wykres")->SeriesByName("PoprzednieWTyl");
    ASSERT_TRUE(forward && backward);
    EXPECT_TRUE(forward->Active() && backward->Active());
    trigger("WszyskieCykle1");
    EXPECT_FALSE(f->MenuCommand("WszyskieCykle1")->isChecked());
    EXPECT_FALSE(f->AllCycles);
    EXPECT_FALSE(forward->Active() || backward->Active());
    // Entering the page again keeps the choice.
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    EXPECT_FALSE(forward->Active() || backward->Active());
    trigger("WszyskieCykle1");
    EXPECT_TRUE(f->AllCycles);
    EXPECT_TRUE(forward->Active() && backward->Active());
}

TEST_F(ParameterSummaryWindow, NextAxisTakesTheChosenLineAndCancelKeepsTheCurrentOne) {
    startWindow();
    f->FlatnessMethod = 0;
    Control<QPushButton>(f, "BitBtnMapaPlaskosci")->click();
    answerAxisChoice(2);
    Control<QPushButton>(f, "ButtonMapaPlaskosciStart")->click();
    StraightnessRun& run = f->StraightnessControl();
    ASSERT_EQ(run.FlatnessLine, 2);
    const QString title = Msg("stMapaOs") + " 2";
    ASSERT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(f, "wykres")), title);
    auto* probe = Control<platform::TChart>(f, "wykres")->AddNewSeries<platform::TLineSeries>("Probe");
    probe->AddXY(0, 1);

    // Cancelled: the line, its title and the chart stay.
    cancelAxisChoice();
    trigger("NastepnaOs1");
    EXPECT_EQ(run.FlatnessLine, 2);
    EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(f, "wykres")), title);
    EXPECT_EQ(probe->Count(), 1);

    // While a line is measured its points stay its own.
    answerAxisChoice(5);
    MeasurementRunning = true;
    trigger("NastepnaOs1");
    MeasurementRunning = false;
    EXPECT_EQ(run.FlatnessLine, 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, Msg("stTrwaPomiar"));

    // Chosen: the new line on an empty chart; the page, the mode and the reading stay.
    f->MenuCommand("File01")->setVisible(true);
    trigger("NastepnaOs1");
    EXPECT_EQ(run.FlatnessLine, 5);
    EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(f, "wykres")), Msg("stMapaOs") + " 5");
    EXPECT_EQ(probe->Count(), 0);
    EXPECT_EQ(f->MeasurementMode, 3);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 3);
    EXPECT_FALSE(f->MenuCommand("File01")->isVisible());

    // The grid layout names its lines H and V.
    f->FlatnessMethod = 1;
    f->FlatnessHLines = 3;
    f->FlatnessVLines = 4;
    answerAxisChoice(5);
    trigger("NastepnaOs1");
    EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(f, "wykres")), Msg("stMapaOs") + " V2");
}

TEST_F(ParameterSummaryWindow, NewMapAsksToSaveAndClearsTheMap) {
    startWindow();
    Control<QPushButton>(f, "BitBtnMapaPlaskosci")->click();
    ASSERT_NE(Control<QPushButton>(f, "NowaMapa"), nullptr);
    EXPECT_FALSE(Control<QPushButton>(f, "NowaMapa")->isEnabled());
    auto fill = [&] {
        TPunkt& line = (*f->FlatnessLines)[0].Punkt;
        line.Clear();
        for (double d : {0.0, 50.0, 100.0}) {
            auto& p = line.Add();
            p.Dystans = d;
            p.Xa = d / 50.0;
        }
        f->Flatness().UpdateLineMask();
        f->Flatness().BuildFlatnessMap();
        Control<QPushButton>(f, "NowaMapa")->setEnabled(true);
        FlatnessDataSaved = false;
    };
    fill();
    // Cancel, and Yes with the save dialog cancelled, keep the map.
    for (int a : {int(mrCancel), int(mrYes)}) {
        answer = a;
        messages.clear();
        Control<QPushButton>(f, "NowaMapa")->click();
        EXPECT_EQ(messages.size(), 1u) << a;
        EXPECT_EQ((*f->FlatnessLines)[0].Punkt.Count(), 3) << a;
        EXPECT_EQ(f->StraightnessControl().FlatnessLinesDone, 0x1) << a;
        EXPECT_TRUE(Control<QPushButton>(f, "NowaMapa")->isEnabled()) << a;
        EXPECT_FALSE(FlatnessDataSaved) << a;
    }
    // No: the map is dropped.
    answer = mrNo;
    Control<QPushButton>(f, "NowaMapa")->click();
    EXPECT_EQ((*f->FlatnessLines)[0].Punkt.Count(), 0);
    EXPECT_EQ(f->FlatnessLines->Count(), 16);
    EXPECT_EQ(f->StraightnessControl().FlatnessLinesDone, 0);
    EXPECT_EQ(f->Flatness().FlatnessSeries()[0]->Count(), 0);
    EXPECT_TRUE(FlatnessDataSaved);
    EXPECT_FALSE(Control<QPushButton>(f, "NowaMapa")->isEnabled());

    // A saved map is dropped without a question; Yes with a file saves it first.
    fill();
    const QString file = dir.filePath("mapa.dt5");
    setFileDialogHook([file](const FileDialogSettings&, bool) { return std::optional<QString>(file); });
    answer = mrYes;
    messages.clear();
    Control<QPushButton>(f, "NowaMapa")->click();
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ((*f->FlatnessLines)[0].Punkt.Count(), 0);
    EXPECT_FALSE(Control<QPushButton>(f, "NowaMapa")->isEnabled());
}

TEST_F(ParameterSummaryWindow, StartPointEditsStoreMillimetres) {
    startWindow();
    struct Edit {
        TRealSpinEdit* edit;
        double* stored;
        QLabel* unit;
        int page;
    };
    const std::vector<Edit> edits = {{f->PunktStartowy, &StartPoint, f->Label68, 3},
                                     {f->PunktStartowyWysw, &StartPointDisp, f->Label89, 2}};
    // The angular start point is an angle: degrees as typed and shown, in either length unit.
    ASSERT_TRUE(f->NotebookMainForm->widget(5)->isAncestorOf(f->PunktStartowyPK));
    for (int unit : {0, 1}) {
        LengthUnit = unit;
        f->PunktStartowyPK->setText("12,5");
        EXPECT_DOUBLE_EQ(StartPointPK, 12.5) << unit;
        StartPointPK = 30.0;
        f->ShowStartPoint(f->PunktStartowyPK);
        EXPECT_EQ(f->PunktStartowyPK->text(), "30,000") << unit;
        EXPECT_EQ(f->Label88->text(), "[deg]") << unit;
    }
    for (const Edit& e : edits) {
        ASSERT_NE(e.edit, nullptr);
        SCOPED_TRACE(e.edit->objectName().toStdString());
        EXPECT_EQ(f->findChild<TRealSpinEdit*>(e.edit->objectName()), e.edit);
        EXPECT_TRUE(f->NotebookMainForm->widget(e.page)->isAncestorOf(e.edit));
        // Millimetres as typed.
        LengthUnit = 0;
        e.edit->setText("12,5");
        EXPECT_DOUBLE_EQ(*e.stored, 12.5);
        // Inches: 1 in is stored as 25.4 mm; the page shows the stored value in inches.
        LengthUnit = 1;
        e.edit->setText("1");
        EXPECT_DOUBLE_EQ(*e.stored, 25.4);
        *e.stored = 50.8;
        f->ShowStartPoint(e.edit);
        EXPECT_EQ(e.edit->text(), "2,0000");
        EXPECT_EQ(e.unit->text(), "[in]");
        EXPECT_DOUBLE_EQ(*e.stored, 50.8);
        // Leaving the edit shows its value formatted and keeps the stored value exact.
        *e.stored = 10.0;
        f->ShowStartPoint(e.edit);
        e.edit->setText("0,3937");
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(e.edit, &out);
        EXPECT_EQ(e.edit->text(), "0,3937");
        EXPECT_DOUBLE_EQ(*e.stored, 10.0);
        e.edit->setText("2");
        QCoreApplication::sendEvent(e.edit, &out);
        EXPECT_EQ(e.edit->text(), "2,0000");
        EXPECT_DOUBLE_EQ(*e.stored, 50.8);
        // Getting the focus, even by a click, selects the whole text.
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(e.edit, &in);
        QCoreApplication::processEvents();
        EXPECT_EQ(e.edit->selectedText(), e.edit->text());
        LengthUnit = 0;
        f->ShowStartPoint(e.edit);
        EXPECT_EQ(e.edit->text(), "50,800");
        EXPECT_EQ(e.unit->text(), "[mm]");
    }
}

TEST_F(ParameterSummaryWindow, PerpendicularityOpensItsFormOnTheStraightnessFolder) {
    startWindow();
    f->StraightnessDir = dir.filePath("prosto");
    QString seen;
    testsupport::whenModalShown<TFProstopa>([&](TFProstopa& p) {
        seen = p.StraightnessDir;
        p.reject();
    });
    trigger("Prostopadlosc");
    EXPECT_EQ(seen, dir.filePath("prosto"));
}

// The positioning page as the inspector sees it before a run, with a measured cycle on the chart
// (VKM30_SCREENSHOTS names a folder for the picture).
TEST_F(ParameterSummaryWindow, PositioningPageShowsItsSummary) {
    startWindow();
    f->MenuCommand("PunktyZListy")->setChecked(true);
    *f->TargetPoints = targets({0, 100, 200, 300, 400, 500});
    f->CycleCount = 3;
    f->UniDirectional = false;
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    TCykl& cycles = *f->PositioningCycles;
    for (int c = 0; c < 2; ++c) {
        TPunkt& p = cycles.Add().Punkt;
        int k = 0;
        for (double d : {0.0, 100.0, 200.0, 300.0, 400.0, 500.0}) {
            auto& it = p.Add();
            it.Dystans = d;
            it.Xa = (k % 2 ? 1.5 : -1.0) + c * 0.4;
            it.Xr = (k % 3 ? -2.0 : 0.8) - c * 0.3;
            ++k;
        }
    }
    f->Points().ShowPositioningCycle(2);
    f->resize(1024, 768);
    f->show();
    QCoreApplication::processEvents();
    const QImage shot = f->NotebookMainForm->currentWidget()->grab().toImage();
    for (int i = 0; i < 5; ++i) {
        QLabel* panel = Control<QStatusBar>(f, "StatusBar1")->findChild<QLabel*>("StatusBar1Panel" + QString::number(i));
        EXPECT_TRUE(panel->isVisible()) << i;
        EXPECT_GT(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text()) - 1) << i << " is cut";
    }
    EXPECT_EQ(f->LiniaZera->Count(), 2) << "the cycle runs across zero";
    const QString folder = qEnvironmentVariable("VKM30_SCREENSHOTS");
    if (!folder.isEmpty()) shot.save(QDir(folder).filePath("positioning_summary.png"));
}
