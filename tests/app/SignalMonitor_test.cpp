#include "instrument/OdczytSygnaluPomiarowego.h"

#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "app/WarmUpControls.h"
#include "app/dialogs/Unit_Komunikaty.h"
#include "platform/Sync.h"
#include "instrument/LinkPort.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>
#include "support/InstrumentSinkDoubles.h"

namespace {

// Plays a script of (level, ready) samples; the last one repeats.
class ScriptedSource : public testsupport::SignalSourceDouble {
public:
    explicit ScriptedSource(std::vector<std::pair<int, bool>> script) : script_(std::move(script)) {}
    int SampleSignalLevel() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::lock_guard<std::mutex> l(m_);
        current_ = script_[std::min(next_, script_.size() - 1)];
        ++next_;
        ++samples;
        return current_.first;
    }
    bool HeadReady() override {
        std::lock_guard<std::mutex> l(m_);
        return current_.second;
    }
    std::atomic<int> samples{0};

private:
    std::mutex m_;
    std::vector<std::pair<int, bool>> script_;
    size_t next_ = 0;
    std::pair<int, bool> current_{0, false};
};

class FakeMainWindow : public ISignalMonitorSink {
public:
    FakeMainWindow() {
        for (const char* n : {"Gauge3", "GaugeProsto", "Gauge4", "GaugeFFT"}) add<QProgressBar>(n);
        for (const char* n : {"Label32", "Label26", "LabPoczPredkosc", "LabPoczPK", "Label31"}) add<QLabel>(n);
        for (const char* n : {"ButZerowanieWyniku", "ButtonPozStart", "ButtonStartV", "BStartPK", "FFTPom"})
            add<QPushButton>(n);
        for (const char* n : {"PanelWarProsto", "Panel19"}) add<QWidget>(n);
    }
    template <class T>
    T* add(const char* name) {
        auto* w = new T(&root);
        w->setObjectName(name);
        return w;
    }
    template <class T = QWidget>
    T* get(const char* name) { return root.findChild<T*>(name); }
    QString text(const char* name) { return get<QLabel>(name)->text(); }
    bool shown(const char* name) { return !get(name)->isHidden(); }

    MonitoredPage ShownPage() const override { return MonitoredPageOf(page); }
    int SignalThreshold() const override { return threshold; }
    IWarmUpView* ShownPageWarmUp() override {
        switch (page) {
        case 2: view = WarmUpControlsView({get<QProgressBar>("Gauge3"), nullptr, nullptr, get("Label32"), get("ButZerowanieWyniku")}); break;
        case 3: view = WarmUpControlsView({get<QProgressBar>("GaugeProsto"), get("PanelWarProsto"), get("ButtonPozStart"), get("Label26")}); break;
        case 4: view = WarmUpControlsView({get<QProgressBar>("Gauge4"), get("Panel19"), get("ButtonStartV"), get("LabPoczPredkosc")}); break;
        case 5: view = WarmUpControlsView({nullptr, nullptr, get("BStartPK"), get("LabPoczPK")}); break;
        case 9: view = WarmUpControlsView({get<QProgressBar>("GaugeFFT"), nullptr, get("FFTPom"), get("Label31")}); break;
        default: return nullptr;
        }
        return &view;
    }
    void RunShownPageStart() override {
        starts.push_back(page);
        startedOnUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    ILinkStatusView* LinkStatusWindow() override { return komunikaty; }
    void AppendSignalLine(const QString& line) override { signalLines.push_back(line); }

    QWidget root;
    WarmUpControlsView view;
    int page = 3, threshold = 10;
    std::vector<int> starts;
    std::vector<QString> signalLines;
    bool startedOnUiThread = false;
    TKomunikaty* komunikaty = nullptr;
};

class SignalMonitor : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedGlobals();
        HeadWasOff = false;
        WaitingForLaser = true;
    }
    void TearDown() override {
        SignalMonitorStopped = true;
        OdczytSygPomiarowego::WaitForEnd(5000);
    }
    FakeMainWindow win;
};

}  // namespace

TEST_F(SignalMonitor, WarmsUpThenStartsThePageOnceOnTheUiThread) {
    auto source = std::make_shared<ScriptedSource>(std::vector<std::pair<int, bool>>{
        {5, false}, {5, false}, {15, false}, {15, false}, {20, true}});
    OdczytSygPomiarowego::Start(source, &win);
    ASSERT_TRUE(OdczytSygPomiarowego::WaitForEnd(5000));
    EXPECT_EQ(win.starts, std::vector<int>{3});
    EXPECT_TRUE(win.startedOnUiThread);
    EXPECT_FALSE(WaitingForLaser.load());
    EXPECT_TRUE(SignalMonitorStopped.load());
    EXPECT_EQ(win.text("Label26"), Msg("stWygrzewanie"));
    EXPECT_FALSE(win.shown("ButtonPozStart"));
    EXPECT_FALSE(win.shown("GaugeProsto"));
    EXPECT_EQ(SignalLevel.load(), 20);
}

