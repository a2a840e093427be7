// The service panel: its plain rules (flag texts by polarity, blinking, key sequences) and the
// real window with the simulated head and the simulated card: the key sequences on both
// windows, each control's bytes or port reads with the status bar text, the reading's end, the
// BIOS tests, the flag pages, the Zeeman test and a manual firmware load.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

#include "instrument/MeteoConversion.h"
#include "HeadWindowFixture.h"
#include "app/ServicePage.h"
#include "app/ServicePanel.h"
#include "foundations/Display.h"
#include "foundations/ProgramMessages.h"
#include "foundations/RadioGroup.h"
#include "instrument/LinkPort.h"
#include "instrument/UOdczyt.h"
#include "app/dialogs/Unit_Kalibracja.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "support/ModalDialog.h"
#include "support/SimCard.h"

namespace {

using testsupport::Bytes;
using testsupport::FrameSpec;

QString u(const char* s) { return QString::fromUtf8(s); }

// --- plain rules ---

TEST(ServicePanelRules, FlagTextsFollowEachBitsPolarity) {
    // A leading 1 means asserted; the letter is the line level.
    EXPECT_EQ(service::FlagBitText(true, true), "1   H");
    EXPECT_EQ(service::FlagBitText(false, true), "0   L");
    EXPECT_EQ(service::FlagBitText(true, false), "0   H");
    EXPECT_EQ(service::FlagBitText(false, false), "1   L");

    // Card: bits 1 and 5 active high. 0x22 = READY and MEA LEVEL OK set, everything else low.
    const auto card = service::FlagTexts(0x22, service::CardFlagBits());
    const std::array<QString, 8> cardWant = {"1   L", "1   H", "1   L", "1   L", "1   L", "1   H", "1   L", "1   L"};
    EXPECT_EQ(card, cardWant);
    // Serial: bits 0, 1, 3 and 5 active high. 0x3D = READY, FULL, LEVEL, DATA ERROR, METEO set.
    const auto rs = service::FlagTexts(0x3D, service::SerialFlagBits());
    const std::array<QString, 8> rsWant = {"1   H", "0   L", "0   H", "1   H", "0   H", "1   H", "1   L", "1   L"};
    EXPECT_EQ(rs, rsWant);
    EXPECT_STREQ(service::CardFlagBits()[1].name, "READY ");
    EXPECT_STREQ(service::SerialFlagBits()[5].name, "METEO ON");
}

TEST(ServicePanelRules, CardFlagsBlinkWhenAFaultIsAssertedOrReadyIsMissing) {
    // All bits set: no fault asserted, READY present: nothing blinks.
    EXPECT_EQ(service::CardBlinkingBits(0xFF), (std::array<bool, 8>{}));
    // All clear: FULL FIFO, DATA ERROR, CPU WARNING asserted and READY missing.
    EXPECT_EQ(service::CardBlinkingBits(0x00),
              (std::array<bool, 8>{false, true, true, false, true, false, true, false}));
    EXPECT_EQ(service::FlagTitleColour(false, service::kFuchsia), service::kBlue);
    EXPECT_EQ(service::FlagTitleColour(true, service::kBlue), service::kFuchsia);
    EXPECT_EQ(service::FlagTitleColour(true, service::kFuchsia), service::kBlue);
}

TEST(ServicePanelRules, KeySequences) {
    using R = service::KeySequenceMatcher::Result;
    struct Case {
        const char* name;
        const char* keys;
        R last;
    } cases[] = {
        {"service", "40716253", R::Service},
        {"after other keys", "9x340716253", R::Service},
        // The second '4' is a wrong key: it empties the buffer and is not counted.
        {"first digit twice", "440716253", R::None},
        {"typed again after a wrong key", "407440716253", R::Service},
        {"calibration", "51938027", R::Calibration},
        {"calibration after a wrong digit", "5193x51938027", R::Calibration},
        {"wrong digit in the middle", "40718253", R::None},
        {"a digit of the other sequence at its place", "40738253", R::None},
        {"wrong digit, then the whole sequence", "4071940716253", R::Service},
        {"digits of both sequences interleaved", "45019738", R::None},
        {"a ninth key after a mixed buffer resets", "41938027x40716253", R::Service},
    };
    for (const Case& c : cases) {
        service::KeySequenceMatcher m;
        R got = R::None;
        int opened = 0;
        for (const char* k = c.keys; *k; ++k) {
            got = m.Feed(QLatin1Char(*k));
            opened += got != R::None;
        }
        EXPECT_EQ(got, c.last) << c.name;
        EXPECT_LE(opened, 1) << c.name;
    }
}

// --- the real window ---

class ServicePanelWindow : public HeadWindowTest {
protected:
    void TearDown() override {
        if (form()) form()->ConfigureLink();  // the window's own link again
        HeadWindowTest::TearDown();
    }
    QString status() const { return form()->PSStatusBar1->findChild<QLabel*>("PSStatusBar1Panel0")->text(); }
    void setStatus(const QString& s) { form()->SetLinkStatusText(s); }
    QPushButton* buttonOf(const char* name) { return Control<QPushButton>(form(), name); }
    QString labelText(const char* name) { return Control<QLabel>(form(), name)->text(); }
    void typeOn(QWidget* w, const QString& keys) {
        for (QChar c : keys) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (c.unicode() - '0'), Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
        }
    }
    // The head is idle, nothing reads: bytes from the head go to the reply modes.
    void idle() {
        ReadingStopped = true;
        SignalMonitorStopped = true;
        TextLineMode = false;
    }
    void openPanel() {
        form()->EnterServicePanel();
        ASSERT_EQ(form()->NotebookMainForm->currentIndex(), 6);
    }
    void useCard() {
        form()->PSTransmisja2->SetItemIndex(0);  // the flag page of the card
        form()->ConfigureLink(instrument::LinkKind::Card, &card);
    }
    void shot(const char* name) {
        const QString dirName = qEnvironmentVariable("VKM30_SCREENSHOTS");
        if (dirName.isEmpty()) return;
        form()->resize(1280, 1024);
        form()->show();
        QCoreApplication::processEvents();
        form()->grab().save(QDir(dirName).filePath(QString::fromLatin1(name)));
    }

