#include "evaluation/ResultsByStandard.h"

#include <cmath>

#include "foundations/HeadList.h"
#include "foundations/ProgramMessages.h"

namespace evaluation {

const std::array<MachineLimitField, 42>& MachineLimitFields() {
    using M = MachineLimits;
    static const std::array<MachineLimitField, 42> fields{{
        {"Ntba_dok_p", &M::Ntba_dok_p}, {"Ntba_dok_t", &M::Ntba_dok_t}, {"Ntba_dok_d", &M::Ntba_dok_d},
        {"Ntba_pow_p", &M::Ntba_pow_p}, {"Ntba_pow_t", &M::Ntba_pow_t}, {"Ntba_pow_d", &M::Ntba_pow_d},
        {"Ntba_lzs", &M::Ntba_lzs},     {"Ntba_lzm", &M::Ntba_lzm},
        {"Iso_dok_p", &M::Iso_dok_p},   {"Iso_dok_t", &M::Iso_dok_t},   {"Iso_dok_d", &M::Iso_dok_d},
        {"Iso_pow_p", &M::Iso_pow_p},   {"Iso_pow_t", &M::Iso_pow_t},   {"Iso_pow_d", &M::Iso_pow_d},
        {"Iso_lzs", &M::Iso_lzs},       {"Iso_lzm", &M::Iso_lzm},
        {"Vdi_dok_p", &M::Vdi_dok_p},   {"Vdi_dok_t", &M::Vdi_dok_t},   {"Vdi_pa", &M::Vdi_pa},
        {"Vdi_p", &M::Vdi_p},           {"Vdi_pow_p", &M::Vdi_pow_p},   {"Vdi_pow_t", &M::Vdi_pow_t},
        {"Vdi_ps", &M::Vdi_ps},         {"Vdi_ps+u", &M::Vdi_ps_plus_u},
        {"Vdi_lzs", &M::Vdi_lzs},       {"Vdi_lzm", &M::Vdi_lzm},
        {"Bsi_pow_p", &M::Bsi_pow_p},   {"Bsi_pow_t", &M::Bsi_pow_t},   {"Bsi_pow_d", &M::Bsi_pow_d},
        {"Bsi_d", &M::Bsi_d},           {"Bsi_ru+", &M::Bsi_ru_plus},   {"Bsi_ru-", &M::Bsi_ru_minus},
        {"Bsi_rb", &M::Bsi_rb},         {"Bsi_lzs", &M::Bsi_lzs},       {"Bsi_lzm", &M::Bsi_lzm},
        {"Pn_mar", &M::Pn_mar},         {"Pn_rpmax", &M::Pn_rpmax},     {"Pn_nmax", &M::Pn_nmax},
        {"JIS_Aca", &M::JIS_Aca},       {"JIS_ACR", &M::JIS_ACR},       {"JIS_Rep", &M::JIS_Rep},
        {"JIS_LM", &M::JIS_LM},
    }};
    return fields;
}

const QStringList& StandardNames() {
    static const QStringList names{"NMTBA",           "ISO 230-2", "VDI/DGQ 3441", "BSI BS 4656 P16",
                                   "PN - 81/M-55551.32-3", "JIS B-6330-1980"};
    return names;
}

namespace {

// A stored limit that is not a finite number counts as no limit.
double usableLimit(double limit) { return std::isfinite(limit) ? limit : 0.0; }

}  // namespace

QString ResultLine(const QString& name, double value, double limit, QChar separator) {
    limit = usableLimit(limit);
    const QString limitText = limit == 0.0 ? QStringLiteral("--") : foundations::formatFixed(limit, 10, 1, separator);
    return name + " * " + limitText + " * " + foundations::formatFixed(value, 10, 1, separator) +
           QString::fromUtf8(" µm");
}

std::vector<SeriesSwitch> StandardSeries(int standard) {
    if (standard < 0 || standard > 5) return {};
    static const QStringList F{"SredniaWPrzod", "SredniaPp3Sigma", "SredniaPm3Sigma",
                               "SredniaWTyl",   "SredniaTp3Sigma", "SredniaTm3Sigma"};
    static const QStringList D{"SredniaDwukier", "SredniaDp3Sigma", "SredniaDm3Sigma"};
    static const QStringList V{"SredniaVDI", "SredniaVDIpA", "SredniaVDImA", "SredniaVDIpU", "SredniaVDImU"};
    QStringList on;
    switch (standard) {
        case 0: on = D; break;
        case 1:
        case 3:
        case 4: on = F + QStringList{"LuzZwrotny"}; break;
        case 2: on = V; break;
        case 5: on = {"SredniaWPrzod", "SredniaWTyl"}; break;
    }
    std::vector<SeriesSwitch> out;
    for (const QStringList* group : {&F, &D})
        for (const QString& n : *group) out.push_back({n, on.contains(n)});
    out.push_back({"LuzZwrotny", on.contains("LuzZwrotny")});
    for (const QString& n : V) out.push_back({n, on.contains(n)});
    return out;
}

namespace {

class RowBuilder {
public:
    RowBuilder(const MachineLimits& limits, bool unidirectional, QChar sep)
        : limits_(limits), unidirectional_(unidirectional), sep_(sep) {}

