// Every way of ending the program leaves the head reset, so that the next start finds it
// answering: the reading stops, 'R' is the last byte the head hears, then the port closes.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <functional>

#include "HeadWindowFixture.h"
#include "app/ModeSequences.h"
#include "app/ModeSequencesMainForm.h"
#include "foundations/ProgramMessages.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "instrument/UOdczyt.h"

namespace {

using testsupport::FrameSpec;

class ProgramEndTest : public HeadWindowTest {
protected:
    // The positioning page reading the streaming head, as the inspector leaves it.
    void readOnPositioningPage() {
        startWithHead();
        head.startStreaming(FrameSpec::ready(1000), std::chrono::milliseconds(10));
        Control<QPushButton>(form(), "BitBtnpozycjonowanie")->click();
        ASSERT_EQ(form()->MeasurementMode, 0);
        ASSERT_TRUE(pumpUntil([&] { return form()->ReadingThread().Running() && RawCount == 1000; }));
    }
    // The head's bytes from `from` on, once the reset has come (or the wait ran out).
    std::string bytesAfter(size_t from) {
        std::string got;
        pumpUntil([&] {
            const testsupport::Bytes b = head.receivedCommands();
            got.assign(b.begin() + std::min(from, b.size()), b.end());
            return got.find('R') != std::string::npos;
        });
        return got;
    }
};

struct Ending {
    const char* name;
    std::function<void(TMainForm&)> end;
};

const Ending kEndings[] = {
    {"FileEnd", [](TMainForm& f) { f.MenuCommand("Koniec1")->trigger(); }},
    {"WindowClosed", [](TMainForm& f) { f.close(); }},
    {"MainMenuEnd",
     [](TMainForm& f) {
         f.NotebookMainForm->setCurrentIndex(1);
         Control<QPushButton>(&f, "BitBtnKoniec")->click();
     }},
    {"ServicePanelEnd", [](TMainForm& f) { Control<QPushButton>(&f, "PSButton31")->click(); }},
};

class ProgramEndWays : public ProgramEndTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(ProgramEndWays, ResetTheHeadLastAndCloseThePort) {
    readOnPositioningPage();
    TMainForm* f = form();
    const size_t before = head.receivedCommands().size();
    GetParam().end(*f);
    EXPECT_FALSE(f->isVisible());
    EXPECT_FALSE(f->ReadingThread().Running());
    EXPECT_FALSE(f->CommPortDriver1->Connected());
    const std::string after = bytesAfter(before);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), 'R') << after;
}

INSTANTIATE_TEST_SUITE_P(Endings, ProgramEndWays, ::testing::ValuesIn(kEndings),
                         [](const ::testing::TestParamInfo<Ending>& i) { return std::string(i.param.name); });

// Destroyed without being closed first (the session ends): the same reset.
TEST_F(ProgramEndTest, DestroyedWindowResetsTheHead) {
    readOnPositioningPage();
    const size_t before = head.receivedCommands().size();
    app::EndProgram(program);
    const std::string after = bytesAfter(before);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), 'R') << after;
}

// Closed while the link status window tells of a lost head: no window of the program stays
// open to keep it running.
TEST_F(ProgramEndTest, ClosingWithTheStatusWindowShownLeavesNoWindowOpen) {
    readOnPositioningPage();
    head.vanish();
    ASSERT_TRUE(pumpUntil([&] { return Komunikaty && Komunikaty->isVisible(); }));
    form()->close();
    EXPECT_FALSE(form()->isVisible());
    for (const QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

// A closing that the inspector refuses keeps the head reading and the port open.
TEST_F(ProgramEndTest, RefusedClosingKeepsTheLink) {
    readOnPositioningPage();
    TMainForm* f = form();
    MeasurementRunning = true;  // closing during a run is refused
    f->MenuCommand("Koniec1")->trigger();
    MeasurementRunning = false;
    EXPECT_EQ(messageCount(Msg("stZakoncz")), 1);
    EXPECT_TRUE(f->CommPortDriver1->Connected());
    EXPECT_TRUE(f->ReadingThread().Running());
}

}  // namespace
