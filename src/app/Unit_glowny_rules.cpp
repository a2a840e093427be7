// Plain rules of the main window, kept apart from its widgets so that tests drive them directly.
#include "app/Unit_glowny.h"

TTagSet TagSet(std::initializer_list<int> tags) {
    TTagSet s;
    for (int t : tags)
        if (t >= 0 && t < 256) s.set(size_t(t));
    return s;
}

ScreenAdjustment AdjustToScreenRule(int w, int h) {
    ScreenAdjustment a;
    if (w <= 0 || h <= 0) return a;
    // width / height <= 4 / 3, in integers so that 1024 x 768 counts as 4:3 exactly
    if (int64_t(w) * 3 <= int64_t(h) * 4) {
        if (w != 640) a.scale = double(w) / 640.0;
    } else {
        if (h != 480) a.scale = double(h) / 480.0;
        a.centre = true;
    }
    return a;
}

int MachineComboIndex(const QStringList& names, const QString& remembered) {
    if (names.isEmpty()) return -1;
    const int i = int(names.indexOf(remembered));
    return i < 0 ? 0 : i;
}

int VelocityDisplayDecimals(int unit) {
    static constexpr int decimals[6] = {3, 6, 4, 1, 4, 2};
    return unit >= 0 && unit < 6 ? decimals[unit] : decimals[0];
}
