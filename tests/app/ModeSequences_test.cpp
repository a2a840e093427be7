#include "app/ModeSequences.h"

#include "foundations/SharedGlobals.h"
#include "instrument/ThreadGeneration.h"
#include "foundations/Display.h"
#include "platform/Sync.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "support/RunViewDoubles.h"

using namespace modes;

namespace {

// Records every byte and every host action in one log, in order.
class RecordingHost : public testsupport::ModeHostDouble {
public:
    std::string sent;                // the command bytes only
    std::vector<std::string> log;    // bytes as "b:<c>" plus actions
    uint8_t mode = 10, lengthUnit = 0, velocityUnit = 0, axis = 0;
    PrecisionTable precision{};
    bool resButton = false, res10 = false, serial = true, headReady = false, alignment = false;
    int method = 0, page = 2;
    int threads = 0;
    uint64_t lastGeneration = 0;
    std::vector<ReadoutView> views;

    void SendCommandByte(uint8_t b) override {
        sent.push_back(static_cast<char>(b));
        log.push_back(std::string("b:") + static_cast<char>(b));
    }
    uint8_t& MeasurementModeField() override { return mode; }
    PrecisionTable& DisplayPrecisionField() override { return precision; }
    uint8_t& DisplayLengthUnitField() override { return lengthUnit; }
    uint8_t& DisplayVelocityUnitField() override { return velocityUnit; }
    uint8_t& MeasuredAxisField() override { return axis; }
    bool ResolutionButtonVisible() const override { return resButton; }
    bool Resolution10() const override { return res10; }
    int StraightnessMethod() const override { return method; }
    int MainPage() const override { return page; }
    bool AlignmentChecked() const override { return alignment; }
    bool HeadReady() override { return headReady; }
    bool SerialLink() const override { return serial; }
    void CreateReadingThread(uint64_t g) override {
        ++threads;
        lastGeneration = g;
        log.push_back("thread");
    }
    void StartSignalMonitor() override { log.push_back("monitor"); }
    void RestartMeteoReading() override { log.push_back("meteo"); }
    void Sleep(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
    void ClearFifo() override { log.push_back("fifo"); }
    void ResetSampleSkip() override { log.push_back("skip"); }
    void SetHeadStatusBits(uint8_t m) override { log.push_back("status|" + std::to_string(m)); }
    void SetHeadFlags(uint8_t f) override { log.push_back("flags=" + std::to_string(f)); }
    void SetLinkWatchdogEnabled(bool on) override { log.push_back(on ? "watchdog on" : "watchdog off"); }
    void ShowMainPage(int p) override { log.push_back("page " + std::to_string(p)); }
    void ShowReadoutPage(int p) override { log.push_back("readout page " + std::to_string(p)); }
    void EnableMenuItemsByTag(const std::vector<int>& tags, bool on) override {
        std::string s = on ? "enable" : "disable";
        for (int t : tags) s += " " + std::to_string(t);
        log.push_back(s);
    }
    void ApplyReadoutView(const ReadoutView& v) override { views.push_back(v); }
    void ShowLiveReadoutHeadOff(const QString&) override { log.push_back("head off"); }
    void ShowLiveReadoutInterfaceError() override { log.push_back("interface error"); }

    bool has(const std::string& s) const { return std::find(log.begin(), log.end(), s) != log.end(); }
    size_t indexOf(const std::string& s) const { return std::find(log.begin(), log.end(), s) - log.begin(); }
};

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

class ModeSequences : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedGlobals();
        ReadQuitEvent = &readQuit;
        MeteoQuitEvent = &meteoQuit;
        ReadingStopped = true;
        InterfaceError = false;
        LengthUnit = 0;
    }
    void TearDown() override {
        ReadQuitEvent = nullptr;
        MeteoQuitEvent = nullptr;
    }
    platform::ManualResetEvent readQuit, meteoQuit;
    RecordingHost h;
};

}  // namespace

