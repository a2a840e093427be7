#include "app/PointStoreWidgets.h"
#include "app/PositioningPage.h"

#include <QAction>
#include <cmath>
#include <QTableWidget>
#include <QVariant>

#include "app/AngularPage.h"
#include "app/Unit_glowny.h"
#include "app/VelocityPage.h"
#include "foundations/Display.h"
#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/NumberFormat.h"
#include "foundations/SharedGlobals.h"
#include "foundations/UInputError.h"

#if __has_include("platform/Chart.h")
#include "platform/Chart.h"
#define VKM30_HAVE_CHART 1
#endif

using evaluation::GridCellRef;

namespace {

constexpr int kCycleRole = Qt::UserRole;
constexpr int kPointRole = Qt::UserRole + 1;
constexpr double kMmToInch = 0.03937007874015748;

#ifdef VKM30_HAVE_CHART
platform::TChart* asChart(QWidget* w) { return qobject_cast<platform::TChart*>(w); }
#endif

// A series of the chart layer; on a widget that is no chart the points are only kept.
class SeriesAdapter : public evaluation::IPlotSeries {
public:
#ifdef VKM30_HAVE_CHART
    explicit SeriesAdapter(platform::TChartSeries* s) : s_(s) {}
#endif
    SeriesAdapter() = default;
    void Clear() override {
        pts_.clear();
#ifdef VKM30_HAVE_CHART
        if (s_) s_->Clear();
#endif
    }
    void AddXY(double x, double y) override {
#ifdef VKM30_HAVE_CHART
        if (s_) {
            s_->AddXY(x, y);
            return;
        }
#endif
        pts_.push_back({x, y});
    }
    void AddXYs(std::span<const QPointF> points) override {
#ifdef VKM30_HAVE_CHART
        if (s_) {
            s_->AddXYs(points);
            return;
        }
#endif
        for (const QPointF& pt : points) pts_.push_back({pt.x(), pt.y()});
    }
    int Count() const override {
#ifdef VKM30_HAVE_CHART
        if (s_) return s_->Count();
#endif
        return int(pts_.size());
    }
    double XValue(int i) const override {
#ifdef VKM30_HAVE_CHART
        if (s_) return s_->XValue(i);
#endif
        return i >= 0 && i < int(pts_.size()) ? pts_[i].first : std::nan("");
    }
    double YValue(int i) const override {
#ifdef VKM30_HAVE_CHART
        if (s_) return s_->YValue(i);
#endif
        return i >= 0 && i < int(pts_.size()) ? pts_[i].second : std::nan("");
    }
    void SetYValue(int i, double y) override {
#ifdef VKM30_HAVE_CHART
        if (s_) {
            if (i >= 0 && i < s_->Count()) s_->SetYValue(i, y);
            return;
        }
#endif
        if (i >= 0 && i < int(pts_.size())) pts_[i].second = y;
    }
    void DeleteLast() override {
#ifdef VKM30_HAVE_CHART
        if (s_) {
            if (s_->Count() > 0) s_->Delete(s_->Count() - 1);
            return;
        }
#endif
        if (!pts_.empty()) pts_.pop_back();
    }
    void SetActive(bool on) override {
#ifdef VKM30_HAVE_CHART
        if (s_) s_->SetActive(on);
#endif
        (void)on;
    }

private:
#ifdef VKM30_HAVE_CHART
    QPointer<platform::TChartSeries> s_;
#endif
    std::vector<std::pair<double, double>> pts_;
};

class ArrowAdapter : public evaluation::IArrowSeries {
public:
#ifdef VKM30_HAVE_CHART
    explicit ArrowAdapter(platform::TArrowSeries* s) : s_(s) {}
#endif
    ArrowAdapter() = default;
    void Clear() override {
#ifdef VKM30_HAVE_CHART
        if (s_) s_->Clear();
#endif
    }
    void AddArrow(double x0, double y0, double x1, double y1) override {
#ifdef VKM30_HAVE_CHART
        if (s_) s_->AddArrow(x0, y0, x1, y1);
#endif
        (void)x0, (void)y0, (void)x1, (void)y1;
    }

private:
#ifdef VKM30_HAVE_CHART
    QPointer<platform::TArrowSeries> s_;
#endif
};

class ChartAdapter : public evaluation::IPlotChart {
public:
    ChartAdapter(TMainForm& form, QWidget* chart) : form_(form), chart_(chart) {}
    void SetTitle(const QString& t) override {
        form_.SetChartTitle(chart_, t);
#ifdef VKM30_HAVE_CHART
        if (auto* c = asChart(chart_)) c->SetTitleText(t.isEmpty() ? QStringList{} : QStringList{t});
#endif
    }
    void ClearAllSeries() override {
        for (auto* s : own) s->Clear();
        for (auto* a : ownArrows) a->Clear();
#ifdef VKM30_HAVE_CHART
        if (auto* c = asChart(chart_)) c->ClearAllSeries();
#endif
    }
    void Repaint() override {
        if (chart_) chart_->update();
    }
    bool VisibleXRange(double& lo, double& hi) const override {
#ifdef VKM30_HAVE_CHART
        if (auto* c = asChart(chart_)) {
            const auto& axis = c->BottomAxis();
            if (!c->Zoomed() && axis.Automatic()) return false;
            lo = axis.Minimum();
            hi = axis.Maximum();
            return true;
        }
#endif
        (void)lo, (void)hi;
        return false;
    }
    std::vector<evaluation::IPlotSeries*> own;
    std::vector<evaluation::IArrowSeries*> ownArrows;

private:
    TMainForm& form_;
    QPointer<QWidget> chart_;
};

enum class Kind { Line, LineWithMarkers, Points, Fast };

}  // namespace

