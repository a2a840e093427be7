#include "evaluation/PointStore.h"

#include <algorithm>
#include <cmath>

#include "evaluation/StraightnessEval.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"

namespace evaluation {

namespace {
constexpr double kMmToCm = 0.1;
constexpr double kArcSecond = 4.848136957929807e-06;
constexpr double kMmToUm = 1000.0;
constexpr double kCmToInch = 0.3937007874015748;
constexpr double kMmToInch = 0.03937007874015748;
constexpr double kJumpUm = 600.0;
constexpr double kVelocityStep = 0.04;
constexpr double kPerMinute = 60.0;
constexpr double kMmToM = 0.001;

// A two-axis detector reading in µm; a calibration of zero (or a broken one) gives 0 rather
// than an infinite value on the chart and in the file.
double DetectorMicrometres(int32_t raw) {
    const double v = double(raw) / CalibrationXY;
    return std::isfinite(v) ? v : 0.0;
}

void add(IPlotSeries* s, std::optional<double> x, double y) {
    if (s && x) s->AddXY(*x, y);
}

// Points gathered for one series and handed over in one call.
void add(std::vector<QPointF>& run, std::optional<double> x, double y) {
    if (x) run.emplace_back(*x, y);
}

void addAll(IPlotSeries* s, const std::vector<QPointF>& run) {
    if (s && !run.empty()) s->AddXYs(run);
}
}  // namespace

double VelocityUnitFactor(int chartUnit) {
    switch (chartUnit) {
    case 1: return kMmToM;
    case 2: return kMmToM * kPerMinute;
    case 3: return kPerMinute;
    case 4: return kMmToInch;
    case 5: return kMmToInch * kPerMinute;
    default: return 1.0;
    }
}

static double meanOver(const TCykl& cycles, int n, int j, bool forward) {
    n = std::min(n, cycles.Count());
    double sum = 0.0;
    int count = 0;
    for (int c = 0; c < n; ++c) {
        const TPunkt& p = cycles[c].Punkt;
        if (j < 0 || j >= p.Count()) continue;
        sum += forward ? p[j].Xa : p[j].Xr;
        ++count;
    }
    return count ? sum / count : 0.0;
}

double MeanForwardDeviation(const TCykl& cycles, int n, int j) { return meanOver(cycles, n, j, true); }
double MeanBackwardDeviation(const TCykl& cycles, int n, int j) { return meanOver(cycles, n, j, false); }

void TrimCyclesToShortest(TCykl& cycles) {
    if (cycles.Count() == 0) return;
    int shortest = cycles[0].Punkt.Count();
    for (int c = 1; c < cycles.Count(); ++c) shortest = std::min(shortest, cycles[c].Punkt.Count());
    for (int c = 0; c < cycles.Count(); ++c) {
        TPunkt& p = cycles[c].Punkt;
        while (p.Count() > shortest) p.Delete(p.Count() - 1);
    }
}

std::optional<double> PositioningX(int index, double dystans, bool pointNumberAxis, int lengthUnit) {
    if (pointNumberAxis) return double(index);
    if (lengthUnit == 0) return dystans;
    if (lengthUnit == 1) return dystans * kMmToInch;
    return std::nullopt;
}

std::optional<double> StraightnessX(double dystansCm, int lengthUnit) {
    if (lengthUnit == 0) return dystansCm;
    if (lengthUnit == 1) return dystansCm * kCmToInch;
    return std::nullopt;
}

std::optional<VisibleMean> MeanOverRange(const IPlotSeries& s, std::optional<std::pair<double, double>> range) {
    VisibleMean m;
    int first = -1, last = -1;
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < s.Count(); ++i) {
        const double x = s.XValue(i);
        if (range && (x < range->first || x > range->second)) continue;
        const double y = s.YValue(i);
        if (!std::isfinite(y)) continue;
        if (first < 0) first = i;
        last = i;
        sum += y;
        ++count;
    }
    if (count == 0) return std::nullopt;
    m.first = first;
    m.last = last;
    m.mean = sum / count;
    return m;
}

PointStore::PointStore(const PointStoreData& data, const PointStorePlots& plots) : data_(data), plots_(plots) {}

