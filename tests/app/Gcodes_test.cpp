// The measuring program: exact blocks per pattern, the limits, and a simulated machine running
// the program against the real point acceptance, which must take every target in its order.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "app/Form_Gcodes.h"
#include "app/Gcodes.h"
#include "app/PunktyPoz.h"
#include "foundations/MessageDlg.h"
#include "foundations/ProgramMessages.h"
#include "instrument/PointAcceptance.h"
#include "support/AcceptanceSinkDouble.h"

namespace {

GcodeRouteInputs inputs(int method, int axis, int step, int points, int cycles, int bx = 0, int by = 0, int bz = 0) {
    GcodeRouteInputs in;
    in.Method = method;
    in.Axis = axis;
    in.Step = step;
    in.PointCount = points;
    in.CycleCount = cycles;
    in.BaseX = bx;
    in.BaseY = by;
    in.BaseZ = bz;
    return in;
}

// ---------------------------------------------------------------------------------------------
// A machine running the program: moves at the program's feed (100 units a minute), dwells in
// seconds, sampled 25 times a second as the head reports, ringing briefly after each stop. Returns the axis position per sample
// from the first 5 s dwell at the base on (where the run is started on the PC), and the
// position where the program ends.
struct Trajectory {
    std::vector<double> samples;
    std::vector<bool> fromBelow;  // per sample: the last move went up
    double end = 0.0;
};

Trajectory runMachine(const QStringList& lines, QChar axis, double base) {
    const double perSample = 100.0 / 60.0 / 25.0;
    Trajectory t;
    double pos = base;
    bool started = false, up = true;
    auto sample = [&](double p) {
        if (!started) return;
        t.samples.push_back(p);
        t.fromBelow.push_back(up);
    };
    const QString movePrefix = QStringLiteral("G91") + axis;
    for (const QString& l : lines) {
        if (l.startsWith(movePrefix)) {
            const double by = l.mid(4, l.size() - 5).toInt();
            const int steps = int(std::ceil(std::fabs(by) / perSample));
            const double from = pos;
            for (int k = 1; k <= steps; ++k) {
                pos = from + by * k / steps;
                sample(pos);
            }
            if (by != 0) up = by > 0;
            pos = from + by;
        } else if (l.startsWith(QStringLiteral("G04U"))) {
            const int seconds = l.mid(4, l.size() - 5).toInt();
            if (seconds == 5) started = true;
            // The axis rings for 0.2 s after it stops, beyond the vibration band.
            for (int k = 0; k < seconds * 25; ++k)
                sample(pos + (k < 5 ? (k % 2 ? -0.015 : 0.015) : 0.0));
        }
    }
    t.end = pos;
    return t;
}

// The main window's side of a run, as far as acceptance reaches it: accepted points, the end of
// a linear cycle (the run stops, and a next cycle starts it again) and the end of a pilgrim run.
struct Taken {
    int point, cycle;
    bool forward;
    double v;
    bool fromBelow = false;  // how the machine came to the point
};

struct RunSink : testsupport::AcceptanceSinkDouble {
    instrument::PointAcceptance* engine = nullptr;
    bool running = true, fromBelow = true;
    int cycles = 1, backups = 0, finished = 0, signFlips = 0;
    void SpeedButtonZnakClick() override { ++signFlips; }
    std::vector<Taken> taken;
    void StorePositioningPoint(int i, int c, double v, bool f) override { taken.push_back({i, c, f, v, fromBelow}); }
    void FillPositioningGrid(int i, int c, double v, bool f) override { taken.push_back({i, c, f, v, fromBelow}); }
    int PositioningCycleCount() override { return cycles; }
    void SaveBackupCopy() override {
        ++backups;
        running = false;
    }
    void StartPositioningCycle() override {
        ++cycles;
        engine->state.currentCycle = cycles;
        engine->ResetForCycle(false);
        running = true;
    }
    void FinishPositioningMeasurement() override {
        ++finished;
        running = false;
    }
};

// The order of approaches each pattern's acceptance takes: linear forward over all points and
// back in every cycle; pilgrim from below and above in turn, C times per point; pilgrim 2 C
// times from below, then C times from above.
std::vector<Taken> expectedOrder(int method, int points, int cycles, double base, int step) {
    std::vector<Taken> e;
    auto at = [&](int i, int c, bool f) { e.push_back({i, c, f, base + i * step}); };
    if (method == 0) {
        for (int c = 1; c <= cycles; ++c) {
            for (int i = 0; i < points; ++i) at(i, c, true);
            for (int i = points - 1; i >= 0; --i) at(i, c, false);
        }
    } else {
        for (int i = 0; i < points; ++i) {
            if (method == 1) {
                for (int c = 1; c <= cycles; ++c) {
                    at(i, c, true);
                    at(i, c, false);
                }
            } else {
                for (int c = 1; c <= cycles; ++c) at(i, c, true);
                for (int c = 1; c <= cycles; ++c) at(i, c, false);
            }
        }
    }
    return e;
}

}  // namespace