    testsupport::SimCard card;
};

TEST_F(ServicePanelWindow, KeySequenceOpensThePanelOnTheMainWindowAndOnTheLinkStatusWindow) {
    startWithHead();
    TMainForm* f = form();
    f->NotebookMainForm->setCurrentIndex(1);
    typeOn(f, "1234071625");
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
    typeOn(f, "3");
    ASSERT_EQ(f->NotebookMainForm->currentIndex(), 6);
    EXPECT_TRUE(f->MenuOf("Opcje1")->menuAction()->isVisible());
    EXPECT_TRUE(f->MenuOf("Funkcje1")->menuAction()->isVisible());
    EXPECT_TRUE(f->Service().BlinkTimer()->isActive());

    // Esc leaves to the page before, the service menus and the blinking go.
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(f, &esc);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
    EXPECT_FALSE(f->MenuOf("Opcje1")->menuAction()->isVisible());
    EXPECT_FALSE(f->Service().BlinkTimer()->isActive());

    // On the window a wrong key empties the buffer and is not counted itself, so the sequence
    // is typed again from its first digit.
    typeOn(f, "440716253");
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
    typeOn(f, "407440716253");
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 6);
    QKeyEvent escAgain(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(f, &escAgain);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);

    // The link status window's "&Pomiar" button takes the same sequence.
    ASSERT_NE(Komunikaty, nullptr);
    typeOn(Komunikaty->Button1, "40716253");
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 6);
    // Its own button leaves too.
    buttonOf("PSButtonKoniecTrybuSerwisowego")->click();
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 1);
}

TEST_F(ServicePanelWindow, CalibrationFormOpensByItsSequenceItsMenuAndTheButton) {
    startWithHead();
    TMainForm* f = form();
    int opened = 0;
    auto closeWhenShown = [&] {
        // The form asks for its file first; cancelled, the form is closed.
        testsupport::whenModalShown<QFileDialog>([&](QFileDialog& d) {
            ++opened;
            d.reject();
            QTimer::singleShot(0, [] {
                if (auto* k = qobject_cast<TKalibracja*>(QApplication::activeModalWidget())) k->KoniecClick();
            });
        });
    };
    closeWhenShown();
    typeOn(f, "51938027");
    closeWhenShown();
    f->MenuCommand("kalibracja1")->trigger();
    closeWhenShown();
    openPanel();
    buttonOf("Button3")->click();
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(f->CalibrationForm, nullptr);
    EXPECT_FALSE(CalibrationFormOpen);
}

