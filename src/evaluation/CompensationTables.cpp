#include "evaluation/CompensationTables.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <vector>

#include "evaluation/MeasurementFiles.h"
#include "evaluation/PositioningStats.h"
#include "foundations/Cp1250.h"
#include "foundations/FR_Utils.h"
#include "foundations/NumberFormat.h"
#include "platform/SafeSave.h"

namespace evaluation {

namespace {

using foundations::formatField;

// Targets closer than this (mm) count as the same spacing; far below any typed resolution.
constexpr double kSpacingTolerance = 1e-6;

struct Point {
    double p = 0.0;  // target, mm
    double f = 0.0;  // forward mean, µm
    double r = 0.0;  // backward mean, µm
    double m() const { return (f + r) / 2.0; }
};

std::vector<Point> pointsOf(const CompTableRun& run) {
    std::vector<Point> pts;
    pts.reserve(size_t(run.Means.Count()));
    for (int i = 0; i < run.Means.Count(); ++i) {
        const TPunktItem& it = run.Means[i];
        pts.push_back({it.Dystans, it.Xa, run.Unidirectional ? it.Xa : it.Xr});
    }
    return pts;
}

// Signed mean of f - r over the points.
double meanReversal(const std::vector<Point>& pts) {
    TPunkt values;
    for (const Point& pt : pts) {
        TPunktItem& it = values.Add();
        it.Dystans = pt.p;
        it.Xa = pt.f;
        it.Xr = pt.r;
    }
    return ComputeReversal(values).mean;
}

// x:1:0, and the same rounding as a number (half away from zero).
QString whole(double x) { return formatField(x, 1, 0); }
double roundedWhole(double x) { return std::round(x); }
// nearest(x): ties to even.
QString nearest(double x) { return formatField(std::nearbyint(x), 1, 0); }
QString integer(long long n, int width = 1) { return QString::number(n).rightJustified(width, u' '); }

// Millimetres to 0.1 µm with trailing zeros dropped, so whole values read "100".
QString millimetres(double x) {
    QString s = formatField(x, 1, 4);
    while (s.endsWith(u'0')) s.chop(1);
    if (s.endsWith(u'.')) s.chop(1);
    return s;
}

CompTableResult refused(CompTableStatus status, const QString& key, const QString& text) {
    return {status, TranslateString(key, text)};
}

CompTableResult checkRun(const std::vector<Point>& pts) {
    if (pts.empty())
        return refused(CompTableStatus::NoPoints, "stKompBrakPunktow",
                       QString::fromUtf8("Pomiar nie zawiera punktów: tabela kompensacji nie została zapisana."));
    for (const Point& pt : pts)
        if (!std::isfinite(pt.p) || !std::isfinite(pt.f) || !std::isfinite(pt.r))
            return refused(CompTableStatus::NotFinite, "stKompNieLiczba",
                           QString::fromUtf8("Wyniki pomiaru zawierają wartości nieliczbowe: tabela kompensacji "
                                             "nie została zapisana."));
    return {};
}

// Siemens and Fanuc tables describe the axis by a first position and a fixed spacing, and
// refer to a base point of the run.
CompTableResult checkSteppedRun(const std::vector<Point>& pts, int32_t basePoint, bool wholeMillimetres) {
    CompTableResult r = checkRun(pts);
    if (!r.ok()) return r;
    if (pts.size() < 2)
        return refused(CompTableStatus::TooFewPoints, "stKompZaMaloPunktow",
                       QString::fromUtf8("Ten format tabeli kompensacji wymaga co najmniej dwóch punktów."));
    if (basePoint < 0 || size_t(basePoint) >= pts.size())
        return refused(CompTableStatus::BasePointOutOfRange, "stKompPunktBazowy",
                       QString::fromUtf8("Wybrany punkt bazowy nie należy do pomiaru."));
    const double step = pts[1].p - pts[0].p;
    bool even = step > kSpacingTolerance;
    for (size_t i = 1; even && i + 1 < pts.size(); ++i)
        even = std::fabs((pts[i + 1].p - pts[i].p) - step) <= kSpacingTolerance;
    if (!even)
        return refused(CompTableStatus::UnevenSpacing, "stKompNierowneOdstepy",
                       QString::fromUtf8("Ten format tabeli kompensacji wymaga punktów rosnących w równych "
                                         "odstępach."));
    if (wholeMillimetres && std::fabs(step - std::nearbyint(step)) > kSpacingTolerance)
        return refused(CompTableStatus::FractionalSpacing, "stKompOdstepMm",
                       QString::fromUtf8("Tabela Fanuc wymaga odstępu punktów w pełnych milimetrach."));
    return {};
}

CompTableResult writeLines(const QString& FileName, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& l : lines) {
        bytes += foundations::toCp1250(l);
        bytes += "\r\n";
    }
    auto failed = [&](const QString& why) {
        return CompTableResult{CompTableStatus::FileError,
                               TranslateString("stKompBladZapisu", QString::fromUtf8("Błąd zapisu pliku")) + " " +
                                   FileName + ": " + why};
    };
    const QString why = platform::SaveBytes(FileName, bytes);
    if (!why.isEmpty()) return failed(why);
    return {};
}

// Lines 1 to 4 of the Linear, Incremental and HP tables.
QStringList heading(const QString& title, const QString& FileName, const CompTableRun& run, const QDateTime& now) {
    return {title + " - " + run.Axis + "-Axis", "Filename: " + QFileInfo(FileName).absoluteFilePath(),
            "Acquisition date: " + run.Date, "Current date: " + CompTableDateTimeText(now)};
}

// Lines 2 to 10 of the Linear and Incremental tables.
QStringList errorPlotHeading(const QString& title, const QString& FileName, const CompTableRun& run,
                             const std::vector<Point>& pts, const QDateTime& now) {
    QStringList lines = heading(title, FileName, run, now);
    lines << "Number of Target Positions: \t" + integer(qsizetype(pts.size())) << QString()
          << "Mean Backlash:\t" + whole(meanReversal(pts)) + " Machine Units" << QString()
          << "Pos. #   Pos.Value (mm)     Fwd (um)  Rev.(um)  Mean (um)"
          << "..";
    return lines;
}

}  // namespace

