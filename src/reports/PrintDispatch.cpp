#include "reports/PrintDispatch.h"

#include "foundations/NumberFormat.h"

namespace reports {

QString VelocityChartTitle(const PrintState& s) {
    return s.velocityLabel + u' ' +
           foundations::formatFixed(s.velocityValue, 10, s.velocityPrecision, foundations::systemDecimalSeparator()) +
           s.velocityUnit;
}

void PrintReportWithSetup(IPrintHost& host, Report& report) {
    if (host.RunPrinterSetup(report)) host.PrintReport(report);
}

namespace {

void output(IPrintHost& host, std::unique_ptr<Report> report, bool preview) {
    if (!report) return;
    if (preview)
        host.PreviewReport(std::move(report));
    else
        PrintReportWithSetup(host, *report);
}

void chartPrintout(IPrintHost& host, PrintChart chart, const QString& title, bool preview) {
    output(host, host.MakeChartReport(chart, title), preview);
}

// The straightness charts: with both planes measured the inspector picks one.
void straightness(IPrintHost& host, const PrintState& s, int method, bool preview) {
    PrintChart chart = PrintChart::wykres;
    QString title = s.backlashCaption;
    if (method == 2) {
        const int choice = host.ChoosePrintChart(false, true);
        if (choice < 0) return;
        if (choice == 1) {
            chart = PrintChart::WykresOsY;
            title = s.verticalStraightnessCaption;
        }
    }
    chartPrintout(host, chart, title, preview);
}

}  // namespace

void Drukuj(IPrintHost& host, const PrintState& s, bool preview) {
    if (s.measurementMode < 0 || s.measurementMode > 5) return;
    if (!preview && s.machineTypeEmpty && host.AskForMachineData()) host.EditMachineData();

    switch (s.measurementMode) {
    case 0:
        if (s.mainPage == 7) {
            output(host, host.MakeResultsTable(), preview);
        } else if (s.buttonPage == 1 || s.buttonPage == 3) {
            chartPrintout(host, PrintChart::wykres, s.backlashCaption, preview);
        } else if (s.buttonPage == 2) {
            output(host, host.MakeProtocol(s.standard), preview);
        } else if (s.buttonPage == 4) {
            // The two-axis review prints as a two-plane straightness run, whatever the method.
            straightness(host, s, 2, preview);
        }
        break;
    case 1:
        if (s.mainPage == 4) chartPrintout(host, PrintChart::WykresPredkosci, VelocityChartTitle(s), preview);
        break;
    case 2:
        straightness(host, s, s.straightnessMethod, preview);
        break;
    case 3:
        if (s.mainPage == 8) chartPrintout(host, PrintChart::WykresPlaskosci, QString(), preview);
        break;
    case 4:
        chartPrintout(host, PrintChart::WykresPK, QString(), preview);
        break;
    case 5: {
        const int choice = host.ChoosePrintChart(false, false);
        if (choice == 0) chartPrintout(host, PrintChart::FFTCzas, QString(), preview);
        if (choice == 1) chartPrintout(host, PrintChart::FFTFreq, QString(), preview);
        break;
    }
    default:
        break;
    }
}

PageModel CompositeReport::Layout() {
    PageModel all;
    all.title = title;
    std::vector<std::pair<PageModel, QString>> laidOut;
    int sheets = 0;
    for (const auto& part : parts) {
        if (!part) continue;
        laidOut.emplace_back(part->Layout(), part->dateText);
        sheets += laidOut.back().first.PageCount();
    }
    // One printout: its sheets are numbered through all of its parts.
    int first = 1;
    for (auto& [m, date] : laidOut) {
        FillSysData(m, date, first, sheets);
        first += m.PageCount();
        if (all.title.isEmpty()) all.title = m.title;
        for (Page& p : m.pages) all.pages.push_back(std::move(p));
    }
    return all;
}

}  // namespace reports
