#pragma once
// What "Drukuj" and "Podgląd wydruku" print: decided from the measurement type and the page on
// screen, built by the main window through IPrintHost, then printed after the printer set-up or
// previewed. Each command keeps no state; every report is freed at its end, also on an exception.
#include <QString>
#include <memory>

#include "reports/ReportEngine.h"

namespace reports {

// The charts of the main window a printout can take.
enum class PrintChart { wykres, WykresOsY, WykresPredkosci, WykresPlaskosci, WykresPK, FFTCzas, FFTFreq };

// What the dispatch reads from the main window.
struct PrintState {
    int measurementMode = 0;     // 0 to 5; 6 to 10 print nothing
    int mainPage = 0;            // NotebookMainForm
    int buttonPage = 0;          // NotebookButton
    int straightnessMethod = 0;  // 0 to 2
    int standard = 0;            // ComboBoxNorma index
    bool machineTypeEmpty = false;
    QString backlashCaption;          // LabelLuzZwrotny
    QString verticalStraightnessCaption;  // LabBladProsY
    QString velocityLabel;            // LabelPredSred
    double velocityValue = 0.0;       // DispPredkoscSr
    int velocityPrecision = 0;
    QString velocityUnit;             // LabVelUnit2
};

// The main window's part of printing.
class IPrintHost {
public:
    virtual ~IPrintHost() = default;
    // "Brak informacji o maszynie" / "Czy chcesz je podać?": true for Yes.
    virtual bool AskForMachineData() = 0;
    virtual void EditMachineData() = 0;
    // The chart choice dialog: 0, 1, or -1 when cancelled.
    virtual int ChoosePrintChart(bool forExport, bool forAxes) = 0;
    // The chart printout of one chart, prepared (TRaportDrukowanieWykresow::PrepareChartReport).
    virtual std::unique_ptr<Report> MakeChartReport(PrintChart chart, const QString& title) = 0;
    virtual std::unique_ptr<Report> MakeResultsTable() = 0;
    // The protocol with the readings list and the table of the standard (none for an unknown one).
    virtual std::unique_ptr<Report> MakeProtocol(int standard) = 0;
    // The printer set-up dialog: true when confirmed.
    virtual bool RunPrinterSetup(Report& report) = 0;
    virtual void PrintReport(Report& report) = 0;
    // Opens the preview window, which takes the report over.
    virtual void PreviewReport(std::unique_ptr<Report> report) = 0;
};

// The velocity chart's title: label, one space, the value, the unit with no space before it.
QString VelocityChartTitle(const PrintState& s);

// Prints the report after a confirmed printer set-up; a cancelled set-up prints nothing.
void PrintReportWithSetup(IPrintHost& host, Report& report);

// The print (preview false) and preview (preview true) commands.
void Drukuj(IPrintHost& host, const PrintState& state, bool preview);

// The protocol printout: the protocol page, then the readings list and the standard's table,
// their sheets numbered through the whole printout.
class CompositeReport : public Report {
public:
    std::vector<std::unique_ptr<Report>> parts;
    PageModel Layout() override;
};

}  // namespace reports