// Each control of the panel over the serial link: the bytes the head gets and the status text.
TEST_F(ServicePanelWindow, SerialControlsSendTheirBytesAndSayWhatTheyDid) {
    startWithHead();
    TMainForm* f = form();
    idle();
    openPanel();
    Control<QSpinBox>(f, "PSSpinEdit1")->setValue(65);
    const QString unchanged = QStringLiteral("-");
    struct Row {
        const char* control;
        Bytes bytes;
        QString status;
    } rows[] = {
        {"PSButton3", {65}, u("Wysłano: 65")},
        {"PSStartFifo", {'S'}, unchanged},
        {"PSButton9", {'T'}, unchanged},
        {"PSResetFifo", {'R'}, unchanged},
        {"PSButton16", {'d'}, unchanged},
        {"PSButton17", {'e'}, unchanged},
        {"PSButton18", {'f'}, unchanged},
        {"PSButton40", {0x80}, unchanged},
        {"PSButton44", {':'}, unchanged},
        {"PSButton45", {';'}, unchanged},
        {"PSButton32", {'X'}, unchanged},
        {"PSButton30", {'Y'}, unchanged},
        {"bDymaicXYOn", {'Z'}, unchanged},
        {"bDymaicXYOff", {'['}, unchanged},
        {"bRejOn", {' '}, unchanged},
        {"bRejOff", {'!'}, unchanged},
        {"PSButton1", {}, u("Timer - włączony")},
        {"PSButton2", {}, u("Timer - wyłączony")},
        {"PSButton15", {}, u("Odczyt wyłączony")},
    };
    for (const Row& r : rows) {
        head.clearReceived();
        setStatus(unchanged);
        buttonOf(r.control)->click();
        if (!r.bytes.empty()) {
            EXPECT_TRUE(head.waitForCommands(r.bytes.size())) << r.control;
        }
        pumpUntil([] { return false; }, 30);  // nothing more follows
        EXPECT_EQ(head.receivedCommands(), r.bytes) << r.control;
        EXPECT_EQ(status(), r.status) << r.control;
    }
    EXPECT_EQ(PendingReply, 6);  // RejOn awaits its reply
    EXPECT_FALSE(f->Service().FlagTimer()->isActive());
    StopReason = 0;
}

// The same over the card, with the port reads and the tests the card answers on its ports.
TEST_F(ServicePanelWindow, CardControlsReadPortsAndJudgeTheCardsAnswers) {
    start();
    TMainForm* f = form();
    useCard();
    openPanel();
    card.setAnswer(0x8F, 3, 55);
    card.setAnswer(HeadCommand::BiosTest, 22, '!');
    Control<QSpinBox>(f, "PSSpinEdit1")->setValue(0x8F);
    struct Row {
        const char* control;
        std::vector<uint8_t> commands;
        QString status;
    } rows[] = {
        {"PSButton3", {0x8F}, u("Wysłano: 143")},
        {"PSButton7", {}, u("K0 - 55")},
        {"PSButton6", {}, u("K1 - 3")},
        {"PSButton43", {'T'}, u("Bios OK")},
        {"PSButton46", {0x88}, u("Test link OK")},
        {"PSStartFifo", {'S'}, u("Test link OK")},
    };
    size_t sent = 0;
    for (const Row& r : rows) {
        buttonOf(r.control)->click();
        pumpUntil([&] { return status() == r.status; }, 1000);
        EXPECT_EQ(status(), r.status) << r.control;
        const auto all = card.commands();
        EXPECT_EQ(std::vector<uint8_t>(all.begin() + long(sent), all.end()), r.commands) << r.control;
        sent = all.size();
    }
    card.queueData({7});
    buttonOf("PSButton4")->click();
    EXPECT_EQ(status(), u("FIFO - 7"));
    // A card without its program answers the test otherwise.
    card.setAnswer(HeadCommand::BiosTest, 22, 'x');
    card.setAnswer(HeadCommand::ProgramTest, 0, 0);
    buttonOf("PSButton43")->click();
    EXPECT_TRUE(pumpUntil([&] { return status() == u("Bios bad"); }, 1000));
    buttonOf("PSButton46")->click();
    EXPECT_TRUE(pumpUntil([&] { return status() == u("Test link - Bad"); }, 1000));
}

