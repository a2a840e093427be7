// The main window as the firmware loader's sink, and the interface start-up when the window is
// first shown: with and without a head, the program found running or loaded over the serial
// link, and what a failed load shows and leaves behind.
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <vector>

#include "MainWindowFixture.h"
#include "app/Settings.h"
#include "foundations/ProgramMessages.h"
#include "instrument/ComDrv32.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"
#include "platform/Registry.h"
#include "support/SimCard.h"
#include "support/SimHead.h"

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

QStringList items(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}

class MainWindowLoader : public MainWindowTest {
protected:
    void TearDown() override {
        // The window's own link again before it sends its closing command.
        if (form()) form()->ConfigureLink();
        MainWindowTest::TearDown();
    }
    bool errorBoxShown(const QString& text) const {
        for (const MessageDlgRequest& r : messages)
            if (r.text == text && r.type == TMsgDlgType::mtError) return true;
        return false;
    }
    testsupport::SimCard card;
};

using testsupport::Bytes;

// The window shown for the first time, with the simulated head on COM1 at the speed index
// stored in the settings.
class InterfaceStartup : public MainWindowTest {
protected:
    void TearDown() override {
        head.stopStreaming();
        MainWindowTest::TearDown();
    }
    void attachHead(const char* baudIndex) {
        ASSERT_TRUE(head.ok());
        head.attachAsCom(1);
        platform::appRegistry().writeString(QString(kSettingsKey) + "\\Service Parameter", "BaudRate", baudIndex);
    }
    // Starts the window with short loader pauses and shows it (which starts the start-up).
    void startAndShow() {
        start();
        instrument::LoaderTimings t;
        t.serialSettleMs = 10;
        t.programTestWaitMs = 300;
        t.probePolls = 20;  // 1 s for the head to restart and invite
        form()->ProgramLoadTimings = t;
        // What the window's creation reported (the missing calibration file, a port that
        // cannot open) is not the start-up's.
        creationMessages = messages;
        messages.clear();
        form()->show();
    }
    // The start-up has ended: the loader is done and its end report has run.
    bool startupEnded() {
        const bool ended = pumpUntil(
            [&] {
                return form()->Threads().Loader() && !form()->Threads().Loader()->Running() &&
                       form()->NotebookMainForm->currentIndex() == 1;
            },
            15000);
        // The creation's messages were held back until now: count them with the creation's.
        for (auto it = messages.begin(); it != messages.end();) {
            if (it->text == Msg("stBrakKalibracji") || it->text == Msg("stNieMoznaOtworzyc")) {
                creationMessages.push_back(*it);
                it = messages.erase(it);
            } else {
                ++it;
            }
        }
        return ended;
    }
    QString status() const { return form()->PSStatusBar1->findChild<QLabel*>("PSStatusBar1Panel0")->text(); }
    QString mainMenuCaption() const { return u("Veldrasta - Menu Główne"); }

    testsupport::SimHead head;
    std::vector<MessageDlgRequest> creationMessages;
};

// No head: the port that cannot open is the one message; the start-up ends at once on the main
// menu with the interface error, and claims no loaded program.
TEST_F(InterfaceStartup, WithoutAHeadTheMainMenuOpensWithTheInterfaceError) {
    startAndShow();
    TMainForm* f = form();
    ASSERT_TRUE(startupEnded());
    EXPECT_EQ(f->Threads().Loader()->Result().outcome, instrument::LoadOutcome::Failed);
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_EQ(f->windowTitle(), mainMenuCaption());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(std::count_if(creationMessages.begin(), creationMessages.end(),
                            [](const MessageDlgRequest& r) { return r.text == Msg("stNieMoznaOtworzyc"); }),
              1);
    EXPECT_FALSE(items(f->PSListBox2).contains(u("Program załadowany")));
    EXPECT_EQ(status(), u("Błąd nr 004. Niemożliwe połączenie. Sprawdź ustawienia portu!"));
    EXPECT_EQ(Control<QLabel>(f, "LabStanLacza")->text(), u("Brak połączenia: nie można otworzyć portu COM1"));
    // Shown again later, the window starts nothing more.
    f->hide();
    f->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f->Threads().Loader()->Running());
}