const QStringList& CompTableFormatNames() {
    static const QStringList names{"Linear", "Incremental", "Siemens", "HP", "Fanuc"};
    return names;
}

const QStringList& CompTableSystemChars() {
    static const QStringList chars{"0", "1"};
    return chars;
}

const QStringList& SiemensAxisNames() {
    static const QStringList names{"AX1", "AX2", "AX3"};
    return names;
}

const QStringList& FanucAxisNumbers() {
    static const QStringList numbers{"1", "2", "3", "4", "5", "6", "7", "8"};
    return numbers;
}

CompTableControls CompTableControlsFor(int format) {
    switch (format) {
        case ctfSiemens:
            return {true, true, true, SiemensAxisNames()};
        case ctfFanuc:
            return {false, true, true, FanucAxisNumbers()};
        default:
            return {};
    }
}

QString BasePointItemText(int index, double position, int lengthUnit, QChar separator) {
    // In inches the position as the rest of the window shows it; the tables stay in mm.
    if (lengthUnit == 1)
        return QString::number(index) + " - " + foundations::formatFixed(position * 0.03937007874015748, 15, 2, separator) +
               " in";
    return QString::number(index) + " - " + foundations::formatFixed(position, 15, 0, separator) + " mm";
}

CompTableChoice CompTableDialogPreset(const CompTableChoice& remembered, int pointCount) {
    CompTableChoice c;
    c.Format = remembered.Format < kCompTableFormatCount ? remembered.Format : uint8_t(ctfLinear);
    const qsizetype axes = (c.Format == ctfFanuc ? FanucAxisNumbers() : SiemensAxisNames()).size();
    c.Axis = remembered.Axis < axes ? remembered.Axis : 0;
    c.System = remembered.System < CompTableSystemChars().size() ? remembered.System : 0;
    if (remembered.BasePoint >= 0 && remembered.BasePoint < pointCount)
        c.BasePoint = remembered.BasePoint;
    else
        c.BasePoint = pointCount > 0 ? 0 : -1;
    return c;
}

CompTableRun CompTableRunFrom(const TCykl& cycles, const TMeasurementHeader& header) {
    CompTableRun run;
    ComputePointMeans(cycles, run.Means);
    run.Unidirectional = IsUnidirectional(cycles);
    run.Axis = header.Axis;
    run.Date = header.Date;
    return run;
}

