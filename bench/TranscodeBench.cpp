// The UTF-8 to UTF-16 stream transcoder against ICU's u_strFromUTF8 on 2 MiB of mixed ASCII,
// accented and CJK text.
#include <benchmark/benchmark.h>
#include <unicode/ustring.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/text/StreamTranscoder.h"

namespace {

const std::string& MixedText() {
  static const std::string text = [] {
    const std::string pieces[] = {
        "Please save your work before the update. ",
        "Veuillez enregistrer votre travail, d\xC3\xA9j\xC3\xA0 ",
        "\xE8\xAF\xB7\xE4\xBF\x9D\xE5\xAD\x98\xE6\x82\xA8\xE7\x9A\x84\xE5\xB7\xA5\xE4\xBD\x9C ",
        "Stra\xC3\x9F"
        "e \xC3\xBC"
        "ber ",
        "\xF0\x9F\x98\x80 "};
    std::string result;
    for (std::size_t n = 0; result.size() < (2u << 20); ++n) result += pieces[n % 5];
    return result;
  }();
  return text;
}

void Ours(benchmark::State& state) {
  const std::string& text = MixedText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(Transcode<UTF16, UTF8>(text.data(), text.data() + text.size()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void Icu(benchmark::State& state) {
  const std::string& text = MixedText();
  for (auto _ : state) {
    // Sized for the worst case, as a caller without a preflight pass would.
    std::vector<UChar> target(text.size());
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(target.data(), static_cast<int32_t>(target.size()), &length, text.data(),
                  static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) {
      std::fprintf(stderr, "u_strFromUTF8 failed: %s\n", u_errorName(status));
      std::abort();
    }
    benchmark::DoNotOptimize(target.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK(Ours)->Name("UTF-8 to UTF-16 2 MiB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Icu)->Name("UTF-8 to UTF-16 2 MiB/ICU u_strFromUTF8")->Unit(benchmark::kMillisecond);
