#include "foundations/SharedGlobals.h"

#include <cstring>

int32_t LengthUnit = 0;
double StartPoint = 0.0, StartPointPK = 0.0, StartPointDisp = 0.0;
double CalibrationXY = 18.0;
double LaserWavelength = kDefaultLaserWavelength;
QString LaserName = QStringLiteral("Belgia");
QString SystemNumber;

platform::ManualResetEvent* MeteoDataEvent = nullptr;
platform::ManualResetEvent* MeteoQuitEvent = nullptr;
platform::ManualResetEvent* SampleEvent = nullptr;
platform::ManualResetEvent* ReadQuitEvent = nullptr;
platform::ManualResetEvent* ProgramLoadEvent = nullptr;
platform::ManualResetEvent* ComCheckEvent = nullptr;
platform::BinarySemaphore* CardSemaphore = nullptr;
std::array<platform::ManualResetEvent*, 2> MeteoWaitHandles = {nullptr, nullptr};
std::array<platform::ManualResetEvent*, 2> ReadWaitHandles = {nullptr, nullptr};

std::atomic<bool> HeadAcceptRequest{false};
std::atomic<uint8_t> InterfaceMode{0};
uint8_t PendingReply = 0;
QString ReplyText;
bool TextLineMode = false;
bool ForwardPass = false;

double AirTemperature = 0.0, Humidity = 0.0, Pressure = 0.0, MaterialTemperature = 0.0;
double ReferenceTemperature = 20.0;
double DefaultPressure = 0.0, DefaultAirTemperature = 0.0, DefaultMaterialTemperature = 0.0;
std::atomic<bool> InterfaceError{false};
std::atomic<bool> VelocityRunning{false};
std::atomic<bool> RecordingOn{false};
std::atomic<int32_t> RecordingTicks{0};
std::atomic<bool> WaitingForLaser{false};
double AirCorrection = 0.0;
double CurrentValue = 0.0, FilterPrevious = 0.0, LastValue = 0.0, LastAcceptedValue = 0.0;
double ExpansionCoefficient = 0.0;
std::atomic<int32_t> RawCount{0};
bool DeviationJumpSeen = false, MoveHintPhase = false;
uint8_t AcceptWaitTicks = 0, AcceptedPointCount = 0, LinkWatchdogTicks = 0;
std::atomic<bool> MeasurementRunning{false};
std::atomic<bool> ReadingStopped{false};
std::atomic<bool> MeteoStopped{false};
std::atomic<bool> SignalMonitorStopped{false};
std::atomic<bool> StatusByteEnabled{false};
std::atomic<int32_t> StopReason{0};
std::atomic<bool> FftTransfer{false};
bool DataSaved = false, VelocityDataSaved = false, ExtraDataSaved = false, FlatnessDataSaved = false;
int32_t CalibrationTable[6][2][10] = {};
QString LoadProgramMessage;
int32_t VelocitySampleCount = 0;
bool AwaitingRotation = false;
std::atomic<int32_t> DetectorX{0}, DetectorY{0};
int32_t OffsetX = 0, OffsetY = 0;

const std::array<const char*, 6> FileExtensions = {".dt2", ".dt3", ".dt4", ".dt5", ".dt6", ".dt7"};
const std::array<const char*, 6> VelocityUnitNames = {"mm/s", "m/s", "m/min", "mm/min", "in/s", "in/min"};
const std::array<QString, 3> FftAxisUnits = {QStringLiteral("[µm]"), QStringLiteral("[mm/s]"),
                                             QStringLiteral("[mm/s2]")};
std::array<QString, 3> FftSignalNames = {QStringLiteral("Dystans"), QStringLiteral("Prędkość"),
                                         QStringLiteral("Przyspieszenie")};
const std::array<QString, 2> TemperatureUnitNames = {QStringLiteral(" °C"), QStringLiteral(" °F")};
const std::array<QString, 3> PressureUnitNames = {QStringLiteral(" hPa"), QStringLiteral(" mmHg"),
                                                  QStringLiteral(" inHg")};
const std::array<const char*, 2> PositionGridTitles = {"Xa", "Xr"};
const std::array<const char*, 2> AngularGridTitles = {"Dc", "Ds"};
QStringList StatisticsMethodNames, RotationDirectionNames, FftOutputNames;

std::atomic<bool> CalibrationFormOpen{false};

void ResetSharedGlobals() {
    CalibrationFormOpen = false;
    LengthUnit = 0;
    StartPoint = StartPointPK = StartPointDisp = 0.0;
    CalibrationXY = 18.0;
    LaserWavelength = kDefaultLaserWavelength;
    LaserName = QStringLiteral("Belgia");
    SystemNumber.clear();
    HeadAcceptRequest = false;
    InterfaceMode = 0;
    PendingReply = 0;
    ReplyText.clear();
    TextLineMode = false;
    ForwardPass = false;
    AirTemperature = Humidity = Pressure = MaterialTemperature = 0.0;
    ReferenceTemperature = 20.0;
    DefaultPressure = DefaultAirTemperature = DefaultMaterialTemperature = 0.0;
    InterfaceError = false;
    VelocityRunning = false;
    RecordingOn = false;
    RecordingTicks = 0;
    WaitingForLaser = false;
    AirCorrection = 0.0;
    CurrentValue = FilterPrevious = LastValue = LastAcceptedValue = 0.0;
    ExpansionCoefficient = 0.0;
    RawCount = 0;
    DeviationJumpSeen = MoveHintPhase = false;
    AcceptWaitTicks = AcceptedPointCount = LinkWatchdogTicks = 0;
    MeasurementRunning = false;
    ReadingStopped = false;
    MeteoStopped = false;
    SignalMonitorStopped = false;
    StatusByteEnabled = false;
    StopReason = 0;
    FftTransfer = false;
    DataSaved = VelocityDataSaved = ExtraDataSaved = FlatnessDataSaved = false;
    std::memset(CalibrationTable, 0, sizeof CalibrationTable);
    LoadProgramMessage.clear();
    VelocitySampleCount = 0;
    AwaitingRotation = false;
    DetectorX = 0;
    DetectorY = 0;
    OffsetX = OffsetY = 0;
    FftSignalNames = {QStringLiteral("Dystans"), QStringLiteral("Prędkość"), QStringLiteral("Przyspieszenie")};
}