// Worked by hand: the opening goes to the base, takes out backlash from below (2 down, dwell 1,
// 2 up) and dwells 5 s on the first point. Linear: each cycle steps up through the points
// (2 steps for 3 points), goes 2 past the far end and back, steps down to the base, and goes
// 2 below and back, dwelling 5 s: the run closes the cycle there and takes the next cycle's
// first point. Pilgrim: per point 2 up and back (from above), then per further cycle from below
// (2 down, 2 up) and from above; the step to the next point is its approach from below.
// Pilgrim 2: per point C - 1 approaches from below, then C from above.
TEST(Gcodes, ExactProgramPerPattern) {
    const QStringList linearCycle{"G91X3;", "G04U2;", "G91X3;", "G04U2;",       // up to 6
                                  "G91X2;", "G04U1;", "G91X-2;", "G04U2;",      // 8, back to 6
                                  "G91X-3;", "G04U2;", "G91X-3;", "G04U2;",     // down to 0
                                  "G91X-2;", "G04U1;", "G91X2;", "G04U5;"};     // -2, back to 0
    QStringList linear{"G90X0Y0Z0;", "G94F100;", "G91X-2;", "G04U1;", "G91X2;", "G04U5;"};
    linear << linearCycle << linearCycle;

    // Base Y = -5, step 5: points -5, 0, 5.
    const QStringList pilgrimPoint{"G91Y2;", "G91Y-2;", "G04U2;",                // from above, cycle 1
                                   "G91Y-2;", "G91Y2;", "G04U2;",                // from below, cycle 2
                                   "G91Y2;", "G91Y-2;", "G04U2;"};               // from above, cycle 2
    QStringList pilgrim{"G90X10Y-5Z7;", "G94F100;", "G91Y-2;", "G04U1;", "G91Y2;", "G04U5;"};
    pilgrim << pilgrimPoint << "G91Y5;" << "G04U2;" << pilgrimPoint << "G91Y5;" << "G04U2;" << pilgrimPoint;

    const QStringList pilgrim2Point{"G91Z-2;", "G91Z2;", "G04U2;",               // from below, cycle 2
                                    "G91Z2;", "G91Z-2;", "G04U2;",               // from above, cycle 1
                                    "G91Z2;", "G91Z-2;", "G04U2;"};              // from above, cycle 2
    QStringList pilgrim2{"G90X0Y0Z-100;", "G94F100;", "G91Z-2;", "G04U1;", "G91Z2;", "G04U5;"};
    pilgrim2 << pilgrim2Point << "G91Z1000;" << "G04U2;" << pilgrim2Point << "G91Z1000;" << "G04U2;" << pilgrim2Point;

    EXPECT_EQ(GcodeRouteLines(inputs(0, 0, 3, 3, 2)), linear);
    EXPECT_EQ(GcodeRouteLines(inputs(1, 1, 5, 3, 2, 10, -5, 7)), pilgrim);
    EXPECT_EQ(GcodeRouteLines(inputs(2, 2, 1000, 3, 2, 0, 0, -100)), pilgrim2);

    // One cycle: pilgrim has only the from-above group per point, pilgrim 2 likewise.
    EXPECT_EQ(GcodeRouteLines(inputs(1, 0, 3, 3, 1)),
              QStringList({"G90X0Y0Z0;", "G94F100;", "G91X-2;", "G04U1;", "G91X2;", "G04U5;",
                           "G91X2;", "G91X-2;", "G04U2;",
                           "G91X3;", "G04U2;", "G91X2;", "G91X-2;", "G04U2;",
                           "G91X3;", "G04U2;", "G91X2;", "G91X-2;", "G04U2;"}));
    EXPECT_EQ(GcodeRouteLines(inputs(2, 0, 3, 3, 1)), GcodeRouteLines(inputs(1, 0, 3, 3, 1)));
    // An unknown pattern gets only the opening, which leaves the axis at the base.
    EXPECT_EQ(GcodeRouteLines(inputs(3, 0, 3, 3, 1)),
              QStringList({"G90X0Y0Z0;", "G94F100;", "G91X-2;", "G04U1;", "G91X2;"}));
}

