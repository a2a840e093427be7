#pragma once
// Pixel counting for chart pictures: how much of a colour a drawing put somewhere.
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <cmath>

namespace chartpixels {

inline bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 70 && std::abs(a.green() - b.green()) < 70 && std::abs(a.blue() - b.blue()) < 70;
}

// Pixels of a colour in a rectangle (image pixels whose centres lie in it).
inline int hitsIn(const QImage& img, QRectF r, QColor col) {
    int n = 0;
    for (int y = int(r.top()); y <= int(r.bottom()); ++y)
        for (int x = int(r.left()); x <= int(r.right()); ++x)
            if (x >= 0 && y >= 0 && x < img.width() && y < img.height() && near(img.pixelColor(x, y), col)) ++n;
    return n;
}

// Pixels of a colour in a small square around a point.
inline int hits(const QImage& img, QPointF at, QColor col, int radius = 2) {
    const double x = std::lround(at.x()), y = std::lround(at.y());
    return hitsIn(img, QRectF(x - radius, y - radius, 2 * radius, 2 * radius), col);
}

inline int hitsAnywhere(const QImage& img, QColor col) { return hitsIn(img, QRectF(0, 0, img.width() - 1, img.height() - 1), col); }

}  // namespace chartpixels