void PointStore::refreshOptions() {
    if (readOptions) options = readOptions();
}

double PointStore::targetFor(double dystans) {
    if (options.confirmTarget && confirmTargetValue) return confirmTargetValue(dystans);
    return dystans;
}

void PointStore::StoreStraightnessPoint(double v) {
    refreshOptions();
    if (!data_.StraightnessPoints) return;
    TPunkt& line = *data_.StraightnessPoints;
    const int n = ++StraightnessSampleCount;
    const double stand = options.baseLength;
    switch (options.straightnessMethod) {
    case 0:
        if (n == 1 || line.Count() == 0) {
            line.Add();  // the origin
            TPunktItem& p = line.Add();
            p.Dystans = kMmToCm * stand;
            if (plots_.DoPrzodu) plots_.DoPrzodu->AddXY(0.0, 0.0);
        } else {
            const double previous = line[line.Count() - 1].Xa;
            TPunktItem& p = line.Add();
            p.Dystans = n * stand * kMmToCm;
            // The stand's angle turned into its height step over one stand length, summed.
            p.Xa = previous + std::sin(v * kArcSecond) * kMmToUm * stand;
        }
        break;
    case 1: {
        TPunktItem& p = line.Add();
        p.Dystans = (n - 1) * stand * kMmToCm;
        p.Xa = v;
        break;
    }
    default: {
        TPunktItem& p = line.Add();
        p.Dystans = kMmToCm * v;
        p.Xa = DetectorMicrometres(DetectorX.load());
        p.Xr = DetectorMicrometres(DetectorY.load());
        break;
    }
    }
    const TPunktItem& last = line[line.Count() - 1];
    const auto x = StraightnessX(last.Dystans, LengthUnit);
    add(plots_.DoPrzodu, x, last.Xa);
    add(plots_.ProstoOsY, x, last.Xr);
}

void PointStore::TurnBack(int cyclePointIndex, int cycle, int gridRows) {
    if (plots_.DoPrzodu) plots_.DoPrzodu->DeleteLast();
    if (data_.PositioningCycles && cycle >= 1 && cycle <= data_.PositioningCycles->Count()) {
        TPunkt& points = (*data_.PositioningCycles)[cycle - 1].Punkt;
        if (cyclePointIndex >= 0 && cyclePointIndex < points.Count()) points.Delete(cyclePointIndex);
    }
    // The second axis keeps exactly the points the positioning cycle keeps.
    if (data_.CyclesY && cycle >= 1 && cycle <= data_.CyclesY->Count()) {
        TPunkt& points = (*data_.CyclesY)[cycle - 1].Punkt;
        if (cyclePointIndex >= 0 && cyclePointIndex < points.Count()) points.Delete(cyclePointIndex);
    }
    if (plots_.GridOdchylka && gridRows >= 0) plots_.GridOdchylka->SetRowCount(gridRows);
}

bool PointStore::StorePositioningPoint(int i, int cycle, double v, bool forward) {
    refreshOptions();
    if (!data_.PositioningCycles || !data_.TargetPoints || i < 0) return false;
    if (cycle < 1 || cycle > data_.PositioningCycles->Count()) return false;
    TPunkt& points = (*data_.PositioningCycles)[cycle - 1].Punkt;
    TPunkt& targets = *data_.TargetPoints;
    IDeviationGrid* grid = plots_.GridOdchylka;
    if (forward) {
        double dystans;
        if (!options.pointsFromList && cycle == 1) {
            // Learned target: the reading rounded to a whole millimetre.
            dystans = std::nearbyint(v);
            targets.Add().Dystans = dystans;
            if (std::fabs(LastForwardDeviation - (v - dystans) * kMmToUm) > kJumpUm) DeviationJumpSeen = true;
        } else {
            if (i >= targets.Count()) return false;
            dystans = targets[i].Dystans;
        }
        const double xa = (v - targetFor(dystans)) * kMmToUm;
        TPunktItem& p = points.Add();
        p.Dystans = dystans;
        p.Xa = xa;
        const int index = points.Count() - 1;
        if (options.posAndStr && data_.CyclesY && cycle <= data_.CyclesY->Count()) {
            TPunktItem& y = (*data_.CyclesY)[cycle - 1].Punkt.Add();
            y.Dystans = i < targets.Count() ? targets[i].Dystans : dystans;
            y.Xa = DetectorMicrometres(DetectorX.load());
            y.Xr = DetectorMicrometres(DetectorY.load());
        }
        add(plots_.DoPrzodu, PositioningX(i, dystans, options.pointNumberAxis, LengthUnit), xa);
        if (grid) {
            grid->SetRowCount(i + 2);
            grid->SetCurrentRow(i + 1);
            grid->SetCell(i + 1, 0, {cycle - 1, index});
            grid->SetCell(i + 1, 1, {cycle - 1, index});
        }
        LastForwardDeviation = xa;
        return true;
    }
    if (i >= points.Count()) return false;
    TPunktItem& p = points[i];
    p.Xr = (v - targetFor(p.Dystans)) * kMmToUm;
    add(plots_.DoTylu, PositioningX(i, p.Dystans, options.pointNumberAxis, LengthUnit), p.Xr);
    if (grid) {
        if (grid->RowCount() < i + 2) grid->SetRowCount(i + 2);
        grid->SetCurrentRow(i + 1);
        grid->SetCell(i + 1, 2, {cycle - 1, i});
    }
    return true;
}

