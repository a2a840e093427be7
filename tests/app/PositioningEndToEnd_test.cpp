// A positioning run end to end on the real window: the simulated head on a pseudo-terminal
// stands at each target in turn, the points are accepted automatically, the run ends on its end
// page, the results of ISO 230-2 are listed, and the run saved as ".dt2" through the window's
// save command opens again with the same results.
#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <cmath>

#include "HeadWindowFixture.h"
#include "app/PunktyPoz.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PositioningStats.h"
#include "evaluation/ResultsByStandard.h"
#include "foundations/Display.h"
#include "foundations/HeadList.h"
#include "foundations/ProgramMessages.h"
#include "instrument/PointAcceptance.h"
#include "foundations/NumberFormat.h"
#include "reports/Protokol.h"
#include "reports/prev1_32.h"

namespace {

using testsupport::FrameSpec;

constexpr int kTargets = 6;  // the results need more than five points per cycle
constexpr int kCycles = 2;

class PositioningEndToEndTest : public HeadWindowTest {
protected:
    void SetUp() override {
        HeadWindowTest::SetUp();
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            // The header is left as it is when saving; other questions are confirmed.
            if (r.text == Msg("stZmianaInfo")) return int(mrNo);
            return int(r.type == TMsgDlgType::mtConfirmation ? mrYes : mrOk);
        });
        setFileDialogHook([this](const FileDialogSettings&, bool save) -> std::optional<QString> {
            return save ? saveAnswer : openAnswer;
        });
    }
    void TearDown() override {
        setFileDialogHook({});
        HeadWindowTest::TearDown();
    }
    static double mmPerCount() { return 0.25 * kDefaultLaserWavelength * 1000.0; }
    static int32_t countOf(double mm) { return int32_t(std::lround(mm / mmPerCount())); }
    // What the window reads, in µm beside the target, where the head stands at target + dev µm.
    static double readDeviation(double target, double devUm) {
        return (countOf(target + devUm / 1000.0) * mmPerCount() - target) * 1000.0;
    }
    static double target(int k) { return 10.0 * k; }
    // The axis's errors: growing along the axis, a little more in the second cycle, about 2 µm
    // of reversal.
    static double forwardError(int c, int k) { return 0.5 * k + 0.8 * c; }
    static double backwardError(int c, int k) { return forwardError(c, k) - 2.0 + 0.3 * (k % 2); }

    std::optional<QString> saveAnswer, openAnswer;
};

