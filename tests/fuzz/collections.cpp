// The collection streams (points, cycles of points, velocity samples) and the point list file:
// a stream either fails as damaged or its items write back to exactly the bytes they were read
// from; a point list that loads saves and loads again to the same list.
//
// Input: byte 0 chooses the collection (0 points, 1 cycles, 2 velocity samples, 3 point list
// file); the rest is the stream or file.
#include <QBuffer>

#include "FuzzSupport.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PointLists.h"
#include "foundations/PomiarCol.h"
#include "foundations/StreamIO.h"

namespace {

template <class Collection>
void streamRoundTrip(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer in(&copy);
    in.open(QIODevice::ReadOnly);
    Collection items;
    try {
        items.LoadFromStream(in);
    } catch (const foundations::StreamReadError&) {
        return;
    }
    const qint64 consumed = in.pos();
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    items.SaveToStream(out);
    FUZZ_CHECK(written == bytes.left(consumed));
}

QByteArray pointListBytes(const TPunkt& points) {
    QByteArray b;
    for (int i = 0; i < points.Count(); ++i) {
        const TPunktItem& p = points[i];
        b.append(reinterpret_cast<const char*>(&p.Dystans), sizeof(double));
        b.append(reinterpret_cast<const char*>(&p.Xa), sizeof(double));
        b.append(reinterpret_cast<const char*>(&p.Xr), sizeof(double));
    }
    return b;
}

void pointListRoundTrip(const QByteArray& bytes) {
    const QString input = fuzz::writeScratch(QStringLiteral("input.dtp"), bytes);
    TPunkt points;
    try {
        LoadPointList(points, input);
    } catch (const std::exception&) {
        return;
    }
    const QString saved = fuzz::scratchPath(QStringLiteral("saved.dtp"));
    SavePointList(points, saved);
    TPunkt again;
    LoadPointList(again, saved);
    FUZZ_CHECK(pointListBytes(again) == pointListBytes(points));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QByteArray rest = fuzz::bytesOf(data + 1, size - 1);
    switch (data[0] % 4) {
    case 0: streamRoundTrip<TPunkt>(rest); break;
    case 1: streamRoundTrip<TCykl>(rest); break;
    case 2: streamRoundTrip<TVelValue>(rest); break;
    default: pointListRoundTrip(rest); break;
    }
    return 0;
}
