// Plain rules of the main window, kept apart from its widgets so that tests drive them directly.
#include "app/Unit_glowny.h"

#include "app/LiveReadoutPage.h"
#include "platform/HelpFiles.h"

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

QString RetranslateWindowTitle(const QString& title, const MessageTexts& before, const MessageTexts& after) {
    auto textOf = [](const MessageTexts& texts, const char* key) {
        for (const MessageText& m : texts)
            if (m.key.compare(QLatin1String(key), Qt::CaseInsensitive) == 0) return m.text;
        return QString();
    };
    static const char* const pageKeys[] = {"stCapMenu", "stCapWysw", "StCapPoz", "StCapPred",
                                           "StCapProsto", "StCapMapa", "stCapPodzKat", "stCapFFT"};
    QString bestOld, bestNew;
    for (const char* key : pageKeys) {
        const QString old = textOf(before, "stCap") + QStringLiteral(" - ") + textOf(before, key);
        if (title.startsWith(old) && old.size() > bestOld.size()) {
            bestOld = old;
            bestNew = textOf(after, "stCap") + QStringLiteral(" - ") + textOf(after, key);
        }
    }
    if (bestOld.isEmpty()) return title;
    return bestNew + title.mid(bestOld.size());
}

int PageHelpContext(int page, int measurementMode) {
    switch (page) {
    case 1: return platform::kHelpMainWindow;
    case 2: return platform::kHelpLiveReadout;
    case 3:
        if (measurementMode == kModeStraightness) return platform::kHelpStraightness;
        if (measurementMode == kModeFlatness) return platform::kHelpFlatness;
        return platform::kHelpPositioning;
    case 4: return platform::kHelpVelocity;
    case 5: return platform::kHelpAngular;
    case 7: return platform::kHelpFilesAndReports;  // the measurement table
    case 8: return platform::kHelpFlatness;
    case 9: return platform::kHelpVibration;
    case 10: return LiveReadoutPage::kAlignmentHelpContext;  // as the readout's set-up picture
    default: return platform::kHelpContents;  // the start picture, the service panel
    }
}
