#include "instrument/StopDecision.h"

#include "instrument/RawConversion.h"

#include <QFileInfo>

StopDecision DecideStop(int reason, uint8_t mode, bool runInProgress, bool resolutionOffered) {
    StopDecision d;
    if (reason == instrument::kStopNone) return d;
    d.HandleStop = true;
    switch (reason) {
    case instrument::kStopBeam:
        d.ShowWindow = true;
        d.Label1Key = "stPrzereWiaz";
        d.Label3Key = "stPowPomiar";
        d.StartBeamTimer = true;
        break;
    case instrument::kStopDataError: {
        d.SlowTransmissionSteps = true;
        const bool readout = mode == 6 || mode == 7;
        const bool idlePositioning = mode == 0 && !runInProgress;
        d.ShowWindow = !readout && !idlePositioning;
        d.RestartVelocityReadout = !d.ShowWindow && mode == 7;
        if (d.ShowWindow) {
            d.Label1Key = "stWolnaTrans";
            d.Label3Key = "stPowPomiar";
        }
        break;
    }
    case instrument::kStopStabilisation:
        d.ShowWindow = true;
        d.Label1Key = "stBladStab";
        d.Label3Key = "stPowPomiar";
        break;
    case instrument::kStopVelocity:
        d.ShowWindow = true;
        d.Label1Key = "stDuzaPred";
        if (resolutionOffered) d.Label3Key = "stZmRozdziel";
        break;
    case instrument::kStopZeeman:
        d.ShowWindow = true;
        d.Label1Key = "stZaMalyZeman";
        d.Label3Key = "stPowPomiar";
        break;
    case instrument::kStopLinkLost:
        d.ShowWindow = true;
        d.Label1Key = "stConnectionError";
        d.EndRun = true;
        break;
    default:
        // The service stop, and the user leaving the mode: no message.
        break;
    }
    return d;
}

bool ServiceKeySequence::Feed(QChar key) {
    if (key == QLatin1Char(kSequence[position_])) {
        ++position_;
    } else if (key == QLatin1Char(kSequence[0])) {
        position_ = 1;
    } else {
        position_ = 0;
    }
    if (position_ == 8) {
        position_ = 0;
        return true;
    }
    return false;
}

int MeasurementModeForFile(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    static const char* const exts[6] = {"dt2", "dt3", "dt4", "dt5", "dt6", "dt7"};
    for (int i = 0; i < 6; ++i)
        if (ext == QLatin1String(exts[i])) return i;
    return -1;
}