FileDialogSettings CompTableSaveDialog(const QString& WindowCaption, const QString& PositioningModeCaption,
                                       const QString& PositioningDir) {
    FileDialogSettings s;
    s.FileName = RemoveFileExt(WindowCaption.mid(PositioningModeCaption.size() + 3));
    s.InitialDir = PositioningDir;
    s.Filter = "Tabela kompensacji (*.txt)|*.txt|Wszystkie pliki (*.*)|*.*";
    s.FilterIndex = 1;
    s.DefaultExt = ".txt";
    return s;
}

QString CompTableDateTimeText(const QDateTime& dt) {
    const QLocale loc = QLocale::system();
    QString timeFormat = loc.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    timeFormat.remove(zone);
    return loc.toString(dt.date(), QLocale::ShortFormat) + " " + loc.toString(dt.time(), timeFormat.trimmed());
}

CompTableResult WriteCompTableLinear(const QString& FileName, const CompTableRun& Run, const QDateTime& Now) {
    const std::vector<Point> pts = pointsOf(Run);
    if (CompTableResult r = checkRun(pts); !r.ok()) return r;
    const double d0 = pts[0].m();
    QStringList lines = errorPlotHeading("Vkm30 Linear Error Plot", FileName, Run, pts, Now);
    for (size_t i = 0; i < pts.size(); ++i) {
        const Point& pt = pts[i];
        lines << integer(qsizetype(i) + 1, 4) + "\t " + formatField(pt.p, 11, 4) + "       \t" + whole(pt.f - d0) +
                     "\t " + whole(pt.r - d0) + "       " + whole(((pt.f + pt.r) - 2 * d0) / 2);
    }
    return writeLines(FileName, lines);
}

CompTableResult WriteCompTableIncremental(const QString& FileName, const CompTableRun& Run, const QDateTime& Now) {
    const std::vector<Point> pts = pointsOf(Run);
    if (CompTableResult r = checkRun(pts); !r.ok()) return r;
    const double d0 = pts[0].m();
    // Each column's running value relative to the first point, rounded as the Linear table
    // shows it; the rows are its steps.
    auto fwd = [&](size_t i) { return roundedWhole(pts[i].f - d0); };
    auto rev = [&](size_t i) { return roundedWhole(pts[i].r - d0); };
    auto mean = [&](size_t i) { return roundedWhole(((pts[i].f + pts[i].r) - 2 * d0) / 2); };
    QStringList lines = errorPlotHeading("Vkm30 Incremental Error Plot", FileName, Run, pts, Now);
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        lines << integer(qsizetype(i) + 1, 4) + "\t " + formatField(pts[i].p, 11, 4) + "       \t" +
                     whole(fwd(i + 1) - fwd(i)) + "\t " + whole(rev(i + 1) - rev(i)) + "       " +
                     whole(mean(i + 1) - mean(i));
    return writeLines(FileName, lines);
}

CompTableResult WriteCompTableHP(const QString& FileName, const CompTableRun& Run, const QDateTime& Now) {
    const std::vector<Point> pts = pointsOf(Run);
    if (CompTableResult r = checkRun(pts); !r.ok()) return r;
    const double d0 = pts[0].m();
    QStringList lines = heading("Vkm30 Trivane D  Linear Error Plot", FileName, Run, Now);
    lines << QString::fromUtf8("Expansion Coefficient:\t 11.7 PPM/°C")
          << "Compensation: \tAbsolute / Recorded Error / Algebraic Sign Convention"
          << "Machine Zero Pt target value:\t 0 mm"
          << "Independent Forward and Reverse Compensation"
          << "Machine units - \t1 micrometers"
          << "Number of Target Positions: \t" + integer(qsizetype(pts.size()))
          << "Mean Backlash:\t" + whole(meanReversal(pts)) + " Machine Units" << QString()
          << "Pos. #   Pos.Value (mm)        Forward Rev. Comp. (1 micrometers)"
          << "..";
    for (size_t i = 0; i < pts.size(); ++i)
        lines << integer(qsizetype(i) + 1, 4) + "\t " + formatField(pts[i].p, 11, 4) + "\t " + whole(pts[i].f - d0) +
                     "\t " + whole(pts[i].r - d0);
    return writeLines(FileName, lines);
}

