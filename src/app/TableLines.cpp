#include "app/TableLines.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

namespace tablelines {

namespace {

int roundi(double v) { return int(std::nearbyint(v)); }

// (start + r·end) / (1 + r): the point at r / (1 + r) of the way from start to end.
QPointF pointAt(const Segment& s, double r) { return (QPointF(s.start) + r * QPointF(s.end)) / (1.0 + r); }

QPoint rounded(QPointF p) { return {roundi(p.x()), roundi(p.y())}; }

// Spacing divides by the count less one; a single line sits on the first edge.
int gaps(int count) { return std::max(1, count - 1); }

}  // namespace

int DrawnHLines(const Layout& layout) { return std::clamp(layout.hLines, 0, kMaxLines); }

int DrawnVLines(const Layout& layout) { return std::clamp(layout.vLines, 0, kMaxLines - DrawnHLines(layout)); }

int LineCount(const Layout& layout) { return layout.grid ? DrawnHLines(layout) + DrawnVLines(layout) : 8; }

uint16_t LineBit(int line) { return line >= 1 && line <= kMaxLines ? uint16_t(1u << (line - 1)) : 0; }

bool IsMeasured(uint16_t measuredMask, int line) { return (measuredMask & LineBit(line)) != 0; }

int InitialSelection(const Layout& layout, int initialLine) {
    return initialLine >= 1 && initialLine <= LineCount(layout) ? initialLine : 1;
}

QStringList LineNames(const Layout& layout, const QString& prefix) {
    QStringList names;
    if (!layout.grid) {
        for (int k = 1; k <= 8; ++k) names << prefix + " &" + QString::number(k);
        return names;
    }
    for (int i = 1; i <= DrawnHLines(layout); ++i) names << prefix + " H" + QString::number(i);
    for (int j = 1; j <= DrawnVLines(layout); ++j) names << prefix + " V" + QString::number(j);
    return names;
}

std::vector<Segment> LineGeometry(const Layout& layout, QSize picture) {
    const int W = picture.width();
    const int H = picture.height();
    const int m = kMargin;
    if (!layout.grid) {
        return {
            {{m, H - m}, {W - m, H - m}},  // 1 bottom edge
            {{m, H - m}, {W - m, m}},      // 2 diagonal from bottom left
            {{m, H - m}, {m, m}},          // 3 left edge
            {{m, m}, {W - m, H - m}},      // 4 diagonal from top left
            {{m, m}, {W - m, m}},          // 5 top edge
            {{W - m, H - m}, {W - m, m}},  // 6 right edge
            {{m, H / 2}, {W - m, H / 2}},  // 7 horizontal middle
            {{W / 2, H - m}, {W / 2, m}},  // 8 vertical middle
        };
    }
    const int h = DrawnHLines(layout);
    const int v = DrawnVLines(layout);
    std::vector<Segment> lines;
    lines.reserve(size_t(h + v));
    for (int i = 1; i <= h; ++i) {
        const int y = (H - m) - (i - 1) * (H - 2 * m) / gaps(h);
        lines.push_back({{m, y}, {W - m, y}});
    }
    for (int j = 1; j <= v; ++j) {
        const int x = (j - 1) * (W - 2 * m) / gaps(v) + m;
        lines.push_back({{x, H - m}, {x, m}});
    }
    return lines;
}

bool HasArrow(const Layout& layout, int line) {
    if (!layout.grid) return line >= 1 && line <= 8;
    return line == 1 || line == LineCount(layout);
}

Segment DirectionArrow(const Segment& line) {
    const QPointF d = QPointF(line.end - line.start);
    const double length = std::hypot(d.x(), d.y());
    // Right of the direction of travel on a screen whose y axis points down: the side away
    // from the line's label.
    const QPointF side = length > 0 ? QPointF(-d.y(), d.x()) * (10.0 / length) : QPointF();
    return {rounded(pointAt(line, 0.2) + side), rounded(pointAt(line, 0.6) + side)};
}

Label LineLabel(const Layout& layout, const std::vector<Segment>& lines, int line) {
    if (line < 1 || line > int(lines.size())) return {};
    const Segment& s = lines[size_t(line - 1)];
    if (!layout.grid) {
        QPoint at = rounded(pointAt(s, 0.4));
        switch (line) {
            case 1: case 5: case 7: at.ry() -= 20; break;
            case 2: case 4: at.ry() -= 22; break;
            default: at.rx() -= 15; break;  // 3, 6, 8: the upright lines
        }
        return {QString::number(line), at, false};
    }
    // Grid labels sit in the gaps between crossing lines, so that no line runs through them:
    // an H label above its line between the two middle V lines, a V label right of its line
    // between the two top H lines.
    const int h = DrawnHLines(layout);
    const int v = DrawnVLines(layout);
    if (line <= h) {
        int x = (s.start.x() + s.end.x()) / 2;
        if (v >= 2) {
            const int left = lines[size_t(h + (v - 1) / 2)].start.x();
            const int right = lines[size_t(h + (v - 1) / 2 + 1)].start.x();
            x = (left + right) / 2;
        }
        return {"H" + QString::number(line), {x, s.start.y() - 9}, true};
    }
    int y = (s.start.y() + s.end.y()) / 2;
    if (h >= 2) y = (lines[size_t(h - 1)].start.y() + lines[size_t(h - 2)].start.y()) / 2;
    // The last V line is the table's right edge: its label goes inside.
    const int x = line == h + v && v >= 2 ? s.start.x() - 12 : s.start.x() + 12;
    return {"V" + QString::number(line - h), {x, y}, true};
}

LineStyle StyleOf(int line, int selectedLine, uint16_t measuredMask) {
    if (line == selectedLine) return {QColor(0xFF, 0, 0), 3};
    if (IsMeasured(measuredMask, line)) return {QColor(0, 0x80, 0), 3};
    return {QColor(Qt::black), 1};
}

int NearestLine(const std::vector<Segment>& lines, QPoint click) {
    int nearest = 0;
    double best = 10000.0;
    for (size_t k = 0; k < lines.size(); ++k) {
        const QPointF a = lines[k].start, b = lines[k].end, p = click;
        const QPointF ab = b - a, ap = p - a;
        const double length = std::hypot(ab.x(), ab.y());
        const double cross = std::abs(ab.x() * ap.y() - ab.y() * ap.x());
        // A line of no length is as far as its point.
        const double distance = length > 0 ? cross / length : std::hypot(ap.x(), ap.y());
        if (distance < best) {
            best = distance;
            nearest = int(k) + 1;
        }
    }
    return nearest;
}

}  // namespace tablelines
