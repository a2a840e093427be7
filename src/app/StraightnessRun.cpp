#include "app/StraightnessRun.h"

#include <exception>

#include "evaluation/MeasurementFiles.h"
#include "evaluation/StraightnessEval.h"
#include "foundations/FR_Utils.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/LinkPort.h"
#include "instrument/RawConversion.h"
#include "foundations/MeasurementModes.h"

namespace {
constexpr uint8_t kReset = 'R';
constexpr uint8_t kClearDataError = 'F';
constexpr uint8_t kZeroCounting = 0x40;
constexpr uint8_t kEndPositioning = 'L';
constexpr uint8_t kLeaveMode = 't';
constexpr uint8_t kTwoAxisOff = 'Y';
constexpr int kStraightnessMode = 2;
constexpr int kFlatnessMode = 3;

const std::vector<int> kStraightnessDataTags{2, 3, 4, 5, 42, 44};
const std::vector<int> kModeDataTags{2, 3, 4, 5, 28, 42, 44};
const std::vector<int> kFlatnessDataTags{2, 3, 4, 5, 42};

bool SerialLink() { return instrument::SerialLinkChosen(); }

QString BadLineMessage(int line) {
    QString t = TranslateString(QStringLiteral("stZlaLiniaMapy"),
                                QString::fromUtf8("Linia %d nie należy do mapy płaskości."));
    const int at = t.indexOf(QStringLiteral("%d"));
    if (at >= 0) t.replace(at, 2, QString::number(line));
    return t;
}
}  // namespace

QString FlatnessLineTitle(int line, uint8_t flatnessMethod, int32_t hLines) {
    QString t = Msg("stMapaOs");
    if (flatnessMethod == 0) return t + QStringLiteral(" ") + QString::number(line);
    if (line > hLines) return t + QStringLiteral(" V") + QString::number(line - hLines);
    return t + QStringLiteral(" H") + QString::number(line);
}

StraightnessRun::StraightnessRun(PositioningRun& positioning, TPunkt& straightnessPoints,
                                 TCykl& flatnessLines, instrument::PointAcceptance& engine,
                                 const TSettings& settings, uint8_t& measurementMode,
                                 int& straightnessSampleCount, StraightnessRunView& view)
    : StraightnessSampleCount(straightnessSampleCount), positioning_(positioning),
      points_(straightnessPoints), flatnessLines_(flatnessLines), engine_(engine), settings_(settings), mode_(measurementMode), view_(view) {}

QStringList StraightnessRun::RunChartTitle() const {
    QString first = Msg("stPomiarProsto");
    if (settings_.StraightnessMethod == 2)
        first += QStringLiteral(" - ") + Msg("stOsPozioma") + QStringLiteral(" <->");
    QStringList lines{first};
    if (mode_ == kFlatnessMode)
        lines << FlatnessLineTitle(FlatnessLine, settings_.FlatnessMethod, settings_.FlatnessHLines);
    return lines;
}

void StraightnessRun::StartStraightnessRun() {
    view_.HideValueLabels();
    if (MeasurementRunning) {
        EndMeasurementRun();
        return;
    }
    view_.ClearChartBackground();
    if (mode_ == kStraightnessMode) {
        const int answer = view_.AskSaveChanges();
        if (answer == 2) return;
        if (answer == 6 && !view_.SaveMeasurement()) return;
    }
    if (view_.DataErrorActive()) {
        const instrument::CommandSequence sequence;
        if (instrument::ChosenLink() == instrument::LinkKind::Card) view_.SendCommandByte(kReset);
        view_.SendCommandByte(kClearDataError);
        SignalMonitorStopped = true;
    }
    view_.ResetCharts();
    view_.FillHeaderEnvironment();
    StraightnessSampleCount = 0;
    engine_.state.pointIndex = 0;
    HeadAcceptRequest = false;
    view_.SendCommandByte(kZeroCounting);

    if (mode_ == kModePositioning) {
        positioning_.StartRun();
    } else if (mode_ == kStraightnessMode || mode_ == kFlatnessMode) {
        points_.Clear();
        view_.SetProgress(0, view_.WaitingTime(), view_.WaitingTime());
        const bool automatic = view_.AutomaticAccept();
        if (!automatic) {
            view_.ShowAcceptButton();
            view_.SetAcceptButtonEnabled(true);
        }
        engine_.state.acceptedPointCount = 0;
        AcceptedPointCount = 0;
        view_.ShowAcceptPrompt(Msg("stZaliczPunkt") + QStringLiteral(" ") +
                               QString::number(engine_.state.acceptedPointCount + 1) +
                               QStringLiteral("."));
        view_.SetChartTitles(RunChartTitle(), Msg("stPomiarProsto") + QStringLiteral(" - ") +
                                                  Msg("stOsPionowa") + QStringLiteral(" |"));
        view_.RestartCounting();
        engine_.state.lastValue = 0.0;
        LastValue = 0.0;
        MeasurementRunning = true;
        view_.SetMenuOsXEnabled(false);
        engine_.state.manualAcceptRequest = false;
        if (automatic) {
            AcceptWaitTicks = 0;
            view_.SetAcceptTimerEnabled(true);
        }
    }
    view_.SetStart1Enabled(false);
    view_.SetBaseLengthEnabled(false);
    view_.SetStop1Enabled(true);
    view_.SetStartCaption(QStringLiteral("&Stop"));
}

