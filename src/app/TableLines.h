#pragma once
// The measuring lines of a flatness map as the axis choice form draws them on its picture of the
// machine table: where each line runs and which way, its name and label, how it is drawn, and
// which line a click picks. Plain code: the form only paints what these functions give.
#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tablelines {

// Lines 1..8 of the envelope layout or, in grid mode, h horizontal lines (1..h) and v vertical
// lines (h+1..h+v). The measured mask holds line k in bit k-1, so at most 16 lines.
struct Layout {
    bool grid = false;
    int hLines = 0;
    int vLines = 0;
};

constexpr int kMaxLines = 16;
constexpr int kMargin = 20;  // pixels between the picture's edge and the table's edge

// The horizontal and vertical counts the picture actually draws: negative counts as 0, and the
// vertical lines are cut so that no line lies beyond the mask's 16 bits.
int DrawnHLines(const Layout& layout);
int DrawnVLines(const Layout& layout);
// 8 for the envelope layout, else the drawn horizontal + vertical lines.
int LineCount(const Layout& layout);

// The mask bit of line k (1-based); 0 outside 1..16.
uint16_t LineBit(int line);
bool IsMeasured(uint16_t measuredMask, int line);

// The line the form starts with: the given one when it is a line of the layout, else line 1.
int InitialSelection(const Layout& layout, int initialLine);

// The radio group's items: prefix ("Oś", translated) + " &1".." &8", or + " H1".." Hh" then
// " V1".." Vv".
QStringList LineNames(const Layout& layout, const QString& prefix);

struct Segment {
    QPoint start;
    QPoint end;  // the line's direction is from start toward end
    friend bool operator==(const Segment&, const Segment&) = default;
};

// Every line of the layout, item k-1 for line k, in the pixel coordinates of a picture of the
// given size.
std::vector<Segment> LineGeometry(const Layout& layout, QSize picture);

// Whether line k carries a direction arrow: every line of the envelope layout; in grid mode the
// first line and the last.
bool HasArrow(const Layout& layout, int line);
// The direction arrow of a line: parallel to it, 10 pixels to its right (as one travels from
// start to end, on screen; the labels sit on the left), from one sixth to three eighths of its
// length; the head is at `end`.
Segment DirectionArrow(const Segment& line);

// A line's label: its text and where it goes. `centred` false: `at` is the text's top left;
// true: `at` is the text's centre.
struct Label {
    QString text;
    QPoint at;
    bool centred = false;
};
Label LineLabel(const Layout& layout, const std::vector<Segment>& lines, int line);

// Pen (and brush) of a line: the chosen line red and 3 wide; a measured line green and 3 wide;
// any other black and 1 wide.
struct LineStyle {
    QColor color;
    int width = 1;
    friend bool operator==(const LineStyle&, const LineStyle&) = default;
};
LineStyle StyleOf(int line, int selectedLine, uint16_t measuredMask);

// The line nearest to a click: the least distance from the click to the straight line through a
// line's ends; on a tie the lower number. 0 when there are no lines.
int NearestLine(const std::vector<Segment>& lines, QPoint click);

}  // namespace tablelines
