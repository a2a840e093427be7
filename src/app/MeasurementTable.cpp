#include "app/MeasurementTable.h"

#include <QFileInfo>
#include <algorithm>
#include <exception>

#include "evaluation/MeasurementFiles.h"
#include "evaluation/PointLists.h"
#include "foundations/NumberFormat.h"

std::vector<MeasurementTableRow> MeasurementTableRows(const TPunkt& cycle, QChar separator) {
    auto num = [separator](double v) { return foundations::formatFixed(v, 10, 3, separator); };
    std::vector<MeasurementTableRow> rows;
    rows.reserve(size_t(std::max(0, cycle.Count())));
    for (int i = 0; i < cycle.Count(); ++i) {
        const TPunktItem& p = cycle[i];
        rows.push_back({QString::number(i), num(p.Dystans), num(p.Xa), num(p.Xr), num(p.Xa * 0.001 + p.Dystans),
                        num(p.Xr * 0.001 + p.Dystans)});
    }
    return rows;
}

std::array<int, 6> MeasurementTableColumnWidths(int clientWidth, const std::array<int, 6>& needed) {
    // Columns that need more than their share keep what they need; the share of the others is
    // worked out again until no further column needs more.
    std::array<bool, 6> own{};
    int share = 0;
    for (bool changed = true; changed;) {
        changed = false;
        int room = clientWidth - (own[0] ? needed[0] : 80);
        int sharing = 0;
        for (size_t c = 1; c < 6; ++c) {
            if (own[c]) room -= needed[c];
            else ++sharing;
        }
        share = sharing > 0 ? std::max(0, room) / sharing : 0;
        if (!own[0] && needed[0] > 80) own[0] = changed = true;
        for (size_t c = 1; c < 6; ++c)
            if (!own[c] && needed[c] > share) own[c] = changed = true;
    }
    std::array<int, 6> w{};
    w[0] = own[0] ? needed[0] : 80;
    for (size_t c = 1; c < 6; ++c) w[c] = own[c] ? needed[c] : share;
    return w;
}

int MeasurementTableNeededWidth(int headingWidth, int widestValueWidth) {
    constexpr int margin = 4;
    // right - text - width / 3 >= left + margin, so width * 2 / 3 >= text + margin.
    const int forValue = ((widestValueWidth + margin) * 3 + 1) / 2 + 1;
    return std::max(headingWidth + 2 * margin, forValue);
}

int MeasurementTableTextX(int left, int right, int textWidth) { return right - textWidth - (right - left) / 3; }

QStringList MeasurementTableHeadings(const QString& pointCaption, const QString& distanceCaption) {
    return {pointCaption, distanceCaption, QStringLiteral("Xa [µm]"), QStringLiteral("Xr [µm]"),
            QStringLiteral("Da [mm]"), QStringLiteral("Dr [mm]")};
}

QString DefaultPositioningListPath(const QString& programDir) {
    return programDir + QStringLiteral("defp") + QString::fromLatin1(kPositionListExt);
}
QString DefaultAngularListPath(const QString& programDir) {
    return programDir + QStringLiteral("defp") + QString::fromLatin1(kAngularListExt);
}

namespace {

QString saveList(const TPunkt& points, const QString& path) {
    try {
        SavePointList(points, path);
        return {};
    } catch (const MeasurementFileError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    }
}

// True when read; damaged when there but not readable whole (the list is then left as it was).
bool loadList(TPunkt& points, const QString& path, bool& damaged) {
    damaged = false;
    if (!QFileInfo::exists(path)) return false;
    try {
        LoadPointList(points, path);
        return true;
    } catch (...) {
        damaged = true;
        return false;
    }
}

}  // namespace

DefaultListsSaved SaveDefaultPointLists(const TPunkt& positioning, const TPunkt& angular, const QString& programDir) {
    DefaultListsSaved r;
    if (positioning.Count() > 0) {
        const QString e = saveList(positioning, DefaultPositioningListPath(programDir));
        r.positioningWritten = e.isEmpty();
        if (!e.isEmpty()) r.errors << e;
    }
    if (angular.Count() > 0) {
        const QString e = saveList(angular, DefaultAngularListPath(programDir));
        r.angularWritten = e.isEmpty();
        if (!e.isEmpty()) r.errors << e;
    }
    return r;
}

DefaultListsLoaded LoadDefaultPointLists(TPunkt& positioning, TPunkt& angular, const QString& programDir) {
    DefaultListsLoaded r;
    r.positioning = loadList(positioning, DefaultPositioningListPath(programDir), r.positioningDamaged);
    r.angular = loadList(angular, DefaultAngularListPath(programDir), r.angularDamaged);
    return r;
}
