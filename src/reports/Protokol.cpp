#include "reports/Protokol.h"

#include <algorithm>

#include "foundations/NumberFormat.h"
#include "platform/Chart.h"
#include "reports/RaportDruk.h"

namespace reports {

namespace {

const ReportFont kText{10};
const ReportFont kBold{10, true};
const ReportFont kSection{11, true};
const ReportFont kMemo{9};

// The number at the start of a header text, with "." or "," as its separator; the text from
// the first character of its unit on is left out.
std::optional<double> leadingNumber(QString t, const QString& unitStart) {
    for (QChar c : unitStart) {
        const int at = t.indexOf(c);
        if (at >= 0) t.truncate(at);
    }
    return foundations::parseUserReal(t.trimmed());
}

}  // namespace

void SplitResultLines(QStringList& Names, QStringList& Values, const QStringList& Source) {
    Names.clear();
    Values.clear();
    for (const QString& s : Source) {
        const int first = s.indexOf(u'*');
        if (first < 0) {
            Names << s;
            Values << QString();
            continue;
        }
        Names << s.left(first);
        const int second = s.indexOf(u'*', first + 1);
        Values << (second < 0 ? s.mid(first + 1) : s.mid(second + 1));
    }
}

std::optional<double> PressureOfText(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t == u"--") return 1013.1;
    return leadingNumber(t, QStringLiteral("h"));
}

std::optional<double> TemperatureOfText(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t == u"--") return 20.0;
    return leadingNumber(t, QStringLiteral("\u00b0C"));
}

QString ReferenceTemperatureText(const QString& text, uint8_t temperatureUnit, QChar separator) {
    const auto celsius = text.trimmed().isEmpty() ? std::optional<double>(20.0) : TemperatureOfText(text);
    if (!celsius) return (text + QStringLiteral(" \u00b0C")).left(7);
    // The same unit as the air and material temperatures above it.
    if (temperatureUnit == 1)
        return foundations::formatFixed(*celsius * 9 * 0.2 + 32, 15, 1, separator) + QStringLiteral(" \u00b0F");
    return foundations::formatFixed(*celsius, 15, 1, separator) + QStringLiteral(" \u00b0C");
}

// ---- protocol ----

