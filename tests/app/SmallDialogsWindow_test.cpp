// The main window's questions that are small dialogs: the save question on the information form,
// the insert source on the review page, and the large-error warning at the end of a run.
#include <QLabel>
#include <QPushButton>

#include "MainWindowFixture.h"
#include "app/InfoForm.h"
#include "app/PositioningRun.h"
#include "app/ZrWsDlg.h"
#include "support/ModalDialog.h"

using testsupport::whenModalShown;

TEST_F(MainWindowTest, SaveQuestionIsAskedOnTheInformationForm) {
    start();
    TMainForm* f = form();
    setMessageDlgHook({});
    f->MeasurementMode = 4;
    DataSaved = false;
    for (auto [button, result] : {std::pair{"BitBtn1", 6}, std::pair{"BitBtn2", 7}, std::pair{"BitBtn3", 2}}) {
        whenModalShown<TInfoForm>([button](TInfoForm& d) {
            EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Ostrzeżenie"));
            EXPECT_EQ(d.Label1->text(), QString::fromUtf8("Nie zachowane pozycjonowanie kątowe"));
            EXPECT_EQ(d.Label2->text(), QString::fromUtf8("Zachować?"));
            d.findChild<QPushButton*>(button)->click();
        });
        EXPECT_EQ(f->AskSaveChanges(), result) << button;
    }
}

TEST_F(MainWindowTest, InsertOnTheReviewPageAsksForItsSource) {
    start();
    TMainForm* f = form();
    f->MeasurementMode = 0;
    f->PositioningCycles->Clear();
    f->PositioningCycles->Add().Punkt.Add().Dystans = 0.0;
    bool asked = false;
    whenModalShown<TZrWsDlg>([&](TZrWsDlg& d) {
        asked = true;
        EXPECT_EQ(d.parentWidget(), f);
        d.CancelBtn->click();
    });
    f->PositioningControl().ButtonPozWstawClick();
    EXPECT_TRUE(asked);
    EXPECT_EQ(f->PositioningCycles->Count(), 1);
}

TEST_F(MainWindowTest, RunWithALargeJumpEndsWithTheWarning) {
    start();
    TMainForm* f = form();
    const QString warning =
        QString::fromUtf8("DUŻY BŁĄD MASZYNY\nZalecane sprawdzenie pomiaru w modzie \"Pomiar/Punkty z listy\".");
    DeviationJumpSeen = false;
    f->PositioningControl().EnableControlsAfterMeasurement();
    EXPECT_EQ(messageCount(warning), 0);
    DeviationJumpSeen = true;
    f->PositioningControl().EnableControlsAfterMeasurement();
    EXPECT_EQ(messageCount(warning), 1);
    DeviationJumpSeen = false;
}
