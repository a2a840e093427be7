#include "instrument/LadowanieProgramu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/HeadReset.h"
#include "instrument/LinkPort.h"
#include "instrument/SerialFrameParser.h"
#include "platform/AppPaths.h"
#include "platform/CardPorts.h"
#include "platform/ReadFile.h"
#include "platform/Sync.h"

namespace instrument {

namespace {

// Both the link layer and the hand-off header declare a RunOnUiThread; take the blocking one.
void handOff(const std::function<void()>& f) {
    static_cast<void (*)(const std::function<void()>&)>(&instrument::RunOnUiThread)(f);
}

QString utf8(const char* s) { return QString::fromUtf8(s); }

const char* const kNoCard = " Brak zainstalowanej karty! ";
const char* const kNoInvitation =
    " Karta nieodpowiada. Brak zaproszenia do ladowania programu! Program zostanie zakończony. ";
const char* const kCommandError = " Karta źle reaguje! Błąd komendy! Program zostanie zakończony. ";
const char* const kMemoryDamaged = " Uszkodzona pamięć karty! Program zostanie zakończony.";
const char* const kResetComputer = " System wymaga zresetowania komputera ";
const char* const kNoConnection = "Brak połączenia z interfejsem pomiarowym.";

}  // namespace

LoadProgramSink::~LoadProgramSink() = default;

bool LoadProgramSink::SerialPortOpen() {
    auto link = Link();
    return link->comm && link->comm->Connected();
}

void LoadProgramSink::LoaderEnded(const LoadResult& result) {
    const bool failed = result.outcome == LoadOutcome::Failed;
    ReportLoadEnd(failed);
    // A failed load stays an interface error whatever the end entry concluded.
    if (failed) InterfaceError = true;
}

bool ReadHexFile(const QString& path, HexFile& out, QString& error) {
    out = HexFile{};
    const platform::FileRead read = platform::ReadRegularFile(path);
    if (read.status == platform::FileRead::Missing) {
        error = TranslateString("stBrakPlikuProgramu", utf8("Brak pliku programu interfejsu: ")) + path;
        return false;
    }
    const QByteArray& data = read.bytes;
    if (!read.ok()) {
        error = TranslateString("stBladPlikuProgramu", utf8("Nie można odczytać pliku programu interfejsu: ")) +
                path;
        return false;
    }
    bool anyRecord = false;
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        anyRecord = anyRecord || !line.isEmpty();
        out.lines.emplace_back(line.constData(), static_cast<size_t>(line.size()));
    }
    // The piece after the last line end is no line.
    if (!out.lines.empty() && out.lines.back().empty()) out.lines.pop_back();
    if (!anyRecord) {
        out = HexFile{};
        error = TranslateString("stPustyPlikProgramu", utf8("Pusty plik programu interfejsu: ")) + path;
        return false;
    }
    out.size = data.size();
    return true;
}

TLoadProgram::TLoadProgram(LoadProgramSink& sink, LoaderTimings timings) : sink_(sink), timings_(timings) {}

TLoadProgram::~TLoadProgram() = default;

void TLoadProgram::Start(Speeds speeds) {
    worker_.waitForEnd();
    {
        std::lock_guard<std::mutex> lock(m_);
        result_ = LoadResult{};
        speeds_ = speeds;
    }
    LoadProgramMessage.clear();
    worker_.start([this](uint64_t) { Execute(); });
}

LoadResult TLoadProgram::Result() const {
    std::lock_guard<std::mutex> lock(m_);
    return result_;
}

TLoadProgram::Speeds TLoadProgram::SpeedsAfter() const {
    std::lock_guard<std::mutex> lock(m_);
    return speeds_;
}

void TLoadProgram::toUi(const std::function<void(LoadProgramSink&)>& f) {
    handOff([&] { f(sink_); });
}

void TLoadProgram::sleepMs(int ms) {
    if (ms > 0) Link()->clock.sleepMs(ms);
}

void TLoadProgram::AddMessageLine(const QString& text) {
    toUi([&](LoadProgramSink& s) { s.AddMessageLine(text); });
}