std::optional<GridCellRef> GridCellPoint(const QTableWidgetItem* item) {
    if (!item) return std::nullopt;
    const QVariant c = item->data(kCycleRole), p = item->data(kPointRole);
    if (!c.isValid() || !p.isValid()) return std::nullopt;
    return GridCellRef{c.toInt(), p.toInt()};
}

TableDeviationGrid::TableDeviationGrid(QTableWidget* table, TextOf textOf) : table_(table), textOf_(std::move(textOf)) {}

int TableDeviationGrid::RowCount() const { return table_ ? table_->rowCount() : 0; }

void TableDeviationGrid::SetRowCount(int rows) {
    if (table_) table_->setRowCount(std::max(rows, 1));
}

void TableDeviationGrid::SetCurrentRow(int row) {
    if (!table_ || row < 0 || row >= table_->rowCount()) return;
    if (QTableWidgetItem* it = table_->item(row, 0))
        table_->scrollToItem(it);
    else
        table_->scrollTo(table_->model()->index(row, 0));
}

void TableDeviationGrid::SetCell(int row, int col, const GridCellRef& ref) {
    if (!table_ || row < 0 || col < 0 || col >= table_->columnCount()) return;
    if (row >= table_->rowCount()) table_->setRowCount(row + 1);
    QTableWidgetItem* it = table_->item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        it->setTextAlignment(Qt::AlignCenter);
        table_->setItem(row, col, it);
    }
    it->setData(kCycleRole, ref.cycle);
    it->setData(kPointRole, ref.point);
    it->setText(textOf_ ? textOf_(ref, col) : QString());
}

void TableDeviationGrid::ClearCell(int row, int col) {
    if (!table_) return;
    if (QTableWidgetItem* it = table_->item(row, col)) {
        it->setData(kCycleRole, QVariant());
        it->setData(kPointRole, QVariant());
        it->setText(QString());
    }
}

bool TableDeviationGrid::IsVisible() const { return table_ && !table_->isHidden(); }

void TableDeviationGrid::RefreshTexts() {
    if (!table_ || !textOf_) return;
    for (int r = 1; r < table_->rowCount(); ++r)
        for (int c = 0; c < table_->columnCount(); ++c)
            if (QTableWidgetItem* it = table_->item(r, c))
                if (auto ref = GridCellPoint(it)) it->setText(textOf_(*ref, c));
}

QString DeviationCellText(const TPunktItem* point, int index, int col, bool byNumber, bool inchTargets) {
    if (!point) return QString();
    const QChar sep = foundations::systemDecimalSeparator();
    switch (col) {
    case 0:
        if (byNumber) return QString::number(index);
        if (inchTargets) {
            if (LengthUnit == 1) return foundations::formatFixed(point->Dystans * kMmToInch, 5, 1, sep);
            if (LengthUnit != 0) return QString();
        }
        return foundations::formatFixed(point->Dystans, 5, 1, sep);
    case 1: return foundations::formatFixed(point->Xa, 5, 1, sep);
    case 2: return foundations::formatFixed(point->Xr, 5, 1, sep);
    default: return QString();
    }
}

void SetChartLegendVisible(QWidget* chart, bool on) {
    if (!chart) return;
    chart->setProperty("legendVisible", on);
#ifdef VKM30_HAVE_CHART
    if (auto* c = asChart(chart)) c->SetLegendVisible(on);
#endif
}

void SetChartBackground(QWidget* chart, const QString& path) {
    if (!chart) return;
    chart->setProperty("backgroundPicture", path);
#ifdef VKM30_HAVE_CHART
    if (auto* c = asChart(chart)) {
        if (path.isEmpty() || !c->LoadBackImage(path)) c->ClearBackImage();
    }
#endif
}