CompTableResult WriteCompTableSiemens(const QString& FileName, const CompTableRun& Run, int32_t BasePoint,
                                      const QString& AxisName, const QString& SystemChar) {
    const std::vector<Point> pts = pointsOf(Run);
    if (CompTableResult r = checkSteppedRun(pts, BasePoint, false); !r.ok()) return r;
    const QString& A = AxisName;
    const QString& S = SystemChar;
    const double mb = pts[size_t(BasePoint)].m();
    QStringList lines{"%_N_" + A + "_EEC_INI", QString(), "METRIC", QString(), "CHANDATA(1)"};
    for (size_t i = 0; i < pts.size(); ++i)
        lines << "$AA_ENC_COMP[" + S + "," + integer(qsizetype(i)) + "," + A + "]=" +
                     formatField((pts[i].m() - mb) * 0.001, 6, 4);
    // Positions keep their fraction: a rounded spacing would move every compensation point.
    lines << "$AA_ENC_COMP_STEP[" + S + "," + A + "]=" + millimetres(pts[1].p - pts[0].p)
          << "$AA_ENC_COMP_MIN[" + S + "," + A + "]=" + millimetres(pts.front().p)
          << "$AA_ENC_COMP_MAX[" + S + "," + A + "]=" + millimetres(pts.back().p)
          // A linear axis: no modulo compensation (the flag is not the place for the backlash).
          << "$AA_ENC_COMP_IS_MODULO[" + S + "," + A + "]=0"
          << "M17";
    return writeLines(FileName, lines);
}

CompTableResult WriteCompTableFanuc(const QString& FileName, const CompTableRun& Run, int32_t BasePoint,
                                    const QString& AxisName) {
    const std::vector<Point> pts = pointsOf(Run);
    if (CompTableResult r = checkSteppedRun(pts, BasePoint, true); !r.ok()) return r;
    const QString& P = AxisName;
    const double mb = pts[size_t(BasePoint)].m();
    const qsizetype n = qsizetype(pts.size());
    // The running error at point i relative to the base point, rounded; N10000 holds it for the
    // first point and every later block its step, so the control's sums meet it exactly.
    auto err = [&](size_t i) { return std::nearbyint(pts[i].m() - mb); };
    QStringList lines{"G10L50;",
                      "N3605P" + P + "R0;",
                      "N3620P" + P + "R" + integer(BasePoint) + ";",
                      "N3621P" + P + "R0;",
                      "N3622P" + P + "R" + integer(n - 1) + ";",
                      "N3623P" + P + "R1;",
                      "N3624P" + P + "R" + nearest(pts[1].p - pts[0].p) + ";",
                      "N10000P" + P + "R" + whole(err(0)) + ";"};
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        lines << "N" + integer(10001 + qsizetype(i)) + "P" + P + "R" + whole(err(i + 1) - err(i)) + ";";
    lines << "G11;";
    return writeLines(FileName, lines);
}

CompTableResult WriteCompTable(const QString& FileName, const CompTableRun& Run, const CompTableChoice& Choice,
                               const QDateTime& Now) {
    auto unknown = [] {
        return refused(CompTableStatus::UnknownChoice, "stKompNieznanyWybor",
                       QString::fromUtf8("Nieznany format, oś lub system tabeli kompensacji."));
    };
    switch (Choice.Format) {
        case ctfLinear:
            return WriteCompTableLinear(FileName, Run, Now);
        case ctfIncremental:
            return WriteCompTableIncremental(FileName, Run, Now);
        case ctfHP:
            return WriteCompTableHP(FileName, Run, Now);
        case ctfSiemens:
            if (Choice.Axis >= SiemensAxisNames().size() || Choice.System >= CompTableSystemChars().size())
                return unknown();
            return WriteCompTableSiemens(FileName, Run, Choice.BasePoint, SiemensAxisNames()[Choice.Axis],
                                         CompTableSystemChars()[Choice.System]);
        case ctfFanuc:
            if (Choice.Axis >= FanucAxisNumbers().size()) return unknown();
            return WriteCompTableFanuc(FileName, Run, Choice.BasePoint, FanucAxisNumbers()[Choice.Axis]);
        case ctfNone:
            return {CompTableStatus::NotWritten, QString()};
        default:
            return unknown();
    }
}

}  // namespace evaluation
