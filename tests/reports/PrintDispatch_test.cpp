// What the print and preview commands print for each measurement type and page.
#include <gtest/gtest.h>

#include "foundations/NumberFormat.h"
#include "reports/PrintDispatch.h"

using namespace reports;

namespace {

// Records every call as one line; reports are named after what was asked for.
class FakeHost : public IPrintHost {
public:
    int choice = 0;            // answer of the chart choice
    bool setupConfirmed = true;
    bool wantsMachineData = false;
    QStringList calls;

    bool AskForMachineData() override {
        calls << "ask";
        return wantsMachineData;
    }
    void EditMachineData() override { calls << "edit"; }
    int ChoosePrintChart(bool forExport, bool forAxes) override {
        calls << QStringLiteral("choose %1 %2").arg(forExport).arg(forAxes);
        return choice;
    }
    std::unique_ptr<Report> MakeChartReport(PrintChart chart, const QString& title) override {
        static const char* names[] = {"wykres", "WykresOsY", "WykresPredkosci", "WykresPlaskosci",
                                      "WykresPK", "FFTCzas",   "FFTFreq"};
        return named(QStringLiteral("chart ") + names[int(chart)] + " '" + title + "'");
    }
    std::unique_ptr<Report> MakeResultsTable() override { return named("table"); }
    std::unique_ptr<Report> MakeProtocol(int standard) override { return named("protocol " + QString::number(standard)); }
    bool RunPrinterSetup(Report& r) override {
        calls << "setup " + r.name;
        return setupConfirmed;
    }
    void PrintReport(Report& r) override { calls << "print " + r.name; }
    void PreviewReport(std::unique_ptr<Report> r) override { calls << "preview " + r->name; }

private:
    static std::unique_ptr<Report> named(const QString& n) {
        auto r = std::make_unique<Report>();
        r->name = n;
        return r;
    }
};

PrintState state(int mode, int mainPage, int buttonPage, int method = 0) {
    PrintState s;
    s.measurementMode = mode;
    s.mainPage = mainPage;
    s.buttonPage = buttonPage;
    s.straightnessMethod = method;
    s.standard = 1;
    s.backlashCaption = "Luz";
    s.verticalStraightnessCaption = "Pion";
    s.velocityLabel = "Prędkość średnia:";
    s.velocityValue = 12.375;
    s.velocityPrecision = 2;
    s.velocityUnit = "mm/s";
    return s;
}

}  // namespace

TEST(PrintDispatch, EachTypeAndPagePreviewsItsReport) {
    const QChar sep = foundations::systemDecimalSeparator();
    struct Case {
        PrintState s;
        int choice;
        QStringList calls;
    };
    const Case cases[] = {
        {state(0, 7, 2), 0, {"preview table"}},
        {state(0, 0, 1), 0, {"preview chart wykres 'Luz'"}},
        {state(0, 0, 3), 0, {"preview chart wykres 'Luz'"}},
        {state(0, 0, 2), 0, {"preview protocol 1"}},
        // The two-axis review asks for the plane whatever the stored method.
        {state(0, 0, 4, 0), 1, {"choose 0 1", "preview chart WykresOsY 'Pion'"}},
        {state(0, 0, 5), 0, {}},
        {state(1, 4, 0), 0, {QString::fromUtf8("preview chart WykresPredkosci 'Prędkość średnia: 12") + sep + "38mm/s'"}},
        {state(1, 3, 0), 0, {}},
        {state(2, 0, 0, 0), 1, {"preview chart wykres 'Luz'"}},
        {state(2, 0, 0, 1), 1, {"preview chart wykres 'Luz'"}},
        {state(2, 0, 0, 2), 0, {"choose 0 1", "preview chart wykres 'Luz'"}},
        {state(2, 0, 0, 2), 1, {"choose 0 1", "preview chart WykresOsY 'Pion'"}},
        {state(2, 0, 0, 2), -1, {"choose 0 1"}},  // a cancelled choice prints nothing
        {state(3, 8, 0), 0, {"preview chart WykresPlaskosci ''"}},
        {state(3, 0, 0), 0, {}},
        {state(4, 0, 0), 0, {"preview chart WykresPK ''"}},
        {state(5, 0, 0), 0, {"choose 0 0", "preview chart FFTCzas ''"}},
        {state(5, 0, 0), 1, {"choose 0 0", "preview chart FFTFreq ''"}},
        {state(5, 0, 0), -1, {"choose 0 0"}},
        {state(6, 7, 2), 0, {}},
        {state(10, 0, 1), 0, {}},
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.choice = c.choice;
        PrintState s = c.s;
        s.machineTypeEmpty = true;  // the preview never asks
        Drukuj(host, s, true);
        EXPECT_EQ(host.calls, c.calls) << c.s.measurementMode << " " << c.s.mainPage << " " << c.s.buttonPage;
    }
}

TEST(PrintDispatch, PrintAsksForMissingMachineDataAndHonoursTheSetUp) {
    struct Case {
        bool typeEmpty, wantsData, setupConfirmed;
        QStringList calls;
    };
    const Case cases[] = {
        {false, false, true, {"setup protocol 1", "print protocol 1"}},
        {true, false, true, {"ask", "setup protocol 1", "print protocol 1"}},  // No prints all the same
        {true, true, true, {"ask", "edit", "setup protocol 1", "print protocol 1"}},
        {false, false, false, {"setup protocol 1"}},  // a cancelled set-up prints nothing
    };
    for (const Case& c : cases) {
        FakeHost host;
        host.wantsMachineData = c.wantsData;
        host.setupConfirmed = c.setupConfirmed;
        PrintState s = state(0, 0, 2);
        s.machineTypeEmpty = c.typeEmpty;
        Drukuj(host, s, false);
        EXPECT_EQ(host.calls, c.calls);
    }
    // Display modes print nothing and ask nothing.
    FakeHost host;
    PrintState s = state(7, 0, 0);
    s.machineTypeEmpty = true;
    Drukuj(host, s, false);
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST(PrintDispatch, ProtocolPrintoutJoinsItsReports) {
    CompositeReport all;
    for (int pages : {1, 2}) {
        auto r = std::make_unique<Report>();
        r->title = pages == 1 ? "first" : "second";
        r->AddBand(BandKind::Detail, "D", 100);
        Band& h = r->AddBand(BandKind::PageHeader, "H", 20);
        h.Label("Sheet", QString(), 0, 0, 40, 18).kind = ItemKind::SysData;
        h.items.back().sysData = SysDataKind::PageNumber;
        h.Label("Of", "of ", 40, 0, 40, 18).kind = ItemKind::SysData;
        h.items.back().sysData = SysDataKind::PageCount;
        auto n = std::make_shared<int>(0);
        r->beforePrint = [n] { *n = 0; };
        r->needData = [n, pages] { return ++*n <= pages * 10; };
        all.parts.push_back(std::move(r));
    }
    const PageModel m = all.Layout();
    ASSERT_EQ(m.PageCount(), 3);
    EXPECT_EQ(m.title, "first");
    // The sheets count through the whole printout, not per part.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m.pages[size_t(i)].First("Sheet")->text, QString::number(i + 1));
        EXPECT_EQ(m.pages[size_t(i)].First("Of")->text, "of 3");
    }
    // Laid out again, it numbers the same.
    EXPECT_EQ(all.Layout().pages[2].First("Sheet")->text, "3");
}