void TLoadProgram::ShowErrorBox(const QString& text) {
    toUi([&](LoadProgramSink& s) { s.ShowErrorBox(text); });
}

void TLoadProgram::fail(const QString& message) {
    InterfaceError = true;
    handOff([&] { LoadProgramMessage = message; });
    std::lock_guard<std::mutex> lock(m_);
    result_.outcome = LoadOutcome::Failed;
    result_.message = message;
}

void TLoadProgram::Execute() {
    {
        std::lock_guard<std::mutex> lock(m_);
        result_ = LoadResult{};
    }
    if (SerialLinkChosen())
        executeSerial();
    else
        executeCard();
    // Ended for the window's shutdown: nothing more to report to a window that is closing.
    if (worker_.terminateRequested()) return;
    const LoadResult result = Result();
    toUi([&](LoadProgramSink& s) { s.LoaderEnded(result); });
}

// ---- card -------------------------------------------------------------------------------

bool TLoadProgram::CardReadyForData() { return (InPort(platform::kCardStatusPort) & 0x80) != 0; }

bool TLoadProgram::WaitCardReady() {
    for (int i = 0; i < timings_.cardReadyPolls; ++i)
        if (CardReadyForData()) return true;
    return false;
}

bool TLoadProgram::WriteCardPort(uint16_t port, uint8_t value) {
    if (!WaitCardReady()) return false;
    OutPort(port, value);
    return true;
}

bool TLoadProgram::WriteCardCommand(uint8_t value) { return WriteCardPort(platform::kCardCommandPort, value); }

bool TLoadProgram::WriteCardData(uint8_t value) { return WriteCardPort(platform::kCardHighPort, value); }

bool TLoadProgram::SendHexLine(const std::string& line) {
    column_ = 1;
    if (line.empty()) return true;
    if (!WriteCardCommand(static_cast<uint8_t>(line[0]))) return false;
    bool good = true;
    // Characters 2k and 2k + 1 (counted from 1) go as one pair; a last character without a
    // partner stays unsent.
    const size_t pairs = (line.size() - 1) / 2;
    for (size_t k = 1; k <= pairs; ++k) {
        column_ += 2;
        if (!WriteCardData(static_cast<uint8_t>(line[2 * k - 1]))) return false;
        if (!WriteCardCommand(static_cast<uint8_t>(line[2 * k]))) return false;
        if (InPort(platform::kCardDataPort) == 'X') {
            toUi([](LoadProgramSink& s) { s.ShowCommandError(); });
            good = false;
        }
    }
    return good;
}

void TLoadProgram::showProgress(int64_t sent, int64_t size, int& shown) {
    if (size <= 0) return;
    const int percent = static_cast<int>(std::min<int64_t>(100, sent * 100 / size));
    if (percent == shown) return;
    shown = percent;
    toUi([percent](LoadProgramSink& s) { s.SetProgress(percent); });
}

bool TLoadProgram::openFirmware(const char* name, HexFile& file) {
    const QString path = QDir(platform::programDirectory()).filePath(QString::fromLatin1(name));
    QString error;
    if (ReadHexFile(path, file, error)) return true;
    toUi([&](LoadProgramSink& s) { s.SetStatusText(error); });
    ShowErrorBox(error);
    fail(error);
    return false;
}