bool PointStore::FillPositioningGrid(int i, int cycle, double v, bool forward) {
    refreshOptions();
    if (!data_.PositioningCycles || !data_.TargetPoints || i < 0) return false;
    if (cycle < 1 || cycle > data_.PositioningCycles->Count()) return false;
    TCykl& cycles = *data_.PositioningCycles;
    TPunkt& points = cycles[cycle - 1].Punkt;
    TPunkt& targets = *data_.TargetPoints;
    IDeviationGrid* grid = plots_.GridOdchylka;
    // Each point's cycles are listed one below the other.
    const int row = i * std::max(options.cycleCount, 1) + cycle;
    if (forward) {
        if (i >= targets.Count()) return false;
        const double dystans = targets[i].Dystans;
        TPunktItem& p = points.Add();
        p.Dystans = dystans;
        p.Xa = (v - targetFor(dystans)) * kMmToUm;
        const int index = points.Count() - 1;
        const double x = options.pointNumberAxis ? double(i) : dystans;
        if (plots_.PomiaryWPrzod) plots_.PomiaryWPrzod->AddXY(x, p.Xa);
        if (IPlotSeries* s = plots_.DoPrzodu) {
            if (cycle == 1)
                s->AddXY(x, p.Xa);
            else if (i < s->Count())
                s->SetYValue(i, MeanForwardDeviation(cycles, cycle, i));
        }
        if (grid) {
            if (grid->RowCount() < row + 1) grid->SetRowCount(row + 1);
            grid->SetCurrentRow(row);
            grid->SetCell(row, 0, {cycle - 1, index});
            grid->SetCell(row, 1, {cycle - 1, index});
        }
        if (plots_.wykres)
            plots_.wykres->SetTitle(Msg(QStringLiteral("stPunkt")) + QLatin1Char(' ') + QString::number(i) +
                                    QStringLiteral(" - ") + Msg(QStringLiteral("stPomiar")) + QLatin1Char(' ') +
                                    QString::number(cycle));
        return true;
    }
    if (i >= points.Count()) return false;
    TPunktItem& p = points[i];
    p.Xr = (v - targetFor(p.Dystans)) * kMmToUm;
    const double x = options.pointNumberAxis ? double(i) : p.Dystans;
    if (plots_.PomiaryWTyl) plots_.PomiaryWTyl->AddXY(x, p.Xr);
    if (IPlotSeries* s = plots_.DoTylu) {
        if (cycle == 1)
            s->AddXY(x, p.Xr);
        else if (i < s->Count())
            s->SetYValue(i, MeanBackwardDeviation(cycles, cycle, i));
    }
    if (grid) {
        if (grid->RowCount() < row + 1) grid->SetRowCount(row + 1);
        grid->SetCell(row, 2, {cycle - 1, i});
    }
    return true;
}