TEST_F(PositioningEndToEndTest, LinearRunResultsSavedAndOpenedAgain) {
    startWithHead();
    TMainForm* f = form();

    const QString data = dir.filePath("poz");
    ASSERT_TRUE(QDir().mkpath(data));
    f->PositioningDir = data;
    f->PositioningMethod = 0;
    f->Numerpunktu1->setChecked(false);
    LengthUnit = 0;
    // The head stands ready at -5 mm; entering the page starts its reading (at once, or through
    // the signal monitor once the head's status has been seen).
    head.startStreaming(FrameSpec::ready(countOf(-5.0)), std::chrono::milliseconds(10));
    Control<QPushButton>(f, "BitBtnpozycjonowanie")->click();
    ASSERT_EQ(f->MeasurementMode, 0);
    ASSERT_EQ(f->NotebookMainForm->currentIndex(), 3);
    Control<QToolButton>(f, "SpeedButtonZnak")->setText("-");  // readings keep their sign
    StartPoint = 0.0;
    f->PointsFromList = true;
    f->MenuCommand("PunktyZListy")->setChecked(true);
    f->TargetPoints->Clear();
    for (int k = 0; k < kTargets; ++k) f->TargetPoints->Add().Dystans = target(k);
    f->CycleCount = kCycles;
    f->PointNumber = 3;
    f->ErrorWindow = 20;
    f->Vibration = 2;
    f->PointDistance = 1000;
    Control<QComboBox>(f, "ComboBoxNorma")->setCurrentIndex(1);  // ISO 230-2

    // The head is ready: the page's reading starts (as the signal monitor starts it).
    ASSERT_TRUE(pumpUntil([&] {
        return Control<QPushButton>(f, "ButtonPozStart")->isEnabled() && std::abs(Control<TDisplay>(f, "DispWarMierzona")->Value() + 5.0) < 1e-3;
    }));
    Control<QPushButton>(f, "ButtonPozStart")->click();
    ASSERT_TRUE(MeasurementRunning.load());
    // The chart's x-axis choice ("Oś X" with "Numer punktu" and "Dystans") is off during the run.
    ASSERT_NE(f->MenuOsX, nullptr);
    EXPECT_TRUE(f->PopupMenuWykres->actions().contains(f->MenuOsX));
    EXPECT_TRUE(f->MenuOsX->menu()->actions().contains(f->Numerpunktu1));
    EXPECT_TRUE(f->MenuOsX->menu()->actions().contains(f->Dystans1));
    EXPECT_FALSE(f->MenuOsX->isEnabled());
    const instrument::AcceptanceState& st = f->Acceptance().state;

    auto standAt = [&](double mm, const std::function<bool()>& accepted) {
        head.setStreamCount(countOf(mm));
        return pumpUntil(accepted);
    };
    for (int c = 0; c < kCycles; ++c) {
        SCOPED_TRACE(c);
        ASSERT_EQ(st.currentCycle, c + 1);
        for (int k = 0; k < kTargets; ++k) {
            const double at = target(k) + forwardError(c, k) / 1000.0;
            if (k < kTargets - 1)
                ASSERT_TRUE(standAt(at, [&] { return st.pointIndex == k + 1; })) << k;
            else
                ASSERT_TRUE(standAt(at, [&] { return !st.forwardPass; }));
        }
        // Past the last target, then back over every target.
        head.setStreamCount(countOf(target(kTargets - 1) + 5.0));
        ASSERT_TRUE(pumpUntil([&] { return st.lastAcceptedValue > target(kTargets - 1) + 4.0; }));
        for (int k = kTargets - 1; k >= 0; --k) {
            const double at = target(k) + backwardError(c, k) / 1000.0;
            if (k > 0)
                ASSERT_TRUE(standAt(at, [&] { return st.pointIndex == k - 1; })) << k;
            else
                ASSERT_TRUE(standAt(at, [&] { return !MeasurementRunning.load(); }));
        }
        ASSERT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 3);  // the end page
        if (c + 1 < kCycles) {
            ASSERT_TRUE(Control<QPushButton>(f, "ZakonczeniePozNastepny")->isEnabled());
            // The axis goes back before the start point, then the next cycle starts.
            head.setStreamCount(countOf(-5.0));
            ASSERT_TRUE(pumpUntil([&] { return std::abs(Control<TDisplay>(f, "DispWarMierzona")->Value() + 5.0) < 1e-3; }));
            Control<QPushButton>(f, "ZakonczeniePozNastepny")->click();
            ASSERT_TRUE(MeasurementRunning.load());
        }
    }
    EXPECT_FALSE(MeasurementRunning.load());
    EXPECT_TRUE(f->MenuOsX->isEnabled());

    // The run holds what the head read at each target.
    TCykl expected;
    for (int c = 0; c < kCycles; ++c) {
        TPunkt& p = expected.Add().Punkt;
        for (int k = 0; k < kTargets; ++k) {
            TPunktItem& it = p.Add();
            it.Dystans = target(k);
            it.Xa = readDeviation(target(k), forwardError(c, k));
            it.Xr = readDeviation(target(k), backwardError(c, k));
        }
    }
    const TCykl& run = *f->PositioningCycles;
    ASSERT_EQ(run.Count(), kCycles);
    for (int c = 0; c < kCycles; ++c) {
        ASSERT_EQ(run[c].Punkt.Count(), kTargets);
        for (int k = 0; k < kTargets; ++k) {
            EXPECT_NEAR(run[c].Punkt[k].Xa, expected[c].Punkt[k].Xa, 1e-6) << c << ' ' << k;
            EXPECT_NEAR(run[c].Punkt[k].Xr, expected[c].Punkt[k].Xr, 1e-6) << c << ' ' << k;
        }
    }

    // The results of ISO 230-2 for that run.
    ASSERT_TRUE(Control<QPushButton>(f, "ZakonczeniePozRaport")->isEnabled());
    Control<QPushButton>(f, "ZakonczeniePozRaport")->click();
    ASSERT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 2);
    TPunkt means, sigmas;
    evaluation::ComputePointMeans(expected, means);
    evaluation::ComputePointSigmas(expected, sigmas);
    const auto iso = evaluation::FillPositioningResults(1, expected, means, sigmas, std::nullopt);
    ASSERT_TRUE(iso);
    QStringList isoRows;
    for (const auto& r : iso->rows) isoRows << r.text;
    const QStringList shown = Control<THeaderListbox>(f, "ListboxWyniki")->Items();
    EXPECT_EQ(shown, isoRows);
    ASSERT_EQ(shown.size(), 13);
    // By hand: the mean reversal is 2 µm less the 0.3 µm of every second point, 1.85 µm, give
    // or take the head's resolution.
    EXPECT_TRUE(shown[11].startsWith(QString::fromUtf8("średni B * -- * "))) << shown[11].toStdString();
    EXPECT_NEAR(evaluation::ComputeReversal(means).mean, 1.85, 0.16);
    if (!qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS")) {
        f->resize(1280, 800);
        f->show();
        QCoreApplication::processEvents();
        f->grab().save(QDir(qEnvironmentVariable("VKM30_SCREENSHOTS")).filePath("results_after_run.png"));
    }

    // "Podgląd wydruku" on the results page previews the protocol; printed to a PDF file it holds
    // the header, the results of the chosen standard and the conditions.
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (!pdftotext.isEmpty()) {
        f->MeasurementHeader().MachineType = QStringLiteral("FV-580 Łódź");
        f->MeasurementHeader().Axis = QStringLiteral("X");
        f->MeasurementHeader().Pressure = QStringLiteral("--");
        f->MeasurementHeader().AirTemperature = QStringLiteral("21,5 \u00b0C");
        f->MenuCommand("Podgladwydruku1")->trigger();
        reports::TfrmPreview* preview = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<reports::TfrmPreview*>(w); p && p->isVisible()) preview = p;
        ASSERT_TRUE(preview);
        EXPECT_EQ(preview->Pages().title, QString::fromUtf8("PROTOKÓŁ POMIARU"));
        const QString pdf = dir.filePath("protokol.pdf");
        preview->Printer().setOutputFileName(pdf);
        preview->findChild<QToolButton*>("Print")->click();
        if (!qEnvironmentVariableIsEmpty("VKM30_SCREENSHOTS")) {
            preview->resize(1100, 900);
            QCoreApplication::processEvents();
            const QDir shots(qEnvironmentVariable("VKM30_SCREENSHOTS"));
            preview->grab().save(shots.filePath("protocol_preview.png"));
            QFile::copy(pdf, shots.filePath("protocol.pdf"));
        }
        preview->close();
        QProcess text;
        text.start(pdftotext, {"-layout", pdf, "-"});
        ASSERT_TRUE(text.waitForFinished(30000));
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& t : {QString::fromUtf8("PROTOKÓŁ POMIARU"), QString::fromUtf8("FV-580 Łódź"),
                                 QStringLiteral("ISO 230-2"), QString::fromUtf8("WARUNKI POMIARU"),
                                 QStringLiteral("1013") + foundations::systemDecimalSeparator() + "1",
                                 QStringLiteral("21") + foundations::systemDecimalSeparator() + "5",
                                 QStringLiteral("POSITIONING ACCURACY OF MACHINE TOOL"), QStringLiteral("Bi-dir")})
            EXPECT_TRUE(printed.contains(t)) << t.toStdString() << "\n" << printed.toStdString();
        // Every results line of the standard: its name and its value.
        QStringList names, values;
        reports::SplitResultLines(names, values, shown);
        for (int i = 0; i < names.size(); ++i) {
            EXPECT_TRUE(printed.contains(names[i].trimmed())) << names[i].toStdString();
            EXPECT_TRUE(printed.contains(values[i].trimmed())) << values[i].toStdString();
        }

        // In inches and °F: every temperature of the conditions in °F with the system's
        // separator, the positions in inches, and the sheets counted through the printout.
        const QChar sep = foundations::systemDecimalSeparator();
        f->TemperatureUnit = 1;
        LengthUnit = 1;
        f->MenuCommand("Podgladwydruku1")->trigger();
        preview = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<reports::TfrmPreview*>(w); p && p->isVisible()) preview = p;
        ASSERT_TRUE(preview);
        const QString pdfF = dir.filePath("protokol_f.pdf");
        preview->Printer().setOutputFileName(pdfF);
        preview->findChild<QToolButton*>("Print")->click();
        preview->close();
        f->TemperatureUnit = 0;
        LengthUnit = 0;
        QProcess textF;
        textF.start(pdftotext, {"-layout", pdfF, "-"});
        ASSERT_TRUE(textF.waitForFinished(30000));
        const QString printedF = QString::fromUtf8(textF.readAllStandardOutput());
        static const QRegularExpression spaces(QStringLiteral("\\s+"));
        const QString flat = QString(printedF).replace(spaces, QStringLiteral(" "));
        EXPECT_TRUE(flat.contains(QStringLiteral("odniesienia : 68") + sep + QStringLiteral("0 \u00b0F"))) << flat.toStdString();
        EXPECT_TRUE(flat.contains(QStringLiteral("70") + sep + QStringLiteral("70 \u00b0F"))) << flat.toStdString();  // 21.5 °C
        EXPECT_FALSE(flat.contains(QStringLiteral("\u00b0C"))) << flat.toStdString();
        EXPECT_TRUE(flat.contains(QStringLiteral("in inch")));
        const QStringList pages = printedF.split(u'\f', Qt::SkipEmptyParts);
        ASSERT_GE(pages.size(), 3);
        for (int page = 1; page < 3; ++page) {
            const QString onPage = QString(pages[page]).replace(spaces, QStringLiteral(" "));
            EXPECT_TRUE(onPage.contains(QStringLiteral("Sheet: %1 of %2").arg(page + 1).arg(pages.size())))
                << page << ": " << onPage.toStdString();
        }
    }

    // Saved through the save command, then opened again into an emptied window.
    const QString file = QDir(data).filePath("run.dt2");
    saveAnswer = file;
    f->MenuCommand("Zapisz1")->trigger();
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(DataSaved);
    f->PositioningCycles->Clear();
    Control<THeaderListbox>(f, "ListboxWyniki")->ClearItems();
    openAnswer = file;
    f->MenuCommand("Otworz1")->trigger();
    ASSERT_EQ(f->PositioningCycles->Count(), kCycles);
    EXPECT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 1);  // the review page
    Control<QPushButton>(f, "ButtonPozRaport")->click();
    ASSERT_EQ(Control<QStackedWidget>(f, "NotebookButton")->currentIndex(), 2);
    EXPECT_EQ(Control<QComboBox>(f, "ComboBoxNorma")->currentIndex(), 1);
    EXPECT_EQ(Control<THeaderListbox>(f, "ListboxWyniki")->Items(), isoRows);
}

}  // namespace