TEST(ModeResolution, ByteAndDecimalTables) {
    EXPECT_EQ(ResolutionByte(true, true), 'e');
    EXPECT_EQ(ResolutionByte(true, false), 'f');
    EXPECT_EQ(ResolutionByte(false, true), 'f');  // hidden button: 10 nm is not offered
    EXPECT_EQ(ResolutionByte(false, false), 'f');
    EXPECT_EQ(PrecisionTableFor('e'), (PrecisionTable{6, 3, 5, 2, 7, 4, 5, 4, 0, 2}));
    EXPECT_EQ(PrecisionTableFor('f'), (PrecisionTable{5, 2, 4, 1, 6, 3, 4, 3, 0, 1}));
}

TEST_F(ModeSequences, StartRoutinesSendTheirBytesThenStartReadingOnce) {
    struct Case {
        const char* name;
        StartRoutine routine;
        uint8_t mode;
        bool resButton, res10;
        int method;
        std::string expected;
        uint8_t modeAfter;
    };
    const std::string R = bytes({'R', 0x89, 'S'});
    const Case cases[] = {
        {"positioning 10 nm", StartRoutine::Linear, 0, true, true, 0,
         bytes({':', '8', '7', '5', '2', 'e', '[', 'W', 0x8C, '8', 'L', 'X'}) + R, 0},
        {"positioning, button hidden", StartRoutine::Linear, 0, false, true, 0,
         bytes({':', '8', '7', '5', '2', 'f', '[', 'W', 0x8C, '8', 'L', 'X'}) + R, 0},
        {"straightness method 1", StartRoutine::Linear, 2, true, false, 1,
         bytes({':', '8', '7', '5', '2', 'f', '[', 'W', 0x8C, '8', 'L', 'X'}) + R + "e", 2},
        {"flatness method 2", StartRoutine::Linear, 3, false, false, 2,
         bytes({':', '8', '7', '5', '2', 'f', '[', 'W', 0x8C, '8', 'L', 'X'}) + R + "X", 3},
        {"positioning ignores the method", StartRoutine::Linear, 0, false, false, 2,
         bytes({':', '8', '7', '5', '2', 'f', '[', 'W', 0x8C, '8', 'L', 'X'}) + R, 0},
        {"velocity", StartRoutine::Velocity, 1, true, true, 0, bytes({':', 'e', '3', '6'}) + R, 1},
        {"display", StartRoutine::Display, 2, false, false, 0,
         bytes({':', '8', '2', 'f', '[', 0x8C, 'W', '5', '2', '8', 'X'}) + R, 6},
        {"angular", StartRoutine::Angular, 4, true, true, 0,
         bytes({':', '8', '7', '5', '2', 'e', '[', 'W', 0x8C, '8', 'L'}) + R, 4},
        {"vibration", StartRoutine::Fft, 5, false, true, 0,
         bytes({':', '8', '7', '5', '2', 'f', '[', 'W', 0x8C, '8', 'L'}) + R, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        host.mode = c.mode;
        host.resButton = c.resButton;
        host.res10 = c.res10;
        host.method = c.method;
        ReadingStopped = true;
        StatusByteEnabled = false;
        RunStartRoutine(host, c.routine);
        EXPECT_EQ(host.sent, c.expected);
        EXPECT_EQ(host.mode, c.modeAfter);
        EXPECT_EQ(host.threads, 1);
        EXPECT_FALSE(ReadingStopped.load());
        EXPECT_TRUE(StatusByteEnabled.load());
        // The thread is made after 'R' 0x89 'S', never before.
        EXPECT_GT(host.indexOf("thread"), host.indexOf("b:S"));
        // The serial watchdog restarts on every page but the live readout.
        EXPECT_EQ(host.has("watchdog on"), c.routine != StartRoutine::Display);
    }
}

TEST_F(ModeSequences, StartWhileReadingRunsSendsModeBytesOnlyAndNoSecondThread) {
    ReadingStopped = false;
    h.mode = 1;
    StartVelocityReading(h);
    EXPECT_EQ(h.sent, bytes({':', 'f', '3', '6'}));
    EXPECT_EQ(h.threads, 0);
}

TEST_F(ModeSequences, CardLinkHasNoWatchdog) {
    h.serial = false;
    StartAngularReading(h);
    EXPECT_EQ(h.threads, 1);
    EXPECT_EQ(h.lastGeneration, ReadingThreadGeneration.load());
    const uint64_t first = h.lastGeneration;
    ReadingStopped = true;
    StartAngularReading(h);
    EXPECT_GT(h.lastGeneration, first);  // every start takes a new generation
    EXPECT_FALSE(h.has("watchdog on"));
}

TEST_F(ModeSequences, StopReadingSetsFlagsSignalsEventsAndWaits) {
    ReadingStopped = false;
    MeteoStopped = false;
    SignalMonitorStopped = false;
    StopReading(h);
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_TRUE(MeteoStopped.load());
    EXPECT_TRUE(SignalMonitorStopped.load());
    EXPECT_TRUE(readQuit.isSet());
    EXPECT_TRUE(meteoQuit.isSet());
    EXPECT_EQ(h.log, std::vector<std::string>{"sleep 200"});
    EXPECT_TRUE(h.sent.empty());
}

TEST_F(ModeSequences, ResetHeadFlagsAndRestartCountingPerLink) {
    ResetHeadFlags(h);
    EXPECT_EQ(h.sent, "F=?A");
    EXPECT_TRUE(h.has("status|24"));
    EXPECT_TRUE(h.has("flags=0"));

    FilterPrevious = 5.0;
    RecordingHost serial;
    RestartCounting(serial);
    EXPECT_EQ(serial.log, (std::vector<std::string>{"skip", "b:\x89", "b:S", "fifo"}));
    EXPECT_EQ(FilterPrevious, 0.0);

    RecordingHost card;
    card.serial = false;
    RestartCounting(card);
    EXPECT_EQ(card.log, (std::vector<std::string>{"skip", "b:R", "sleep 200", "b:\x89", "b:S"}));
}

TEST_F(ModeSequences, ReturnsToTheMainMenu) {
    ReturnToMainMenu(h);
    EXPECT_EQ(StopReason.load(), 21);
    EXPECT_TRUE(ReadingStopped.load());
    EXPECT_EQ(h.sent, "YR");
    EXPECT_LT(h.indexOf("sleep 200"), h.indexOf("page 1"));
    EXPECT_TRUE(h.has("watchdog off"));

    RecordingHost v;
    ReturnToMainMenuFromVelocity(v);
    EXPECT_EQ(StopReason.load(), 20);
    EXPECT_EQ(v.sent, "R");
    EXPECT_TRUE(v.has("disable 2 3 4 5 42"));
    EXPECT_TRUE(v.has("page 1"));
    EXPECT_EQ(MainMenuCaption(), QString::fromUtf8("Veldrasta - Menu Główne"));
}

TEST_F(ModeSequences, TypeButtonCyclesKindsWithBytesAndDecimals) {
    h.mode = 6;
    h.precision = PrecisionTableFor('e');
    struct Step {
        std::string bytes;
        uint8_t mode;
        int decimals;
        QString caption;
    };
    const Step steps[] = {
        {"36", 7, 4, QString::fromUtf8("Prędkość")},
        {bytes({0x8C, '7', '2'}), 8, 2, QString::fromUtf8("Kąt")},
        {bytes({'e', 0x8C, '2'}), 9, 2, "Wollaston"},
        {bytes({'f', 0x8C}), 6, 5, "Dystans"},  // back to distance in mm at 100 nm
    };
    for (const Step& s : steps) {
        h.sent.clear();
        ReadoutView v = ButtonTypPomiaruClick(h);
        EXPECT_EQ(h.sent, s.bytes);
        EXPECT_EQ(h.mode, s.mode);
        EXPECT_EQ(v.Decimals, s.decimals);
        EXPECT_EQ(v.TypeCaption, s.caption);
    }
    EXPECT_EQ(h.precision, PrecisionTableFor('f'));
    EXPECT_EQ(h.lengthUnit, 0);
}

TEST_F(ModeSequences, DistanceDisplayInInchAndTheAlignmentByte) {
    LengthUnit = 1;
    h.alignment = true;
    h.page = 2;
    h.resButton = h.res10 = true;
    ReadoutView v = SetDistanceDisplay(h);
    EXPECT_EQ(h.sent, bytes({'e', 0x8C, 'X'}));
    EXPECT_EQ(h.lengthUnit, 4);
    EXPECT_EQ(v.LengthLabel, "in");
    EXPECT_EQ(v.Decimals, 5);
    EXPECT_EQ(v.PhotoShown, false);
    EXPECT_TRUE(h.has("fifo"));
}

TEST_F(ModeSequences, UnitButtonSteps) {
    struct Case { int inch; uint8_t mode, before, after; int decimals; QString label; };
    const PrecisionTable p = PrecisionTableFor('f');
    const Case cases[] = {
        {0, 6, 0, 1, 2, QString::fromUtf8("µm")},
        {0, 6, 1, 0, 5, "mm"},
        {1, 6, 0, 5, 1, "mils"},  // from 0 in inch mode: mils
        {1, 6, 5, 4, 4, "in"},
        {1, 0, 4, 5, 1, "mils"},
        {0, 7, 0, 1, 6, "m/s"},
        {0, 7, 1, 2, 5, "m/min"},  // one decimal less than m/s
        {0, 7, 2, 0, 3, "mm/s"},
        {1, 7, 0, 5, 3, "in/min"},
        {1, 7, 5, 4, 4, "in/s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << " " << int(c.before));
        LengthUnit = c.inch;
        h.mode = c.mode;
        h.precision = p;
        (c.mode == 7 ? h.velocityUnit : h.lengthUnit) = c.before;
        ReadoutView v = SpeedButton1Click(h);
        EXPECT_EQ(c.mode == 7 ? h.velocityUnit : h.lengthUnit, c.after);
        EXPECT_EQ(v.Decimals, c.decimals);
        EXPECT_EQ(c.mode == 7 ? v.VelocityLabel : v.LengthLabel, c.label);
    }
    h.mode = 8;
    EXPECT_EQ(SpeedButton1Click(h).Decimals, -1);  // angle has no unit switch
}

TEST_F(ModeSequences, AxisSignAndKeys) {
    EXPECT_EQ(ButtonOsClick(h), QString::fromUtf8("Oś Y"));
    EXPECT_EQ(ButtonOsClick(h), QString::fromUtf8("Oś Z"));
    EXPECT_EQ(ButtonOsClick(h), QString::fromUtf8("Oś X"));
    EXPECT_EQ(h.axis, 0);
    EXPECT_EQ(ToggleSignCaption("+"), "-");
    EXPECT_EQ(ToggleSignCaption("-"), "+");

    const std::pair<int, EscAction> esc[] = {
        {0, EscAction::CloseMainWindow}, {1, EscAction::CloseMainWindow},
        {3, EscAction::LeaveMeasurementPage}, {5, EscAction::LeaveMeasurementPage},
        {6, EscAction::LeaveServicePanel}, {7, EscAction::None}, {8, EscAction::LeaveFlatnessPage}};
    for (auto [page, action] : esc) {
        h.page = page;
        EXPECT_EQ(FormKeyDown(h, kKeyEscape), action) << page;
    }
    EXPECT_TRUE(h.sent.empty());

    h.page = 2;  // Esc on the live readout goes back to the menu itself
    EXPECT_EQ(FormKeyDown(h, kKeyEscape), EscAction::None);
    EXPECT_EQ(h.sent, "YR");
    h.sent.clear();
    FormKeyDown(h, kKeyR);
    EXPECT_EQ(h.sent, bytes({0x89, 'S'}));
    h.sent.clear();
    h.page = 3;
    FormKeyDown(h, kKeyR);  // R only restarts on the live readout
    EXPECT_TRUE(h.sent.empty());
}

TEST_F(ModeSequences, LiveReadoutEntry) {
    // Head ready on the serial link: the readout starts at once.
    h.headReady = true;
    BitBtnWyswietlaczClick(h);
    EXPECT_EQ(h.sent, bytes({'F', '?', '7', '5', 'f', 0x8C, ':', '8', '2', 'f', '[', 0x8C, 'W', '5',
                             '2', '8', 'X', 'R', 0x89, 'S'}));
    EXPECT_EQ(h.mode, 6);
    EXPECT_FALSE(h.has("monitor"));
    EXPECT_TRUE(h.has("meteo"));
    EXPECT_TRUE(h.has("watchdog on"));

    // Head off on the card: 'R' first, then the monitor waits for the head.
    RecordingHost card;
    card.serial = false;
    WaitingForLaser = false;
    ReadingStopped = true;
    BitBtnWyswietlaczClick(card);
    EXPECT_EQ(card.sent, bytes({'R', 'F', '?', '7', '5', 'f', 0x8C}));
    EXPECT_TRUE(card.has("head off"));
    EXPECT_TRUE(card.has("monitor"));
    EXPECT_TRUE(WaitingForLaser.load());  // else the monitor would never start the readout
    EXPECT_EQ(card.threads, 0);
    EXPECT_FALSE(card.has("watchdog on"));

    // Interface error: the message page and nothing sent.
    RecordingHost broken;
    InterfaceError = true;
    BitBtnWyswietlaczClick(broken);
    EXPECT_TRUE(broken.sent.empty());
    EXPECT_TRUE(broken.has("interface error"));
    EXPECT_FALSE(broken.has("meteo"));
}

namespace {

// A host over a window of named controls, as the main window has them.
class WindowHost : public testsupport::ModeHostDouble {
public:
    void SetLinkWatchdogEnabled(bool) override {}
    WindowHost() {
        auto* nb = add<QStackedWidget>("NotebookMainForm");
        for (int i = 0; i < 4; ++i) nb->addWidget(new QWidget);
        auto* readoutButton = new QPushButton(nb->widget(2));
        readoutButton->setObjectName("Button1");
        readoutButton->setEnabled(false);
        for (const char* n : {"PanelWarMierzona", "PanelWarZadana", "GridOdchylka", "GaugeProsto",
                              "PanelWarProsto", "PanelWarProstoY", "Panel2OsWar", "Label26",
                              "ButtonZaliczeniepunktu", "ProgressBar2", "ScrollBar16", "Label139"})
            add<QWidget>(n);
        add<QPushButton>("ButtonPozStart")->setEnabled(false);
        add<QPushButton>("ButtonTypPomiaru");
        add<QPushButton>("ButtonOs");
        add<QToolButton>("SpeedButtonZnak")->setText("+");
        add<QLabel>("Label2");
        add<QLabel>("Label5");
        add<QSpinBox>("UpDown2");
        add<TDisplay>("DisplayWys");
        add<TDisplay>("DispWarZadana")->SetValue(12.5);
        auto* bar = add<QMenuBar>("MainMenu");
        bar->addAction("Plik");
        for (const char* n : {"Start1", "MenuItemWartosczadana", "MenuItemTabelkaOdchylek",
                              "ReczneZaliczeniePunktu", "Automatyczny1"}) {
            auto* a = new QAction(&root);
            a->setObjectName(n);
            a->setCheckable(true);
            a->setEnabled(false);
        }
    }
    template <class T>
    T* add(const char* name) {
        auto* w = new T(&root);
        w->setObjectName(name);
        return w;
    }
    template <class T = QWidget>
    T* get(const char* name) { return root.findChild<T*>(name); }
    bool shown(const char* name) { return !get(name)->isHidden(); }
    void check(const char* name, bool on) { get<QAction>(name)->setChecked(on); }

    void SendCommandByte(uint8_t b) override { sent.push_back(static_cast<char>(b)); }
    uint8_t& MeasurementModeField() override { return mode; }
    PrecisionTable& DisplayPrecisionField() override { return precision; }
    uint8_t& DisplayLengthUnitField() override { return lengthUnit; }
    uint8_t& DisplayVelocityUnitField() override { return velocityUnit; }
    uint8_t& MeasuredAxisField() override { return axis; }
    bool ResolutionButtonVisible() const override { return false; }
    bool Resolution10() const override { return false; }
    QWidget* MainWindowWidget() const override { return const_cast<QWidget*>(&root); }
    // The test window's controls go by their component names.
    QObject* Control(modes::ModeControl c) const override {
        using C = modes::ModeControl;
        static const std::pair<C, const char*> kNames[] = {
            {C::SpeedButtonZnak, "SpeedButtonZnak"},
            {C::UpDown2, "UpDown2"},
            {C::DisplayWys, "DisplayWys"},
            {C::NotebookMainForm, "NotebookMainForm"},
            {C::NotebookWyswietlacz, "NotebookWyswietlacz"},
            {C::CBJustowanie, "CBJustowanie"},
            {C::DispWarZadana, "DispWarZadana"},
            {C::PanelWarMierzona, "PanelWarMierzona"},
            {C::PanelWarZadana, "PanelWarZadana"},
            {C::MenuItemWartosczadana, "MenuItemWartosczadana"},
            {C::GridOdchylka, "GridOdchylka"},
            {C::MenuItemTabelkaOdchylek, "MenuItemTabelkaOdchylek"},
            {C::DispKatCalkowity, "DispKatCalkowity"},
            {C::PanelWMierzonaPK, "PanelWMierzonaPK"},
            {C::PanelWZadanaPK, "PanelWZadanaPK"},
            {C::MenuItemKatCalkowity, "MenuItemKatCalkowity"},
            {C::GaugeProsto, "GaugeProsto"},
            {C::PanelWarProsto, "PanelWarProsto"},
            {C::PanelWarProstoY, "PanelWarProstoY"},
            {C::Panel2OsWar, "Panel2OsWar"},
            {C::ButtonPozStart, "ButtonPozStart"},
            {C::Start1, "Start1"},
            {C::Label26, "Label26"},
            {C::Gauge4, "Gauge4"},
            {C::Panel19, "Panel19"},
            {C::ButtonStartV, "ButtonStartV"},
            {C::LabPoczPredkosc, "LabPoczPredkosc"},
            {C::LabPoczPK, "LabPoczPK"},
            {C::BStartPK, "BStartPK"},
            {C::Label31, "Label31"},
            {C::GaugeFFT, "GaugeFFT"},
            {C::FFTPom, "FFTPom"},
            {C::ButtonZaliczeniepunktu, "ButtonZaliczeniepunktu"},
            {C::ReczneZaliczeniePunktu, "ReczneZaliczeniePunktu"},
            {C::Automatyczny1, "Automatyczny1"},
            {C::ProgressBar2, "ProgressBar2"},
            {C::ScrollBar16, "ScrollBar16"},
            {C::Label139, "Label139"},
            {C::ButtonTypPomiaru, "ButtonTypPomiaru"},
            {C::Label2, "Label2"},
            {C::Label5, "Label5"},
            {C::FotoPomiaru, "FotoPomiaru"},
            {C::ButtonOs, "ButtonOs"},
            {C::ButZerowanieWyniku, "ButZerowanieWyniku"},
            {C::Button1, "Button1"},
            {C::Panel6, "Panel6"},
            {C::Label32, "Label32"},
            {C::Gauge3, "Gauge3"},
        };
        for (const auto& [id, name] : kNames)
            if (id == c) return root.findChild<QObject*>(QString::fromLatin1(name));
        return nullptr;
    }
    void CreateReadingThread(uint64_t) override {}
    void Sleep(int) override {}

    QWidget root;
    std::string sent;
    uint8_t mode = 0, lengthUnit = 0, velocityUnit = 0, axis = 0;
    PrecisionTable precision = PrecisionTableFor('f');
};

}  // namespace

TEST_F(ModeSequences, StartControlsFollowTheMenuChecks) {
    WindowHost w;
    w.check("MenuItemWartosczadana", true);
    w.check("ReczneZaliczeniePunktu", true);
    w.mode = 0;
    StartLinearReading(w);
    EXPECT_TRUE(w.shown("PanelWarMierzona"));
    EXPECT_TRUE(w.shown("PanelWarZadana"));
    EXPECT_FALSE(w.shown("GridOdchylka"));
    EXPECT_FALSE(w.shown("GaugeProsto"));
    EXPECT_FALSE(w.shown("Label26"));
    EXPECT_TRUE(w.get("ButtonPozStart")->isEnabled());
    EXPECT_TRUE(w.get<QAction>("Start1")->isEnabled());
    EXPECT_TRUE(w.shown("ButtonZaliczeniepunktu"));
    EXPECT_EQ(w.get<TDisplay>("DispWarZadana")->Value(), 0.0);

    WindowHost s;
    s.mode = 2;
    s.check("Automatyczny1", true);
    s.get("GaugeProsto")->hide();
    StartLinearReading(s);
    EXPECT_TRUE(s.shown("GaugeProsto"));
    EXPECT_TRUE(s.shown("PanelWarProstoY"));
    EXPECT_TRUE(s.shown("ProgressBar2"));
    EXPECT_TRUE(s.shown("Label139"));
    EXPECT_FALSE(s.shown("ButtonZaliczeniepunktu"));
}

TEST_F(ModeSequences, ReadoutViewAndMenuReturnReachTheNamedControls) {
    WindowHost w;
    w.mode = 6;
    ButtonTypPomiaruClick(w);
    EXPECT_EQ(w.get<QPushButton>("ButtonTypPomiaru")->text(), QString::fromUtf8("Prędkość"));
    EXPECT_EQ(w.get<QLabel>("Label5")->text(), "mm/s");
    EXPECT_FALSE(w.shown("Label2"));
    EXPECT_EQ(w.get<QSpinBox>("UpDown2")->maximum(), 3);
    EXPECT_EQ(w.get<QSpinBox>("UpDown2")->value(), 3);
    EXPECT_EQ(w.get<TDisplay>("DisplayWys")->Precision(), 3);

    ButtonOsClick(w);
    EXPECT_EQ(w.get<QPushButton>("ButtonOs")->text(), QString::fromUtf8("Oś Y"));
    EXPECT_EQ(SpeedButtonZnakClick(w), "-");
    EXPECT_EQ(w.get<QToolButton>("SpeedButtonZnak")->text(), "-");
    w.get<QSpinBox>("UpDown2")->setValue(1);
    UpDown2Click(w);
    EXPECT_EQ(w.get<TDisplay>("DisplayWys")->Precision(), 1);

    w.PrepareLiveReadoutPage();
    EXPECT_TRUE(w.get<QStackedWidget>("NotebookMainForm")->widget(2)->findChild<QWidget*>("Button1")->isEnabled());

    w.get<QStackedWidget>("NotebookMainForm")->setCurrentIndex(2);
    EXPECT_EQ(FormKeyDown(w, kKeyEscape), EscAction::None);
    EXPECT_EQ(w.get<QStackedWidget>("NotebookMainForm")->currentIndex(), 1);
    EXPECT_EQ(w.root.windowTitle(), MainMenuCaption());
    for (QAction* a : w.get<QMenuBar>("MainMenu")->actions()) EXPECT_FALSE(a->isVisible());
}
