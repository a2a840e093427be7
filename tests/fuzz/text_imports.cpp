// Text imports written by other software (".dta" positioning run, ".lda" straightness line,
// ".fda" flatness lines): any text is read or refused with a message, never more points than
// the importer promises, and the imported values feed the evaluation without harm.
//
// Input: byte 0 chooses the importer (0 ".dta", 1 ".lda", 2 ".fda"); the rest is the file.
#include <cmath>

#include "FuzzSupport.h"
#include "evaluation/FlatnessMap.h"
#include "evaluation/MeasurementFiles.h"
#include "evaluation/PositioningStats.h"
#include "evaluation/TextImport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const QByteArray text = fuzz::bytesOf(data + 1, size - 1);
    TMeasurementHeader header;
    switch (data[0] % 3) {
    case 0: {
        TCykl cycles;
        QString caption;
        const auto message = ImportMeasurementText(fuzz::writeScratch(QStringLiteral("input.dta"), text),
                                                   cycles, header, &caption);
        if (message) FUZZ_CHECK(!message->isEmpty());
        TPunkt means, sigmas;
        evaluation::ComputePointMeans(cycles, means);
        evaluation::ComputePointSigmas(cycles, sigmas);
        (void)evaluation::ComputeAccuracy(sigmas, means);
        (void)evaluation::MaxCycleSpan(cycles);
        break;
    }
    case 1: {
        TPunkt points;
        try {
            ImportTextReadings(fuzz::writeScratch(QStringLiteral("input.lda"), text), points, header);
        } catch (const std::exception&) {
            break;
        }
        FUZZ_CHECK(points.Count() <= 256);
        break;
    }
    default: {
        TCykl lines;
        const auto message = LoadFlatnessText(fuzz::writeScratch(QStringLiteral("input.fda"), text), lines, header);
        if (message) FUZZ_CHECK(!message->isEmpty());
        FUZZ_CHECK(lines.Count() >= 8);
        while (lines.Count() < evaluation::kFlatnessLineCount) lines.Add();
        const auto map = evaluation::BuildFlatnessMap(lines, evaluation::FlatnessLayout{});
        if (map.built) {
            FUZZ_CHECK(std::isfinite(map.value));
            for (const auto& series : map.series)
                for (const auto& p : series) FUZZ_CHECK(std::isfinite(p.y));
        }
        break;
    }
    }
    return 0;
}
