#include "foundations/PomiarCol.h"

#include <cmath>

void TPunktItem::WriteItem(QIODevice& s) const {
    foundations::writeDouble(s, Dystans);
    foundations::writeDouble(s, Xa);
    foundations::writeDouble(s, Xr);
}

void TPunktItem::ReadItem(QIODevice& s) {
    // Read into temporaries so that a half-read point is never kept.
    const double d = foundations::readDouble(s);
    const double a = foundations::readDouble(s);
    const double r = foundations::readDouble(s);
    Dystans = d;
    Xa = a;
    Xr = r;
}

bool TPunkt::InsertSorted(int& Index, double Value) {
    int low = 0;
    int high = Count() - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        Index = middle;
        const double d = GetItem(middle).Dystans;
        if (std::fabs(Value - d) < 1e-6) return false;
        if (d > Value)
            high = middle - 1;
        else
            low = middle + 1;
    }
    Add();
    if (Count() == 1) {
        Index = 0;
    } else if (GetItem(Index).Dystans < Value) {
        ++Index;
    }
    for (int j = Count() - 2; j >= Index; --j) GetItem(j + 1).Dystans = GetItem(j).Dystans;
    GetItem(Index).Dystans = Value;
    return true;
}

bool TPunkt::AllThirdValuesZero() const {
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i).Xr != 0.0) return false;
    return true;
}