TEST_F(ServicePanelWindow, SerialBiosTestShowsItsResultWhenTheAnswerArrives) {
    startWithHead();
    idle();
    openPanel();
    bool good = true;
    head.setAutoReply([&good](uint8_t c) { return c == 'T' ? (good ? Bytes{0x16, '!'} : Bytes{0x16, '?'}) : Bytes{}; });
    ReplyText = QStringLiteral("MX");  // what an unanswered probe left behind
    setStatus("-");
    buttonOf("PSButton43")->click();
    EXPECT_TRUE(pumpUntil([&] { return status() == u("Bios OK."); })) << status().toStdString();
    good = false;
    buttonOf("PSButton43")->click();
    EXPECT_TRUE(pumpUntil([&] { return status() == u("Bios Bad."); })) << status().toStdString();
    EXPECT_EQ(PendingReply, 0);
}

TEST_F(ServicePanelWindow, OdczytOffEndsTheReadingAtTheNextFrame) {
    startWithHead();
    TMainForm* f = form();
    idle();
    openPanel();
    buttonOf("PSOdczytFifo_ON")->click();
    EXPECT_EQ(status(), u("Odczyt włączony"));
    ASSERT_TRUE(pumpUntil([&] { return f->ReadingThread().Running(); }));
    EXPECT_FALSE(ReadingStopped.load());
    // A second "Odczyt ON" starts no second thread and says so.
    buttonOf("PSOdczytFifo_ON")->click();
    EXPECT_EQ(status(), u("Odczyt już trwa"));

    head.sendFrame(FrameSpec::ready(100));
    pumpUntil([] { return false; }, 200);
    ASSERT_TRUE(f->ReadingThread().Running());
    buttonOf("PSButton15")->click();
    pumpUntil([] { return false; }, 200);
    EXPECT_TRUE(f->ReadingThread().Running());  // no frame yet
    head.sendFrame(FrameSpec::ready(101));
    EXPECT_TRUE(pumpUntil([&] { return !f->ReadingThread().Running() && ReadingStopped.load(); }));
    EXPECT_FALSE(Komunikaty->isVisible());  // a service stop shows no message
}

TEST_F(ServicePanelWindow, SerialFlagLabelsFollowTheHeadsStatusByte) {
    startWithHead();
    TMainForm* f = form();
    f->PSTransmisja2->SetItemIndex(1);
    ReadingStopped = false;  // frames go to the frame state machine
    SignalMonitorStopped = false;
    openPanel();
    EXPECT_EQ(f->NotebookFlagi->currentIndex(), 1);
    const auto title = [&] { return Control<QLabel>(f, "Label1RS")->palette().color(QPalette::WindowText); };
    for (uint8_t st : {uint8_t(0x3D), uint8_t(0xC2)}) {
        FrameSpec fr;
        fr.status = st & ~uint8_t(0x21);  // no count or environment block
        const QColor before = title();
        head.sendFrame(fr);
        const auto want = service::FlagTexts(fr.status, service::SerialFlagBits());
        EXPECT_TRUE(pumpUntil([&] { return labelText("PSRSLabel30") == want[0] && labelText("PSRSLabel23") == want[7]; }));
        for (int bit = 0; bit < 8; ++bit)
            EXPECT_EQ(labelText(QByteArray("PSRSLabel" + QByteArray::number(30 - bit)).constData()), want[size_t(bit)])
                << int(st) << " bit " << bit;
        EXPECT_NE(title(), before);  // the title blinks with each flag block on the panel
    }
}

