#include "app/RunCommands.h"

#include <algorithm>

#include "foundations/NumberFormat.h"
#include "foundations/ProgramMessages.h"
#include "foundations/SharedGlobals.h"
#include "instrument/CommandLink.h"
#include "instrument/SerialFrameParser.h"

namespace runcontrol {

namespace {
// "%3.1f" as the user reads it.
QString tenths(int position) {
    QString t = foundations::formatPrintfF(position * 0.1, 3, 1);
    return t.replace(u'.', foundations::systemDecimalSeparator());
}

int clampTo(int v, AngleRange r) { return std::clamp(v, std::min(r.min, r.max), std::max(r.min, r.max)); }
}  // namespace

AcceptWaitStep AcceptWaitTick(uint8_t& ticks, int waitingTime) {
    AcceptWaitStep s;
    ticks = uint8_t(ticks + 1);
    s.progress = waitingTime - ticks;
    if (ticks >= waitingTime) {
        s.accept = true;
        ticks = 0;
    }
    return s;
}

MoveHintStep MoveHintTick(uint8_t& phase, bool automatic, int acceptedPointCount) {
    MoveHintStep s;
    phase = uint8_t(phase + 1);
    const int promptAt = automatic ? 2 : 1;
    if (phase != promptAt) return s;
    s.prompt = true;
    s.startAcceptTimer = automatic;
    s.stopTimer = !automatic;
    s.acceptText = Msg(QStringLiteral("stPrzesun"));
    s.moveText = FillPlaceholder(Msg(QStringLiteral("stDoPunktu")), acceptedPointCount + 1);
    return s;
}

QString WaitingTimeCaption(int position) {
    return Msg(QStringLiteral("stCzasOczekiwania")) + QStringLiteral(" ") + tenths(position) + QStringLiteral(" s.");
}

QString MoveDetectCaption(int position) {
    return QStringLiteral("Detekcja przesuwania gdy odchyłka > ") + tenths(position) + QStringLiteral(" sek");
}

QString AveragingCaption(int position) {
    return QStringLiteral("Uśrednianie jeśli skoki < ") + QString::number(position);
}

ViewAngles DragTurn(QPoint last, QPoint now, ViewAngles current, AngleRange rotation, AngleRange elevation) {
    // Integer division in C++ truncates towards zero, as the turn needs.
    ViewAngles a;
    a.elevation = clampTo(current.elevation + (last.y() - now.y()) / 2, elevation);
    a.rotation = clampTo(current.rotation + (now.x() - last.x()) / 2, rotation);
    return a;
}

View3DLayout Panel18Layout(QSize panel, int verticalBarWidth, int horizontalBarHeight) {
    const int w = std::max(0, panel.width());
    const int h = std::max(0, panel.height());
    const int bw = std::clamp(verticalBarWidth, 0, w);
    const int bh = std::clamp(horizontalBarHeight, 0, h);
    View3DLayout l;
    l.verticalBar = QRect(w - bw, 0, bw, h);
    l.horizontalBar = QRect(0, h - bh, w - bw, bh);
    l.chart = QRect(0, 0, w - bw, h - bh);
    return l;
}

int FlatnessLineCount(uint8_t flatnessMethod, int hLines, int vLines) {
    if (flatnessMethod == 0) return 8;
    return std::clamp(std::max(0, hLines) + std::max(0, vLines), 0, 16);
}

int DefaultFlatnessLine(uint8_t flatnessMethod, int hLines, int vLines, uint16_t linesDone, int currentLine) {
    const int n = FlatnessLineCount(flatnessMethod, hLines, vLines);
    for (int line = 1; line <= n; ++line)
        if (!(linesDone & (1u << (line - 1)))) return line;
    return currentLine >= 1 && currentLine <= n ? currentLine : 1;
}

const std::vector<ServiceButton>& ServiceCommandButtons() {
    static const std::vector<ServiceButton> table = {
        {"PSButtonPowerOn", "Power On", 's'},
        {"PSButtonPowerOff", "Power Off", 't'},
        {"PSButtonTurnOn", "Turn On", 'w'},
        {"PSButtonTurnOff", "Turn Off", 'x'},
        {"PSButtonKrokP", "Krok >", 'u'},
        {"PSButtonKrokL", "Krok <", 'v'},
        {"Button30", "Wewnetrzna", 'L'},
        {"Button31", "Zewnętrzna T", 'M'},
        {"Button32", "Zewnetrzna T/2", 'N'},
    };
    return table;
}

bool PressServiceButton(const QString& name, ICommandLink& link) {
    for (const ServiceButton& b : ServiceCommandButtons()) {
        if (name == QLatin1String(b.name)) {
            link.SendCommandByte(b.command);
            return true;
        }
    }
    return false;
}

void HardwareReset(const HardwareResetSteps& steps) {
    if (steps.setDtr) steps.setDtr(true);
    ReadingStopped = true;
    SignalMonitorStopped = true;
    TextLineMode = true;
    if (steps.clearBiosList) steps.clearBiosList();
    instrument::LinkState().ReceiveState = 0;
    PendingReply = 1;
    ReplyText.clear();
    if (steps.wait) steps.wait(50);
    if (steps.setDtr) steps.setDtr(false);
}

}  // namespace runcontrol