void TLoadProgram::executeCard() {
    if (!Link()->card) {
        fail(utf8(kNoCard));
        return;
    }
    int runningAnswers = 0;
    QString lastError;
    for (int attempt = 0; attempt < 3 && !worker_.terminateRequested(); ++attempt) {
        SendCommandByte(HeadCommand::ProgramTest);
        sleepMs(timings_.cardAnswerMs);
        if (InPort(platform::kCardHighPort) == 30 && InPort(platform::kCardCommandPort) == 20) {
            ++runningAnswers;
            continue;
        }
        SendCommandByte(HeadCommand::BiosTest);
        sleepMs(timings_.cardAnswerMs);
        if (!(InPort(platform::kCardHighPort) == 22 && InPort(platform::kCardCommandPort) == 0x21)) {
            lastError = utf8(kNoCard);
            InterfaceError = true;
            handOff([&] { LoadProgramMessage = lastError; });
            continue;
        }
        bool invited = false;
        for (int invitation = 0; invitation < 3 && !invited && !worker_.terminateRequested(); ++invitation) {
            AddMessageLine(utf8("Bios sprawdzony"));
            SendCommandByte(HeadCommand::BiosReset);
            sleepMs(timings_.biosResetMs);
            // The start-up text: read without waiting, not needed here.
            for (int i = 0; i < 226; ++i) (void)InPort(platform::kCardDataPort);
            sleepMs(timings_.invitationMs);
            const uint8_t first = InPort(platform::kCardDataPort);
            if (first == 'M') {
                sleepMs(timings_.invitationSecondByteMs);
                invited = InPort(platform::kCardDataPort) == 0xB1;
                if (!invited) lastError = utf8(kNoInvitation);
            } else if (first == 'B') {
                lastError = utf8(kCommandError);
            } else if (first == '7') {
                lastError = utf8(kMemoryDamaged);
            } else {
                // Silence is no invitation either; an empty message would pass for success.
                lastError = utf8(kNoInvitation);
            }
            if (!invited) handOff([&] { LoadProgramMessage = lastError; });
        }
        if (invited) {
            AddMessageLine(utf8("Wysyłanie programu."));
            if (LoadHexFileCard()) {
                handOff([] { LoadProgramMessage.clear(); });
                std::lock_guard<std::mutex> lock(m_);
                result_.outcome = LoadOutcome::Loaded;
            }
            return;
        }
    }
    if (runningAnswers == 3) {
        std::lock_guard<std::mutex> lock(m_);
        result_.outcome = LoadOutcome::AlreadyRunning;
        return;
    }
    fail(lastError.isEmpty() ? utf8(kNoCard) : lastError);
}

bool TLoadProgram::LoadHexFileCard() {
    toUi([](LoadProgramSink& s) { s.SetStatusText(utf8("Gotowość karty do przyjęcia danych")); });
    HexFile file;
    if (!openFirmware(kCardFirmwareFile, file)) return false;
    AddMessageLine(utf8("Do załadowania ") + QString::number(file.size) + utf8(" znaków."));
    if (!WriteCardCommand('L')) {
        fail(utf8(kResetComputer));
        return false;
    }
    int64_t sent = 0;
    int shown = -1;
    for (size_t i = 0; i < file.lines.size(); ++i) {
        const std::string& line = file.lines[i];
        if (!SendHexLine(line)) {
            const QString text = utf8("Błąd przy ") + QString::number(i + 1) + utf8(" lini, ") +
                                 QString::number(column_) + utf8(" kolumnie.");
            toUi([&](LoadProgramSink& s) { s.SetStatusText(text); });
            fail(utf8(kResetComputer));
            return false;
        }
        sent += static_cast<int64_t>(line.size()) + 2;
        showProgress(sent, file.size, shown);
        if (worker_.terminateRequested()) {
            fail(utf8(kResetComputer));
            return false;
        }
    }
    toUi([](LoadProgramSink& s) { s.SetStatusText(utf8("Program załadowany.")); });
    return true;
}

// ---- serial -----------------------------------------------------------------------------