TEST_F(ServicePanelWindow, CardFlagLabelsFollowThePortWithTheLoopAndBlink) {
    start();
    TMainForm* f = form();
    useCard();
    openPanel();
    EXPECT_EQ(f->NotebookFlagi->currentIndex(), 0);
    card.setStatus(0xA0);  // command free, level good; ready missing, faults asserted
    buttonOf("PSOdczytFLAG")->click();  // once
    const auto want = service::FlagTexts(card.status(), service::CardFlagBits());
    for (int bit = 0; bit < 8; ++bit)
        EXPECT_EQ(labelText(QByteArray("PSLabel" + QByteArray::number(30 - bit)).constData()), want[size_t(bit)]) << bit;
    EXPECT_EQ(labelText("PSLabel29"), "0   L");  // READY missing
    // With the loop on, the timer keeps them up to date.
    f->MenuCommand("petlaprzyodczycieFLAG")->trigger();
    buttonOf("PSOdczytFLAG")->click();
    EXPECT_TRUE(f->Service().FlagTimer()->isActive());
    card.setStatus(0xFE);
    EXPECT_TRUE(pumpUntil([&] { return labelText("PSLabel29") == "1   H"; }, 2000));
    f->MenuCommand("petlaprzyodczycieFLAG")->trigger();
    EXPECT_FALSE(f->Service().FlagTimer()->isActive());

    // The asserted fault blinks red in turns; READY present does not.
    card.setStatus(0xBE);  // FULL FIFO asserted (bit 6 clear)
    buttonOf("PSOdczytFLAG")->click();
    const QColor red(0xFF, 0, 0);
    auto colour = [&](const char* n) { return Control<QLabel>(f, n)->palette().color(QPalette::WindowText); };
    f->Service().PSTimerMiganieTimer();
    const bool firstRed = colour("PSLabel24") == red;
    f->Service().PSTimerMiganieTimer();
    EXPECT_NE(colour("PSLabel24") == red, firstRed);
    EXPECT_NE(colour("PSNazwa24") == red, firstRed);
    EXPECT_NE(colour("PSLabel29"), red);
    shot("service_panel_card.png");
}

TEST_F(ServicePanelWindow, CommandPortLabelTurnsRedWhileTheCardIsBusyAndGreenWhenFree) {
    start();
    TMainForm* f = form();
    useCard();
    openPanel();
    auto colour = [&] { return Control<QLabel>(f, "PSLabel13")->palette().color(QPalette::Window); };
    const uint8_t free = card.status();
    card.setStatus(uint8_t(free & ~testsupport::kCardCommandFree));
    EXPECT_FALSE(CardCommandReady());
    EXPECT_EQ(colour(), QColor(0xFF, 0, 0));
    card.setStatus(free);
    EXPECT_TRUE(CardCommandReady());
    EXPECT_EQ(colour(), QColor(0, 0x80, 0));
}

TEST_F(ServicePanelWindow, ZeemanTestPutsTheCountsInTheServiceList) {
    startWithHead();
    TMainForm* f = form();
    openPanel();
    head.clearReceived();
    f->MenuCommand("ZeemanTestON")->trigger();
    ASSERT_TRUE(head.waitForCommands(2));
    EXPECT_EQ(head.receivedCommands(), (Bytes{'R', 'I'}));
    EXPECT_TRUE(f->MenuCommand("ZeemanTestON")->isChecked());
    EXPECT_FALSE(f->MenuCommand("ZeemanTestOFF")->isChecked());
    ReadingStopped = false;
    SignalMonitorStopped = false;
    f->PSListBox1->clear();
    head.sendFrame(FrameSpec::ready(-1234).withXy({10, -20, 30, 40}, 7, 8));
    EXPECT_TRUE(pumpUntil([&] { return f->PSListBox1->count() == 1; }));
    EXPECT_EQ(f->PSListBox1->item(0)->text(), "-1234");
    EXPECT_TRUE(pumpUntil([&] { return Control<TDisplay>(f, "DispPowY")->Value() == 8; }));
    EXPECT_EQ(Control<TDisplay>(f, "DispX")->Value(), 10 - OffsetX);
    EXPECT_EQ(Control<TDisplay>(f, "DispDeltaY")->Value(), 40);
    head.clearReceived();
    f->MenuCommand("ZeemanTestOFF")->trigger();
    ASSERT_TRUE(head.waitForCommands(1));
    EXPECT_EQ(head.receivedCommands(), (Bytes{'J'}));
    EXPECT_FALSE(f->MenuCommand("ZeemanTestON")->isChecked());
    shot("service_panel_serial.png");
}

