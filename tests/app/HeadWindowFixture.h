#pragma once
// The real main window with the simulated head on a pseudo-terminal as COM1 at 57600 b/s, the
// default wavelength and no air or thermal correction; pumpUntil keeps the window's port and
// event loop going while a test waits.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

#include "MainWindowFixture.h"
#include "app/Settings.h"
#include "instrument/ComDrv32.h"
#include "foundations/SharedGlobals.h"
#include "platform/Registry.h"
#include "support/SimHead.h"

class HeadWindowTest : public MainWindowTest {
protected:
    void startWithHead() {
        ASSERT_TRUE(head.ok());
        head.attachAsCom(1);
        platform::appRegistry().writeString(QString(kSettingsKey) + "\\Service Parameter", "BaudRate", "11");
        start();
        ASSERT_TRUE(form()->SerialLinkOpen());
        LaserWavelength = kDefaultLaserWavelength;
        AirCorrection = 1.0;
        ExpansionCoefficient = 0.0;
    }
    // Keeps the window's event loop going until cond holds or `ms` have passed.
    bool pumpUntil(const std::function<bool()>& cond, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (!cond()) {
            if (t.elapsed() > ms) return false;
            form()->CommPortDriver1->Poll();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
        return true;
    }
    void TearDown() override {
        head.stopStreaming();
        MainWindowTest::TearDown();
    }

    testsupport::SimHead head;
};
