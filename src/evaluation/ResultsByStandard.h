#pragma once
// Results by standard: the rows of the results list (name * permissible value * measured
// value) for the standard chosen in ComboBoxNorma, the mark of each value over its limit, and
// which chart characteristics the standard switches on.
#include <QChar>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "evaluation/PositioningStats.h"
#include "foundations/NumberFormat.h"
#include "foundations/PomiarCol.h"

class THeaderListbox;

namespace evaluation {

// The permissible errors of one machine record (µm; 0 = no limit), one member per float field
// of the machine table. Field names with "+" or "-" are spelt out here; MachineLimitFields()
// gives the table's own names.
struct MachineLimits {
    double Ntba_dok_p = 0, Ntba_dok_t = 0, Ntba_dok_d = 0;
    double Ntba_pow_p = 0, Ntba_pow_t = 0, Ntba_pow_d = 0;
    double Ntba_lzs = 0, Ntba_lzm = 0;
    double Iso_dok_p = 0, Iso_dok_t = 0, Iso_dok_d = 0;
    double Iso_pow_p = 0, Iso_pow_t = 0, Iso_pow_d = 0;
    double Iso_lzs = 0, Iso_lzm = 0;
    double Vdi_dok_p = 0, Vdi_dok_t = 0, Vdi_pa = 0, Vdi_p = 0;
    double Vdi_pow_p = 0, Vdi_pow_t = 0, Vdi_ps = 0, Vdi_ps_plus_u = 0;  // "Vdi_ps+u"
    double Vdi_lzs = 0, Vdi_lzm = 0;
    double Bsi_pow_p = 0, Bsi_pow_t = 0, Bsi_pow_d = 0, Bsi_d = 0;
    double Bsi_ru_plus = 0, Bsi_ru_minus = 0, Bsi_rb = 0;  // "Bsi_ru+", "Bsi_ru-"
    double Bsi_lzs = 0, Bsi_lzm = 0;
    double Pn_mar = 0, Pn_rpmax = 0, Pn_nmax = 0;
    double JIS_Aca = 0, JIS_ACR = 0, JIS_Rep = 0, JIS_LM = 0;
};

// A float field of the machine table: its column name and the member that holds it.
struct MachineLimitField {
    const char* name;
    double MachineLimits::*member;
};
// All 42 float fields in the table's order.
const std::array<MachineLimitField, 42>& MachineLimitFields();

// The items of ComboBoxNorma, in index order.
const QStringList& StandardNames();

// One row of the results list: the text and its flag (1 = the value exceeds its limit).
struct ResultRow {
    QString text;
    int flag = 0;
    bool operator==(const ResultRow&) const = default;
};

// A chart characteristic switched on or off by the chosen standard.
struct SeriesSwitch {
    QString name;
    bool active = false;
    bool operator==(const SeriesSwitch&) const = default;
};

struct PositioningResults {
    std::vector<ResultRow> rows;
    std::vector<SeriesSwitch> series;
};

// name + " * " + limit + " * " + value + " µm"; limit and value fixed, precision 10, 1 decimal;
// a limit of 0 (or not a finite number) is written "--".
QString ResultLine(const QString& name, double value, double limit,
                   QChar separator = foundations::systemDecimalSeparator());

// The on/off state of the fifteen characteristics (directional and bidirectional means with
// their ±3s bands, the reversal line, the VDI lines) for a standard; empty for an unknown index.
std::vector<SeriesSwitch> StandardSeries(int standard);

// The results of the standard with index `standard` from the evaluated run. nullopt when the
// means are empty (the list keeps what it shows). An unknown index gives no rows and no series
// changes. Without limits (no machine record) every limit is 0: "--" and never marked.
std::optional<PositioningResults> FillPositioningResults(int standard, const TCykl& cycles, const TPunkt& means,
                                                         const TPunkt& sigmas,
                                                         const std::optional<MachineLimits>& limits,
                                                         QChar separator = foundations::systemDecimalSeparator());

// Replaces the rows of the results list by `results`' rows with their flags.
void FillResultsList(THeaderListbox& list, const PositioningResults& results);

}  // namespace evaluation