void PointStore::AddVelocitySample(double v) {
    if (!VelocityRunning.load()) return;
    refreshOptions();
    if (data_.VelocitySamples) data_.VelocitySamples->Add().Value = v;
    if (plots_.Series2)
        plots_.Series2->AddXY(VelocitySampleCount * kVelocityStep, v * VelocityUnitFactor(options.velocityChartUnit));
    ++VelocitySampleCount;
    if (++VelocityRepaintCounter >= 5) {
        if (plots_.WykresPredkosci) plots_.WykresPredkosci->Repaint();
        VelocityRepaintCounter = 0;
    }
}

void PointStore::ClearVelocitySeries() {
    if (plots_.Series2) plots_.Series2->Clear();
    if (plots_.Series6) plots_.Series6->Clear();
}

void PointStore::PlotVelocity() {
    refreshOptions();
    ClearVelocitySeries();
    if (!data_.VelocitySamples || !plots_.Series2) return;
    const double f = VelocityUnitFactor(options.velocityChartUnit);
    const TVelValue& samples = *data_.VelocitySamples;
    std::vector<QPointF> run;
    run.reserve(std::size_t(samples.Count()));
    int k = 0;
    for (const TVelValueItem& v : samples.Items()) run.emplace_back(k++ * kVelocityStep, v.Value * f);
    addAll(plots_.Series2, run);
}

void PointStore::ShowMeanVelocity() {
    if (plots_.Series6) plots_.Series6->Clear();
    if (!plots_.Series2) return;
    std::optional<std::pair<double, double>> range;
    double lo = 0, hi = 0;
    if (plots_.WykresPredkosci && plots_.WykresPredkosci->VisibleXRange(lo, hi)) range = std::make_pair(lo, hi);
    // No visible value: no mean to show or draw.
    const auto m = MeanOverRange(*plots_.Series2, range);
    if (!m) return;
    if (showMeanVelocity) showMeanVelocity(m->mean);
    if (plots_.Series6) {
        plots_.Series6->AddXY(m->first * kVelocityStep, m->mean);
        plots_.Series6->AddXY(m->last * kVelocityStep, m->mean);
    }
}

void PointStore::AddAngularPoint(int i) {
    refreshOptions();
    if (!data_.AngularPoints || i < 0 || i >= data_.AngularPoints->Count()) return;
    const TPunktItem& p = (*data_.AngularPoints)[i];
    const double x = options.pointNumberAxisPK ? double(i) : p.Dystans;
    if (plots_.SeriesBLCzastkowy) plots_.SeriesBLCzastkowy->AddXY(x, p.Xa);
    if (plots_.SeriesBlSumaryczny) plots_.SeriesBlSumaryczny->AddXY(x, p.Xr);
    if (IDeviationGrid* grid = plots_.GridOdchylkaPK) {
        grid->SetRowCount(i + 2);
        for (int col = 0; col < 3; ++col) grid->SetCell(i + 1, col, {-1, i});
        grid->SetCurrentRow(i + 1);
    }
}

void PointStore::PlotPositionPK() {
    if (!data_.AngularPoints || data_.AngularPoints->Count() == 0) return;
    ResetChartAndGrid(plots_.WykresPK);
    if (plots_.WykresPK) plots_.WykresPK->SetTitle(Msg(QStringLiteral("stWykresPozPK")));
    const int count = data_.AngularPoints->Count();
    for (int i = 0; i < count; ++i) AddAngularPoint(i);
    if (plots_.GridOdchylkaPK) plots_.GridOdchylkaPK->SetRowCount(count + 1);
}

IDeviationGrid* PointStore::gridFor(IPlotChart* chart) const {
    return chart == plots_.wykres ? plots_.GridOdchylka : plots_.GridOdchylkaPK;
}

void PointStore::ResetChartAndGrid(IPlotChart* chart) {
    if (chart) {
        chart->SetTitle(QString());
        chart->ClearAllSeries();
    }
    if (IDeviationGrid* grid = gridFor(chart)) {
        for (int row = 1; row < grid->RowCount(); ++row)
            for (int col = 0; col < 3; ++col) grid->ClearCell(row, col);
        grid->SetRowCount(2);
    }
}

