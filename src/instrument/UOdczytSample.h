#pragma once
// One sample of the reading thread on the user-interface thread (TOdczyt.ProcessSample): the
// conversion, the displays of the current mode and the hand-over to point acceptance, the
// velocity store, the vibration acquisition or the recording. Plain code; the main window
// supplies its state and implements the outputs.
#include <QString>
#include <cstdint>

#include "instrument/PointAcceptance.h"
#include "instrument/RawConversion.h"

namespace instrument {

// The main window's state read for one sample.
struct SampleInputs {
    bool servicePanelShown = false;  // the main window shows the service panel
    bool measureLevelLost = false;
    bool measurementRunning = false;
    int positioningMethod = 0;       // 0 linear, 1 pilgrim, 2 pilgrim 2
    int lengthUnit = 0;              // 0 mm, 1 inch
    int displayLengthUnit = 0;       // DisplayLengthUnit (readout mode 6)
    int displayVelocityUnit = 0;     // DisplayVelocityUnit (readout mode 7)
    int velocityChartUnit = 0;       // VelocityChartUnit (velocity page)
    double startPoint = 0.0;         // StartPoint, mm
    double startPointDisp = 0.0;     // StartPointDisp
    int32_t detectorX = 0, detectorY = 0;
    double calibrationXY = 18.0;
    bool recordingOn = false;        // RecordingOn
};

// Displays and stores a sample reaches, each named for its control or routine; the window
// implements every one.
class SampleOutputs {
public:
    virtual ~SampleOutputs() = default;
    virtual void AddServiceCount(int32_t /*raw*/) = 0;          // PSListBox1, at most 15 lines
    virtual void ShowEffectiveWavelength(double /*nm*/) = 0;    // DispLambda
    virtual void ShowReadout(double) = 0;                       // DisplayWys
    virtual void ShowMeasuredPosition(double) = 0;              // DispWarMierzona
    virtual void ShowVelocity(double) = 0;                      // DisplayPredkosc
    virtual void AddVelocitySample() = 0;                       // velocity store and plot
    virtual void ShowStraightnessValue(double) = 0;             // Disp2oswar
    virtual void ShowStraightnessUnit(const QString&) = 0;      // Label38
    virtual void ShowDetector(double /*x*/, double /*y*/) = 0;  // DisplayProst, DispProstoY
    virtual void ShowAngle(double /*division*/, double /*total*/) = 0;  // DisplayPodzKat, DispKatCalkowity
    virtual void FftSample() = 0;                               // vibration: gauge step and transfer start
    virtual void RecordValue(double) = 0;                       // VelocitySamples += v, RecordingTicks + 1
    virtual void SendValueToExcel() = 0;                        // the shown readout to the spreadsheet
    // Signal level (TOdczyt.ShowStatus).
    virtual void AddServiceSignal(uint8_t /*level*/) = 0;       // PSListBox3, at most 23 lines
    virtual void ShowReadoutGauges() = 0;                       // the readout shows its gauges, not its message
    // The gauge named `gauge` gets the smoothed level; its colour follows SignalGaugeColour of
    // its percentage.
    virtual void ShowSignalLevel(const QString& /*gauge*/, int /*value*/) = 0;
};

// The signal gauge of a mode: GaugePozycjonowanie, Gauge4, GaugeProsto, GaugePodzKat, GaugeFFT,
// Gauge1 for the readout modes; empty for mode 10.
QString SignalGaugeForMode(uint8_t mode);

// TOdczyt.ShowStatus: only while the status byte is enabled; `smoothedLevel` is the thread's
// smoothed signal level.
void ShowStatus(uint8_t level, uint8_t mode, bool servicePanelShown, bool statusByteEnabled, double& smoothedLevel,
                SampleOutputs& out);

// Processes one raw count. `currentValue` is CurrentValue (left as it is in modes 5 and 10),
// `filterPrevious` the filter's memory, `headAcceptRequest` the head key's flag (readout modes
// send the shown value to the spreadsheet on it).
void ProcessSample(int32_t raw, const SampleInputs& in, const ConversionSettings& conv, double& filterPrevious,
                   double& currentValue, PointAcceptance& acceptance, SampleOutputs& out,
                   std::atomic<bool>& headAcceptRequest);

}  // namespace instrument
