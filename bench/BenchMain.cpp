// Runs every benchmark, then prints each of ours against its anchors. A benchmark named
// "<group>/ours" is ours; every other "<group>/<anchor>" is compared with it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      // Without the suffixes that a fixed iteration count or manual timing add to the name.
      benchmark::BenchmarkName plain = run.run_name;
      plain.iterations.clear();
      plain.time_type.clear();
      const std::string name = plain.str();
      const std::size_t slash = name.rfind('/');
      if (slash == std::string::npos) continue;
      groups_[name.substr(0, slash)].emplace_back(name.substr(slash + 1),
                                                  run.GetAdjustedRealTime());
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nOurs against the anchors (time ratio; below 1 means ours is faster):\n");
    for (const auto& [group, entries] : groups_) {
      double ours = 0;
      for (const auto& [who, time] : entries) {
        if (who == "ours") ours = time;
      }
      if (ours == 0) continue;
      for (const auto& [who, time] : entries) {
        if (who != "ours")
          std::printf("  %-28s ours / %-16s = %6.2f\n", group.c_str(), who.c_str(), ours / time);
      }
    }
  }

 private:
  std::map<std::string, std::vector<std::pair<std::string, double>>> groups_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