TEST_F(ServicePanelWindow, ManualFirmwareLoadOverTheHead) {
    ASSERT_TRUE(head.ok());
    head.attachAsCom(1);
    platform::appRegistry().writeString(QString(kSettingsKey) + "\\Service Parameter", "BaudRate", "6");
    head.setRequiredSpeed(57600);
    std::string text = "VKM30 head\r\n";
    text.resize(226, '.');
    Bytes restart(text.begin(), text.end());
    restart.push_back('M');
    restart.push_back(0xB1);
    head.setRestartOnSpeed(57600, restart, std::chrono::milliseconds(200));
    writeProgramFile("r_sys16w.hex", ":10000000\n:00000001FF\n");
    start();
    TMainForm* f = form();
    instrument::LoaderTimings t;
    t.serialSettleMs = 10;
    t.programTestWaitMs = 300;
    t.probePolls = 20;
    f->ProgramLoadTimings = t;
    openPanel();
    f->PSListBox2->addItem("old");

    // Refused while a measurement runs.
    MeasurementRunning = true;
    buttonOf("PSButton23")->click();
    EXPECT_EQ(messageCount(Msg("stTrwaPomiar")), 1);
    EXPECT_EQ(f->Threads().Loader(), nullptr);
    MeasurementRunning = false;

    buttonOf("PSButton23")->click();
    EXPECT_EQ(f->PSListBox2->count(), 0);
    EXPECT_EQ(status(), u("Trwa Ładowanie"));
    ASSERT_NE(f->Threads().Loader(), nullptr);
    buttonOf("PSButton23")->click();  // one loader at a time
    EXPECT_EQ(status(), u("Ładowanie programu już trwa"));
    ASSERT_TRUE(pumpUntil([&] { return !f->Threads().Loader()->Running(); }, 15000));
    QCoreApplication::processEvents();
    EXPECT_EQ(f->Threads().Loader()->Result().outcome, instrument::LoadOutcome::Loaded);
    ASSERT_TRUE(head.waitForCommands(21));
    const Bytes got = head.receivedCommands();
    EXPECT_EQ(std::string(got.begin(), got.end()), "L:10000000:00000001FF");
    EXPECT_EQ(Control<QProgressBar>(f, "PSProgressBar1")->value(), 100);
    EXPECT_EQ(f->NotebookMainForm->currentIndex(), 6);  // the panel stays
    head.sendText("c");
    EXPECT_TRUE(pumpUntil([&] { return status() == u("Program załadowany po RS"); })) << status().toStdString();
}

// The environment channels on the panel over the serial link: "Odczyt Meteo" starts one thread,
// each block shows its raw words and, converted, the values; the name labels blink with the
// blocks.
TEST_F(ServicePanelWindow, SerialEnvironmentBlocksShowOnThePanel) {
    startWithHead();
    TMainForm* f = form();
    ReadingStopped = false;  // frames go to the frame state machine
    SignalMonitorStopped = false;
    openPanel();
    // A straight calibration: ten raw units to one unit of each channel.
    for (int c = 0; c < 6; ++c)
        for (int i = 0; i < 7; ++i) {
            CalibrationTable[c][0][i] = 100 * i;
            CalibrationTable[c][1][i] = 10 * i;
        }
    // The averaging windows outlive a reading thread: an earlier test's values must not blend in.
    instrument::sharedMeteoAverager() = instrument::MeteoAverager{};
    MeteoStopped = true;
    buttonOf("PSButton38")->click();
    ASSERT_TRUE(pumpUntil([&] { return f->MeteoReadingRunning(); }));
    EXPECT_FALSE(MeteoStopped.load());
    buttonOf("PSButton38")->click();
    EXPECT_EQ(status(), u("Odczyt meteo już trwa"));

    const auto nameColour = [&] { return Control<QLabel>(f, "PSLabel9")->palette().color(QPalette::WindowText); };
    const QColor before = nameColour();
    FrameSpec fr;
    fr.status = testsupport::kStMeteo | testsupport::kStLevelOk | testsupport::kStNoDataError | testsupport::kStNotFull;
    head.sendFrame(fr.withMeteo({101, 102, 103, 104, 105, 106}));
    // Raw words in channel order: air PSLabel38, materials 39-41, humidity 37, pressure 36.
    EXPECT_TRUE(pumpUntil([&] { return labelText("PSLabel36") == "106"; })) << labelText("PSLabel36").toStdString();
    EXPECT_EQ(labelText("PSLabel38"), "101");
    EXPECT_EQ(labelText("PSLabel41"), "104");
    EXPECT_EQ(labelText("PSLabel37"), "105");
    EXPECT_NE(nameColour(), before);
    EXPECT_EQ(nameColour(), Control<QLabel>(f, "PSLabel31")->palette().color(QPalette::WindowText));
    EXPECT_TRUE(pumpUntil([&] { return labelText("PSLabel51") == u("10,1 °C"); })) << labelText("PSLabel51").toStdString();
    MeteoStopped = true;
}

