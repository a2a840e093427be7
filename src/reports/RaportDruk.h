#pragma once
// The chart printout: a copy of one chart of the window, white on paper, under a header with
// the product line, the print date and the machine data of the measurement header. Beside it
// the chart copying and print scaling that the protocol shares, and the translation of a report
// from the language file.
#include <QString>
#include <memory>

#include "evaluation/MeasurementHeader.h"
#include "reports/ReportEngine.h"

namespace platform {
class TChart;
}

namespace reports {

// Empties the report chart, takes the chart's settings and a copy of every series (same kind,
// same settings; line series show their markers exactly when the source does).
void CopyChartToReportChart(const platform::TChart& chart, platform::TChart& reportChart);
// Every font, pen and marker size × f, rounded with halves to even.
void ScaleChartForPrint(platform::TChart& reportChart, double f);

// Texts of the report from the language file section named after the report: "Caption" gives
// the title; "Component.Caption" a label, "Component.Text" a system data field,
// "Series.Title" a series of a report chart. Opens the language file first when none is.
void TranslateReport(Report& report);

// The chart's screen width that the first print scaling starts from (the widget's width; a
// chart never shown counts as already at print size).
QSizeF ScreenSizeOf(const platform::TChart& chart);

class TRaportDrukowanieWykresow : public Report {
public:
    // measurementMode: the window's measurement type (3, the flatness map, prints unscaled).
    // customerName/customerTown: the two header lines, program settings.
    TRaportDrukowanieWykresow(int measurementMode, const QString& customerName, const QString& customerTown,
                              const QString& printDate);

    void PrepareChartReport(const platform::TChart& chart, const QString& title, const TMeasurementHeader& header);
    void FillChartReportHeader(const TMeasurementHeader& header);
    // Print event of the chart: scales it to the printed width once per printed size.
    void QRWykresPrint(ReportChart& chart, const QRectF& r);

    std::shared_ptr<ReportChart> QRChart1;

private:
    int mode_;
};

}  // namespace reports
