// Opening and saving a positioning run (".dt2"), by points x cycles, against the same bytes
// moved by the system alone in the same run: open plus one read() plus filling the same
// collections without checks (the anchor), a bare read (reference), and one write() plus
// fdatasync plus rename (the save's anchor). Files go to a temporary folder under the current
// one, so the disk is the one the program would write to.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "evaluation/MeasurementFiles.h"

namespace {

TCykl makeRun(int points, int cycles) {
    TCykl run;
    for (int c = 0; c < cycles; ++c) {
        TCyklItem& cyc = run.Add();
        for (int k = 0; k < points; ++k) {
            TPunktItem& p = cyc.Punkt.Add();
            p.Dystans = 4.0 * k;
            p.Xa = 3.0 * std::sin(0.05 * k) + 0.1 * ((c * 7 + k * 3) % 11);
            p.Xr = p.Xa - 1.5 - 0.1 * ((c * 5 + k) % 7);
        }
    }
    return run;
}

QTemporaryDir& folder() {
    static QTemporaryDir dir(QDir::currentPath() + "/bench-files-XXXXXX");
    return dir;
}

// The file of the size in the folder, written once per size through our writer.
QString runFile(int points, int cycles) {
    const QString name = folder().filePath(QString("run_%1x%2.dt2").arg(points).arg(cycles));
    if (!QFile::exists(name)) SavePositioningFile(name, TMeasurementHeader(), makeRun(points, cycles));
    return name;
}

std::vector<char> readAll(const char* path) {
    const int fd = ::open(path, O_RDONLY);
    struct stat st {};
    ::fstat(fd, &st);
    std::vector<char> bytes(size_t(st.st_size));
    const ssize_t got = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    if (got != ssize_t(bytes.size())) std::abort();
    return bytes;
}

void Load(benchmark::State& state) {
    const QString name = runFile(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        TCykl run;
        LoadPositioningFile(run, name, nullptr);
        benchmark::DoNotOptimize(run);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(name).size());
}

// The anchor decodes with no checks at all: counts and lengths are trusted.
void Load_anchor(benchmark::State& state) {
    const QByteArray path = runFile(int(state.range(0)), int(state.range(1))).toLocal8Bit();
    for (auto _ : state) {
        const std::vector<char> bytes = readAll(path.constData());
        const char* p = bytes.data() + TMeasurementHeader::Size;
        TCykl run;
        int32_t cycles;
        std::memcpy(&cycles, p, 4);
        p += 4;
        for (int32_t c = 0; c < cycles; ++c) {
            TPunkt& pts = run.Add().Punkt;
            int32_t n;
            std::memcpy(&n, p, 4);
            p += 4;
            for (int32_t k = 0; k < n; ++k) {
                TPunktItem& it = pts.Add();
                std::memcpy(&it.Dystans, p, 8);
                std::memcpy(&it.Xa, p + 8, 8);
                std::memcpy(&it.Xr, p + 16, 8);
                p += 24;
            }
        }
        benchmark::DoNotOptimize(run);
    }
}

void Load_refBareRead(benchmark::State& state) {
    const QByteArray path = runFile(int(state.range(0)), int(state.range(1))).toLocal8Bit();
    for (auto _ : state) {
        const std::vector<char> bytes = readAll(path.constData());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void Save(benchmark::State& state) {
    const TCykl run = makeRun(int(state.range(0)), int(state.range(1)));
    const QString name = folder().filePath("save.dt2");
    for (auto _ : state) SavePositioningFile(name, TMeasurementHeader(), run);
}

// The same bytes, made beforehand, written into a temporary beside the target, synced, renamed.
void Save_anchor(benchmark::State& state) {
    const QString source = runFile(int(state.range(0)), int(state.range(1)));
    const std::vector<char> bytes = readAll(source.toLocal8Bit().constData());
    const QByteArray target = folder().filePath("save_anchor.dt2").toLocal8Bit();
    const QByteArray temp = target + ".tmp";
    for (auto _ : state) {
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size())) std::abort();
        ::fdatasync(fd);
        ::close(fd);
        ::rename(temp.constData(), target.constData());
    }
}

#define SIZES                                                                                  \
    ->ArgNames({"points", "cycles"})                                                           \
        ->Args({25, 2})                                                                        \
        ->Args({250, 10})                                                                      \
        ->Args({2500, 10})                                                                     \
        ->Args({2500, 100})                                                                    \
        ->Args({25000, 10})                                                                    \
        ->Unit(benchmark::kMicrosecond)
BENCHMARK(Load) SIZES;
BENCHMARK(Load_anchor) SIZES;
BENCHMARK(Load_refBareRead) SIZES;
BENCHMARK(Save) SIZES;
BENCHMARK(Save_anchor) SIZES;

}  // namespace
