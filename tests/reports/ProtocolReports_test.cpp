// The protocol, the table of measured cycles and the chart printout on their page models.
#include <gtest/gtest.h>

#include <QPainter>

#include "platform/Chart.h"
#include "reports/Protokol.h"
#include "reports/RaportDruk.h"
#include "reports/ReportsFixture.h"

using namespace reports;

namespace {

std::vector<QString> texts(const PageModel& m, const QString& name) {
    std::vector<QString> out;
    for (const Page& p : m.pages)
        for (const PlacedItem* it : p.Named(name)) out.push_back(it->text);
    return out;
}

// Shows the numbers the conditions are converted from.
class RecordingUnits : public IConditionUnits {
public:
    QString FormatPressure(double hPa) const override { return QStringLiteral("p=") + QString::number(hPa); }
    QString FormatTemperature(double c) const override { return QStringLiteral("t=") + QString::number(c); }
    QString FormatReferenceTemperature(const QString& text) const override {
        return ReferenceTemperatureText(text, 0, u'.');
    }
};

}  // namespace

TEST(ProtocolReport, SplitResultLinesKeepsTheMemosAligned) {
    struct Case {
        QString line, name, value;
    };
    const Case cases[] = {
        {"Dokładność A * 12.0 * 3.4 µm", "Dokładność A ", " 3.4 µm"},
        {"Wyniki wg ISO", "Wyniki wg ISO", ""},  // no "*": whole into the names, empty value
        {"Luz * 1.5 µm", "Luz ", " 1.5 µm"},      // a single "*": the rest is the value
    };
    QStringList source, names, values;
    for (const Case& c : cases) source << c.line;
    names << "stale";
    SplitResultLines(names, values, source);
    ASSERT_EQ(names.size(), 3);
    ASSERT_EQ(values.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(names[i], cases[i].name);
        EXPECT_EQ(values[i], cases[i].value);
    }
}

TEST(ProtocolReport, ConditionTextsToNumbers) {
    struct Case {
        QString text;
        std::optional<double> pressure, temperature;
    };
    const Case cases[] = {
        {"--", 1013.1, 20.0},
        {"", 1013.1, 20.0},
        {"1002.4 hPa", 1002.4, std::nullopt},
        {"1002,4 hPa", 1002.4, std::nullopt},  // typed with a comma
        {"1002,4", 1002.4, 1002.4},
        {"21.3 \u00b0C", std::nullopt, 21.3},
        {"21,3C", std::nullopt, 21.3},
        {"brak", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PressureOfText(c.text), c.pressure) << c.text.toStdString();
        EXPECT_EQ(TemperatureOfText(c.text), c.temperature) << c.text.toStdString();
    }
    // The reference temperature in the unit of the other temperatures, with the given separator.
    const struct {
        QString text;
        uint8_t unit;
        QChar separator;
        QString printed;
    } references[] = {
        {"", 0, u'.', "20.0 \u00b0C"},
        {"", 1, u',', "68,0 \u00b0F"},
        {"20.5", 0, u',', "20,5 \u00b0C"},
        {"20.0", 1, u',', "68,0 \u00b0F"},
        {"25,0", 1, u'.', "77.0 \u00b0F"},
        {"brak", 1, u',', "brak \u00b0C"},  // no number: as it is, with the unit
    };
    for (const auto& r : references)
        EXPECT_EQ(ReferenceTemperatureText(r.text, r.unit, r.separator), r.printed) << r.text.toStdString();
}

TEST(ProtocolReport, OnePageWithHeaderConditionsResultsAndNotes) {
    platform::TChart chart;
    chart.AddNewSeries<platform::TLineSeries>("SredniaWPrzod")->AddXY(0, 1);
    chart.SetTitleText(QStringLiteral("Pozycjonowanie"));
    RecordingUnits units;
    ProtocolData d;
    d.header.MachineType = QStringLiteral("FV-580");
    d.header.Axis = QStringLiteral("X");
    d.header.Pressure = QStringLiteral("--");
    d.header.AirTemperature = QStringLiteral("--");
    d.header.MaterialTemperature = QStringLiteral("19,5 \u00b0C");
    d.header.Notes[0] = QStringLiteral("uwaga 1");
    d.header.Notes[3] = QStringLiteral("uwaga 4");
    d.measurementName = QStringLiteral("os_x.dt2");
    d.standardName = QStringLiteral("ISO 230-2");
    d.resultLines = {QStringLiteral("Wg normy ISO"), QStringLiteral("A * -- * 3.4 µm")};
    d.chart = &chart;
    d.units = &units;
    TFormProtokol protocol(d, QStringLiteral("2026-12-10"));
    const PageModel m = protocol.Layout();
    ASSERT_EQ(m.PageCount(), 1);
    EXPECT_EQ(m.title, "PROTOKÓŁ POMIARU");
    const Page& p = m.pages[0];
    EXPECT_EQ(p.First("QRLabel37")->text, "p=1013.1");
    EXPECT_EQ(p.First("QRLabel38")->text, "t=20");
    EXPECT_EQ(p.First("QRLabel39")->text, "t=19.5");
    EXPECT_EQ(p.First("QRLabel21")->text, "20.0 \u00b0C");
    EXPECT_EQ(p.First("QRLabel7")->text, "FV-580");
    EXPECT_EQ(p.First("QRPlik")->text, "os_x.dt2");
    EXPECT_EQ(p.First("QRNorma")->text, "ISO 230-2");
    EXPECT_EQ(p.First("QRMemo1")->lines, (QStringList{"Wg normy ISO", "A "}));
    EXPECT_EQ(p.First("QRMemo2")->lines, (QStringList{"", " 3.4 µm"}));
    EXPECT_EQ(p.First("QRMemoUwagi")->lines, (QStringList{"uwaga 1", "", "", "uwaga 4", ""}));
    // The chart copy: white, no title, the series kept.
    const PlacedItem* c = p.First("Wykres");
    ASSERT_TRUE(c && c->chart);
    EXPECT_EQ(c->chart->chart->SeriesCount(), 1);
    EXPECT_TRUE(c->chart->chart->Title().text.isEmpty());
    // Nothing of the bands below runs into the next.
    EXPECT_LT(c->rect.bottom(), p.First("QRMemo1")->rect.top());
    EXPECT_LT(p.First("QRMemo1")->rect.bottom(), p.First("QRLabel36")->rect.top());
    EXPECT_LT(p.First("QRFeedRate")->rect.bottom(), p.First("QRMemoUwagi")->rect.top());
    // A second layout starts again from the first record.
    EXPECT_EQ(protocol.Layout().PageCount(), 1);
}

