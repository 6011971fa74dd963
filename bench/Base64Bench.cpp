// Decoding 2 MiB of Base64 text in 64-character LF-terminated lines: Base64DecodingDataMaker fed
// line by line as a LineMaker feeds it, against a plain table-driven loop over the whole text
// and, where available, OpenSSL's EVP_DecodeBlock line by line.
#include <benchmark/benchmark.h>
#ifdef QVX_BENCH_OPENSSL
#include <openssl/evp.h>
#endif

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/data/Base64DecodingDataMaker.h"
#include "foundation/data/Base64EncodingLineMaker.h"
#include "foundation/data/VectorAppender.h"

namespace {

constexpr std::size_t kLineCount = ((2u << 20) + 64) / 65;  // 65 bytes a line with its LF

struct Sample {
  std::vector<char> bytes;
  std::string text;
};

// Joins the encoder's lines with LF.
struct TextCollector : LineReceiver {
  void StartLines(std::uint64_t) override {}
  void LineData(const char* begin, const char* end) override { text.append(begin, end); }
  void LineEnd(std::uint64_t, std::uint64_t) override { text += '\n'; }
  void EndLines(std::uint64_t) override {}
  std::string text;
};

// Every line full, so that a decoder working on one padded block at a time sees no padding.
Sample MakeSample() {
  Sample sample;
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < kLineCount * 48; ++i) {
    state = state * 1103515245u + 12345u;
    sample.bytes.push_back(static_cast<char>(state >> 24));
  }
  TextCollector collector;
  Base64EncodingLineMaker maker(collector);
  maker.StartData(0);
  maker.Receive(sample.bytes.data(), sample.bytes.data() + sample.bytes.size());
  maker.EndData();
  sample.text = std::move(collector.text);
  sample.text.pop_back();  // the empty last line and its line end
  return sample;
}

void DecodeOurs(const std::string& text, std::vector<char>& target) {
  target.clear();
  VectorAppender sink(target);
  Base64DecodingDataMaker maker(sink);
  LineReceiver& lines = maker;
  lines.StartLines(0);
  const char* line = text.data();
  const char* const end = text.data() + text.size();
  while (line != end) {
    const auto length = static_cast<std::size_t>(end - line);
    const char* terminator = static_cast<const char*>(std::memchr(line, '\n', length));
    if (terminator == nullptr) terminator = end;
    lines.LineData(line, terminator);
    const auto offset = static_cast<std::uint64_t>(terminator - text.data());
    if (terminator == end) break;
    lines.LineEnd(offset, offset + 1);
    line = terminator + 1;
  }
  lines.EndLines(text.size());
}

constexpr std::array<std::int8_t, 256> MakeTable() {
  std::array<std::int8_t, 256> table{};
  for (auto& entry : table) entry = -1;
  const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int i = 0; i < 64; ++i)
    table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
  return table;
}
constexpr std::array<std::int8_t, 256> kTable = MakeTable();

// Returns the number of bytes written.
std::size_t DecodeTable(const std::string& text, char* out) {
  char* const start = out;
  std::uint32_t bits = 0;
  unsigned count = 0;
  for (const char byte : text) {
    const std::int32_t value = kTable[static_cast<unsigned char>(byte)];
    if (value < 0) continue;
    bits = bits << 6 | static_cast<std::uint32_t>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      *out++ = static_cast<char>(bits >> count);
    }
  }
  return static_cast<std::size_t>(out - start);
}

#ifdef QVX_BENCH_OPENSSL
std::size_t DecodeOpenSSL(const std::string& text, char* out) {
  char* const start = out;
  for (std::size_t line = 0; line < text.size(); line += 65) {
    const int written =
        EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out),
                        reinterpret_cast<const unsigned char*>(text.data() + line), 64);
    if (written < 0) return 0;
    out += written;
  }
  return static_cast<std::size_t>(out - start);
}
#endif

const Sample& CheckedSample() {
  static const Sample sample = [] {
    Sample made = MakeSample();
    std::vector<char> ours;
    DecodeOurs(made.text, ours);
    std::vector<char> table(made.bytes.size());
    table.resize(DecodeTable(made.text, table.data()));
    bool same = ours == made.bytes && table == made.bytes;
#ifdef QVX_BENCH_OPENSSL
    std::vector<char> openssl(made.bytes.size());
    openssl.resize(DecodeOpenSSL(made.text, openssl.data()));
    same = same && openssl == made.bytes;
#endif
    if (!same) {
      std::fprintf(stderr, "the Base64 decoders disagree\n");
      std::abort();
    }
    return made;
  }();
  return sample;
}

void Ours(benchmark::State& state) {
  const Sample& sample = CheckedSample();
  std::vector<char> target;
  target.reserve(sample.bytes.size());
  for (auto _ : state) {
    DecodeOurs(sample.text, target);
    benchmark::DoNotOptimize(target.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.text.size()));
}

void Table(benchmark::State& state) {
  const Sample& sample = CheckedSample();
  std::vector<char> target(sample.bytes.size());
  for (auto _ : state) benchmark::DoNotOptimize(DecodeTable(sample.text, target.data()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.text.size()));
}

#ifdef QVX_BENCH_OPENSSL
void OpenSSL(benchmark::State& state) {
  const Sample& sample = CheckedSample();
  std::vector<char> target(sample.bytes.size());
  for (auto _ : state) benchmark::DoNotOptimize(DecodeOpenSSL(sample.text, target.data()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.text.size()));
}
#endif

}  // namespace

BENCHMARK(Ours)->Name("Base64Decode2MiB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Table)->Name("Base64Decode2MiB/table")->Unit(benchmark::kMillisecond);
#ifdef QVX_BENCH_OPENSSL
BENCHMARK(OpenSSL)->Name("Base64Decode2MiB/openssl")->Unit(benchmark::kMillisecond);
#endif