TEST(Gcodes, RefusesStepsCountsAndAxesOutOfRange) {
    struct Case {
        GcodeRouteInputs in;
        const char* says;
    } refused[] = {
        {inputs(0, 0, 2, 3, 1), "Krok"},         {inputs(0, 0, 1001, 3, 1), "Krok"},
        {inputs(0, 0, 0, 3, 1), "Krok"},         {inputs(0, 0, -3, 3, 1), "Krok"},
        {inputs(1, 0, 3, 2, 1), "punktów"},      {inputs(1, 0, 3, 256, 1), "punktów"},
        {inputs(2, 0, 3, 3, 0), "cykli"},        {inputs(2, 0, 3, 3, 51), "cykli"},
        {inputs(0, 3, 3, 3, 1), "X, Y lub Z"},   {inputs(0, -1, 3, 3, 1), "X, Y lub Z"},
    };
    for (const Case& c : refused) {
        const QString message = CheckGcodeRoute(c.in);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << message.toStdString();
        EXPECT_TRUE(GcodeRouteLines(c.in).isEmpty());
    }
    for (const GcodeRouteInputs& in : {inputs(0, 0, 3, 3, 1), inputs(0, 2, 1000, 255, 50), inputs(1, 1, 1000, 255, 50),
                                       inputs(2, 0, 3, 255, 50, INT32_MIN, INT32_MAX, 0)}) {
        EXPECT_TRUE(CheckGcodeRoute(in).isEmpty());
        EXPECT_FALSE(GcodeRouteLines(in).isEmpty());
    }
    EXPECT_EQ(GcodeRouteLines(inputs(2, 0, 3, 3, 1, INT32_MIN, INT32_MAX, 0)).first(),
              "G90X-2147483648Y2147483647Z0;");
}

