// "&Drukuj" and "Podgląd wydruku": the dispatch of reports/PrintDispatch over the window's
// charts, captions and the run the results page evaluated.
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QStackedWidget>

#include "app/UWybDrukFFT.h"
#include "app/PositioningPage.h"
#include "app/AngularPage.h"
#include "app/FlatnessPage.h"
#include "app/Unit_glowny.h"
#include "app/VibrationPage.h"
#include "app/VelocityPage.h"
#include "evaluation/MeasurementHeader.h"
#include "foundations/Display.h"
#include "foundations/HeadList.h"
#include "foundations/LocaleTable.h"
#include "foundations/MessageDlg.h"
#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/AirCorrection.h"
#include "platform/AppPaths.h"
#include "platform/Chart.h"
#include "platform/Registry.h"
#include "reports/PositioningReports.h"
#include "reports/PrintDispatch.h"
#include "reports/Protokol.h"
#include "reports/RaportDruk.h"
#include "reports/prev1_32.h"
#include "foundations/MeasurementModes.h"

namespace {

// Where the texts of the printed headers are kept; none of them has a default.
const QString kReportTextsKey = QStringLiteral("SOFTWARE\\Brantova\\VKM30\\Reports");

QString reportText(const char* name) {
    return platform::appRegistry().readString(kReportTextsKey, QString::fromLatin1(name)).value_or(QString());
}

QString printDate() { return foundations::systemLocale().toString(QDate::currentDate(), QLocale::ShortFormat); }

class WindowConditionUnits : public reports::IConditionUnits {
public:
    WindowConditionUnits(uint8_t pressureUnit, uint8_t temperatureUnit)
        : pressure_(pressureUnit), temperature_(temperatureUnit) {}
    QString FormatPressure(double hPa) const override { return instrument::FormatPressure(pressure_, hPa); }
    QString FormatTemperature(double c) const override { return instrument::FormatTemperature(temperature_, c); }
    QString FormatReferenceTemperature(const QString& text) const override {
        return reports::ReferenceTemperatureText(text, temperature_, foundations::systemDecimalSeparator());
    }

private:
    uint8_t pressure_, temperature_;
};

// The protocol printout owns what its parts read.
class ProtocolPrintout : public reports::CompositeReport {
public:
    std::unique_ptr<WindowConditionUnits> units;
};

}  // namespace

class TMainForm::PrintHost : public reports::IPrintHost {
public:
    explicit PrintHost(TMainForm& form) : f(form) {}

    bool AskForMachineData() override {
        return MessageDlgCaption(Msg("stPotwierdz"), Msg("stBrakInfo"), TMsgDlgType::mtConfirmation, mbYes | mbNo) ==
               mrYes;
    }
    void EditMachineData() override { f.Danemaszyny1Click(); }
    int ChoosePrintChart(bool forExport, bool forAxes) override { return ::ChoosePrintChart(forExport, forAxes, &f); }

    std::unique_ptr<reports::Report> MakeChartReport(reports::PrintChart chart, const QString& title) override {
        const platform::TChart* c = nullptr;
        switch (chart) {
        case reports::PrintChart::wykres: c = f.Positioning().Chart(); break;
        case reports::PrintChart::WykresOsY: c = f.Positioning().YChart(); break;
        case reports::PrintChart::WykresPredkosci: c = f.Velocity().Chart(); break;
        case reports::PrintChart::WykresPlaskosci: c = f.Flatness().Chart(); break;
        case reports::PrintChart::WykresPK: c = f.Angular().Chart(); break;
        case reports::PrintChart::FFTCzas: c = f.FftAnalysis().TimeChart(); break;
        case reports::PrintChart::FFTFreq: c = f.FftAnalysis().SpectrumChart(); break;
        }
        if (!c) return nullptr;
        auto r = std::make_unique<reports::TRaportDrukowanieWykresow>(
            f.MeasurementMode, reportText("CustomerName"), reportText("CustomerTown"), printDate());
        r->PrepareChartReport(*c, title, f.MeasurementHeader());
        return r;
    }

    std::unique_ptr<reports::Report> MakeResultsTable() override {
        return std::make_unique<reports::TRTabela1Form>(*f.PositioningCycles, f.MeasurementHeader(), MeasurementName(),
                                                        printDate(), foundations::systemDecimalSeparator());
    }

