#pragma once
// Variables shared by the whole program, with their start values. Values that more than one
// thread touches are atomics; everything else belongs to the user-interface thread.
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <cstdint>

namespace platform {
class ManualResetEvent;
class BinarySemaphore;
}  // namespace platform

// Length unit of displays and reports: 0 mm, 1 inch.
extern int32_t LengthUnit;
// Values added to positioning, angular and display-mode readings.
extern double StartPoint, StartPointPK, StartPointDisp;
// Scale factor of the two-axis (XY) detector.
extern double CalibrationXY;
// Vacuum wavelength of the laser in metres.
extern double LaserWavelength;
constexpr double kDefaultLaserWavelength = 6.329912526e-7;
// Name of the laser's stabilisation, at most 8 characters.
extern QString LaserName;
extern QString SystemNumber;

// Manual-reset events and the card semaphore, made by the main window (null before).
extern platform::ManualResetEvent* MeteoDataEvent;
extern platform::ManualResetEvent* MeteoQuitEvent;
extern platform::ManualResetEvent* SampleEvent;
extern platform::ManualResetEvent* ReadQuitEvent;
extern platform::ManualResetEvent* ProgramLoadEvent;
extern platform::ManualResetEvent* ComCheckEvent;
extern platform::BinarySemaphore* CardSemaphore;
// {MeteoDataEvent, MeteoQuitEvent} and {SampleEvent, ReadQuitEvent}, for waiting on either.
extern std::array<platform::ManualResetEvent*, 2> MeteoWaitHandles;
extern std::array<platform::ManualResetEvent*, 2> ReadWaitHandles;

extern std::atomic<bool> HeadAcceptRequest;
// 0 measuring card, 1 serial link.
extern std::atomic<uint8_t> InterfaceMode;
// Text replies of the interface.
extern uint8_t PendingReply;
extern QString ReplyText;
extern bool TextLineMode;
// The positioning run goes towards higher point indexes.
extern bool ForwardPass;

// Environment values in °C, %, hPa, °C.
extern double AirTemperature, Humidity, Pressure, MaterialTemperature;
extern double ReferenceTemperature;
extern double DefaultPressure, DefaultAirTemperature, DefaultMaterialTemperature;
extern std::atomic<bool> InterfaceError;
extern std::atomic<bool> VelocityRunning;
// The recording window's all-samples mode: the reading appends every sample to the velocity
// collection and counts them.
extern std::atomic<bool> RecordingOn;
extern std::atomic<int32_t> RecordingTicks;
extern std::atomic<bool> WaitingForLaser;
// Air refraction correction factor (the main window starts it at 1.0).
extern double AirCorrection;
extern double CurrentValue, FilterPrevious, LastValue, LastAcceptedValue;
// Thermal expansion coefficient of the material (1/K).
extern double ExpansionCoefficient;
// Last raw interferometer count.
extern std::atomic<int32_t> RawCount;
extern bool DeviationJumpSeen, MoveHintPhase;
extern uint8_t AcceptWaitTicks, AcceptedPointCount, LinkWatchdogTicks;
extern std::atomic<bool> MeasurementRunning;
extern std::atomic<bool> ReadingStopped;
extern std::atomic<bool> MeteoStopped;
extern std::atomic<bool> SignalMonitorStopped;
extern std::atomic<bool> StatusByteEnabled;
// Why the last reading ended: 0 none, 2 beam, 3 data error or slow transmission,
// 4 stabilisation, 5 velocity, 6 Zeeman frequency, 10 service stop, 20/21/23 the user left.
extern std::atomic<int32_t> StopReason;
// The serial parser hands every byte to the vibration sample reader.
extern std::atomic<bool> FftTransfer;
// The current data are saved.
extern bool DataSaved, VelocityDataSaved, ExtraDataSaved, FlatnessDataSaved;
// Environment-sensor calibration table [sensor][raw, value][point].
extern int32_t CalibrationTable[6][2][10];
extern QString LoadProgramMessage;
extern int32_t VelocitySampleCount;
extern bool AwaitingRotation;
extern std::atomic<int32_t> DetectorX, DetectorY;
extern int32_t OffsetX, OffsetY;
// The calibration form is reading the sensors: the environment thread shows raw values there.
extern std::atomic<bool> CalibrationFormOpen;

// Constant string tables, indexed from 0.
extern const std::array<const char*, 6> FileExtensions;        // by measurement mode 0-5
extern const std::array<const char*, 6> VelocityUnitNames;     // by velocity unit
extern const std::array<QString, 3> FftAxisUnits;              // by vibration signal kind
extern std::array<QString, 3> FftSignalNames;                  // replaced at a language change
extern const std::array<QString, 2> TemperatureUnitNames;
extern const std::array<QString, 3> PressureUnitNames;
extern const std::array<const char*, 2> PositionGridTitles;
extern const std::array<const char*, 2> AngularGridTitles;
// Filled by the main window at each language change.
extern QStringList StatisticsMethodNames, RotationDirectionNames, FftOutputNames;

// Puts every global back to its start value (used by the main window's creation and by tests).
void ResetSharedGlobals();
