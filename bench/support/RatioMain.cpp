// Shared main of the benchmark programs: runs them as Google Benchmark does, then prints each
// figure of ours beside its anchor from the same run. A benchmark named "X/args" is ours; its
// anchor is "X_anchor/args". Names with "_ref" (a bare read, say) are further references, printed by the
// benchmark library only. With --benchmark_repetitions the medians are used.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred) continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            const bool single = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
            if (!median && !single) continue;
            const std::string name = r.run_name.str();
            if (!times_.count(name)) order_.push_back(name);
            times_[name] = r.GetAdjustedRealTime();
            units_[name] = benchmark::GetTimeUnitString(r.time_unit);
        }
    }

    void PrintRatios() const {
        std::printf("\n%-40s %14s %14s %8s\n", "ours (median real time)", "ours", "anchor", "ratio");
        for (const std::string& name : order_) {
            const size_t slash = name.find('/');
            const std::string base = name.substr(0, slash);
            const std::string args = slash == std::string::npos ? "" : name.substr(slash);
            if (base.find("_anchor") != std::string::npos || base.find("_ref") != std::string::npos) continue;
            const auto anchor = times_.find(base + "_anchor" + args);
            const std::string unit = units_.at(name);
            if (anchor == times_.end()) {
                std::printf("%-40s %11.2f %-2s %14s %8s\n", name.c_str(), times_.at(name), unit.c_str(), "-", "-");
                continue;
            }
            std::printf("%-40s %11.2f %-2s %11.2f %-2s %7.2fx\n", name.c_str(), times_.at(name), unit.c_str(),
                        anchor->second, units_.at(anchor->first).c_str(), times_.at(name) / anchor->second);
        }
    }

private:
    std::vector<std::string> order_;
    std::map<std::string, double> times_;
    std::map<std::string, std::string> units_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
