// Measurement files ".dt2" to ".dt7": whatever a file holds, reading it either fails cleanly or
// gives data that save and read back to the very same file. What a loaded file feeds next (the
// positioning figures of every standard, the flatness map) must hold up too.
//
// Input: byte 0 chooses the type (0 positioning .. 5 vibration); the rest is the file.
#include <cmath>

#include "FuzzSupport.h"
#include "evaluation/FlatnessMap.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PositioningStats.h"
#include "evaluation/ResultsByStandard.h"

namespace {

void evaluatePositioning(const TCykl& cycles) {
    TPunkt means, sigmas;
    evaluation::ComputePointMeans(cycles, means);
    evaluation::ComputePointSigmas(cycles, sigmas);
    const int standards = static_cast<int>(evaluation::StandardNames().size());
    for (int standard = 0; standard < standards; ++standard)
        (void)evaluation::FillPositioningResults(standard, cycles, means, sigmas, std::nullopt, u'.');
}

void buildMap(const MeasurementData& d) {
    const evaluation::FlatnessLayout layout{d.FlatnessMethod != 0, d.FlatnessHLines, d.FlatnessVLines};
    const evaluation::FlatnessMapResult map = evaluation::BuildFlatnessMap(d.FlatnessLines, layout);
    if (!map.built) {
        FUZZ_CHECK(!map.message.isEmpty());
        return;
    }
    FUZZ_CHECK(std::isfinite(map.value));
    for (const auto& series : map.series)
        for (const evaluation::MapPoint& p : series) FUZZ_CHECK(std::isfinite(p.y));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int mode = data[0] % 6;
    const QString ext = MeasurementFileExtension(mode);
    const QString input = fuzz::writeScratch(QStringLiteral("input") + ext, fuzz::bytesOf(data + 1, size - 1));

    MeasurementData first;
    if (LoadMeasurementFile(first, input, mode)) return 0;  // refused: nothing more to check

    const QString saved = fuzz::scratchPath(QStringLiteral("saved") + ext);
    SaveMeasurementBody(first, saved, mode);
    MeasurementData second;
    FUZZ_CHECK(!LoadMeasurementFile(second, saved, mode));
    FUZZ_CHECK(second.Header == first.Header);
    const QString again = fuzz::scratchPath(QStringLiteral("again") + ext);
    SaveMeasurementBody(second, again, mode);
    FUZZ_CHECK(fuzz::readScratch(saved) == fuzz::readScratch(again));

    if (mode == mfPositioning) evaluatePositioning(first.PositioningCycles);
    if (mode == mfFlatness) buildMap(first);
    return 0;
}
