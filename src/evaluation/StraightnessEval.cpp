#include "evaluation/StraightnessEval.h"

#include <QLocale>
#include <cmath>

#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"

namespace evaluation {

double RoundToReal48(double value) {
    if (!std::isfinite(value) || value == 0.0) return value;
    int exp = 0;
    const double m = std::frexp(value, &exp);  // value = m × 2^exp, 0.5 <= |m| < 1
    // Smallest 6-byte real: 2^-128 (exponent byte 1).
    if (exp - 1 < -128) return 0.0;
    return std::ldexp(std::nearbyint(std::ldexp(m, 40)), exp - 40);
}

namespace {

double angleOf(double slope) { return RoundToReal48(std::atan(SlopeToRadian * slope) * RadianToArcSecond); }

void copyPoints(const TPunkt& source, TPunkt& dest) {
    for (int i = 0; i < source.Count(); ++i) dest.Add().Assign(source[i]);
}

bool allPositionsEqual(const TPunkt& p) {
    for (int i = 1; i < p.Count(); ++i)
        if (p[i].Dystans != p[0].Dystans) return false;
    return true;
}

struct Line {
    double slope = 0, intercept = 0;
};

// Least-squares lines of Xa and Xr; false when the positions do not define one.
bool leastSquares(const TPunkt& p, Line& xa, Line& xr) {
    const int n = p.Count();
    if (n < 2 || allPositionsEqual(p)) return false;
    double sx = 0, sx2 = 0, sya = 0, sxya = 0, syr = 0, sxyr = 0;
    for (int i = 0; i < n; ++i) {
        const double x = p[i].Dystans;
        sx += x;
        sx2 += x * x;
        sya += p[i].Xa;
        sxya += x * p[i].Xa;
        syr += p[i].Xr;
        sxyr += x * p[i].Xr;
    }
    const double d = sx * sx - n * sx2;
    if (d == 0.0 || !std::isfinite(d)) return false;
    xa.slope = (sx * sya - n * sxya) / d;
    xa.intercept = (sx * sxya - sya * sx2) / d;
    xr.slope = (sx * syr - n * sxyr) / d;
    xr.intercept = (sx * sxyr - syr * sx2) / d;
    return true;
}

}  // namespace

void FitEndPointLine(const TPunkt& source, TPunkt& dest, LineAngles& angles) {
    angles = {0.0, 0.0};
    const int n = source.Count();
    if (n < 2 || source[n - 1].Dystans == source[0].Dystans) {
        copyPoints(source, dest);
        return;
    }
    const TPunktItem& first = source[0];
    const TPunktItem& last = source[n - 1];
    const double span = last.Dystans - first.Dystans;
    const double ka = (last.Xa - first.Xa) / span;
    const double kr = (last.Xr - first.Xr) / span;
    for (int i = 0; i < n; ++i) {
        const TPunktItem& p = source[i];
        TPunktItem& r = dest.Add();
        r.Dystans = p.Dystans;
        r.Xa = p.Xa - (first.Xa + ka * (p.Dystans - first.Dystans));
        r.Xr = p.Xr - (first.Xr + kr * (p.Dystans - first.Dystans));
    }
    angles = {angleOf(ka), angleOf(kr)};
}

void FitLeastSquaresLine(const TPunkt& source, TPunkt& dest, LineAngles& angles) {
    angles = {0.0, 0.0};
    Line a, r;
    if (!leastSquares(source, a, r)) {
        copyPoints(source, dest);
        return;
    }
    for (int i = 0; i < source.Count(); ++i) {
        const TPunktItem& p = source[i];
        TPunktItem& out = dest.Add();
        out.Dystans = p.Dystans;
        out.Xa = p.Xa - (a.slope * p.Dystans + a.intercept);
        out.Xr = p.Xr - (r.slope * p.Dystans + r.intercept);
    }
    angles = {angleOf(a.slope), angleOf(r.slope)};
}

void LeastSquaresCoefficients(const TPunkt& source, LineCoefficients& coefficients) {
    coefficients = {0.0, 0.0, 0.0, 0.0};
    Line a, r;
    if (leastSquares(source, a, r)) coefficients = {a.slope, r.slope, a.intercept, r.intercept};
}

namespace {

void spanOf(const TPunkt& p, double& xa, double& xr) {
    xa = xr = 0.0;
    if (p.Count() == 0) return;
    double maxA = p[0].Xa, minA = p[0].Xa, maxR = p[0].Xr, minR = p[0].Xr;
    for (int i = 1; i < p.Count(); ++i) {
        if (p[i].Xa > maxA) maxA = p[i].Xa;
        if (p[i].Xa < minA) minA = p[i].Xa;
        if (p[i].Xr > maxR) maxR = p[i].Xr;
        if (p[i].Xr < minR) minR = p[i].Xr;
    }
    xa = maxA - minA;
    xr = maxR - minR;
}

QString valueCaption(double value, QChar separator) {
    // The caption is the translated text followed by " = %5.2f µm"; the translation itself is
    // never used as a format.
    QString number = foundations::formatPrintfF(value, 5, 2);
    number.replace(u'.', separator);
    return Msg("stCapProsto") + " = " + number + QString::fromUtf8(" µm");
}

}  // namespace

StraightnessPlot PlotStraightness(const TPunkt& points, const StraightnessPlotOptions& options, QChar separator) {
    StraightnessPlot plot;
    TPunkt shown;
    LineAngles angles;
    switch (options.statisticsMethod) {
        case 0: FitEndPointLine(points, shown, angles); break;
        case 1: FitLeastSquaresLine(points, shown, angles); break;
        default: shown.Assign(points); break;
    }

    QString title = Msg("stWykresProsto");
    if (options.straightnessMethod == 2) title += " - " + Msg("stOsPozioma");
    plot.horizontalTitle << title;
    if (options.flatnessMode) plot.horizontalTitle << Msg("stMapaOs") + " " + QString::number(options.flatnessLine);
    plot.verticalTitle << Msg("stWykresProsto") + " - " + Msg("stOsPionowa");

    if (options.lengthUnit == 0 || options.lengthUnit == 1) {
        const double scale = options.lengthUnit == 1 ? CmToInch : 1.0;
        for (int i = 0; i < shown.Count(); ++i) {
            const double x = shown[i].Dystans * scale;
            if (!std::isfinite(x)) continue;
            if (std::isfinite(shown[i].Xa)) plot.horizontal.points.emplace_back(x, shown[i].Xa);
            if (std::isfinite(shown[i].Xr)) plot.vertical.points.emplace_back(x, shown[i].Xr);
        }
    }

    // The straightness value is always that of the end-point line.
    if (options.statisticsMethod != 0) {
        shown.Clear();
        FitEndPointLine(points, shown, angles);
    }
    spanOf(shown, plot.horizontalValue, plot.verticalValue);
    plot.horizontalCaption = valueCaption(plot.horizontalValue, separator);
    plot.verticalCaption = valueCaption(plot.verticalValue, separator);
    return plot;
}

EnvironmentEntry EnvironmentFromGlobals() {
    EnvironmentEntry e;
    e.humidity = Humidity;
    e.pressure = Pressure;
    e.airTemperature = AirTemperature;
    e.materialTemperature = MaterialTemperature;
    e.referenceTemperature = ReferenceTemperature;
    return e;
}

void FillHeaderEnvironment(TMeasurementHeader& header, const EnvironmentEntry& e, const QDate& today) {
    using H = TMeasurementHeader;
    using foundations::formatFixed;
    header.Humidity = CutShortString(
        e.humidityFromStation ? formatFixed(e.humidity, 3, 0) + " %" : e.humidityText, H::HumidityCap);
    header.Pressure =
        CutShortString(e.pressureFromStation ? formatFixed(e.pressure, 5, 1) : e.pressureText, H::PressureCap);
    header.AirTemperature = CutShortString(
        e.airFromStation ? formatFixed(e.airTemperature, 4, 2) : e.airText, H::AirTemperatureCap);
    header.MaterialTemperature = CutShortString(
        e.materialFromStation ? formatFixed(e.materialTemperature, 4, 2) : e.materialText, H::MaterialTemperatureCap);
    header.ReferenceTemperature = CutShortString(formatFixed(e.referenceTemperature, 15, 1), H::ReferenceTemperatureCap);
    header.Date = CutShortString(QLocale::system().toString(today, QLocale::ShortFormat), H::DateCap);
}

QString PadLeft(uint8_t width, const QString& s) {
    if (s.length() > width) return s;
    return QString(width - s.length() + 1, u' ') + s;
}

}  // namespace evaluation