// A head whose program runs answers the link test: nothing is loaded, no box is shown.
TEST_F(InterfaceStartup, HeadWithItsProgramRunningIsFoundAndNothingIsLoaded) {
    attachHead("11");
    head.setAutoReply([](uint8_t c) { return c == 0x88 ? Bytes{0x14, 0x1E} : Bytes{}; });
    writeProgramFile("r_sys16w.hex", ":00000001FF\n");
    startAndShow();
    TMainForm* f = form();
    ASSERT_TRUE(startupEnded());
    EXPECT_EQ(f->Threads().Loader()->Result().outcome, instrument::LoadOutcome::AlreadyRunning);
    EXPECT_FALSE(InterfaceError.load());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(head.receivedCommands(), (Bytes{0x88}));
    EXPECT_TRUE(items(f->PSListBox2).contains(u("Program załadowany")));
    EXPECT_EQ(f->windowTitle(), mainMenuCaption());
    EXPECT_EQ(Control<QLabel>(f, "LabStanLacza")->text(), u("Połączono z głowicą: COM1, 57600 b/s"));
}

// The head hears only the alternative speed and restarts when the line comes up at it: it gets
// the load command and the file's lines in order, its start-up text reaches the service list,
// its ready answer shows in the status bar, and the speed that worked is stored as the main one.
TEST_F(InterfaceStartup, SerialLoadFindsTheHeadAtTheAlternativeSpeedAndKeepsIt) {
    attachHead("6");
    head.setRequiredSpeed(57600);
    std::string text = "VKM30 head\r\nBIOS 2.1\r\n";
    text.resize(226, '.');
    Bytes restart(text.begin(), text.end());
    restart.push_back('M');
    restart.push_back(0xB1);
    head.setRestartOnSpeed(57600, restart, std::chrono::milliseconds(200));
    QFile firmware(QStringLiteral(VKM30_TEST_DATA "/r_sys16w.hex"));
    ASSERT_TRUE(firmware.open(QIODevice::ReadOnly));
    writeProgramFile("r_sys16w.hex", firmware.readAll());

    startAndShow();
    TMainForm* f = form();
    ASSERT_TRUE(startupEnded());
    EXPECT_EQ(f->Threads().Loader()->Result().outcome, instrument::LoadOutcome::Loaded);
    EXPECT_EQ(head.restarts(), 1);
    ASSERT_TRUE(head.waitForCommands(24));
    // The link test at 9600 never reached the head.
    const Bytes got = head.receivedCommands();
    EXPECT_EQ(std::string(got.begin(), got.end()), "L:10000000:0C:00000001FF");
    EXPECT_EQ(f->BaudRateIndex, 11);
    EXPECT_EQ(f->AltBaudRateIndex, 6);
    EXPECT_EQ(head.lineSpeed(), 57600);
    EXPECT_FALSE(InterfaceError.load());
    EXPECT_TRUE(messages.empty());
    const QStringList lines = items(f->PSListBox2);
    EXPECT_TRUE(lines.contains(u("VKM30 head")));
    EXPECT_TRUE(lines.contains(u("BIOS 2.1")));
    EXPECT_EQ(f->windowTitle(), mainMenuCaption());
    // The start picture and the service panel showed the progress of the load.
    EXPECT_EQ(Control<QProgressBar>(f, "ProgressBar1")->value(), 100);
    EXPECT_EQ(f->findChild<QProgressBar*>("PSProgressBar1")->value(), 100);

    head.sendText("c");
    EXPECT_TRUE(pumpUntil([&] { return status() == u("Program załadowany po RS"); })) << status().toStdString();

    app::EndProgram(program);
    EXPECT_EQ(platform::appRegistry().readString(QString(kSettingsKey) + "\\Service Parameter", "BaudRate"),
              std::optional<QString>("11"));
}

