#include <QApplication>

#include "MainWindowFixture.h"
#include "platform/Chart.h"

// The measuring pages show real charts, and the window's title helpers reach them.
TEST_F(MainWindowTest, PagesHoldChartsAndTitlesReachThem) {
    start();
    TMainForm* f = form();
    for (const char* name : {"wykres", "WykresOsY", "WykresPredkosci", "WykresPK", "WykresPlaskosci", "WykresFFT"})
        EXPECT_NE(f->findChild<platform::TChart*>(QString::fromLatin1(name)), nullptr) << name;
    f->SetChartTitle(Control<platform::TChart>(f, "wykres"), QStringLiteral("Tytuł"));
    f->SetChartAxisTitle(Control<platform::TChart>(f, "wykres"), TMainForm::ChartAxis::Left, QStringLiteral("Lewa"));
    f->SetChartAxisTitle(Control<platform::TChart>(f, "wykres"), TMainForm::ChartAxis::Bottom, QStringLiteral("Dolna"));
    EXPECT_EQ(Control<platform::TChart>(f, "wykres")->Title().text, QStringList{QStringLiteral("Tytuł")});
    EXPECT_EQ(Control<platform::TChart>(f, "wykres")->LeftAxis().Title(), "Lewa");
    EXPECT_EQ(Control<platform::TChart>(f, "wykres")->BottomAxis().Title(), "Dolna");
    EXPECT_EQ(TMainForm::ChartTitle(Control<platform::TChart>(f, "wykres")), "Tytuł");
    EXPECT_EQ(TMainForm::ChartAxisTitle(Control<platform::TChart>(f, "wykres"), TMainForm::ChartAxis::Bottom), "Dolna");
    // Start-up titled the velocity chart through the same helpers.
    EXPECT_FALSE(Control<platform::TChart>(f, "WykresPredkosci")->Title().text.isEmpty());
}

// The window asks through its message box, which a test answers.
TEST_F(MainWindowTest, AskSaveChangesAsksThroughTheMessageBox) {
    start();
    TMainForm* f = form();
    setMessageDlgHook([this](const MessageDlgRequest& r) {
        messages.push_back(r);
        return int(mrNo);
    });
    messages.clear();
    f->MeasurementMode = 2;
    DataSaved = false;
    EXPECT_EQ(f->AskSaveChanges(), 7);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "Ostrzeżenie");
    EXPECT_EQ(messages[0].text, QStringLiteral("Nie zachowany wykres prostoliniowości\nZachować?"));
    EXPECT_EQ(messages[0].buttons, unsigned(mbYes | mbNo | mbCancel));
    DataSaved = true;
    EXPECT_EQ(f->AskSaveChanges(), 7);
    f->MeasurementMode = 10;  // live readout: never asks
    DataSaved = false;
    EXPECT_EQ(f->AskSaveChanges(), 7);
    EXPECT_EQ(messages.size(), 1u);
    // The type pages ask through the same question.
    f->MeasurementMode = 0;
    EXPECT_EQ(f->TypeCalls().AskSaveChanges(), 7);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, QStringLiteral("Nie zachowane pozycjonowanie\nZachować?"));
}
