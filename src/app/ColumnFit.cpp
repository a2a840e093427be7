#include "app/ColumnFit.h"

#include <algorithm>
#include <cmath>

std::array<int, 3> ResultsListColumnWidths(int listWidth, const std::array<int, 3>& needed) {
    const int total = needed[0] + needed[1] + needed[2];
    if (listWidth <= total) return needed;
    std::array<int, 3> w{};
    w[0] = int(std::nearbyint(listWidth * 0.5));
    w[1] = int(std::nearbyint(listWidth * 0.24));
    w[2] = listWidth - w[0] - w[1];
    for (size_t c = 0; c < 3; ++c) {
        while (w[c] < needed[c]) {
            // The column with the most to spare gives what this one lacks, as far as it can.
            size_t donor = c;
            int spare = 0;
            for (size_t o = 0; o < 3; ++o)
                if (o != c && w[o] - needed[o] > spare) {
                    spare = w[o] - needed[o];
                    donor = o;
                }
            if (donor == c) break;
            const int moved = std::min(spare, needed[c] - w[c]);
            w[donor] -= moved;
            w[c] += moved;
        }
    }
    return w;
}
