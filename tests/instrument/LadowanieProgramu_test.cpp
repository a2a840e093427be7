#include "instrument/LadowanieProgramu.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <mutex>

#include "LinkFixture.h"
#include "foundations/ProgramMessages.h"
#include "instrument/UOdczytB.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "platform/AppPaths.h"
#include "support/SimCard.h"
#include "support/SimHead.h"
#include "support/SimHeadReset.h"
#include "support/InstrumentSinkDoubles.h"

using namespace instrument;
using testsupport::Bytes;
using testsupport::SimCard;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// What the main window would show; every call arrives on the UI thread.
class RecordingLoaderSink : public testsupport::LoadProgramSinkDouble {
public:
    QStringList lines, boxes, status;
    std::vector<int> progress;
    std::vector<uint8_t> reconnects;
    std::vector<std::pair<uint8_t, uint8_t>> remembered;
    std::vector<LoadResult> ends;
    int commandErrors = 0;
    bool portOpen = true;
    bool servicePage = false;
    std::function<void(uint8_t)> onReconnect;

    void AddMessageLine(const QString& l) override { lines << l; }
    void ShowErrorBox(const QString& t) override { boxes << t; }
    void SetStatusText(const QString& t) override { status << t; }
    void SetProgress(int p) override { progress.push_back(p); }
    void ShowCommandError() override { ++commandErrors; }
    bool ServicePageShown() override { return servicePage; }
    bool SerialPortOpen() override { return portOpen; }
    void Reconnect(uint8_t i) override {
        reconnects.push_back(i);
        if (onReconnect) onReconnect(i);
    }
    void RememberBaudRates(uint8_t m, uint8_t a) override { remembered.push_back({m, a}); }
    bool throughWindow = false;  // also the default end report (the link status window)
    void LoaderEnded(const LoadResult& r) override {
        ends.push_back(r);
        if (throughWindow) LoadProgramSink::LoaderEnded(r);
    }
    // As the main window reports the end.
    void ReportLoadEnd(bool failed) override {
        if (Komunikaty) Komunikaty->KoniecPrzerwaniaLadowanieP(failed);
    }
};

LoaderTimings quickTimings() {
    LoaderTimings t;
    t.serialSettleMs = 10;
    t.programTestWaitMs = 300;
    t.probePolls = 12;  // 600 ms for the head to restart and invite
    t.cardReadyPolls = 1000;
    return t;
}

