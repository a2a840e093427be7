#pragma once
// The real main window with the simulated head on a pseudo-terminal as COM1 at 57600 b/s, the
// default wavelength and no air or thermal correction.
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
    void TearDown() override {
        head.stopStreaming();
        MainWindowTest::TearDown();
    }

    testsupport::SimHead head;
};