// A head that never answers: three tries, then the lost-connection box and the interface error.
TEST_F(InterfaceStartup, SilentHeadEndsWithTheLostConnectionMessage) {
    attachHead("6");
    writeProgramFile("r_sys16w.hex", ":00000001FF\n");
    start();
    instrument::LoaderTimings t;
    t.serialSettleMs = 10;
    t.programTestWaitMs = 100;
    t.probePolls = 4;
    form()->ProgramLoadTimings = t;
    messages.clear();
    // The box comes once the start picture has gone; the picture's bar moved during the tries.
    int pageAtMessage = -1;
    int progressAtMessage = -1;
    setMessageDlgHook([&](const MessageDlgRequest& r) {
        pageAtMessage = form()->NotebookMainForm->currentIndex();
        progressAtMessage = Control<QProgressBar>(form(), "ProgressBar1")->value();
        messages.push_back(r);
        return int(mrOk);
    });
    form()->show();
    ASSERT_TRUE(startupEnded());
    EXPECT_EQ(form()->Threads().Loader()->Result().outcome, instrument::LoadOutcome::Failed);
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_EQ(pageAtMessage, 1);
    EXPECT_GT(progressAtMessage, 0);
    EXPECT_EQ(messageCount(Msg("stPolWyl")), 1);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(items(form()->PSListBox2).contains(u("Program załadowany")));
    EXPECT_EQ(form()->BaudRateIndex, 6);
    EXPECT_EQ(Control<QLabel>(form(), "LabStanLacza")->text(), u("Brak głowicy na porcie COM1 (9600 b/s)"));
}

// Closing the window while the start-up still probes the head ends the loader at once, without
// its message.
TEST_F(InterfaceStartup, ClosingDuringTheStartupEndsTheLoader) {
    attachHead("6");
    start();
    form()->show();  // the loader's own pauses: close to 9 s before it would give up
    ASSERT_TRUE(pumpUntil([&] { return head.lineSpeed() == 9600 && form()->Threads().Loader()->Running(); }));
    QThread::msleep(100);
    QElapsedTimer t;
    t.start();
    app::EndProgram(program);
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_EQ(messageCount(Msg("stPolWyl")), 0);
}

TEST_F(MainWindowLoader, MissingCardFirmwareShowsItsFailureAndLeavesAnInterfaceError) {
    start();
    TMainForm* f = form();
    InterfaceError = false;
    // A card without its program and with a good BIOS, inviting the load after each reset;
    // pauses take no time.
    card.setAnswer(HeadCommand::ProgramTest, 0, 0);
    card.setAnswer(HeadCommand::BiosTest, 22, '!');
    card.setOnCommand([](testsupport::SimCard& c, uint8_t cmd) {
        if (cmd != HeadCommand::BiosReset) return;
        std::vector<uint8_t> text(226, 'b');
        text.push_back('M');
        text.push_back(0xB1);
        c.queueData(text);
    });
    f->ConfigureLink(instrument::LinkKind::Card, &card);

    f->StartProgramLoad();
    ASSERT_NE(f->Threads().Loader(), nullptr);
    ASSERT_TRUE(f->Threads().Loader()->WaitForEnd(std::chrono::seconds(10)));
    QCoreApplication::processEvents();

    const QString failure = u("Brak pliku programu interfejsu: ") + dir.filePath("l_system.hex");
    EXPECT_EQ(f->Threads().Loader()->Result().outcome, instrument::LoadOutcome::Failed);
    EXPECT_TRUE(errorBoxShown(failure));
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_EQ(LoadProgramMessage, failure);
    EXPECT_EQ(items(f->PSListBox2), (QStringList{u("Bios sprawdzony"), u("Wysyłanie programu.")}));
    // Nothing of the file was sent after the handshake.
    EXPECT_EQ(card.commands(), (std::vector<uint8_t>{0x88, 'T', 'P'}));
}

TEST_F(MainWindowLoader, SerialLoadWithoutAnOpenPortIsAnInterfaceError) {
    start();
    TMainForm* f = form();
    f->ConfigureLink(instrument::LinkKind::Serial, nullptr);
    InterfaceError = false;
    f->RSButton_Polacz->setEnabled(true);  // the port is not open

    f->StartProgramLoad();
    ASSERT_TRUE(f->Threads().Loader()->WaitForEnd(std::chrono::seconds(10)));
    QCoreApplication::processEvents();

    EXPECT_TRUE(InterfaceError.load());
    EXPECT_EQ(f->BaudRateIndex, 6);
    EXPECT_EQ(f->AltBaudRateIndex, 11);
}

}  // namespace
