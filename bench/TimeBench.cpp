// ParseZonedDateTime per call (its tables are built once, before the first timed call), with
// the C library's strptime on the same text as the anchor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>

#include "text/time/TimeParser.h"

namespace {

const char kText[] = "Tue, 05 Mar 2024 07:08:09 +0100";

void Ours(benchmark::State& state) {
  benchmark::DoNotOptimize(ParseZonedDateTime(kText, kText + std::strlen(kText)));
  for (auto _ : state)
    benchmark::DoNotOptimize(ParseZonedDateTime(kText, kText + std::strlen(kText)));
}

void Strptime(benchmark::State& state) {
  for (auto _ : state) {
    std::tm fields{};
    benchmark::DoNotOptimize(strptime(kText, "%a, %d %b %Y %H:%M:%S %z", &fields));
    benchmark::DoNotOptimize(fields);
  }
}

}  // namespace

BENCHMARK(Ours)->Name("mail date-time parse/ours");
BENCHMARK(Strptime)->Name("mail date-time parse/libc strptime");
