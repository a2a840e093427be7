#pragma once
// The plain rules of the link status window: what a stop of reading leads to, the service key
// sequence typed on its "&Pomiar" button, and the measurement mode of a command-line file.
#include <QChar>
#include <QString>
#include <cstdint>

// What the stop of a reading leads to. Message texts are message keys; an empty Label3Key
// leaves the advice line empty.
struct StopDecision {
    bool HandleStop = false;     // error row of the recording window, motor stop
    bool ShowWindow = false;
    QString Label1Key, Label3Key;
    bool StartBeamTimer = false;            // beam interrupted: watch the level come back
    bool SlowTransmissionSteps = false;     // code 3: restart the monitor, 'R' (card), 100 ms, 'F'
    bool RestartVelocityReadout = false;    // code 3 in the velocity readout: 'F' '=' and restart
    bool EndRun = false;                    // code 7, the head is gone: the run cannot go on
};
// reason: StopReason; mode: MeasurementMode; runInProgress: MeasurementRunning;
// resolutionOffered: the resolution button is shown and 10 nm is chosen.
StopDecision DecideStop(int reason, uint8_t mode, bool runInProgress, bool resolutionOffered);

// The service key sequence "40716253" typed on the "&Pomiar" button.
class ServiceKeySequence {
public:
    static constexpr const char* kSequence = "40716253";
    // True when this key completes the sequence (the position then starts over).
    bool Feed(QChar key);
    int Position() const { return position_; }

private:
    int position_ = 0;
};

// Measurement mode (0..5) a command-line file opens by its extension ".dt2".."dt7", or -1.
int MeasurementModeForFile(const QString& path);