TEST(ResultsTable, RowsOfEveryCycleUnderTheirNumber) {
    struct Case {
        std::vector<int> points;   // per cycle
        std::vector<QString> cycleNumbers;
        std::vector<QString> pointNumbers;
    };
    const Case cases[] = {
        {{3, 3}, {"1", "2"}, {"0", "1", "2", "0", "1", "2"}},
        // An empty cycle in the middle prints its number and no rows; the report goes on and ends.
        {{2, 0, 1}, {"1", "2", "3"}, {"0", "1", "0"}},
        {{0, 2}, {"1", "2"}, {"0", "1"}},
        {{}, {}, {}},
    };
    for (const Case& c : cases) {
        TCykl cycles;
        for (int n : c.points) {
            TCyklItem& cy = cycles.Add();
            for (int k = 0; k < n; ++k) {
                TPunktItem& p = cy.Punkt.Add();
                p.Dystans = 10.0 * k;
                p.Xa = 1.25;
                p.Xr = -0.5;
            }
        }
        TMeasurementHeader h;
        h.MachineType = QStringLiteral("FV-580");
        TRTabela1Form table(cycles, h, QStringLiteral("os_x.dt2"), QStringLiteral("2026-12-10"));
        const PageModel m = table.Layout();
        EXPECT_EQ(texts(m, "QRNrCyklu"), c.cycleNumbers);
        EXPECT_EQ(texts(m, "QRNrPunktu"), c.pointNumbers);
        if (!c.pointNumbers.empty()) {
            EXPECT_EQ(texts(m, "QRDystans")[1], "10.0");
            EXPECT_EQ(texts(m, "QRXa")[0], "1.3");  // half away from zero
        }
        EXPECT_EQ(texts(m, "QRLabel11"), (std::vector<QString>{"FV-580"}));
        EXPECT_EQ(texts(m, "QRSysData2"), (std::vector<QString>{"2026-12-10"}));
    }
}

TEST(ResultsTable, LongRunsGoOnToNumberedPages) {
    TCykl cycles;
    for (int c = 0; c < 5; ++c) {
        TCyklItem& cy = cycles.Add();
        for (int k = 0; k < 20; ++k) cy.Punkt.Add().Dystans = k;
    }
    TRTabela1Form table(cycles, TMeasurementHeader{}, QString(), QString());
    const PageModel m = table.Layout();
    ASSERT_GT(m.PageCount(), 1);
    EXPECT_EQ(texts(m, "QRNrPunktu").size(), 100u);
    std::vector<QString> numbers;
    for (int i = 1; i <= m.PageCount(); ++i) numbers.push_back(QString::number(i));
    EXPECT_EQ(texts(m, "QRSysData1"), numbers);
    for (const Page& p : m.pages) {
        ASSERT_FALSE(p.Named("QRNrPunktu").empty());
        EXPECT_LT(p.Named("QRNrPunktu").back()->rect.bottom(), p.First("QRSysData1")->rect.top());
    }
}