TEST_F(SignalMonitor, StoppingEarlyStartsNothing) {
    auto source = std::make_shared<ScriptedSource>(std::vector<std::pair<int, bool>>{{15, false}});
    OdczytSygPomiarowego::Start(source, &win);
    while (source->samples < 3) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    SignalMonitorStopped = true;  // what StopReading does
    ASSERT_TRUE(OdczytSygPomiarowego::WaitForEnd(5000));
    EXPECT_TRUE(win.starts.empty());
    EXPECT_TRUE(WaitingForLaser.load());
}

TEST_F(SignalMonitor, ANewMonitorEndsTheOldOneFirst) {
    auto first = std::make_shared<ScriptedSource>(std::vector<std::pair<int, bool>>{{15, false}});
    OdczytSygPomiarowego::Start(first, &win);
    while (first->samples < 2) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    win.page = 5;
    auto second = std::make_shared<ScriptedSource>(
        std::vector<std::pair<int, bool>>{{15, false}, {15, false}, {30, true}});
    OdczytSygPomiarowego::Start(second, &win);
    const int firstSamples = first->samples;
    ASSERT_TRUE(OdczytSygPomiarowego::WaitForEnd(5000));
    EXPECT_EQ(first->samples, firstSamples);  // the old one had ended before the new one began
    EXPECT_EQ(win.starts, std::vector<int>{5});
}

TEST_F(SignalMonitor, PageLogicWhileWaiting) {
    struct Case {
        int page;
        const char* start;
        const char* label;
        std::vector<const char*> hidden;
    };
    const Case cases[] = {
        {3, "ButtonPozStart", "Label26", {"GaugeProsto", "PanelWarProsto"}},
        {4, "ButtonStartV", "LabPoczPredkosc", {"Gauge4", "Panel19"}},
        {5, "BStartPK", "LabPoczPK", {}},
        {9, "FFTPom", "Label31", {"GaugeFFT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        win.page = c.page;
        win.get(c.label)->hide();
        OdczytSygPomiarowego::ProcessSignal(win, 9, false);
        EXPECT_EQ(win.text(c.label), Msg("stGlowWyl"));
        EXPECT_TRUE(win.shown(c.label));
        EXPECT_FALSE(win.shown(c.start));
        for (const char* h : c.hidden) EXPECT_FALSE(win.shown(h)) << h;
        OdczytSygPomiarowego::ProcessSignal(win, 10, false);  // at the threshold: warming up
        EXPECT_EQ(win.text(c.label), Msg("stWygrzewanie"));
    }

    win.page = 2;
    OdczytSygPomiarowego::ProcessSignal(win, 4, false);
    EXPECT_FALSE(win.shown("Gauge3"));
    EXPECT_EQ(win.text("Label32"), Msg("stGlowWyl"));
    OdczytSygPomiarowego::ProcessSignal(win, 12, false);
    EXPECT_TRUE(win.shown("Gauge3"));
    EXPECT_EQ(win.get<QProgressBar>("Gauge3")->value(), 12);
    EXPECT_EQ(win.text("Label32"), Msg("stWygrzewanie"));
    win.get("ButZerowanieWyniku")->setEnabled(false);
    OdczytSygPomiarowego::ProcessSignal(win, 12, true);
    EXPECT_TRUE(win.get("ButZerowanieWyniku")->isEnabled());
    EXPECT_EQ(win.starts, std::vector<int>{2});

    // Service page: a line per sample.
    WaitingForLaser = true;
    win.page = 6;
    for (int i = 0; i < 25; ++i) OdczytSygPomiarowego::ProcessSignal(win, i, false);
    ASSERT_EQ(win.signalLines.size(), 25u);
    EXPECT_EQ(win.signalLines.front(), "*0");
    EXPECT_EQ(win.signalLines.back(), "*24");
}

TEST_F(SignalMonitor, WithoutWaitingOnlyTheLinkStatusWindowIsFed) {
    TKomunikaty k;
    k.CopyGaugeRange(0, 40);
    k.show();
    win.komunikaty = &k;
    WaitingForLaser = false;
    win.page = 3;
    OdczytSygPomiarowego::ProcessSignal(win, 30, true);
    EXPECT_TRUE(win.starts.empty());
    EXPECT_EQ(win.text("Label26"), "");
    EXPECT_EQ(k.Gauge1->value(), 30);
    OdczytSygPomiarowego::ProcessSignal(win, 2, true);
    EXPECT_TRUE(HeadWasOff.load());
    EXPECT_EQ(k.Label1->text(), Msg("stGlowWyl"));
}