// Opened while nothing reads the environment: the head's blocks show by themselves, without
// "Odczyt Meteo".
TEST_F(ServicePanelWindow, SerialEnvironmentBlocksShowAsSoonAsThePanelOpens) {
    startWithHead();
    TMainForm* f = form();
    ReadingStopped = false;
    SignalMonitorStopped = false;
    for (int c = 0; c < 6; ++c)
        for (int i = 0; i < 7; ++i) {
            CalibrationTable[c][0][i] = 100 * i;
            CalibrationTable[c][1][i] = 10 * i;
        }
    instrument::sharedMeteoAverager() = instrument::MeteoAverager{};
    MeteoStopped = true;
    ASSERT_FALSE(f->MeteoReadingRunning());
    openPanel();
    EXPECT_EQ(labelText("PSLabel36"), "0");
    FrameSpec fr;
    fr.status = testsupport::kStMeteo | testsupport::kStLevelOk | testsupport::kStNoDataError | testsupport::kStNotFull;
    head.sendFrame(fr.withMeteo({201, 202, 203, 204, 505, 9990}));
    EXPECT_TRUE(pumpUntil([&] { return labelText("PSLabel36") == "9990"; })) << labelText("PSLabel36").toStdString();
    EXPECT_EQ(labelText("PSLabel38"), "201");
    EXPECT_TRUE(pumpUntil([&] { return labelText("PSLabel51") == u("20,1 °C"); })) << labelText("PSLabel51").toStdString();
    EXPECT_TRUE(f->MeteoReadingRunning());
    MeteoStopped = true;
}

// "Reset Prog. Biosu" over the serial link: 'P' goes out and the head's start-up text arrives
// in the loader's list line by line.
TEST_F(ServicePanelWindow, SerialBiosResetCollectsTheStartupText) {
    startWithHead();
    TMainForm* f = form();
    idle();
    openPanel();
    f->PSListBox2->addItem("old");
    head.setAutoReply([](uint8_t c) {
        if (c != 'P') return Bytes{};
        std::string text = "BIOS VKM30\r\nRAM OK\r\n";
        return Bytes(text.begin(), text.end());
    });
    head.clearReceived();
    buttonOf("ResetProgBiosu")->click();
    ASSERT_TRUE(head.waitForCommands(1));
    EXPECT_EQ(head.receivedCommands(), (Bytes{'P'}));
    EXPECT_TRUE(pumpUntil([&] { return f->PSListBox2->count() == 2; }));
    ASSERT_EQ(f->PSListBox2->count(), 2);
    EXPECT_EQ(f->PSListBox2->item(0)->text(), "BIOS VKM30");
    EXPECT_EQ(f->PSListBox2->item(1)->text(), "RAM OK");
    EXPECT_TRUE(TextLineMode);  // still counting towards the 226 characters
    EXPECT_EQ(PendingReply, 1);
}

// While the calibration form is open the head's detector position shows on it, without the
// offsets the parser subtracts for everything else.
TEST_F(ServicePanelWindow, CalibrationFormTakesTheLiveDetectorPosition) {
    startWithHead();
    TMainForm* f = form();
    ReadingStopped = false;
    SignalMonitorStopped = false;
    OffsetX = 5;
    OffsetY = -5;
    double shownX = 0, shownY = 0;
    testsupport::whenModalShown<QFileDialog>([&](QFileDialog& d) {
        d.reject();
        QTimer::singleShot(0, [&] {
            auto* k = qobject_cast<TKalibracja*>(QApplication::activeModalWidget());
            ASSERT_NE(k, nullptr);
            CalibrationFormOpen = true;  // as after "&Start"
            head.sendFrame(FrameSpec::ready(0).withXy({120, -80, 0, 0}, 1, 1));
            pumpUntil([&] { return Control<TDisplay>(k, "DispOfsetX")->Value() == 120; });
            shownX = Control<TDisplay>(k, "DispOfsetX")->Value();
            shownY = Control<TDisplay>(k, "DispOfsetY")->Value();
            k->KoniecClick();
        });
    });
    f->kalibracja1Click();
    EXPECT_EQ(shownX, 120);
    EXPECT_EQ(shownY, -80);
    EXPECT_EQ(instrument::LinkState().AlignX.load(), 115);
    OffsetX = OffsetY = 0;
}

}  // namespace