std::string bytesText(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

class LoaderFixture : public LinkGlobalsFixture {
protected:
    void SetUp() override {
        LinkGlobalsFixture::SetUp();
        platform::setProgramDirectory(QStringLiteral(VKM30_TEST_DATA));
    }
    void TearDown() override {
        platform::setProgramDirectory(QString());
        LinkGlobalsFixture::TearDown();
    }
    LoadResult run(TLoadProgram& loader, LoaderSpeeds speeds = {}) {
        loader.Start(speeds);
        EXPECT_TRUE(loader.WaitForEnd(std::chrono::milliseconds(20000)));
        EXPECT_EQ(sink.ends.size(), 1u);
        return loader.Result();
    }
    RecordingLoaderSink sink;
};

// ---- card -------------------------------------------------------------------------------

class CardLoader : public LoaderFixture {
protected:
    void SetUp() override {
        LoaderFixture::SetUp();
        InterfaceMode = 0;
        // Pauses take no time; the card answers at once.
        SetLink({nullptr, &card, nullptr, LinkClock{[] { return 0u; }, [](int) {}}});
    }
    // A card whose program does not run, with a good BIOS, that invites with these bytes
    // after each BIOS reset.
    void freshCard(std::vector<uint8_t> invitation = {'M', 0xB1}) {
        card.setAnswer(HeadCommand::ProgramTest, 0, 0);
        card.setAnswer(HeadCommand::BiosTest, 22, '!');
        card.setOnCommand([this, invitation](SimCard& c, uint8_t cmd) {
            if (cmd != HeadCommand::BiosReset || loading) return;
            std::vector<uint8_t> text(226, 'b');
            text.insert(text.end(), invitation.begin(), invitation.end());
            c.queueData(text);
        });
    }
    SimCard card;
    bool loading = false;
};

TEST_F(CardLoader, LoadsTheFileAfterTheHandshake) {
    freshCard();
    TLoadProgram loader(sink, quickTimings());
    const LoadResult r = run(loader);
    EXPECT_EQ(r.outcome, LoadOutcome::Loaded);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_TRUE(LoadProgramMessage.isEmpty());
    // Link test, BIOS test, BIOS reset, load command; then each line: its first character as a
    // command, then pairs of (data, command). The CR of each CR LF line end is not sent.
    EXPECT_EQ(bytesText(card.commands()), std::string("\x88TPL") + ":AB" + ":0F");
    EXPECT_EQ(bytesText(card.dataWritten()), "12" "0F");
    EXPECT_EQ(sink.lines, (QStringList{u("Bios sprawdzony"), u("Wysyłanie programu."),
                                       u("Do załadowania 14 znaków.")}));
    EXPECT_EQ(sink.status.last(), u("Program załadowany."));
    // 7 of 14 bytes, then all (each line counts with its line end).
    EXPECT_EQ(sink.progress, (std::vector<int>{50, 100}));
    EXPECT_EQ(sink.ends[0].outcome, LoadOutcome::Loaded);
}

TEST_F(CardLoader, ARunningProgramThreeTimesGetsNoFirmware) {
    // The default card answers the link test with 30, 20.
    TLoadProgram loader(sink, quickTimings());
    EXPECT_EQ(run(loader).outcome, LoadOutcome::AlreadyRunning);
    EXPECT_EQ(card.commands(), (std::vector<uint8_t>{0x88, 0x88, 0x88}));
    EXPECT_TRUE(card.dataWritten().empty());
    EXPECT_TRUE(LoadProgramMessage.isEmpty());
}

TEST_F(CardLoader, FailuresKeepTheirText) {
    struct Case {
        const char* name;
        bool biosGood;
        std::vector<uint8_t> invitation;
        const char* message;
    } cases[] = {
        {"bad BIOS", false, {}, " Brak zainstalowanej karty! "},
        {"wrong second byte", true, {'M', 0x00},
         " Karta nieodpowiada. Brak zaproszenia do ladowania programu! Program zostanie zakończony. "},
        {"command error", true, {'B'}, " Karta źle reaguje! Błąd komendy! Program zostanie zakończony. "},
        {"memory", true, {'7'}, " Uszkodzona pamięć karty! Program zostanie zakończony."},
        // Silence must not pass for success (the end entry reports success on an empty text).
        {"silence", true, {},
         " Karta nieodpowiada. Brak zaproszenia do ladowania programu! Program zostanie zakończony. "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimCard fresh;
        SetLink({nullptr, &fresh, nullptr, LinkClock{[] { return 0u; }, [](int) {}}});
        fresh.setAnswer(HeadCommand::ProgramTest, 0, 0);
        if (c.biosGood) fresh.setAnswer(HeadCommand::BiosTest, 22, '!');
        fresh.setOnCommand([&c](SimCard& card, uint8_t cmd) {
            if (cmd != HeadCommand::BiosReset) return;
            std::vector<uint8_t> text(226, 'b');
            text.insert(text.end(), c.invitation.begin(), c.invitation.end());
            card.queueData(text);
        });
        InterfaceError = false;
        sink.ends.clear();
        TLoadProgram loader(sink, quickTimings());
        const LoadResult r = run(loader);
        EXPECT_EQ(r.outcome, LoadOutcome::Failed);
        EXPECT_EQ(r.message, u(c.message));
        EXPECT_EQ(LoadProgramMessage, u(c.message));
        EXPECT_TRUE(InterfaceError.load());
        EXPECT_TRUE(fresh.dataWritten().empty());
        // Three attempts, three BIOS resets each when the BIOS is good.
        const auto cmds = fresh.commands();
        EXPECT_EQ(std::count(cmds.begin(), cmds.end(), uint8_t('P')), c.biosGood ? 9 : 0);
        EXPECT_EQ(std::count(cmds.begin(), cmds.end(), uint8_t('L')), 0);
    }
}

TEST_F(CardLoader, RejectedPairFailsTheLineAndAsksForARestart) {
    freshCard();
    // The card rejects the first pair of the first line.
    card.setOnCommand([this](SimCard& c, uint8_t cmd) {
        if (cmd == HeadCommand::BiosReset) {
            std::vector<uint8_t> text(226, 'b');
            text.push_back('M');
            text.push_back(0xB1);
            c.queueData(text);
        } else if (cmd == 'L') {
            loading = true;
        } else if (loading && cmd == 'A') {
            c.queueData({'X'});
        }
    });
    TLoadProgram loader(sink, quickTimings());
    const LoadResult r = run(loader);
    EXPECT_EQ(r.outcome, LoadOutcome::Failed);
    EXPECT_EQ(r.message, u(" System wymaga zresetowania komputera "));
    EXPECT_EQ(sink.commandErrors, 1);
    // The failed line is still sent to its end; the next line is not.
    EXPECT_EQ(bytesText(card.commands()), std::string("\x88TPL") + ":AB");
    EXPECT_EQ(sink.status.last(), u("Błąd przy 1 lini, 5 kolumnie."));
}

TEST_F(CardLoader, CommandPortThatNeverFreesFailsAtOnce) {
    freshCard();
    card.setOnCommand([](SimCard& c, uint8_t cmd) {
        if (cmd == HeadCommand::BiosReset) {
            std::vector<uint8_t> text(226, 'b');
            text.push_back('M');
            text.push_back(0xB1);
            c.queueData(text);
        } else if (cmd == 'L') {
            c.setStatus(static_cast<uint8_t>(c.status() & ~testsupport::kCardCommandFree));
        }
    });
    TLoadProgram loader(sink, quickTimings());
    const LoadResult r = run(loader);
    EXPECT_EQ(r.outcome, LoadOutcome::Failed);
    EXPECT_EQ(bytesText(card.commands()), "\x88TPL");
    EXPECT_EQ(sink.status.last(), u("Błąd przy 1 lini, 1 kolumnie."));
}

TEST_F(CardLoader, PairsOfALine) {
    struct Case {
        const char* line;
        const char* commands;
        const char* data;
    } cases[] = {
        {":", ":", ""},
        {":1", ":", ""},        // even length: the last character stays unsent
        {":12", ":2", "1"},     // odd length: the last character ends the last pair
        {":123", ":2", "1"},
        {":1234", ":24", "13"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SimCard fresh;
        SetLink({nullptr, &fresh, nullptr, LinkClock{[] { return 0u; }, [](int) {}}});
        TLoadProgram loader(sink, quickTimings());
        EXPECT_TRUE(loader.SendHexLine(c.line));
        EXPECT_EQ(bytesText(fresh.commands()), c.commands);
        EXPECT_EQ(bytesText(fresh.dataWritten()), c.data);
    }
}

TEST_F(CardLoader, MissingOrEmptyFirmwareFailsWithItsMessage) {
    QTemporaryDir dir;
    platform::setProgramDirectory(dir.path());
    const QString path = QDir(dir.path()).filePath("l_system.hex");
    struct Case {
        bool create;
        const char* content;
        QString message;
    } cases[] = {
        {false, "", u("Brak pliku programu interfejsu: ") + path},
        {true, "", u("Pusty plik programu interfejsu: ") + path},
        {true, "\r\n\r\n", u("Pusty plik programu interfejsu: ") + path},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        if (c.create) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        SimCard fresh;
        SetLink({nullptr, &fresh, nullptr, LinkClock{[] { return 0u; }, [](int) {}}});
        fresh.setAnswer(HeadCommand::ProgramTest, 0, 0);
        fresh.setAnswer(HeadCommand::BiosTest, 22, '!');
        fresh.setOnCommand([](SimCard& cd, uint8_t cmd) {
            if (cmd != HeadCommand::BiosReset) return;
            std::vector<uint8_t> text(226, 'b');
            text.push_back('M');
            text.push_back(0xB1);
            cd.queueData(text);
        });
        sink.ends.clear();
        sink.boxes.clear();
        TLoadProgram loader(sink, quickTimings());
        const LoadResult r = run(loader);
        EXPECT_EQ(r.outcome, LoadOutcome::Failed);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(sink.boxes, QStringList{c.message});
        EXPECT_EQ(LoadProgramMessage, c.message);
        EXPECT_EQ(bytesText(fresh.commands()), "\x88TP");
    }
}

TEST_F(CardLoader, NoCardFailsAtOnce) {
    SetLink({nullptr, nullptr, nullptr, LinkClock{[] { return 0u; }, [](int) {}}});
    TLoadProgram loader(sink, quickTimings());
    const LoadResult r = run(loader);
    EXPECT_EQ(r.outcome, LoadOutcome::Failed);
    EXPECT_EQ(r.message, u(" Brak zainstalowanej karty! "));
    EXPECT_TRUE(InterfaceError.load());
}

class WindowSink : public testsupport::KomunikatySinkDouble {
public:
    QStringList log;
    void SendCommandByte(uint8_t) override {}
    uint8_t MeasurementMode() const override { return 10; }
    bool ResolutionOffered() const override { return false; }
    bool MeasureLevelLost() override { return false; }
    void StartSignalMonitor() override {}
    void CreateReadingThread(uint64_t) override {}
    void RestartCounting() override {}
    void RestartMeasurementPage(uint8_t) override {}
    void ReturnToMainMenu(uint8_t) override {}
    void StartLinkWatchdog() override {}
    // A data port that reads the ready answer would send the window down its success branch.
    uint8_t ReadCardDataPort() override { return 'c'; }
    void AppendServiceLog(const QString& s) override { log << s; }
    std::vector<int> pages;
    void ShowMainPage(int p) override { pages.push_back(p); }
};

TEST_F(CardLoader, TheEndIsReportedThroughTheLinkStatusWindowAndAFailureStaysAnInterfaceError) {
    WindowSink windowSink;
    TKomunikaty window(&windowSink);
    Komunikaty = &window;
    sink.throughWindow = true;
    SetLink({nullptr, nullptr, nullptr, LinkClock{[] { return 0u; }, [](int) {}}});
    TLoadProgram loader(sink, quickTimings());
    EXPECT_EQ(run(loader).outcome, LoadOutcome::Failed);
    Komunikaty = nullptr;
    // The window's end entry ran (the main menu), claims no loaded program, and the failed load
    // is still an interface error.
    EXPECT_EQ(windowSink.pages, std::vector<int>{1});
    EXPECT_FALSE(windowSink.log.contains(u("Program załadowany")));
    EXPECT_TRUE(InterfaceError.load());
}

TEST_F(CardLoader, EachStartClearsTheLastOutcome) {
    TLoadProgram loader(sink, quickTimings());
    LoadProgramMessage = QStringLiteral("old");
    EXPECT_EQ(run(loader).outcome, LoadOutcome::AlreadyRunning);
    EXPECT_TRUE(LoadProgramMessage.isEmpty());
    freshCard();
    sink.ends.clear();
    EXPECT_EQ(run(loader).outcome, LoadOutcome::Loaded);
}

// ---- serial -----------------------------------------------------------------------------

const std::string kStartupText = [] {
    std::string t = "VKM30 head\r\nBIOS 2.1\r\n";
    t.resize(226, '.');
    return t;
}();

class SerialLoader : public LoaderFixture {
protected:
    void SetUp() override {
        LoaderFixture::SetUp();
        ASSERT_TRUE(head.ok());
        InterfaceMode = 1;
        head.attachAsCom(1);
        comm = std::make_unique<TCommPortDriver>(nullptr, testsupport::makeResetWatchingBackend([this] {
            // The head restarts on the reset pulse: start-up text, then the load invitation.
            ++pulses;
            if (answerAtBaud != 0 && head.lineSpeed() == answerAtBaud) {
                head.sendText(kStartupText);
                head.sendReply('M', 0xB1);
            }
        }));
        comm->SetComPort(pnCOM1);
        comm->SetComPortSpeed(br9600);
        ASSERT_TRUE(comm->Connect());
        comm->SetOnReceiveData([this](TCommPortDriver*, const uint8_t* d, int32_t n) { parser.feed(d, n); });
        SetLink({comm.get(), nullptr, nullptr, LinkClock::system()});
        sink.onReconnect = [this](uint8_t) {
            comm->Disconnect();
            comm->Connect();
        };
    }
    void TearDown() override {
        SetLink({});
        comm.reset();
        LoaderFixture::TearDown();
    }

    testsupport::SimHead head;
    std::unique_ptr<TCommPortDriver> comm;
    RecordingSink parserSink;
    SerialFrameParser parser{nullptr, &parserSink};
    std::atomic<int> pulses{0};
    int answerAtBaud = 0;
};

TEST_F(SerialLoader, HeadFoundAtTheAlternativeSpeedGetsTheFileAndKeepsThatSpeed) {
    head.setRequiredSpeed(57600);
    answerAtBaud = 57600;
    TLoadProgram loader(sink, quickTimings());
    const LoadResult r = run(loader, {6, 11});
    EXPECT_EQ(r.outcome, LoadOutcome::Loaded);
    // Main speed first (no answer), then the alternative.
    EXPECT_EQ(sink.reconnects, (std::vector<uint8_t>{6, 11}));
    EXPECT_EQ(pulses.load(), 2);
    // The head heard nothing at 9600; at 57600 the load command and the lines in order, without
    // line ends; the empty line sends nothing.
    ASSERT_TRUE(head.waitForCommands(24));
    EXPECT_EQ(bytesText(head.receivedCommands()), "L:10000000:0C:00000001FF");
    EXPECT_EQ(sink.remembered, (std::vector<std::pair<uint8_t, uint8_t>>{{11, 6}}));
    EXPECT_EQ(loader.SpeedsAfter().main, 11);
    EXPECT_EQ(loader.SpeedsAfter().alt, 6);
    EXPECT_FALSE(InterfaceError.load());
    EXPECT_EQ(PendingReply, 5);
    EXPECT_EQ(sink.status.first(), u("Do załadowania 27 znaków."));
    EXPECT_EQ(sink.progress.back(), 100);
    // The start-up text went to the service list line by line.
    const QStringList& text = parserSink.lists[LinkList::PSListBox2];
    ASSERT_GE(text.size(), 3);
    EXPECT_EQ(text[0], u("VKM30 head"));
    EXPECT_EQ(text[1], u("BIOS 2.1"));
}

TEST_F(SerialLoader, FoundAtTheMainSpeedTheOtherBecomesTheAlternative) {
    head.setRequiredSpeed(57600);
    answerAtBaud = 57600;
    TLoadProgram loader(sink, quickTimings());
    EXPECT_EQ(run(loader, {11, 6}).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(sink.reconnects, (std::vector<uint8_t>{11}));
    EXPECT_EQ(sink.remembered, (std::vector<std::pair<uint8_t, uint8_t>>{{11, 6}}));
}

TEST_F(SerialLoader, SilentHeadEndsWithTheFailureText) {
    // A stale answer from before must not count as a running program.
    ProgramLoadEvent->set();
    TLoadProgram loader(sink, quickTimings());
    const LoadResult r = run(loader, {6, 11});
    EXPECT_EQ(r.outcome, LoadOutcome::Failed);
    EXPECT_EQ(r.message, Msg("stPolWyl"));
    EXPECT_EQ(sink.boxes, QStringList{Msg("stPolWyl")});
    EXPECT_EQ(sink.reconnects, (std::vector<uint8_t>{6, 11, 6}));
    EXPECT_TRUE(sink.remembered.empty());
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_EQ(sink.ends[0].outcome, LoadOutcome::Failed);
    // Only the link test reached the head.
    EXPECT_EQ(head.receivedCommands(), (Bytes{0x88}));
}

TEST_F(SerialLoader, ServicePageShowsTheLostConnection) {
    sink.servicePage = true;
    TLoadProgram loader(sink, quickTimings());
    EXPECT_EQ(run(loader).outcome, LoadOutcome::Failed);
    EXPECT_EQ(sink.status.last(), u("Brak połączenia z interfejsem pomiarowym."));
}

TEST_F(SerialLoader, RunningProgramAnswersTheLinkTest) {
    head.setAutoReply([](uint8_t c) { return c == 0x88 ? Bytes{0x14, 0x1E} : Bytes{}; });
    TLoadProgram loader(sink, quickTimings());
    EXPECT_EQ(run(loader).outcome, LoadOutcome::AlreadyRunning);
    EXPECT_TRUE(sink.reconnects.empty());
    EXPECT_EQ(pulses.load(), 0);
    EXPECT_FALSE(ProgramLoadEvent->isSet());
}

TEST_F(SerialLoader, MissingFirmwareFailsWithItsMessage) {
    QTemporaryDir dir;
    platform::setProgramDirectory(dir.path());
    answerAtBaud = 9600;
    TLoadProgram loader(sink, quickTimings());
    const LoadResult r = run(loader);
    const QString message = u("Brak pliku programu interfejsu: ") + QDir(dir.path()).filePath("r_sys16w.hex");
    EXPECT_EQ(r.outcome, LoadOutcome::Failed);
    EXPECT_EQ(r.message, message);
    EXPECT_EQ(sink.boxes, QStringList{message});
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_NE(PendingReply, 5);
}

TEST_F(SerialLoader, ClosedPortFailsAtOnce) {
    sink.portOpen = false;
    TLoadProgram loader(sink, quickTimings());
    const LoadResult r = run(loader);
    EXPECT_EQ(r.outcome, LoadOutcome::Failed);
    EXPECT_TRUE(InterfaceError.load());
    EXPECT_TRUE(head.receivedCommands().empty());
}

// ---- start-up text of the card ----------------------------------------------------------

class RecordingBiosSink : public testsupport::BiosTextSinkDouble {
public:
    std::map<LinkList, QStringList> lists;
    void ClearList(LinkList l) override { lists[l].clear(); }
    void AddListLine(LinkList l, const QString& s) override { lists[l].append(s); }
};

TEST_F(CardLoader, BiosTextGoesToTheServiceListLineByLine) {
    std::string text = "Karta VKM\r\nBIOS \xb9\r\n";  // 0xB9 is "ą" in code page 1250
    text.resize(226, 'x');
    text += "after";
    card.queueData(std::vector<uint8_t>(text.begin(), text.end()));
    RecordingBiosSink bios;
    bios.lists[LinkList::PSListBox2] << "old";
    TextLineMode = true;
    TOdczytBiosu reader(bios);
    reader.Start();
    ASSERT_TRUE(reader.WaitForEnd(std::chrono::milliseconds(5000)));
    EXPECT_EQ(bios.lists[LinkList::PSListBox1], QStringList{u("Odczyt Biosu")});
    EXPECT_EQ(bios.lists[LinkList::PSListBox2],
              (QStringList{u("Karta VKM"), u("BIOS ą"), QString(226 - 19, 'x')}));
    EXPECT_FALSE(TextLineMode);
    EXPECT_EQ(card.queued(), 5u);  // nothing beyond the text is taken
}

TEST_F(CardLoader, ShortBiosTextKeepsWhatCameAndEnds) {
    const std::string text = "Karta\r\nBIO";
    card.queueData(std::vector<uint8_t>(text.begin(), text.end()));
    RecordingBiosSink bios;
    TextLineMode = true;
    TOdczytBiosu reader(bios);
    reader.Start();
    ASSERT_TRUE(reader.WaitForEnd(std::chrono::milliseconds(10000)));
    EXPECT_EQ(bios.lists[LinkList::PSListBox2], (QStringList{u("Karta"), u("BIO")}));
}

TEST_F(CardLoader, BiosTextOnlyAfterABiosReset) {
    card.queueData({'a', 'b'});
    RecordingBiosSink bios;
    TextLineMode = false;
    TOdczytBiosu reader(bios);
    reader.Start();
    ASSERT_TRUE(reader.WaitForEnd(std::chrono::milliseconds(5000)));
    EXPECT_EQ(bios.lists[LinkList::PSListBox1], QStringList{u("Odczyt Biosu")});
    EXPECT_TRUE(bios.lists[LinkList::PSListBox2].isEmpty());
    EXPECT_EQ(card.queued(), 2u);
}

}  // namespace