TFormProtokol::TFormProtokol(const ProtocolData& data, const QString& printDate)
    : Wykres(std::make_shared<ReportChart>()), data_(data) {
    name = QStringLiteral("FormProtokol");
    title = QStringLiteral("PROTOKÓŁ POMIARU");
    firstPageHeader = true;
    lastPageFooter = true;
    dateText = printDate;

    Band& b = AddBand(BandKind::Detail, QStringLiteral("QRBand1"), 478);
    b.Label(QStringLiteral("QRLabel1"), QStringLiteral("PROTOKÓŁ POMIARU"), 0, 0, kBandWidth, 28, Qt::AlignHCenter,
            {15, true});
    b.Label(QString(), QStringLiteral("Maszyna: "), 0, 40, 105, 20, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRLabel7"), QString(), 110, 40, 260, 20, Qt::AlignLeft, kBold);
    b.Label(QString(), QStringLiteral("Oś:"), 400, 40, 95, 20, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRLabel9"), QString(), 500, 40, 218, 20, Qt::AlignLeft, kBold);
    b.Label(QString(), QStringLiteral("Data pomiaru:"), 0, 62, 105, 20, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRLabel11"), QString(), 110, 62, 260, 20, Qt::AlignLeft, kText);
    b.Label(QString(), QStringLiteral("Nr seryjny:"), 400, 62, 95, 20, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRNrSer"), QString(), 500, 62, 218, 20, Qt::AlignLeft, kText);
    b.Label(QString(), QStringLiteral("Nazwa pliku: "), 0, 84, 105, 20, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRPlik"), QString(), 110, 84, 280, 20, Qt::AlignLeft, kText);
    b.Label(QString(), QStringLiteral("Norma:"), 400, 84, 95, 20, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRNorma"), QString(), 500, 84, 218, 20, Qt::AlignLeft, kText);
    b.Label(QStringLiteral("QRLabel3"), QStringLiteral("Pomiar wykonano zestawem pomiarowym VKM-30 Trivane        BRANTOVA"),
            0, 110, kBandWidth, 20, Qt::AlignLeft, kText);
    b.Line(0, 134, kBandWidth, 134);
    BandItem chart;
    chart.kind = ItemKind::Chart;
    chart.name = QStringLiteral("Wykres");
    chart.rect = QRectF(0, 140, kBandWidth, 334);
    chart.chart = Wykres;
    b.Add(chart);

    // The results, the conditions and the signatures follow as bands of their own, so that a
    // long results list moves them to the next page instead of running off this one.
    Band& r = AddBand(BandKind::Detail, QStringLiteral("QRBandWyniki"), 40);
    r.Label(QStringLiteral("QRLabel18"), QStringLiteral("WYNIKI"), 0, 4, 200, 22, Qt::AlignLeft, kSection);
    BandItem names;
    names.kind = ItemKind::Memo;
    names.name = QStringLiteral("QRMemo1");
    names.rect = QRectF(0, 30, 440, 0);
    names.font = kMemo;
    r.Add(names);
    BandItem values = names;
    values.name = QStringLiteral("QRMemo2");
    values.rect = QRectF(450, 30, 268, 0);
    r.Add(values);

    Band& w = AddBand(BandKind::Detail, QStringLiteral("QRBandWarunki"), 152);
    w.Label(QString(), QStringLiteral("WARUNKI POMIARU"), 0, 8, 300, 22, Qt::AlignLeft, kSection);
    const char* conditions[][2] = {{"Wilgotność  :", "QRLabel36"},
                                   {"Ciśnienie     :", "QRLabel37"},
                                   {"Temperatura powietrza  :", "QRLabel38"},
                                   {"Temperatura podłoża    :", "QRLabel39"},
                                   {"Temperatura odniesienia    :", "QRLabel21"},
                                   {"Prędkość pomiarowa :", "QRFeedRate"}};
    double y = 34;
    for (const auto& c : conditions) {
        w.Label(QString(), QString::fromUtf8(c[0]), 0, y, 220, 19, Qt::AlignLeft, kText);
        w.Label(QString::fromLatin1(c[1]), QString(), 225, y, 150, 19, Qt::AlignLeft, kBold);
        y += 19;
    }
    w.Label(QString(), QStringLiteral("mm/min"), 380, y - 19, 80, 19, Qt::AlignLeft, kText);

    Band& s = AddBand(BandKind::Detail, QStringLiteral("QRBandPodpis"), 100);
    s.Line(0, 4, kBandWidth, 4);
    s.Label(QString(), QStringLiteral("Pomiar wykonał:"), 0, 10, 120, 20, Qt::AlignLeft, kText);
    s.Label(QStringLiteral("QROperator"), QString(), 125, 10, 240, 20, Qt::AlignLeft, kBold);
    s.Label(QString(), QStringLiteral("Podpis:"), 400, 10, 80, 20, Qt::AlignLeft, kText);
    s.Line(480, 28, kBandWidth, 28);
    s.Label(QString(), QStringLiteral("Firma:"), 0, 32, 120, 20, Qt::AlignLeft, kText);
    s.Label(QStringLiteral("QRFirma"), QString(), 125, 32, 240, 20, Qt::AlignLeft, kBold);
    s.Label(QString(), QStringLiteral("Uwagi:"), 0, 58, 120, 20, Qt::AlignLeft, kText);
    BandItem notes;
    notes.kind = ItemKind::Memo;
    notes.name = QStringLiteral("QRMemoUwagi");
    notes.rect = QRectF(0, 80, kBandWidth, 0);
    notes.font = kMemo;
    s.Add(notes);

    Wykres->onPrint = [this](ReportChart& c, const QRectF& rect) { WykresPrint(c, rect); };
    beforePrint = [this] { QuickRepBeforePrint(); };
    needData = [this] { return QuickRepNeedData(); };
    TranslateReport(*this);
}

void TFormProtokol::QuickRepBeforePrint() {
    records_ = 0;
    title = FindItem(QStringLiteral("QRLabel1"))->text;
}

bool TFormProtokol::QuickRepNeedData() {
    if (records_ == 0) {
        auto set = [this](const char* n, const QString& t) { FindItem(QString::fromLatin1(n))->text = t; };
        if (data_.chart) {
            CopyChartToReportChart(*data_.chart, *Wykres->chart);
            Wykres->lastSize = ScreenSizeOf(*data_.chart);
        }
        Wykres->chart->SetColor(Qt::white);
        Wykres->chart->SetTitleText(QStringList());
        Wykres->chart->Legend().color = Qt::white;

        const TMeasurementHeader& h = data_.header;
        set("QRPlik", data_.measurementName);
        set("QRLabel36", h.Humidity);
        // A text that holds no number prints as it is rather than stopping the printout.
        const auto p = PressureOfText(h.Pressure);
        set("QRLabel37", p ? (data_.units ? data_.units->FormatPressure(*p) : QString::number(*p)) : h.Pressure);
        const auto ta = TemperatureOfText(h.AirTemperature);
        set("QRLabel38",
            ta ? (data_.units ? data_.units->FormatTemperature(*ta) : QString::number(*ta)) : h.AirTemperature);
        const auto tm = TemperatureOfText(h.MaterialTemperature);
        set("QRLabel39",
            tm ? (data_.units ? data_.units->FormatTemperature(*tm) : QString::number(*tm)) : h.MaterialTemperature);
        set("QRLabel7", h.MachineType);
        set("QRLabel9", h.Axis);
        set("QRLabel11", h.Date);
        set("QRLabel21", data_.units ? data_.units->FormatReferenceTemperature(h.ReferenceTemperature)
                                     : ReferenceTemperatureText(h.ReferenceTemperature, 0, u'.'));
        set("QROperator", h.Operator);
        set("QRFirma", h.Company);
        set("QRNrSer", h.SerialNumber);
        set("QRFeedRate", h.Feed);
        set("QRNorma", data_.standardName);

        BandItem* names = FindItem(QStringLiteral("QRMemo1"));
        BandItem* values = FindItem(QStringLiteral("QRMemo2"));
        SplitResultLines(names->lines, values->lines, data_.resultLines);
        // The results band grows with its lines.
        const double lh = MemoLineHeight(names->font);
        names->rect.setHeight(names->lines.size() * lh);
        values->rect.setHeight(values->lines.size() * lh);
        FindBand(QStringLiteral("QRBandWyniki"))->height = 34 + names->lines.size() * lh;

        BandItem* notes = FindItem(QStringLiteral("QRMemoUwagi"));
        notes->lines.clear();
        for (const QString& n : h.Notes) notes->lines << n;
        notes->rect.setHeight(notes->lines.size() * lh);
        FindBand(QStringLiteral("QRBandPodpis"))->height = 84 + notes->lines.size() * lh;
    }
    ++records_;
    return records_ <= 1;
}

void TFormProtokol::WykresPrint(ReportChart& c, const QRectF& r) {
    if (c.lastSize.width() > 0 && c.lastSize != r.size())
        ScaleChartForPrint(*c.chart, r.width() / c.lastSize.width());
    c.lastSize = r.size();
}

// ---- table of measured cycles ----

TRTabela1Form::TRTabela1Form(const TCykl& cycles, const TMeasurementHeader& header, const QString& measurementName,
                             const QString& printDate, QChar separator)
    : cycles_(cycles), header_(header), name_(measurementName), separator_(separator) {
    name = QStringLiteral("RTabela1Form");
    title = QStringLiteral("Tabela pomiarów");
    // The title and the machine data head the first page too.
    firstPageHeader = true;
    lastPageFooter = true;
    dateText = printDate;

    Band& h = AddBand(BandKind::PageHeader, QStringLiteral("QRBand3"), 112);
    h.Label(QStringLiteral("QRLabel1"), QStringLiteral("Tabela pomiarów"), 0, 0, kBandWidth, 28, Qt::AlignHCenter,
            {15, true});
    h.Label(QString(), QStringLiteral("Maszyna: "), 0, 36, 105, 20, Qt::AlignLeft, kText);
    h.Label(QStringLiteral("QRLabel11"), QString(), 110, 36, 260, 20, Qt::AlignLeft, kBold);
    h.Label(QString(), QStringLiteral("Oś:"), 400, 36, 100, 20, Qt::AlignLeft, kText);
    h.Label(QStringLiteral("QRLabel13"), QString(), 505, 36, 213, 20, Qt::AlignLeft, kBold);
    h.Label(QString(), QStringLiteral("Nazwa pliku: "), 0, 58, 105, 20, Qt::AlignLeft, kText);
    h.Label(QStringLiteral("QRPlik"), QString(), 110, 58, 280, 20, Qt::AlignLeft, kText);
    h.Label(QString(), QStringLiteral("Nr seryjny: "), 400, 58, 100, 20, Qt::AlignLeft, kText);
    h.Label(QStringLiteral("QRNrSer"), QString(), 505, 58, 213, 20, Qt::AlignLeft, kText);
    h.Label(QString(), QStringLiteral("Data pomiaru:"), 0, 80, 105, 20, Qt::AlignLeft, kText);
    h.Label(QStringLiteral("QRLabel15"), QString(), 110, 80, 260, 20, Qt::AlignLeft, kText);
    h.Label(QString(), QStringLiteral("Data wydruku:"), 400, 80, 100, 20, Qt::AlignLeft, kText);
    BandItem& printed = h.Label(QStringLiteral("QRSysData2"), QString(), 505, 80, 213, 20, Qt::AlignLeft, kText);
    printed.kind = ItemKind::SysData;
    printed.sysData = SysDataKind::Date;
    h.beforePrint = [this](Band&) {
        QRBand3BeforePrint();
        return true;
    };

    struct Col {
        const char* head;
        const char* unit;
        const char* label;
        double x, w;
    };
    static constexpr Col cols[] = {{"Nr punktu", "", "QRNrPunktu", 20, 110},
                                   {"Wartość zadana", "mm", "QRDystans", 170, 150},
                                   {"Błąd w przód", "um", "QRXa", 360, 150},
                                   {"Błąd w tył", "um", "QRXr", 550, 150}};
    Band& ch = AddBand(BandKind::ColumnHeader, QStringLiteral("ColumnHeaderBand1"), 24);
    ch.frame.top = true;
    Band units;
    units.kind = BandKind::ColumnHeader;
    units.name = QStringLiteral("ChildBand1");
    units.height = 22;
    units.frame.bottom = true;
    Band& d = AddBand(BandKind::Detail, QStringLiteral("DetailBand1"), 24);
    d.Label(QString(), QStringLiteral("Nr cyklu:"), 20, 4, 70, 18, Qt::AlignLeft, kBold);
    d.Label(QStringLiteral("QRNrCyklu"), QStringLiteral("1"), 92, 4, 60, 18, Qt::AlignLeft, {10, true, true});
    d.beforePrint = [this](Band&) { return DetailBand1BeforePrint(); };
    Band row;
    row.kind = BandKind::Detail;
    row.name = QStringLiteral("ChildBand2");
    row.height = 20;
    row.beforePrint = [this](Band&) { return hasRow_; };
    for (const Col& c : cols) {
        ch.Label(QString(), QString::fromUtf8(c.head), c.x, 4, c.w, 18, Qt::AlignRight, kBold);
        units.Label(QString(), QString::fromUtf8(c.unit), c.x, 2, c.w, 18, Qt::AlignRight, kText);
        row.Label(QString::fromLatin1(c.label), QString(), c.x, 1, c.w, 18, Qt::AlignRight, kText);
    }
    ch.children.push_back(std::move(units));
    d.children.push_back(std::move(row));

    Band& f = AddBand(BandKind::PageFooter, QStringLiteral("QRBand2"), 26);
    f.frame.top = true;
    BandItem& page = f.Label(QStringLiteral("QRSysData1"), QString(), 0, 4, kBandWidth, 18, Qt::AlignRight, kText);
    page.kind = ItemKind::SysData;
    page.sysData = SysDataKind::PageNumber;

    beforePrint = [this] { QuickRepBeforePrint(); };
    needData = [this] { return QuickRepNeedData(); };
    TranslateReport(*this);
}

void TRTabela1Form::QuickRepBeforePrint() {
    cycle_ = 0;
    point_ = -1;
    newCycle_ = true;
    hasRow_ = false;
    FindItem(QStringLiteral("QRNrCyklu"))->text = QStringLiteral("1");
}

bool TRTabela1Form::QuickRepNeedData() {
    const int cycles = cycles_.Count();
    const int points = cycle_ < cycles ? cycles_.GetItem(cycle_).Punkt.Count() : 0;
    // The next point of this cycle, else the first of the next cycle. A cycle without points
    // gets its own record (its number, no row), so the report moves on past it.
    if (point_ == -1 || point_ + 1 < points) {
        ++point_;
    } else {
        ++cycle_;
        FindItem(QStringLiteral("QRNrCyklu"))->text = QString::number(cycle_ + 1);
        newCycle_ = true;
        point_ = 0;
    }
    hasRow_ = cycle_ < cycles && point_ < cycles_.GetItem(cycle_).Punkt.Count();
    if (hasRow_) {
        const TPunktItem& p = cycles_.GetItem(cycle_).Punkt.GetItem(point_);
        FindItem(QStringLiteral("QRNrPunktu"))->text = QString::number(point_);
        FindItem(QStringLiteral("QRDystans"))->text = foundations::formatFixed(p.Dystans, 10, 1, separator_);
        FindItem(QStringLiteral("QRXa"))->text = foundations::formatFixed(p.Xa, 10, 1, separator_);
        FindItem(QStringLiteral("QRXr"))->text = foundations::formatFixed(p.Xr, 10, 1, separator_);
    }
    return cycle_ < cycles;
}

bool TRTabela1Form::DetailBand1BeforePrint() {
    const bool print = newCycle_;
    newCycle_ = false;
    return print;
}

void TRTabela1Form::QRBand3BeforePrint() {
    auto set = [this](const char* n, const QString& t) { FindItem(QString::fromLatin1(n))->text = t; };
    set("QRPlik", name_);
    set("QRLabel11", header_.MachineType);
    set("QRLabel15", header_.Date);
    set("QRLabel13", header_.Axis);
    set("QRNrSer", header_.SerialNumber);
}

}  // namespace reports