void StraightnessRun::EndMeasurementRun() {
    if (mode_ == kModePositioning) {
        // Without a run there is nothing to end (the menu's Stop on a page that has not started).
        if (!MeasurementRunning) return;
        if (!view_.ConfirmEndRun()) return;
        if (positioning_.CurrentCycle() == 0) {
            view_.SendCommandByte(kReset);
            MeasurementRunning = false;
            view_.SetMenuOsXEnabled(true);
            view_.SetStartPointEnabled(true);
        } else {
            positioning_.EndPage.next = false;
            if (settings_.PositioningMethod != 0) positioning_.FinishPositioningMeasurement();
            else positioning_.EnableControlsAfterMeasurement();
        }
        view_.SendCommandByte(kEndPositioning);
        return;
    }
    if (mode_ != kStraightnessMode && mode_ != kFlatnessMode) return;
    view_.SetAcceptTimerEnabled(false);
    view_.SetProgress(10, 150, view_.WaitingTime());
    view_.SetMoveTimerEnabled(false);
    engine_.state.acceptedPointCount = 0;
    AcceptedPointCount = 0;
    MeasurementRunning = false;
    view_.HidePrompts();
    view_.SetAcceptButtonEnabled(false);
    view_.SetBaseLengthEnabled(true);
    view_.SetStartCaption(QStringLiteral("&Start"));
    // The menu follows the button: a new line can be started, there is nothing to stop.
    view_.SetStart1Enabled(true);
    view_.SetStop1Enabled(false);
    if (StraightnessSampleCount <= 3) return;
    view_.PlotStraightness();
    if (mode_ == kFlatnessMode && StoreFlatnessLine()) {
        try {
            SaveFlatnessBackup(settings_.FlatnessDir, view_.MeasurementHeader(), flatnessLines_,
                               settings_.FlatnessHLines, settings_.FlatnessVLines,
                               settings_.FlatnessMethod);
        } catch (const MeasurementFileError& e) {
            view_.ReportError(e.message());
        } catch (const std::exception& e) {
            view_.ReportError(QString::fromStdString(e.what()));
        }
    }
    DataSaved = false;
    view_.EnableMenuItemsByTag(kStraightnessDataTags, true);
}

bool StraightnessRun::StoreFlatnessLine() {
    // The map always holds its 16 lines, so every valid line number has its item.
    while (flatnessLines_.Count() < kFlatnessMaxLines) flatnessLines_.Add();
    const int line = FlatnessLine;
    const bool grid = settings_.FlatnessMethod != 0;
    const int lastLine = grid ? settings_.FlatnessHLines + settings_.FlatnessVLines : kFlatnessMaxLines;
    if (line < 1 || line > kFlatnessMaxLines || line > lastLine) {
        view_.ReportError(BadLineMessage(line));
        return false;
    }
    TPunkt& dest = flatnessLines_[line - 1].Punkt;
    dest.Clear();
    evaluation::LineAngles angles{};
    evaluation::FitEndPointLine(points_, dest, angles);
    FlatnessDataSaved = false;
    FlatnessLinesDone |= static_cast<uint16_t>(1u << (line - 1));
    view_.BuildFlatnessMap();
    view_.EnableNewMap();
    return true;
}

void StraightnessRun::ExitMeasurementMode() {
    if (SerialLink()) view_.SetLinkWatchdogEnabled(false);
    view_.SendCommandByte(kLeaveMode);
    MeasurementRunning = false;
    view_.HidePrompts();
    StopReason = instrument::kStopLeftStraightness;
    view_.StopReading();
    view_.ShowMainPage(1);
    view_.UpdateCaption();
    {
        const instrument::CommandSequence sequence;
        view_.SendCommandByte(kReset);
        if (settings_.StraightnessMethod == 2) view_.SendCommandByte(kTwoAxisOff);
    }
    mode_ = 10;
    view_.EnableMenuItemsByTag(kModeDataTags, false);
}

bool StraightnessRun::askSave(bool& savedFlag) {
    switch (view_.AskSaveChanges()) {
    case 2:
        return false;
    case 6:
        // A cancelled or failed save keeps the data, as Cancel does.
        return view_.SaveMeasurement();
    default:
        savedFlag = true;
        return true;
    }
}

void StraightnessRun::LeaveMeasurementPage() {
    switch (mode_) {
    case 0:
    case kStraightnessMode:
    case 4:
        if (MeasurementRunning) {
            view_.ShowMessage(Msg("stZakoncz"));
            return;
        }
        if (!askSave(DataSaved)) return;
        ExitMeasurementMode();
        return;
    case kFlatnessMode:
        if (MeasurementRunning) {
            view_.ShowMessage(Msg("stZakoncz"));
            return;
        }
        if (SerialLink()) view_.SetLinkWatchdogEnabled(false);
        DataSaved = true;
        StopMeasurementUi();
        return;
    default:
        return;
    }
}

void StraightnessRun::StopMeasurementUi() {
    if (SerialLink()) view_.SetLinkWatchdogEnabled(false);
    view_.HideStraightnessMenuItem();
    StopReason = instrument::kStopLeftStraightness;
    view_.StopReading();
    view_.ShowMainPage(8);
    view_.ShowModeCaption();
    view_.UpdateRecentFlatnessMenu();
    view_.SendCommandByte(kReset);
    view_.ShowMenuItemsByTag({37}, false);
}

void StraightnessRun::LeaveFlatnessPage() {
    if (!askSave(FlatnessDataSaved)) return;
    FlatnessLinesDone = 0;
    view_.EnableMenuItemsByTag(kFlatnessDataTags, false);
    view_.SetBackButtonCaption(Msg("stMenuGlowne"));
    view_.UpdateCaption();
    view_.ShowMainPage(1);
}