    // A heading: the translated key alone; with `blank`, an empty row before it.
    void heading(const char* key, bool bidirectionalOnly = false, bool blank = true) {
        if (bidirectionalOnly && unidirectional_) return;
        if (blank) rows.push_back({QString(), 0});
        rows.push_back({Msg(key), 0});
    }
    // A figure row; names starting with "st" are message keys, `suffix` is appended.
    void row(const char* name, const char* suffix, double value, double MachineLimits::*field,
             bool bidirectionalOnly = false) {
        if (bidirectionalOnly && unidirectional_) return;
        const QString n = QString::fromLatin1(name);
        const QString text = (n.startsWith("st") ? Msg(n) : n) + QString::fromLatin1(suffix);
        const double limit = usableLimit(limits_.*field);
        rows.push_back({ResultLine(text, value, limit, sep_), limit > 0 && value > limit ? 1 : 0});
    }

    std::vector<ResultRow> rows;

private:
    const MachineLimits& limits_;
    bool unidirectional_;
    QChar sep_;
};

}  // namespace

std::optional<PositioningResults> FillPositioningResults(int standard, const TCykl& cycles, const TPunkt& means,
                                                         const TPunkt& sigmas,
                                                         const std::optional<MachineLimits>& limits,
                                                         QChar separator) {
    if (means.Count() == 0) return std::nullopt;
    const PositioningFigures f = ComputePositioningFigures(cycles, means, sigmas);
    const bool uni = IsUnidirectional(cycles);
    const MachineLimits lim = limits.value_or(MachineLimits{});
    RowBuilder b(lim, uni, separator);
    using M = MachineLimits;
    constexpr bool bidi = true;
    const auto& A = f.accuracy;
    const auto& R = f.repeatability;
    switch (standard) {
        case 0:  // NMTBA: repeatability as 3s, half the 6s figure
            b.heading("stDokladnosc", false, false);
            b.row("stWProzd", "", A.forward, &M::Ntba_dok_p);
            b.row("stWTyl", "", A.backward, &M::Ntba_dok_t, bidi);
            b.row("stDwukierunkowa", "", A.pooled, &M::Ntba_dok_d, bidi);
            b.heading("stPowtarzalnosc");
            b.row("stWProzd", "", R.forward / 2, &M::Ntba_pow_p);
            b.row("stWTyl", "", R.backward / 2, &M::Ntba_pow_t, bidi);
            b.row("stDwukierunkowa", "", R.pooled / 2, &M::Ntba_pow_d, bidi);
            b.heading("stLuz", bidi);
            b.row("stSredni", "", f.reversal.mean, &M::Ntba_lzs, bidi);
            b.row("stMax", "", f.reversal.max, &M::Ntba_lzm, bidi);
            break;
        case 1:  // ISO 230-2
            b.heading("stDokladnosc", false, false);
            b.row("stWProzd", "", A.forward, &M::Iso_dok_p);
            b.row("stWTyl", "", A.backward, &M::Iso_dok_t, bidi);
            b.row("stCalkowita", " A", A.total, &M::Iso_dok_d, bidi);
            b.heading("stPowtarzalnosc");
            b.row("stWProzd", " R", R.forward, &M::Iso_pow_p);
            b.row("stWTyl", " R", R.backward, &M::Iso_pow_t, bidi);
            b.row("stDwukierunkowa", " R", R.bidirectional, &M::Iso_pow_d, bidi);
            b.heading("stBlabPow", bidi);
            b.row("stSredni", " B", f.reversal.mean, &M::Iso_lzs, bidi);
            b.row("stMax", "", f.reversal.max, &M::Iso_lzm, bidi);
            break;
        case 2:  // VDI/DGQ 3441
            b.heading("stDokladnosc", false, false);
            b.row("stWProzd", "", A.forward, &M::Vdi_dok_p);
            b.row("stWTyl", "", A.backward, &M::Vdi_dok_t, bidi);
            b.row("Pa", "", f.Pa, &M::Vdi_pa, bidi);
            b.row("P", "", f.P, &M::Vdi_p, bidi);
            b.heading("stPowtarzalnosc");
            b.row("stWProzd", "", R.forward, &M::Vdi_pow_p);
            b.row("stWTyl", "", R.backward, &M::Vdi_pow_t, bidi);
            b.row("Ps", "", f.Ps, &M::Vdi_ps, bidi);
            b.row("Ps+U", "", f.PsU, &M::Vdi_ps_plus_u, bidi);
            b.heading("stBlabPow", bidi);
            b.row("stSredni", "", f.reversal.mean, &M::Vdi_lzs, bidi);
            b.row("stMax", " U", f.reversal.max, &M::Vdi_lzm, bidi);
            break;
        case 3:  // BSI BS 4656 P16
            b.heading("stDokladnosc", false, false);
            b.row("stWProzd", "", A.forward, &M::Bsi_pow_p);
            b.row("stWTyl", "", A.backward, &M::Bsi_pow_t, bidi);
            b.row("stCalkowita", " A", A.total, &M::Bsi_pow_d, bidi);
            b.row("D", "", f.Pa, &M::Bsi_d, bidi);
            b.heading("stPowtarzalnosc");
            b.row("RU+", "", R.forward, &M::Bsi_ru_plus);
            b.row("RU-", "", R.backward, &M::Bsi_ru_minus, bidi);
            b.row("RB", "", R.bidirectional, &M::Bsi_rb, bidi);
            b.heading("stBlabPow", bidi);
            b.row("stSredni", " B", f.reversal.mean, &M::Bsi_lzs, bidi);
            b.row("stMax", "", f.reversal.max, &M::Bsi_lzm, bidi);
            break;
        case 4:  // PN: every row, also for a unidirectional run
            b.heading("stDokladnosc", false, false);
            b.row("Mar", "", f.Mar, &M::Pn_mar);
            b.heading("stPowtarzalnosc");
            b.row("Rpmax", "", f.Rpmax, &M::Pn_rpmax);
            b.heading("stLuz");
            b.row("Nmax", "", f.reversal.max, &M::Pn_nmax);
            break;
        case 5:  // JIS B 6330
            b.heading("stDokladnosc", false, false);
            b.row("stWProzd", "", f.span.forward, &M::JIS_Aca);
            b.row("stWTyl", "", f.span.backward, &M::JIS_ACR, bidi);
            b.heading("stPowtarzalnosc");
            b.row("stMax", "", f.J, &M::JIS_Rep);
            b.heading("stBlabPow", bidi);
            b.row("stMax", "", f.reversal.max, &M::JIS_LM, bidi);
            break;
        default:
            break;
    }
    PositioningResults r;
    r.rows = std::move(b.rows);
    r.series = StandardSeries(standard);
    return r;
}

void FillResultsList(THeaderListbox& list, const PositioningResults& results) {
    list.ClearItems();
    for (const ResultRow& row : results.rows) list.AddItem(row.text, row.flag);
}

}  // namespace evaluation