void SetChartZoomAllowed(QWidget* chart, bool allow, bool undoZoom) {
    if (!chart) return;
    chart->setProperty("allowZoom", allow);
#ifdef VKM30_HAVE_CHART
    if (auto* c = asChart(chart)) {
        if (undoZoom) c->UndoZoom();
        c->SetAllowZoom(allow);
    }
#endif
}

std::shared_ptr<PointStoreBinding> MakePointStoreBinding(TMainForm& f) {
    auto b = std::make_shared<PointStoreBinding>();
    evaluation::PointStorePlots p;

    auto chart = [&](QWidget* w) {
        auto c = std::make_unique<ChartAdapter>(f, w);
        ChartAdapter* raw = c.get();
        b->charts.push_back(std::move(c));
        return raw;
    };
    // A series of the chart by its name, made there (with its colour, title and markers) when
    // the chart has none.
    auto series = [&](ChartAdapter* owner, QWidget* w, const char* name, Kind kind, uint32_t colour,
                      const QString& title = QString()) {
        std::unique_ptr<SeriesAdapter> s;
#ifdef VKM30_HAVE_CHART
        if (auto* c = asChart(w)) {
            platform::TChartSeries* found = c->SeriesByName(QString::fromLatin1(name));
            if (!found) {
                if (kind == Kind::Points) {
                    auto* pts = c->AddNewSeries<platform::TPointSeries>(QString::fromLatin1(name));
                    pts->Pointer().style = platform::TPointerStyle::Circle;
                    pts->Pointer().horizSize = pts->Pointer().vertSize = 2;
                    found = pts;
                } else if (kind == Kind::Fast) {
                    found = c->AddNewSeries<platform::TFastLineSeries>(QString::fromLatin1(name));
                } else {
                    auto* line = c->AddNewSeries<platform::TLineSeries>(QString::fromLatin1(name));
                    line->LinePen().width = 2;
                    line->Pointer().visible = kind == Kind::LineWithMarkers;
                    line->Pointer().horizSize = line->Pointer().vertSize = 3;
                    found = line;
                }
                found->SetSeriesColorWin(colour);
                if (title.isEmpty())
                    found->SetShowInLegend(false);
                else
                    found->SetTitle(title);
            }
            s = std::make_unique<SeriesAdapter>(found);
        }
#endif
        (void)w, (void)name, (void)kind, (void)colour, (void)title;
        if (!s) s = std::make_unique<SeriesAdapter>();
        SeriesAdapter* raw = s.get();
        owner->own.push_back(raw);
        b->series.push_back(std::move(s));
        return raw;
    };
    auto arrow = [&](ChartAdapter* owner, QWidget* w, const char* name, uint32_t colour) {
        std::unique_ptr<ArrowAdapter> a;
#ifdef VKM30_HAVE_CHART
        if (auto* c = asChart(w)) {
            auto* found = qobject_cast<platform::TArrowSeries*>(c->SeriesByName(QString::fromLatin1(name)));
            if (!found) {
                found = c->AddNewSeries<platform::TArrowSeries>(QString::fromLatin1(name));
                found->SetSeriesColorWin(colour);
                found->SetShowInLegend(false);
            }
            a = std::make_unique<ArrowAdapter>(found);
        }
#endif
        (void)w, (void)name, (void)colour;
        if (!a) a = std::make_unique<ArrowAdapter>();
        ArrowAdapter* raw = a.get();
        owner->ownArrows.push_back(raw);
        b->arrows.push_back(std::move(a));
        return raw;
    };

    // Colours as Windows values 0x00BBGGRR: forward blue, backward red, earlier cycles lighter.
    constexpr uint32_t blue = 0xFF0000, red = 0x0000FF, lightBlue = 0xFFC080, lightRed = 0x8080FF,
                       green = 0x008000, black = 0x000000, olive = 0x008080;
    ChartAdapter* w = chart(f.Positioning().Chart());
    p.wykres = w;
    p.PoprzednieWPrzod = series(w, f.Positioning().Chart(), "PoprzednieWPrzod", Kind::Points, lightBlue);
    p.PoprzednieWTyl = series(w, f.Positioning().Chart(), "PoprzednieWTyl", Kind::Points, lightRed);
    p.PomiaryWPrzod = series(w, f.Positioning().Chart(), "PomiaryWPrzod", Kind::Points, lightBlue);
    p.PomiaryWTyl = series(w, f.Positioning().Chart(), "PomiaryWTyl", Kind::Points, lightRed);
    p.DoPrzodu = series(w, f.Positioning().Chart(), "DoPrzodu", Kind::LineWithMarkers, blue,
                        TranslateString(QStringLiteral("stDoPrzodu"), QStringLiteral("W przód")));
    p.DoTylu = series(w, f.Positioning().Chart(), "DoTylu", Kind::LineWithMarkers, red,
                      TranslateString(QStringLiteral("stDoTylu"), QStringLiteral("W tył")));
    // The vertical plane of a straightness line has its own chart.
    ChartAdapter* y = chart(f.Positioning().YChart());
    p.ProstoOsY = series(y, f.Positioning().YChart(), "ProstoOsY", Kind::LineWithMarkers, red);
    p.PomiaryOsY = series(y, f.Positioning().YChart(), "PomiaryOsY", Kind::Points, olive);
    p.ArrowBlue = arrow(w, f.Positioning().Chart(), "ArrowBlue", blue);
    p.ArrowRed = arrow(w, f.Positioning().Chart(), "ArrowRed", red);
    ChartAdapter* v = chart(f.Velocity().Chart());
    p.WykresPredkosci = v;
    p.Series2 = series(v, f.Velocity().Chart(), "Series2", Kind::Fast, blue, Msg(QStringLiteral("stPredkosc")));
    p.Series6 = series(v, f.Velocity().Chart(), "Series6", Kind::Line, green,
                       TranslateString(QStringLiteral("stPredkoscSrednia"), QStringLiteral("Prędkość średnia")));
    QWidget* pkWidget = f.Angular().Chart();
    ChartAdapter* pk = chart(pkWidget);
    p.WykresPK = pk;
    p.SeriesBLCzastkowy = series(pk, pkWidget, "SeriesBLCzastkowy", Kind::LineWithMarkers, blue,
                                 TranslateString(QStringLiteral("stBladCzastkowy"), QStringLiteral("Błąd cząstkowy")));
    p.SeriesBlSumaryczny = series(pk, pkWidget, "SeriesBlSumaryczny", Kind::LineWithMarkers, black,
                                  TranslateString(QStringLiteral("stBladSumaryczny"), QStringLiteral("Błąd sumaryczny")));

    TMainForm* form = &f;
    b->grid = std::make_unique<TableDeviationGrid>(f.Positioning().DeviationGrid(), [form](const GridCellRef& r, int col) {
        const TCykl& cycles = *form->PositioningCycles;
        const TPunktItem* pt = nullptr;
        if (r.cycle >= 0 && r.cycle < cycles.Count() && r.point >= 0 && r.point < cycles[r.cycle].Punkt.Count())
            pt = &cycles[r.cycle].Punkt[r.point];
        return DeviationCellText(pt, r.point, col, form->Numerpunktu1 && form->Numerpunktu1->isChecked(), true);
    });
    b->gridPK = std::make_unique<TableDeviationGrid>(f.Angular().DeviationGrid(), [form](const GridCellRef& r, int col) {
        const TPunkt& pts = *form->AngularPoints;
        const TPunktItem* pt = r.point >= 0 && r.point < pts.Count() ? &pts[r.point] : nullptr;
        return DeviationCellText(pt, r.point, col, form->Numerpunktu2 && form->Numerpunktu2->isChecked(), false);
    });
    p.GridOdchylka = b->grid.get();
    p.GridOdchylkaPK = b->gridPK.get();

    evaluation::PointStoreData d{f.StraightnessPoints.get(), f.PositioningCycles.get(), f.CyclesY.get(),
                                 f.TargetPoints.get(),      f.VelocitySamples.get(),   f.AngularPoints.get()};
    b->store = std::make_unique<evaluation::PointStore>(d, p);
    b->store->readOptions = [form] {
        evaluation::PointStoreOptions o;
        o.straightnessMethod = form->StraightnessMethod;
        o.statisticsMethod = form->StatisticsMethod;
        o.velocityChartUnit = form->VelocityChartUnit;
        o.cycleCount = form->CycleCount;
        o.baseLength = form->BaseLength;
        o.posAndStr = form->PosAndStr;
        o.pointNumberAxis = form->Numerpunktu1 && form->Numerpunktu1->isChecked();
        o.pointNumberAxisPK = form->Numerpunktu2 && form->Numerpunktu2->isChecked();
        QAction* list = form->MenuCommand(QStringLiteral("PunktyZListy"));
        o.pointsFromList = list ? list->isChecked() : form->PointsFromList;
        QAction* confirm = form->MenuCommand(QStringLiteral("KorekcjaWartosciZadanej"));
        o.confirmTarget = confirm ? confirm->isChecked() : form->TargetValueCorrection;
        return o;
    };
    b->store->confirmTargetValue = [form](double t) { return TFInputError::EditValue(t, form); };
    b->store->showMeanVelocity = [form](double m) {
        form->Velocity().ShowMeanVelocity(m);
    };
    return b;
}

evaluation::PointStore& TMainForm::Points() {
    if (!PointStoreParts) PointStoreParts = MakePointStoreBinding(*this);
    return *PointStoreParts->store;
}