void PointStore::PlotPositioningCycles() {
    refreshOptions();
    if (!data_.PositioningCycles || data_.PositioningCycles->Count() == 0) return;
    const TCykl& cycles = *data_.PositioningCycles;
    const bool backward = !cycles[0].Punkt.AllThirdValuesZero();
    // Every cycle in one run per series: the series sorts them by x once.
    std::vector<QPointF> forwardRun, backwardRun;
    std::size_t total = 0;
    for (const TCyklItem& cycle : cycles.Items()) total += std::size_t(cycle.Punkt.Count());
    forwardRun.reserve(total);
    if (backward) backwardRun.reserve(total);
    for (const TCyklItem& cycle : cycles.Items()) {
        int j = 0;
        for (const TPunktItem& point : cycle.Punkt.Items()) {
            const auto x = PositioningX(j++, point.Dystans, options.pointNumberAxis, LengthUnit);
            add(forwardRun, x, point.Xa);
            if (backward) add(backwardRun, x, point.Xr);
        }
    }
    addAll(plots_.PoprzednieWPrzod, forwardRun);
    addAll(plots_.PoprzednieWTyl, backwardRun);
}

void PointStore::ShowPositioningCycle(int n) {
    refreshOptions();
    if (!data_.PositioningCycles || data_.PositioningCycles->Count() == 0) return;
    const TCykl& cycles = *data_.PositioningCycles;
    if (n < 1 || n > cycles.Count()) return;
    const bool backward = !cycles[0].Punkt.AllThirdValuesZero();
    ResetChartAndGrid(plots_.wykres);
    PlotPositioningCycles();
    const TPunkt& p = cycles[n - 1].Punkt;
    const int count = p.Count();
    IDeviationGrid* grid = plots_.GridOdchylka;
    if (grid) grid->SetRowCount(count + 1);
    auto xOf = [&](int j) { return PositioningX(j, p[j].Dystans, options.pointNumberAxis, LengthUnit); };
    std::vector<QPointF> forwardRun, backwardRun;
    forwardRun.reserve(std::size_t(count));
    if (backward) backwardRun.reserve(std::size_t(count));
    for (int j = 0; j < count; ++j) {
        const auto x = xOf(j);
        if (count >= 2) {
            if (j == 0 && plots_.ArrowBlue) {
                const auto x1 = xOf(1);
                if (x && x1) plots_.ArrowBlue->AddArrow(*x, p[0].Xa, *x1, p[1].Xa);
            }
            if (j == count - 2 && backward && plots_.ArrowRed) {
                const auto xl = xOf(count - 1);
                if (x && xl) plots_.ArrowRed->AddArrow(*xl, p[count - 1].Xr, *x, p[count - 2].Xr);
            }
        }
        add(forwardRun, x, p[j].Xa);
        if (backward) add(backwardRun, x, p[j].Xr);
        if (grid && grid->IsVisible()) {
            grid->SetCell(j + 1, 0, {n - 1, j});
            grid->SetCell(j + 1, 1, {n - 1, j});
            if (backward) grid->SetCell(j + 1, 2, {n - 1, j});
        }
    }
    addAll(plots_.DoPrzodu, forwardRun);
    addAll(plots_.DoTylu, backwardRun);
    if (plots_.wykres) plots_.wykres->SetTitle(Msg(QStringLiteral("stCykl")) + QLatin1Char(' ') + QString::number(n));
}

void PointStore::FitXYCycleLine() {
    refreshOptions();
    if (!data_.CyclesY) return;
    const TCykl& cycles = *data_.CyclesY;
    TPunkt fitted;
    std::vector<QPointF> horizontal, vertical;
    for (int c = 0; c < cycles.Count(); ++c) {
        fitted.Clear();
        LineAngles angles;
        switch (options.statisticsMethod) {
        case 0: FitEndPointLine(cycles[c].Punkt, fitted, angles); break;
        case 1: FitLeastSquaresLine(cycles[c].Punkt, fitted, angles); break;
        default: fitted.Assign(cycles[c].Punkt); break;
        }
        for (const TPunktItem& point : fitted.Items()) {
            horizontal.emplace_back(point.Dystans, point.Xa);
            vertical.emplace_back(point.Dystans, point.Xr);
        }
    }
    addAll(plots_.PoprzednieWPrzod, horizontal);
    addAll(plots_.PomiaryOsY, vertical);
}

}  // namespace evaluation
