#pragma once
// Small positioning runs whose figures are worked out by hand in the tests.
#include <vector>

#include "foundations/PomiarCol.h"

namespace positioning_fixture {

struct Reading {
    double xa, xr;
};

// Cycles with targets 0, 100, 200, ... mm; readings[c][k] = (Xa, Xr) of cycle c at point k.
inline TCykl makeRun(const std::vector<std::vector<Reading>>& readings) {
    TCykl cycles;
    for (const auto& cyc : readings) {
        TCyklItem& c = cycles.Add();
        for (size_t k = 0; k < cyc.size(); ++k) {
            TPunktItem& p = c.Punkt.Add();
            p.Dystans = 100.0 * k;
            p.Xa = cyc[k].xa;
            p.Xr = cyc[k].xr;
        }
    }
    return cycles;
}

// Three cycles, four points. Each point's readings are mean - d, mean, mean + d over the
// cycles, so the sample deviation is d:
//   point  fwd mean s↑   bwd mean s↓   B = x̄↑ - x̄↓   x̄ = (x̄↑ + x̄↓)/2
//   0        5      1      3      1      2             4
//   1        8      2      7      0      1             7.5
//   2       10      0     12      1     -2             11
//   3        6      1      1      2      5             3.5
// Pooled s² of the six readings = (2 s↑² + 2 s↓² + 1.5 B²) / 5: 2, 1.9, 1.6, 9.5.
// Forward readings are all positive, so extremes started at 0 would show.
// Figures: A↑ 12, A↓ 20, A 7.5 + 3√1.6 + 3√9.5 = 20.54, A↕ 20, R↑ 12, R↓ 12, R 6√9.5 = 18.49,
// R↕ 14, B̄ 1.5, Bmax 5, span↑ 6, span↓ 12, Pa 7.5, P 15, Ps 9, Ps+U 14, Rpmax 12, Mar 20, J 12.
inline TCykl bidirectionalRun() {
    return makeRun({{{4, 2}, {6, 7}, {10, 11}, {5, -1}},
                    {{5, 3}, {8, 7}, {10, 12}, {6, 1}},
                    {{6, 4}, {10, 7}, {10, 13}, {7, 3}}});
}

// The forward readings of bidirectionalRun, no backward ones. Figures: A↑ 12, A↓ 0,
// A↕ = Mar = max(14, 0) - min(2, 0) = 14, R↑ 12, R↓ 0, Rpmax 12, span↑ 6, span↓ 0, Bmax 10, J 10.
inline TCykl unidirectionalRun() {
    return makeRun({{{4, 0}, {6, 0}, {10, 0}, {5, 0}},
                    {{5, 0}, {8, 0}, {10, 0}, {6, 0}},
                    {{6, 0}, {10, 0}, {10, 0}, {7, 0}}});
}

}  // namespace positioning_fixture