TEST(ChartReport, CopiesTheChartAndFillsTheHeader) {
    TMeasurementHeader h;
    h.MachineType = QStringLiteral("FV-580");
    h.Date = QStringLiteral("10.12.2026");
    h.Axis = QStringLiteral("Y");
    h.Operator = QStringLiteral("Nowak");
    h.Company = QStringLiteral("Zakład");
    h.SerialNumber = QStringLiteral("77");
    platform::TChart empty;
    empty.SetTitleText(QStringList{"Prostoliniowość", "druga linia"});
    TRaportDrukowanieWykresow r(2, QStringLiteral("Klient"), QStringLiteral("Miasto"), QStringLiteral("2026-12-10"));
    r.PrepareChartReport(empty, QStringLiteral("Błąd prostoliniowości"), h);
    const PageModel m = r.Layout();
    ASSERT_EQ(m.PageCount(), 1);
    const Page& p = m.pages[0];
    EXPECT_EQ(m.title, "Prostoliniowość");
    EXPECT_EQ(p.First("QRLuzZwrotny")->text, "Błąd prostoliniowości");
    EXPECT_EQ(p.First("QRSysData1")->text, "Wydrukowano: 2026-12-10");
    for (auto [n, t] : {std::pair{"QRMaszyna", "FV-580"}, {"QRDataPom", "10.12.2026"}, {"QROs", "Y"},
                        {"QROperator", "Nowak"}, {"QRFirma", "Zakład"}, {"QRNrSer", "77"},
                        {"QRLabelKlient1", "Klient"}, {"QRLabelKlient2", "Miasto"}})
        EXPECT_EQ(p.First(n)->text, QString::fromUtf8(t)) << n;
    EXPECT_EQ(r.QRChart1->chart->SeriesCount(), 0);
    EXPECT_EQ(r.QRChart1->chart->Color(), QColor(Qt::white));
}

TEST(ChartReport, ScaledToThePrintedWidthOnceExceptTheFlatnessMap) {
    struct Case {
        int mode;
        int expectedFont;
    };
    // The screen chart is twice the printed width: fonts and markers halve, except mode 3.
    for (const Case& c : {Case{0, 5}, Case{2, 5}, Case{3, 10}}) {
        platform::TChart chart;
        chart.resize(int(kBandWidth * 2), 400);
        chart.LeftAxis().LabelFont().setPointSize(10);
        auto* s = chart.AddNewSeries<platform::TLineSeries>("S1");
        s->Pointer().visible = false;
        s->Pointer().horizSize = 8;
        s->AddXY(0, 0);
        s->AddXY(1, 1);
        TRaportDrukowanieWykresow r(c.mode, QString(), QString(), QString());
        r.PrepareChartReport(chart, QString(), TMeasurementHeader{});
        const PageModel m = r.Layout();
        QImage img(int(kPageWidth), int(kPageHeight), QImage::Format_RGB32);
        for (int pass = 0; pass < 2; ++pass) {  // rendering again scales no further
            QPainter painter(&img);
            PaintPage(m.pages[0], painter);
        }
        platform::TChart& copy = *r.QRChart1->chart;
        EXPECT_EQ(copy.LeftAxis().LabelFont().pointSize(), c.expectedFont) << c.mode;
        auto* line = qobject_cast<platform::TLineSeries*>(copy.Series(0));
        ASSERT_TRUE(line);
        EXPECT_EQ(line->Pointer().horizSize, c.mode == 3 ? 8 : 4) << c.mode;
        EXPECT_FALSE(line->Pointer().visible);
    }
}

using ReportTranslation = ReportsFixture;

TEST_F(ReportTranslation, TextsFromTheSectionOfTheReport) {
    WriteLanguageFile(
        "[RaportDrukowanieWykresow]\r\nCaption=Chart printout\r\nqrlabel1.caption=Brantova Vkm-30 (EN)\r\n"
        "QRSysData1.Text=Printed: \r\nQRMaszyna.Hint=ignored\r\nNoSuchLabel.Caption=x\r\n"
        "[RTabela1Form]\r\nQRLabel1.Caption=Table of measurements\r\n");
    TRaportDrukowanieWykresow chart(0, QString(), QString(), QStringLiteral("2026-12-10"));
    const PageModel m = chart.Layout();
    EXPECT_EQ(chart.title, "Chart printout");
    EXPECT_EQ(m.pages[0].First("QRLabel1")->text, "Brantova Vkm-30 (EN)");
    EXPECT_EQ(m.pages[0].First("QRSysData1")->text, "Printed: 2026-12-10");
    TCykl none;
    TRTabela1Form table(none, TMeasurementHeader{}, QString(), QString());
    EXPECT_EQ(table.Layout().pages[0].First("QRLabel1")->text, "Table of measurements");
}

TEST(ProtocolReport, ChartScaledToThePrintedWidthOnce) {
    platform::TChart chart;
    chart.resize(int(kBandWidth * 2), 400);
    chart.LeftAxis().LabelFont().setPointSize(10);
    ProtocolData d;
    d.chart = &chart;
    TFormProtokol protocol(d, QString());
    const PageModel m = protocol.Layout();
    QImage img(int(kPageWidth), int(kPageHeight), QImage::Format_RGB32);
    for (int pass = 0; pass < 2; ++pass) {
        QPainter painter(&img);
        PaintPage(m.pages[0], painter);
    }
    // Twice the printed width on the screen: the labels print at half their size, still legible.
    EXPECT_EQ(protocol.Wykres->chart->LeftAxis().LabelFont().pointSize(), 5);
}