void TLoadProgram::executeSerial() {
    TCommPortDriver* comm = Link()->comm;
    bool open = false;
    toUi([&](LoadProgramSink& s) { open = s.SerialPortOpen(); });
    if (!comm || !open) {
        fail(utf8(kNoConnection));
        return;
    }
    sleepMs(timings_.serialSettleMs);
    ReadingStopped = true;
    SignalMonitorStopped = true;
    // The parser's reply state belongs to the user-interface thread.
    handOff([] {
        PendingReply = 3;
        TextLineMode = false;
        ReplyText.clear();
    });
    // An old answer must not pass for this one.
    if (ProgramLoadEvent) ProgramLoadEvent->reset();
    SendCommandByte(HeadCommand::ProgramTest);
    if (ProgramLoadEvent && ProgramLoadEvent->wait(std::chrono::milliseconds(timings_.programTestWaitMs))) {
        ProgramLoadEvent->reset();
        std::lock_guard<std::mutex> lock(m_);
        result_.outcome = LoadOutcome::AlreadyRunning;
        return;
    }

    Speeds speeds;
    {
        std::lock_guard<std::mutex> lock(m_);
        speeds = speeds_;
    }
    const uint8_t order[3] = {speeds.main, speeds.alt, speeds.main};
    for (uint8_t index : order) {
        if (worker_.terminateRequested()) break;
        comm->SetComPortSpeed(TComPortBaudRate(std::min<int>(index, br115200)));
        toUi([index](LoadProgramSink& s) { s.Reconnect(index); });
        // Ready for the start-up text before the reset: the head may answer at once.
        ExpectStartupText();
        instrument::LinkState().ProbeAnswered = false;
        PulseDtrReset(*comm, timings_.dtrPulseMs);
        bool answered = instrument::LinkState().ProbeAnswered.load();
        for (int i = 0; i < timings_.probePolls && !answered && !worker_.terminateRequested(); ++i) {
            sleepMs(timings_.probePollMs);
            answered = instrument::LinkState().ProbeAnswered.load();
        }
        if (!answered) continue;

        InterfaceError = false;
        const bool loaded = LoadHexFileSerial();
        // The head answered at this speed: it becomes the main one, the other the alternative.
        const Speeds after{index, static_cast<uint8_t>(index == 6 ? 11 : 6)};
        {
            std::lock_guard<std::mutex> lock(m_);
            speeds_ = after;
        }
        toUi([after](LoadProgramSink& s) { s.RememberBaudRates(after.main, after.alt); });
        if (loaded) {
            handOff([] { PendingReply = 5; });
            std::lock_guard<std::mutex> lock(m_);
            result_.outcome = LoadOutcome::Loaded;
        }
        return;
    }
    InterfaceError = true;
    if (worker_.terminateRequested()) {
        fail(utf8(kNoConnection));
        return;
    }
    const QString box = Msg("stPolWyl");
    toUi([](LoadProgramSink& s) {
        if (s.ServicePageShown()) s.SetStatusText(utf8(kNoConnection));
    });
    ShowErrorBox(box);
    fail(box);
}

bool TLoadProgram::LoadHexFileSerial() {
    HexFile file;
    if (!openFirmware(kSerialFirmwareFile, file)) return false;
    TCommPortDriver* comm = Link()->comm;
    const QString sizeText = utf8("Do załadowania ") + QString::number(file.size) + utf8(" znaków.");
    toUi([&](LoadProgramSink& s) { s.SetStatusText(sizeText); });
    auto sendFailed = [&](size_t lineNo, int column) {
        const QString text = utf8("Błąd nr 003. Błąd przy ") + QString::number(lineNo) + utf8(" lini, ") +
                             QString::number(column) + utf8(" kolumnie.");
        toUi([&](LoadProgramSink& s) { s.SetStatusText(text); });
        const QString box = utf8("Błąd nr 003. Zła konfiguracja karty pomiarowej!");
        ShowErrorBox(box);
        fail(box);
    };
    if (!comm->SendString("L")) {
        sendFailed(0, 1);
        return false;
    }
    int64_t sent = 0;
    int shown = -1;
    for (size_t i = 0; i < file.lines.size(); ++i) {
        const std::string& line = file.lines[i];
        if (!line.empty()) {
            const int32_t n = comm->SendData(line.data(), static_cast<int32_t>(line.size()));
            if (n != static_cast<int32_t>(line.size())) {
                // The column is the first character that did not go out.
                sendFailed(i + 1, std::abs(n) + 1);
                return false;
            }
        }
        sent += static_cast<int64_t>(line.size()) + 2;
        showProgress(sent, file.size, shown);
        if (worker_.terminateRequested()) {
            fail(utf8(kNoConnection));
            return false;
        }
    }
    return true;
}

}  // namespace instrument