// The program run on a simulated machine, its samples offered to the real point acceptance with
// the default settings (window 1000 µm, vibration 10 µm, 25 stable samples, distance 10 µm):
// every target is taken at its position in the order of the pattern, the linear run closes
// every cycle (so none is dropped as unfinished), a pilgrim run ends by itself, and the axis
// ends where the run expects it.
TEST(Gcodes, SimulatedMachineMeetsPointAcceptance) {
    struct Case {
        int method, axis, step, points, cycles;
        double base;
    } cases[] = {
        {0, 0, 3, 3, 2, 0},   {1, 1, 3, 3, 2, -5}, {2, 2, 3, 3, 2, 10},
        {0, 0, 7, 5, 3, 100}, {1, 0, 7, 5, 3, 100}, {2, 0, 7, 5, 3, 100},
        {0, 1, 3, 3, 1, 0},   {1, 1, 3, 3, 1, 0},  {2, 1, 3, 3, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << ", " << c.points << " points, " << c.cycles
                                        << " cycles");
        GcodeRouteInputs in = inputs(c.method, c.axis, c.step, c.points, c.cycles);
        (c.axis == 0 ? in.BaseX : c.axis == 1 ? in.BaseY : in.BaseZ) = int(c.base);
        const QChar letter = QChar(u"XYZ"[c.axis]);
        const Trajectory machine = runMachine(GcodeRouteLines(in), letter, c.base);

        TPunkt targets, angularTargets, angularPoints;
        for (int i = 0; i < c.points; ++i) targets.Add().Dystans = c.base + i * c.step;
        std::atomic<bool> head{false};
        RunSink sink;
        instrument::PointAcceptance engine(sink, targets, angularTargets, angularPoints, head);
        sink.engine = &engine;
        engine.settings.errorWindow = 1000;
        engine.settings.vibration = 10;
        engine.settings.pointNumber = 25;
        engine.settings.pointDistance = 10;
        engine.settings.cycleCount = c.cycles;
        engine.settings.pointsFromList = true;
        engine.settings.startPoint = c.base;  // the reading is zeroed at the base
        engine.state.currentCycle = 1;
        engine.ResetForCycle(true);
        for (size_t k = 0; k < machine.samples.size() && sink.running; ++k) {
            sink.fromBelow = machine.fromBelow[k];
            engine.AcceptPositioning(c.method, machine.samples[k] - c.base);
        }

        const std::vector<Taken> expected = expectedOrder(c.method, c.points, c.cycles, c.base, c.step);
        ASSERT_EQ(sink.taken.size(), expected.size());
        for (size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(sink.taken[k].point, expected[k].point) << k;
            EXPECT_EQ(sink.taken[k].cycle, expected[k].cycle) << k;
            EXPECT_EQ(sink.taken[k].forward, expected[k].forward) << k;
            EXPECT_NEAR(sink.taken[k].v, expected[k].v, 1e-9) << k;
            // A forward point is approached from below, a backward one from above.
            EXPECT_EQ(sink.taken[k].fromBelow, expected[k].forward) << k;
        }
        if (c.method == 0) {
            // The reading never goes below the base during a forward pass, which the run would
            // take for a counting sign the wrong way round.
            EXPECT_EQ(sink.signFlips, 0);
            EXPECT_EQ(sink.backups, c.cycles);
            EXPECT_EQ(sink.cycles, c.cycles);
            EXPECT_NEAR(machine.end, c.base, 1e-9);  // back at the start
        } else {
            EXPECT_EQ(sink.finished, 1);
            EXPECT_NEAR(machine.end, c.base + (c.points - 1) * c.step, 1e-9);  // at the last point
        }
    }
}

// ---------------------------------------------------------------------------------------------

class GcodesFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages << r.text;
            return int(mrOk);
        });
        setFileDialogHook([this](const FileDialogSettings& s, bool save) -> std::optional<QString> {
            asked = s;
            askedSave = save;
            return answer;
        });
    }
    void TearDown() override {
        setMessageDlgHook({});
        setFileDialogHook({});
    }
    QTemporaryDir dir;
    QStringList messages;
    FileDialogSettings asked;
    bool askedSave = false;
    std::optional<QString> answer;
};

TEST_F(GcodesFormTest, ControlsAndDefaults) {
    const char* names[] = {"BazaX", "BazaY", "BazaZ", "WyborOsi", "Krok", "IloscPunktow", "IloscCykli", "LabelMetPom",
                           "BitBtn1", "BitBtn2"};
    // The pattern's name in the current language ("Liniowa", "Pielgrzym", "Pielgrzym 2").
    struct {
        int method;
        const char* key;
    } methods[] = {{0, "stLiniowa"}, {1, "stPielgrzym"}, {2, "stPielgrzym2"}, {7, ""}};
    for (const auto& m : methods) {
        TForm_Gcodes f(m.method);
        const QString shows = *m.key ? Msg(m.key) : QString();
        EXPECT_EQ(f.objectName(), "Form_Gcodes");
        EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Generuj trasę"));
        for (const char* n : names) EXPECT_NE(f.findChild<QWidget*>(n), nullptr) << n;
        EXPECT_EQ(f.LabelMetPom->text(), shows);
        EXPECT_TRUE(f.LabelMetPom->font().bold());
        const GcodeRouteInputs in = f.Inputs();
        EXPECT_EQ(in.Method, m.method);
        EXPECT_EQ(f.WyborOsi->currentText(), "X");
        EXPECT_EQ(f.WyborOsi->count(), 3);
        EXPECT_EQ(in.BaseX, 0);
        EXPECT_EQ(in.BaseY, 0);
        EXPECT_EQ(in.BaseZ, 0);
        EXPECT_EQ(in.Step, 3);
        EXPECT_EQ(in.PointCount, 3);
        EXPECT_EQ(in.CycleCount, 1);
    }
    TForm_Gcodes f(0);
    EXPECT_EQ(f.BitBtn2->text(), "Anuluj");
    EXPECT_EQ(f.Krok->minimum(), 3);
    EXPECT_EQ(f.Krok->maximum(), 1000);
    EXPECT_EQ(f.IloscPunktow->minimum(), 3);
    EXPECT_EQ(f.IloscPunktow->maximum(), 255);
    EXPECT_EQ(f.IloscCykli->minimum(), 1);
    EXPECT_EQ(f.IloscCykli->maximum(), 50);
    f.Krok->setValue(5000);  // the edit keeps its range
    EXPECT_EQ(f.Inputs().Step, 1000);
}

