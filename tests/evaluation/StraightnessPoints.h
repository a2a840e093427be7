#pragma once
// Straightness points for tests: distance, horizontal (Xa) and vertical (Xr) deviation.
#include <initializer_list>

#include "foundations/PomiarCol.h"

struct Pt {
    double x, xa, xr;
};

inline TPunkt points(std::initializer_list<Pt> pts) {
    TPunkt p;
    for (const Pt& q : pts) {
        TPunktItem& i = p.Add();
        i.Dystans = q.x;
        i.Xa = q.xa;
        i.Xr = q.xr;
    }
    return p;
}