    std::unique_ptr<reports::Report> MakeProtocol(int standard) override {
        auto all = std::make_unique<ProtocolPrintout>();
        all->units = std::make_unique<WindowConditionUnits>(f.PressureUnit, f.TemperatureUnit);
        reports::ProtocolData d;
        d.header = f.MeasurementHeader();
        d.measurementName = MeasurementName();
        d.standardName = f.Positioning().StandardChoice() ? f.Positioning().StandardChoice()->currentText() : QString();
        if (f.Positioning().ResultsList())
            for (int i = 0; i < f.Positioning().ResultsList()->Count(); ++i) d.resultLines << f.Positioning().ResultsList()->Item(i);
        d.chart = f.Positioning().Chart();
        d.units = all->units.get();
        all->parts.push_back(std::make_unique<reports::TFormProtokol>(d, printDate()));
        all->title = QStringLiteral("PROTOKÓŁ POMIARU");

        reports::ReportSheet sheet;
        sheet.header = f.MeasurementHeader();
        sheet.measurementName = d.measurementName;
        sheet.standardName = d.standardName;
        sheet.reportNumber = f.ReportNumber;
        sheet.dateText = printDate();
        sheet.laboratoryName = reportText("LaboratoryName");
        sheet.laboratoryAddress = reportText("LaboratoryAddress");
        sheet.lengthUnit = LengthUnit;
        sheet.separator = foundations::systemDecimalSeparator();
        const reports::PositioningRunData run{f.PositioningCycles.get(), f.ForwardStats.get(), f.BackwardStats.get()};
        all->parts.push_back(std::make_unique<reports::TqrLista>(sheet, run));
        switch (standard) {
        case 0:
        case 3:
        case 4:
        case 5: all->parts.push_back(std::make_unique<reports::TQRNMTBA>(sheet, run)); break;
        case 1: all->parts.push_back(std::make_unique<reports::TQRTabISO>(sheet, run)); break;
        case 2: all->parts.push_back(std::make_unique<reports::TTabLista2>(sheet, run)); break;
        default: break;
        }
        return all;
    }

    bool RunPrinterSetup(reports::Report&) override {
        if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        QPrintDialog dialog(printer.get(), &f);
        dialog.setObjectName(QStringLiteral("PrintDialog"));
        return dialog.exec() == QDialog::Accepted;
    }
    void PrintReport(reports::Report& report) override {
        if (printer) reports::PrintOnPrinter(report.Layout(), *printer);
    }
    void PreviewReport(std::unique_ptr<reports::Report> report) override { reports::ShowPreview(std::move(report), &f); }

    reports::PrintState State() const {
        reports::PrintState s;
        s.measurementMode = f.MeasurementMode;
        s.mainPage = f.NotebookMainForm ? f.NotebookMainForm->currentIndex() : -1;
        s.buttonPage = f.Positioning().ButtonPages() ? f.Positioning().ButtonPages()->currentIndex() : -1;
        s.straightnessMethod = f.StraightnessMethod;
        s.standard = f.Positioning().StandardChoice() ? f.Positioning().StandardChoice()->currentIndex() : -1;
        s.machineTypeEmpty = f.MeasurementHeader().MachineType.isEmpty();
        s.backlashCaption = f.Positioning().BacklashLabel() ? f.Positioning().BacklashLabel()->text() : QString();
        s.verticalStraightnessCaption = f.Positioning().StraightnessYErrorLabel() ? f.Positioning().StraightnessYErrorLabel()->text() : QString();
        s.velocityLabel = f.Velocity().MeanVelocityCaption();
        s.velocityValue = f.Velocity().MeanVelocity();
        s.velocityPrecision = f.Velocity().MeanVelocityPrecision();
        s.velocityUnit = f.Velocity().MeanVelocityUnit();
        return s;
    }

    // The file name: the caption less the positioning mode caption and " - ".
    QString MeasurementName() const { return reports::MeasurementNameFromCaption(f.windowTitle(), f.ModeCaptions[kModePositioning]); }

    TMainForm& f;
    std::unique_ptr<QPrinter> printer;  // kept between set-up and printing of one command
};

void TMainForm::ConnectPrinting() {
    connect(MenuCommand("Drukuj1"), &QAction::triggered, this, &TMainForm::Drukuj1Click);
    connect(MenuCommand("Podgladwydruku1"), &QAction::triggered, this, &TMainForm::Podgladwydruku1Click);
}

void TMainForm::Drukuj1Click() {
    PrintHost host(*this);
    reports::Drukuj(host, host.State(), false);
}

void TMainForm::Podgladwydruku1Click() {
    PrintHost host(*this);
    reports::Drukuj(host, host.State(), true);
}
