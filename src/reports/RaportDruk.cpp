#include "reports/RaportDruk.h"

#include <QHash>

#include "foundations/FR_Utils.h"
#include "foundations/IniFile.h"
#include "platform/Chart.h"

namespace reports {

void CopyChartToReportChart(const platform::TChart& chart, platform::TChart& reportChart) {
    reportChart.RemoveAllSeries();
    reportChart.Assign(chart);
    for (int i = 0; i < chart.SeriesCount() && i < reportChart.SeriesCount(); ++i) {
        const auto* src = qobject_cast<const platform::TLineSeries*>(chart.Series(i));
        auto* copy = qobject_cast<platform::TLineSeries*>(reportChart.Series(i));
        if (src && copy) copy->Pointer().visible = src->Pointer().visible;
    }
}

void ScaleChartForPrint(platform::TChart& reportChart, double f) { reportChart.ScaleForPrint(f); }

QSizeF ScreenSizeOf(const platform::TChart& chart) {
    if (!chart.isVisible() && !chart.testAttribute(Qt::WA_Resized)) return QSizeF();
    return QSizeF(chart.size());
}

void TranslateReport(Report& report) {
    if (!LanguageFileOpen()) LoadLanguageFile();
    foundations::IniFile ini;
    const QString path = CurrentLanguageFilePath();
    if (path.isEmpty() || !ini.load(path) || !ini.hasSection(report.name)) return;
    const QString& section = report.name;
    report.title = ini.value(section, QStringLiteral("Caption"), report.title);

    // Component names compare without regard to case, like the forms'.
    QHash<QString, BandItem*> items;
    std::function<void(Band&)> collect = [&](Band& b) {
        for (BandItem& it : b.items)
            if (!it.name.isEmpty() && !items.contains(it.name.toUpper())) items.insert(it.name.toUpper(), &it);
        for (Band& c : b.children) collect(c);
    };
    for (Band& b : report.bands) collect(b);
    QHash<QString, platform::TChartSeries*> series;
    for (BandItem* it : items)
        if (it->kind == ItemKind::Chart && it->chart && it->chart->chart)
            for (int i = 0; i < it->chart->chart->SeriesCount(); ++i) {
                platform::TChartSeries* s = it->chart->chart->Series(i);
                if (!series.contains(s->objectName().toUpper())) series.insert(s->objectName().toUpper(), s);
            }

    for (const QString& key : ini.keys(section)) {
        const QString upper = key.toUpper();
        if (upper == u"CAPTION") continue;
        const int dot = upper.indexOf(u'.');
        if (dot < 0) continue;
        const QString comp = upper.left(dot), prop = upper.mid(dot + 1);
        if (BandItem* it = items.value(comp)) {
            if ((it->kind == ItemKind::Label && prop == u"CAPTION") || (it->kind == ItemKind::SysData && prop == u"TEXT"))
                it->text = ini.value(section, key, it->text);
        } else if (platform::TChartSeries* s = series.value(comp)) {
            if (prop == u"TITLE") s->SetTitle(ini.value(section, key, s->Title()));
        }
    }
}

namespace {
const ReportFont kText{10};
const ReportFont kBold{10, true};
}  // namespace

TRaportDrukowanieWykresow::TRaportDrukowanieWykresow(int measurementMode, const QString& customerName,
                                                     const QString& customerTown, const QString& printDate)
    : QRChart1(std::make_shared<ReportChart>()), mode_(measurementMode) {
    name = QStringLiteral("RaportDrukowanieWykresow");
    title = QStringLiteral("Vkm-30 ");
    firstPageHeader = true;
    lastPageFooter = true;
    dateText = printDate;

    Band& b1 = AddBand(BandKind::PageHeader, QStringLiteral("QRBand1"), 32);
    b1.frame.bottom = true;
    b1.Label(QStringLiteral("QRLabel1"), QStringLiteral("Brantova Vkm-30"), 0, 4, 300, 22, Qt::AlignLeft, {12, true});
    BandItem& printed = b1.Label(QStringLiteral("QRSysData1"), QStringLiteral("Wydrukowano:"), 380, 4, 338, 22,
                                 Qt::AlignRight, kText);
    printed.kind = ItemKind::SysData;
    printed.sysData = SysDataKind::Date;

    Band& b2 = AddBand(BandKind::Title, QStringLiteral("QRBand2"), 96);
    b2.Label(QString(), QStringLiteral("Data pomiaru:"), 0, 8, 110, 20, Qt::AlignLeft, kText);
    b2.Label(QStringLiteral("QRDataPom"), QString(), 115, 8, 240, 20, Qt::AlignLeft, kText);
    b2.Label(QString(), QStringLiteral("Maszyna:"), 0, 30, 110, 20, Qt::AlignLeft, kText);
    b2.Label(QStringLiteral("QRMaszyna"), QString(), 115, 30, 240, 20, Qt::AlignLeft, kBold);
    b2.Label(QString(), QStringLiteral("Oś:"), 0, 52, 110, 20, Qt::AlignLeft, kText);
    b2.Label(QStringLiteral("QROs"), QString(), 115, 52, 240, 20, Qt::AlignLeft, kBold);
    b2.Label(QString(), QStringLiteral("Nr seryjny:"), 0, 74, 110, 20, Qt::AlignLeft, kText);
    b2.Label(QStringLiteral("QRNrSer"), QString(), 115, 74, 240, 20, Qt::AlignLeft, kText);
    b2.Label(QStringLiteral("QRLabelKlient1"), customerName, 380, 8, 338, 20, Qt::AlignRight, {11, true});
    b2.Label(QStringLiteral("QRLabelKlient2"), customerTown, 380, 30, 338, 20, Qt::AlignRight, {11, true});

    Band& d = AddBand(BandKind::Detail, QStringLiteral("DetailBand1"), 820);
    d.Label(QStringLiteral("QRLuzZwrotny"), QString(), 0, 6, kBandWidth, 22, Qt::AlignHCenter, {11, true});
    BandItem chartItem;
    chartItem.kind = ItemKind::Chart;
    chartItem.name = QStringLiteral("QRChart1");
    chartItem.rect = QRectF(0, 34, kBandWidth, 700);
    chartItem.chart = QRChart1;
    d.Add(chartItem);
    d.Label(QString(), QStringLiteral("Pomiar wykonał:"), 0, 750, 120, 20, Qt::AlignLeft, kText);
    d.Label(QStringLiteral("QROperator"), QString(), 125, 750, 300, 20, Qt::AlignLeft, kBold);
    d.Label(QString(), QStringLiteral("Firma:"), 0, 774, 120, 20, Qt::AlignLeft, kText);
    d.Label(QStringLiteral("QRFirma"), QString(), 125, 774, 300, 20, Qt::AlignLeft, kBold);

    QRChart1->onPrint = [this](ReportChart& c, const QRectF& r) { QRWykresPrint(c, r); };
    TranslateReport(*this);
}

void TRaportDrukowanieWykresow::PrepareChartReport(const platform::TChart& chart, const QString& chartTitle,
                                                   const TMeasurementHeader& header) {
    FindItem(QStringLiteral("QRLuzZwrotny"))->text = chartTitle;
    CopyChartToReportChart(chart, *QRChart1->chart);
    QRChart1->chart->SetColor(Qt::white);
    QRChart1->chart->Title().color = Qt::white;
    QRChart1->lastSize = ScreenSizeOf(chart);
    FillChartReportHeader(header);
    title = chart.Title().text.isEmpty() ? QString() : chart.Title().text.first();
}

void TRaportDrukowanieWykresow::FillChartReportHeader(const TMeasurementHeader& header) {
    auto set = [this](const char* n, const QString& t) { FindItem(QString::fromLatin1(n))->text = t; };
    set("QRMaszyna", header.MachineType);
    set("QRDataPom", header.Date);
    set("QROs", header.Axis);
    set("QROperator", header.Operator);
    set("QRFirma", header.Company);
    set("QRNrSer", header.SerialNumber);
}

void TRaportDrukowanieWykresow::QRWykresPrint(ReportChart& c, const QRectF& r) {
    // The flatness map's 3-D chart prints at its screen sizes.
    if (mode_ == 3) return;
    if (c.lastSize.width() > 0 && c.lastSize != r.size()) ScaleChartForPrint(*c.chart, r.width() / c.lastSize.width());
    c.lastSize = r.size();
}

}  // namespace reports
