// Throughput of the serial frame parser over a buffer of mixed frames, fed in the 4096-byte
// reads of a polling tick, with the FIFO drained after each read as the reading thread does.
// Its anchor takes the same bytes in the same reads through a plain byte loop that only
// follows the position after the last sync byte and sums what it passes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "foundations/SharedGlobals.h"
#include "instrument/MemoryFifo.h"
#include "instrument/SerialFrameParser.h"
#include "platform/Sync.h"

namespace {

void appendBlock(std::vector<uint8_t>& out, std::initializer_list<uint8_t> block) {
    unsigned sum = 0;
    for (uint8_t b : block) {
        out.push_back(b);
        sum += b;
    }
    out.push_back(static_cast<uint8_t>(-static_cast<int>(sum & 0xFF)));
}

std::vector<uint8_t> mixedFrames(size_t bytes) {
    std::mt19937 rng(7);
    std::vector<uint8_t> out;
    int32_t count = 0;
    while (out.size() < bytes) {
        const int kind = static_cast<int>(rng() % 8);
        const uint8_t status = kind == 1 ? 0x39 : 0x19;
        const uint8_t flags = kind == 2 ? 0x08 : 0x00;
        out.push_back(0xAA);
        appendBlock(out, {status, flags});
        appendBlock(out, {80});
        count += static_cast<int32_t>(rng() % 200) - 100;
        const auto c = static_cast<uint32_t>(count);
        appendBlock(out, {uint8_t(c >> 24), uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        if (status & 0x20) appendBlock(out, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        if (flags & 0x08) appendBlock(out, {0, 10, 0, 20, 0, 30, 0, 40, 50, 60});
        if (kind == 3) out.insert(out.end(), {0x00, 0x13, 0x55});  // bytes between frames
    }
    return out;
}

void BM_FrameParser(benchmark::State& state) {
    ResetSharedGlobals();
    platform::ManualResetEvent sample, meteo;
    SampleEvent = &sample;
    MeteoDataEvent = &meteo;
    ReadingStopped = false;
    const std::vector<uint8_t> data = mixedFrames(1 << 20);
    TMemoryFifo fifo;
    instrument::SerialFrameParser parser(&fifo, nullptr);
    uint64_t sum = 0;
    for (auto _ : state) {
        for (size_t at = 0; at < data.size(); at += 4096) {
            const int n = static_cast<int>(std::min<size_t>(4096, data.size() - at));
            parser.feed(data.data() + at, n);
            while (!fifo.Empty()) sum += fifo.Get();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(data.size()));
    SampleEvent = MeteoDataEvent = nullptr;
}
BENCHMARK(BM_FrameParser);

void BM_FrameParser_anchor(benchmark::State& state) {
    const std::vector<uint8_t> data = mixedFrames(1 << 20);
    uint64_t sum = 0;
    unsigned position = 0;
    for (auto _ : state) {
        for (size_t at = 0; at < data.size(); at += 4096) {
            const size_t end = std::min<size_t>(at + 4096, data.size());
            for (size_t i = at; i < end; ++i) {
                const uint8_t b = data[i];
                position = b == 0xAA ? 0 : position + 1;
                sum += b ^ position;
            }
            benchmark::DoNotOptimize(sum);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(data.size()));
}
BENCHMARK(BM_FrameParser_anchor);

}  // namespace