TEST_F(GcodesFormTest, OkWritesTheProgramAndCloses) {
    TForm_Gcodes f(1);
    f.BazaX->setValue(-12);
    f.BazaY->setValue(40);
    f.BazaZ->setValue(7);
    f.WyborOsi->setCurrentIndex(1);
    f.Krok->setValue(10);
    f.IloscPunktow->setValue(4);
    f.IloscCykli->setValue(2);
    answer = dir.filePath("trasa");  // no extension typed: ".txt" is added
    f.BitBtn1->click();

    EXPECT_TRUE(askedSave);
    EXPECT_EQ(asked.FileName, "Gcodes.txt");
    EXPECT_EQ(asked.DefaultExt, ".txt");
    EXPECT_EQ(asked.FilterIndex, 1);
    EXPECT_EQ(asked.Filter, "Gcodes (*.txt)|*.txt|" + Msg("stAllFiles") + " (*.*)|*.*");
    EXPECT_EQ(f.result(), int(QDialog::Accepted));
    EXPECT_TRUE(messages.isEmpty());

    QFile file(dir.filePath("trasa.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const QString& l : GcodeRouteLines(f.Inputs())) expected += l.toLatin1() + "\r\n";
    EXPECT_EQ(file.readAll(), expected);
    EXPECT_TRUE(expected.startsWith("G90X-12Y40Z7;\r\nG94F100;\r\nG91Y-2;\r\nG04U1;\r\nG91Y2;\r\nG04U5;\r\n"));
    EXPECT_TRUE(expected.endsWith("G91Y10;\r\nG04U2;\r\nG91Y2;\r\nG91Y-2;\r\nG04U2;\r\nG91Y-2;\r\nG91Y2;\r\nG04U2;\r\n"
                                  "G91Y2;\r\nG91Y-2;\r\nG04U2;\r\n"));
}

TEST_F(GcodesFormTest, CancelAndWriteErrors) {
    {
        // A cancelled file dialog writes nothing and closes the form.
        TForm_Gcodes f(0);
        answer.reset();
        f.BitBtn1->click();
        EXPECT_EQ(f.result(), int(QDialog::Rejected));
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
    {
        // A file that cannot be written (its name is taken by a folder): the message, and the
        // form stays open for another choice.
        ASSERT_TRUE(QDir(dir.path()).mkdir("Gcodes.txt"));
        TForm_Gcodes f(2);
        f.setResult(-1);
        answer = dir.filePath("Gcodes.txt");
        f.BitBtn1->click();
        EXPECT_EQ(messages.size(), 1);
        EXPECT_EQ(f.result(), -1);
        EXPECT_TRUE(QFileInfo(dir.filePath("Gcodes.txt")).isDir());
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);  // no temporary left behind
    }
    {
        // The Anuluj button closes without asking for a file.
        TForm_Gcodes f(0);
        asked = {};
        f.BitBtn2->click();
        EXPECT_EQ(f.result(), int(QDialog::Rejected));
        EXPECT_TRUE(asked.FileName.isEmpty());
    }
}
