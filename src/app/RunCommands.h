#pragma once
// The plain rules behind the main window's run control commands: the two straightness timers,
// the captions of the service scroll bars, turning the 3-D view by dragging, the layout of the
// 3-D view panel, the default line of a flatness map, the service panel's command bytes and the
// hardware reset pulse. The window's handlers apply them to their controls.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class ICommandLink;

namespace runcontrol {

// One tick (100 ms) of TimerZaliczeniePunktu: the ticks since the axis stopped grow by one and
// the progress bar shows what is left of the waiting time (ScrollBar16, tenths of a second).
// When the waiting time is reached the point is to be accepted, the ticks start again at 0 and
// the timer stops.
struct AcceptWaitStep {
    int progress = 0;     // ProgressBar2
    bool accept = false;  // ManualAcceptRequest := 1, timer off
};
AcceptWaitStep AcceptWaitTick(uint8_t& ticks, int waitingTime);

// One tick (500 ms) of TimerProstoliniowosc1 after a point was accepted. With automatic
// acceptance the prompt to move the reflector comes at the second tick and the acceptance wait
// starts again; with manual acceptance it comes at the first tick and the timer stops.
struct MoveHintStep {
    bool prompt = false;             // Label20 shown, Label124 and Label20 get the texts
    bool startAcceptTimer = false;   // TimerZaliczeniePunktu on
    bool stopTimer = false;          // TimerProstoliniowosc1 off
    QString acceptText;              // Label124: "Przesuń odbłyśnik"
    QString moveText;                // Label20: "do punktu N lub zakończ - STOP."
};
MoveHintStep MoveHintTick(uint8_t& phase, bool automatic, int acceptedPointCount);

// Captions of the scroll bars: Label139 (waiting time, ScrollBar16), PsLabel02 (movement
// detection, ScrollBar13), Label133 (environment averaging, ScrollBar12). Decimals shown with
// the system's separator.
QString WaitingTimeCaption(int position);
QString MoveDetectCaption(int position);
QString AveragingCaption(int position);

// The 3-D view's angles and the ranges of their scroll bars.
struct ViewAngles {
    int rotation = 0;
    int elevation = 0;
};
struct AngleRange {
    int min = 270;
    int max = 360;
};
// A drag step with the left button from `last` to `now`: up raises the elevation and right
// turns the rotation, by half the pixels moved (truncated towards zero); each angle stays in
// its scroll bar's range.
ViewAngles DragTurn(QPoint last, QPoint now, ViewAngles current, AngleRange rotation, AngleRange elevation);

// Panel18: the vertical scroll bar along the right edge, the horizontal one along the bottom
// up to the vertical bar, the chart in the rest.
struct View3DLayout {
    QRect chart, horizontalBar, verticalBar;
};
View3DLayout Panel18Layout(QSize panel, int verticalBarWidth, int horizontalBarHeight);

// Number of lines of a flatness map: 8 for the envelope layout, horizontal + vertical lines
// (at most 16) for the grid.
int FlatnessLineCount(uint8_t flatnessMethod, int hLines, int vLines);
// The line the next flatness measurement takes when nobody chooses: the first line not yet
// measured; when all are measured, the current line (line 1 when that is not a line of the map).
int DefaultFlatnessLine(uint8_t flatnessMethod, int hLines, int vLines, uint16_t linesDone, int currentLine);

// The service panel's one-byte commands, by button name: motor "Power On" 's', "Power Off" 't',
// "Turn On" 'w', "Turn Off" 'x', "Krok >" 'u', "Krok <" 'v'; clock Button30 'L', Button31 'M',
// Button32 'N'.
struct ServiceButton {
    const char* name;
    const char* caption;
    uint8_t command;
};
const std::vector<ServiceButton>& ServiceCommandButtons();
// Sends the byte of the named button; false (nothing sent) for a name not in the table.
bool PressServiceButton(const QString& name, ICommandLink& link);

// "Reset Sprzętowy RS": the head is restarted by a pulse on DTR and its start-up text is
// collected by the frame parser. The reading and the signal monitor are told to stop, the
// parser is put into text mode waiting for the reply, then DTR is held for 50 ms.
struct HardwareResetSteps {
    std::function<void(bool on)> setDtr;
    std::function<void()> clearBiosList;  // PSListBox2
    std::function<void(int ms)> wait;
};
void HardwareReset(const HardwareResetSteps& steps);

}  // namespace runcontrol
