#include "app/ModeSequences.h"

#include "foundations/FR_Utils.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/RawConversion.h"
#include "instrument/SerialFrameParser.h"
#include "instrument/ThreadGeneration.h"
#include "platform/Sync.h"
#include "foundations/MeasurementModes.h"

#include <chrono>
#include <thread>

namespace modes {

namespace {

// One command of several bytes: whole and in order under the link's send lock, so the reading
// thread's per-frame bytes cannot land in the middle.
void sendAll(ICommandLink& link, std::initializer_list<uint8_t> bytes) {
    const instrument::CommandSequence sequence;
    for (uint8_t b : bytes) link.SendCommandByte(b);
}

uint8_t res(IModeHost& h) { return ResolutionByte(h.ResolutionButtonVisible(), h.Resolution10()); }

// ':' '8' '7' '5' '2' Res '[' 'W' 0x8C '8' 'L': the common head of the linear, angular and
// vibration starts.
void sendMeasuringHead(IModeHost& h) {
    sendAll(h, {':', '8', '7', '5', '2', res(h), '[', 'W', 0x8C, '8', 'L'});
}

void merge(ReadoutView& into, const ReadoutView& from) {
    if (!from.TypeCaption.isEmpty()) into.TypeCaption = from.TypeCaption;
    if (from.LengthLabelShown) into.LengthLabelShown = from.LengthLabelShown;
    if (from.VelocityLabelShown) into.VelocityLabelShown = from.VelocityLabelShown;
    if (!from.LengthLabel.isEmpty()) into.LengthLabel = from.LengthLabel;
    if (!from.VelocityLabel.isEmpty()) into.VelocityLabel = from.VelocityLabel;
    if (from.Decimals >= 0) into.Decimals = from.Decimals;
    if (from.PhotoShown) into.PhotoShown = from.PhotoShown;
}

}  // namespace

uint8_t ResolutionByte(bool resolutionButtonVisible, bool resolution10) {
    return resolutionButtonVisible && resolution10 ? kResolution10nm : kResolution100nm;
}

PrecisionTable PrecisionTableFor(uint8_t resolutionByte) {
    if (resolutionByte == kResolution10nm) return {6, 3, 5, 2, 7, 4, 5, 4, 0, 2};
    return {5, 2, 4, 1, 6, 3, 4, 3, 0, 1};
}

StartRoutine StartRoutineForPage(int page) {
    switch (page) {
    case 2: return StartRoutine::Display;
    case 3: return StartRoutine::Linear;
    case 4: return StartRoutine::Velocity;
    case 5: return StartRoutine::Angular;
    case 9: return StartRoutine::Fft;
    default: return StartRoutine::None;
    }
}

void IModeHost::SendCommandByte(uint8_t b) { ::SendCommandByte(b); }
bool IModeHost::HeadReady() { return ::HeadReady(); }
void IModeHost::ResetSampleSkip() {
    instrument::LinkState().SkipSamples = true;
    instrument::LinkState().SkippedSamples = 0;
}
void IModeHost::SetHeadStatusBits(uint8_t mask) { instrument::LinkState().HeadStatus.fetch_or(mask); }
void IModeHost::SetHeadFlags(uint8_t flags) { instrument::LinkState().HeadFlags = flags; }

bool IModeHost::SerialLink() const { return instrument::SerialLinkChosen(); }

void IModeHost::Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// --- reading ---

void StartReadingBlock(IModeHost& h, bool withWatchdog) {
    StatusByteEnabled = true;
    if (ReadingStopped.load()) {
        sendAll(h, {'R', 0x89, 'S'});
        ReadingStopped = false;
        h.CreateReadingThread(++ReadingThreadGeneration);
    }
    if (withWatchdog && h.SerialLink()) {
        LinkWatchdogTicks = 0;
        h.SetLinkWatchdogEnabled(true);
    }
}

void StartLinearReading(IModeHost& h) {
    h.PrepareStartControls(StartRoutine::Linear);
    sendMeasuringHead(h);
    h.SendCommandByte('X');
    StartReadingBlock(h, true);
    const uint8_t mode = h.MeasurementModeField();
    if (mode == kModeStraightness || mode == kModeFlatness) {
        if (h.StraightnessMethod() == 1) h.SendCommandByte('e');
        else if (h.StraightnessMethod() == 2) h.SendCommandByte('X');
    }
    h.FinishLinearStartControls(mode);
}

void StartVelocityReading(IModeHost& h) {
    h.PrepareStartControls(StartRoutine::Velocity);
    sendAll(h, {':', res(h), '3', '6'});
    StartReadingBlock(h, true);
}

void StartDisplayReading(IModeHost& h) {
    h.PrepareStartControls(StartRoutine::Display);  // the readout page of NotebookWyswietlacz
    sendAll(h, {':', '8', '2', res(h), '[', 0x8C, 'W', '5', '2'});
    h.MeasurementModeField() = 6;
    sendAll(h, {'8', 'X'});
    StartReadingBlock(h, false);
}

void StartAngularReading(IModeHost& h) {
    h.PrepareStartControls(StartRoutine::Angular);
    sendMeasuringHead(h);
    StartReadingBlock(h, true);
}

void StartFftReading(IModeHost& h) {
    h.PrepareStartControls(StartRoutine::Fft);
    sendMeasuringHead(h);
    StartReadingBlock(h, true);
}

void RunStartRoutine(IModeHost& h, StartRoutine r) {
    switch (r) {
    case StartRoutine::Display: StartDisplayReading(h); break;
    case StartRoutine::Linear: StartLinearReading(h); break;
    case StartRoutine::Velocity: StartVelocityReading(h); break;
    case StartRoutine::Angular: StartAngularReading(h); break;
    case StartRoutine::Fft: StartFftReading(h); break;
    case StartRoutine::None: break;
    }
}

void StopReading(IModeHost& h) {
    ReadingStopped = true;
    MeteoStopped = true;
    SignalMonitorStopped = true;
    if (ReadQuitEvent) ReadQuitEvent->set();
    if (MeteoQuitEvent) MeteoQuitEvent->set();
    h.Sleep(200);
}

void ResetHeadFlags(IModeHost& h) {
    sendAll(h, {'F', '=', '?', 'A'});
    h.SetHeadStatusBits(0x08 | 0x10);
    h.SetHeadFlags(0);
}

void RestartCounting(IModeHost& h) {
    h.ResetSampleSkip();
    const bool serial = h.SerialLink();
    if (!serial) {
        h.SendCommandByte('R');
        h.Sleep(200);
    }
    sendAll(h, {0x89, 'S'});
    if (serial) h.ClearFifo();
    FilterPrevious = 0.0;
}

void ReturnToMainMenu(IModeHost& h) {
    StopReason = instrument::kStopLeftReadout;
    StopReading(h);
    h.ShowMainPage(1);
    sendAll(h, {'Y', 'R'});
    UpdateCaption(h);
    if (h.SerialLink()) h.SetLinkWatchdogEnabled(false);
}

void ReturnToMainMenuFromVelocity(IModeHost& h) {
    StopReason = instrument::kStopLeftVelocity;
    StopReading(h);
    h.ShowMainPage(1);
    UpdateCaption(h);
    h.SendCommandByte('R');
    if (h.SerialLink()) h.SetLinkWatchdogEnabled(false);
    // save, save as, print, preview, export
    h.EnableMenuItemsByTag({2, 3, 4, 5, 42}, false);
}

QString MainMenuCaption() {
    return TranslateString("stCap", "Veldrasta") + " - " + TranslateString("stCapMenu", "Menu Główne");
}

void UpdateCaption(IModeHost& h) {
    h.SetWindowCaption(MainMenuCaption());
    h.HideTopLevelMenus();
}

// --- live readout page ---

void BitBtnWyswietlaczClick(IModeHost& h) {
    const bool serial = h.SerialLink();
    if (serial) {
        WaitingForLaser = true;
        h.ShowReadoutPage(0);
    }
    h.ShowMainPage(2);
    h.SetWindowCaption(TranslateString("stCap", "Veldrasta") + " - " +
                       TranslateString("stCapWysw", "Wyświetlacz"));
    h.PrepareLiveReadoutPage();
    ReadoutView entry;
    entry.LengthLabel = QStringLiteral("µm");
    entry.Decimals = 2;
    h.ApplyReadoutView(entry);
    h.DisplayLengthUnitField() = 1;
    h.MeasurementModeField() = 6;
    h.ShowSetupPicture();
    if (InterfaceError.load()) {
        h.ShowLiveReadoutInterfaceError();
        h.ShowReadoutPage(1);
        return;
    }
    if (!serial) h.SendCommandByte('R');
    sendAll(h, {'F', '?', '7', '5'});
    SetDistanceDisplay(h);
    if (h.HeadReady()) {
        StartDisplayReading(h);
    } else {
        h.ShowReadoutPage(0);
        h.ShowLiveReadoutHeadOff(TranslateString("stLaserOff", "Głowica wyłączona"));
        h.ShowReadoutPage(1);
        // The monitor runs the page logic only while WaitingForLaser is set; on the card link
        // nothing else sets it, and the readout would then never start.
        WaitingForLaser = true;
        h.StartSignalMonitor();
    }
    h.RestartMeteoReading();
    if (serial) {
        LinkWatchdogTicks = 0;
        h.SetLinkWatchdogEnabled(true);
    }
}

ReadoutView DisplayUnitView(uint8_t mode, uint8_t lengthUnit, uint8_t velocityUnit,
                            const PrecisionTable& precision) {
    ReadoutView v;
    if (mode == kModePositioning || mode == kModeDistanceReadout) {
        switch (lengthUnit) {
        case 0: v.LengthLabel = "mm"; v.Decimals = precision[0]; break;
        case 1: v.LengthLabel = QStringLiteral("µm"); v.Decimals = precision[1]; break;
        case 4: v.LengthLabel = "in"; v.Decimals = precision[2]; break;
        case 5: v.LengthLabel = "mils"; v.Decimals = precision[3]; break;
        default: break;
        }
    } else if (mode == kModeVelocityReadout) {
        switch (velocityUnit) {
        case 0: v.Decimals = precision[5]; break;
        case 1: v.Decimals = precision[4]; break;
        case 2: v.Decimals = precision[4] > 0 ? precision[4] - 1 : 0; break;
        case 4: v.Decimals = precision[6]; break;
        case 5: v.Decimals = precision[7]; break;
        default: break;
        }
        if (velocityUnit < VelocityUnitNames.size())
            v.VelocityLabel = QString::fromUtf8(VelocityUnitNames[velocityUnit]);
    }
    return v;
}

ReadoutView SetDistanceDisplay(IModeHost& h) {
    ReadoutView v;
    v.PhotoShown = !h.AlignmentChecked();
    const uint8_t r = res(h);
    h.SendCommandByte(r);
    h.DisplayPrecisionField() = PrecisionTableFor(r);
    h.SendCommandByte(0x8C);
    v.TypeCaption = TranslateString("stDystans", "Dystans");
    v.VelocityLabelShown = false;
    v.LengthLabelShown = true;
    h.ClearFifo();
    h.MeasurementModeField() = 6;
    h.DisplayLengthUnitField() = LengthUnit == 1 ? 4 : 0;
    merge(v, DisplayUnitView(6, h.DisplayLengthUnitField(), h.DisplayVelocityUnitField(),
                             h.DisplayPrecisionField()));
    if (h.MainPage() == 2 && h.AlignmentChecked()) h.SendCommandByte('X');
    h.ApplyReadoutView(v);
    return v;
}

ReadoutView ButtonTypPomiaruClick(IModeHost& h) {
    ReadoutView v;
    uint8_t& mode = h.MeasurementModeField();
    const PrecisionTable& prec = h.DisplayPrecisionField();
    switch (mode) {
    case 6:
        mode = 7;
        v.TypeCaption = TranslateString("stPredkosc", "Prędkość");
        v.LengthLabelShown = false;
        v.VelocityLabelShown = true;
        sendAll(h, {'3', '6'});
        h.DisplayVelocityUnitField() = 0;
        v.VelocityLabel = QString::fromUtf8(VelocityUnitNames[0]);
        v.Decimals = prec[5];
        break;
    case 7:
        mode = 8;
        v.PhotoShown = !h.AlignmentChecked();
        h.SendCommandByte(0x8C);
        v.TypeCaption = TranslateString("stKat", "Kąt");
        v.VelocityLabelShown = false;
        v.LengthLabelShown = true;
        sendAll(h, {'7', '2'});
        v.LengthLabel = "sek";
        v.Decimals = prec[9];
        break;
    case 8:
        v.PhotoShown = !h.AlignmentChecked();
        sendAll(h, {'e', 0x8C});
        v.TypeCaption = TranslateString("stWollaston", "Wollaston");
        v.VelocityLabelShown = false;
        v.LengthLabelShown = true;
        mode = 9;
        h.SendCommandByte('2');
        v.LengthLabel = QStringLiteral("µm");
        v.Decimals = prec[9];
        break;
    case 9:
        v = SetDistanceDisplay(h);
        h.ShowSetupPicture();
        return v;
    default:
        return v;
    }
    h.ApplyReadoutView(v);
    h.ShowSetupPicture();
    return v;
}

ReadoutView SpeedButton1Click(IModeHost& h) {
    const uint8_t mode = h.MeasurementModeField();
    const bool inch = LengthUnit == 1;
    if (mode == kModePositioning || mode == kModeDistanceReadout) {
        uint8_t& u = h.DisplayLengthUnitField();
        if (!inch) u = u == 0 ? 1 : 0;
        else u = u == 5 ? 4 : 5;
    } else if (mode == kModeVelocityReadout) {
        uint8_t& u = h.DisplayVelocityUnitField();
        if (!inch) u = u == 0 ? 1 : u == 1 ? 2 : 0;
        else u = u == 5 ? 4 : 5;
    } else {
        return {};
    }
    ReadoutView v = DisplayUnitView(mode, h.DisplayLengthUnitField(), h.DisplayVelocityUnitField(),
                                    h.DisplayPrecisionField());
    h.ApplyReadoutView(v);
    return v;
}

QString ToggleSignCaption(const QString& caption) {
    return caption == "+" ? QStringLiteral("-") : QStringLiteral("+");
}

QString ButtonOsClick(IModeHost& h) {
    uint8_t& axis = h.MeasuredAxisField();
    axis = axis >= 2 ? 0 : axis + 1;
    static const char* const names[3] = {" X", " Y", " Z"};
    const QString caption = TranslateString("stOs", "Oś").left(4) + names[axis];
    SetButtonCaption(h, ModeControl::ButtonOs, caption);
    h.ShowSetupPicture();
    return caption;
}

EscAction EscActionForPage(int page) {
    switch (page) {
    case 0:
    case 1: return EscAction::CloseMainWindow;
    case 2: return EscAction::ReturnToMainMenu;
    case 3: return EscAction::LeaveMeasurementPage;
    case 4: return EscAction::ReturnFromVelocity;
    case 5: return EscAction::LeaveMeasurementPage;
    case 6: return EscAction::LeaveServicePanel;
    case 8: return EscAction::LeaveFlatnessPage;
    default: return EscAction::None;
    }
}

EscAction FormKeyDown(IModeHost& h, int virtualKey) {
    const int page = h.MainPage();
    if (virtualKey == kKeyEscape) {
        const EscAction a = EscActionForPage(page);
        if (a == EscAction::ReturnToMainMenu) {
            ReturnToMainMenu(h);
            return EscAction::None;
        }
        if (a == EscAction::ReturnFromVelocity) {
            ReturnToMainMenuFromVelocity(h);
            return EscAction::None;
        }
        return a;
    }
    if (virtualKey == kKeyR && page == 2) RestartCounting(h);
    return EscAction::None;
}

}  // namespace modes
