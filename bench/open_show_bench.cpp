// What the inspector waits for when opening a positioning run (".dt2") of points x cycles (up
// to the largest run a file may hold, kMaxRunPoints x kMaxRunCycles): the
// main window (offscreen, 1024 x 768, on the positioning page) loads the file, evaluates it,
// fills the chart with the first cycle over all cycles and the characteristics, and paints it.
// The anchor does the same work with nothing of the display: the file's plain load and its
// statistics, and one QPainter::drawPolyline through every reading of the file on an image of
// the chart's size (each cycle's forward readings, then its backward ones).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdlib>

#include "app/PositioningPage.h"
#include "app/ProgramStart.h"
#include "app/Stol.h"
#include "app/Unit_glowny.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PositioningStats.h"
#include "foundations/LocaleTable.h"
#include "foundations/MessageDlg.h"
#include "foundations/SharedGlobals.h"
#include "instrument/SerialFrameParser.h"
#include "platform/AppPaths.h"
#include "platform/Chart.h"

namespace {

TCykl makeRun(int points, int cycles) {
    TCykl run;
    for (int c = 0; c < cycles; ++c) {
        TCyklItem& cyc = run.Add();
        for (int k = 0; k < points; ++k) {
            TPunktItem& p = cyc.Punkt.Add();
            p.Dystans = 4.0 * k;
            p.Xa = 3.0 * std::sin(0.05 * k) + 0.1 * ((c * 7 + k * 3) % 11);
            p.Xr = p.Xa - 1.5 - 0.1 * ((c * 5 + k) % 7);
        }
    }
    return run;
}

QTemporaryDir& folder() {
    static QTemporaryDir dir(QDir::currentPath() + "/bench-open-XXXXXX");
    return dir;
}

QString runFile(int points, int cycles) {
    const QString name = folder().filePath(QString("run_%1x%2.dt2").arg(points).arg(cycles));
    if (!QFile::exists(name)) SavePositioningFile(name, TMeasurementHeader(), makeRun(points, cycles));
    return name;
}

// One main window for the whole program, started as the program starts, on the positioning
// page, every question answered No.
class Window {
public:
    static Window& get() {
        static Window w;
        return w;
    }
    TMainForm& form() { return *program_.mainForm; }

private:
    Window() {
        static int argc = 1;
        static char name[] = "open_show_bench";
        static char* argv[] = {name, nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QCoreApplication::instance()) new QApplication(argc, argv);
        platform::setProgramDirectory(folder().path());
        platform::setAppRegistryFile(folder().filePath("settings.ini"));
        foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
        ResetSharedGlobals();
        instrument::ResetLinkState();
        qputenv("VKM30_COM1", folder().filePath("no-such-port").toLocal8Bit());
        setMessageDlgHook([](const MessageDlgRequest&) { return int(mrNo); });
        TWyborOsi::setExecuteHook([](TWyborOsi&) { return int(QDialog::Rejected); });
        program_ = app::StartProgram();
        if (!program_.mainForm) std::abort();
        TMainForm& f = *program_.mainForm;
        instrument::LoaderTimings t;
        t.serialSettleMs = 10;
        t.programTestWaitMs = 300;
        t.probePolls = 20;
        f.ProgramLoadTimings = t;
        f.resize(1024, 768);
        f.show();
        // The interface start-up gives up on the missing port and ends on the main menu.
        QElapsedTimer wait;
        wait.start();
        while (!(f.Threads().Loader() && !f.Threads().Loader()->Running() && f.NotebookMainForm->currentIndex() == 1)) {
            if (wait.elapsed() > 20000) std::abort();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
        f.MeasurementMode = 0;
        f.NotebookMainForm->setCurrentIndex(3);
        QCoreApplication::processEvents();
    }
    app::StartedProgram program_;
};

void OpenAndShow(benchmark::State& state) {
    const QString name = runFile(int(state.range(0)), int(state.range(1)));
    TMainForm& f = Window::get().form();
    for (auto _ : state) {
        if (!f.LoadMeasurementFile(name, 0)) {
            state.SkipWithError("the file did not load");
            break;
        }
        f.Positioning().Chart()->repaint();
        QCoreApplication::processEvents();
    }
    state.counters["chart_w"] = f.Positioning().Chart()->width();
    state.counters["chart_h"] = f.Positioning().Chart()->height();
}

void OpenAndShow_anchor(benchmark::State& state) {
    const QString name = runFile(int(state.range(0)), int(state.range(1)));
    const QSize size = Window::get().form().Positioning().Chart()->size();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        TCykl run;
        try {
            LoadPositioningFile(run, name, nullptr);
        } catch (const MeasurementFileError& e) {
            state.SkipWithError(e.what());
            break;
        }
        TPunkt means, sigmas;
        const evaluation::PositioningReadings readings(run);
        evaluation::ComputePointMeans(readings, means);
        evaluation::ComputePointSigmas(readings, sigmas);
        auto figures = evaluation::ComputePositioningFigures(readings, means, sigmas);
        benchmark::DoNotOptimize(figures);
        // Every reading, forward and backward, of every cycle, scaled onto the image.
        double lo = 1e300, hi = -1e300, right = 1e-300;
        for (const TCyklItem& c : run.Items())
            for (const TPunktItem& p : c.Punkt.Items()) {
                lo = std::min({lo, p.Xa, p.Xr});
                hi = std::max({hi, p.Xa, p.Xr});
                right = std::max(right, p.Dystans);
            }
        const double sx = (size.width() - 1) / right, sy = (size.height() - 1) / std::max(hi - lo, 1e-9);
        QPolygonF line;
        line.reserve(qsizetype(2) * run.Count() * (run.Count() ? run[0].Punkt.Count() : 0));
        for (const TCyklItem& c : run.Items()) {
            for (const TPunktItem& p : c.Punkt.Items()) line << QPointF(p.Dystans * sx, (hi - p.Xa) * sy);
            for (const TPunktItem& p : c.Punkt.Items()) line << QPointF(p.Dystans * sx, (hi - p.Xr) * sy);
        }
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(Qt::blue, 1));
        painter.drawPolyline(line);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

#define SIZES                                                                                  \
    ->ArgNames({"points", "cycles"})                                                           \
        ->Args({25, 10})                                                                       \
        ->Args({250, 10})                                                                      \
        ->Args({250, 100})                                                                     \
        ->Args({kMaxRunPoints, kMaxRunCycles})                                                 \
        ->Unit(benchmark::kMillisecond)                                                        \
        ->UseRealTime()
BENCHMARK(OpenAndShow) SIZES;
BENCHMARK(OpenAndShow_anchor) SIZES;

}  // namespace
