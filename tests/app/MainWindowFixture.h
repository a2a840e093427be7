#pragma once
// The main window made through the real start-up path, with a program folder and a settings
// file of the test's own; message boxes are answered and recorded instead of shown.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStackedWidget>
#include <QThread>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <ostream>
#include <vector>

#include "app/FlatnessPage.h"
#include "app/ProgramStart.h"
#include "app/Stol.h"
#include "app/Unit_glowny.h"
#include "foundations/FR_Utils.h"
#include "foundations/LocaleTable.h"
#include "foundations/MessageDlg.h"
#include "foundations/SharedGlobals.h"
#include "instrument/SerialFrameParser.h"
#include "instrument/ComDrv32.h"
#include "platform/AppPaths.h"

// A control of the window by its component name (the pages keep their controls to themselves).
template <class T = QWidget>
T* Control(const QObject* window, const char* name) {
    T* w = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// The flatness page's line choice answered by a test's function instead of the axis form; an
// empty function gives the axis form back.
inline void SetFlatnessLineChoice(TMainForm& w, std::function<int(int)> choose) {
    struct FunctionChooser final : FlatnessLineChooser {
        std::function<int(int)> choose;
        int ChooseLine(int currentLine) override { return choose(currentLine); }
    };
    static FunctionChooser chooser;
    chooser.choose = std::move(choose);
    w.Flatness().SetLineChooser(chooser.choose ? &chooser : nullptr);
}

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        platform::setProgramDirectory(dir.path());
        platform::setAppRegistryFile(dir.filePath("settings.ini"));
        foundations::setSystemLocaleOverride(QLocale(QLocale::Polish, QLocale::Poland));
        CloseLanguageFile();
        ResetSharedGlobals();
        instrument::ResetLinkState();  // no head status left over from an earlier test
        // COM1 (the default port) is a device that is not there, unless a test attaches a head.
        qputenv("VKM30_COM1", dir.filePath("no-such-port").toLocal8Bit());
        setMessageDlgHook([this](const MessageDlgRequest& r) {
            messages.push_back(r);
            return int(mrOk);
        });
        // The axis choice form is cancelled unless a test answers it: offscreen nobody would.
        TWyborOsi::setExecuteHook([](TWyborOsi&) { return int(QDialog::Rejected); });
    }
    void TearDown() override {
        app::EndProgram(program);
        setMessageDlgHook({});
        TWyborOsi::setExecuteHook({});
        CloseLanguageFile();
        qunsetenv("VKM30_COM1");
        foundations::setSystemLocaleOverride(std::nullopt);
        platform::setProgramDirectory(QString());
        platform::setAppRegistryFile(QTemporaryDir().filePath("unused.ini"));
    }
    void start() {
        program = app::StartProgram();
        QCoreApplication::processEvents();
        ASSERT_NE(program.mainForm, nullptr);
    }
    TMainForm* form() const { return program.mainForm; }
    // Shows the window with short loader pauses and waits for the interface start-up to end on
    // the main menu (no head: it gives up quickly); the messages held back meanwhile follow.
    bool finishStartup() {
        instrument::LoaderTimings t;
        t.serialSettleMs = 10;
        t.programTestWaitMs = 300;
        t.probePolls = 20;
        form()->ProgramLoadTimings = t;
        form()->show();
        return pumpUntil(
            [&] {
                return form()->Threads().Loader() && !form()->Threads().Loader()->Running() &&
                       form()->NotebookMainForm->currentIndex() == 1;
            },
            15000);
    }
    // The boxes shown with this text.
    int messageCount(const QString& text) const {
        int n = 0;
        for (const MessageDlgRequest& r : messages) n += r.text == text;
        return n;
    }
    // Keeps the window's event loop and serial polling going until cond holds or ms have passed.
    bool pumpUntil(const std::function<bool()>& cond, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (!cond()) {
            if (t.elapsed() > ms) return false;
            if (form() && form()->CommPortDriver1) form()->CommPortDriver1->Poll();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
        return true;
    }
    void writeProgramFile(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir;
    app::StartedProgram program;
    std::vector<MessageDlgRequest> messages;
};
