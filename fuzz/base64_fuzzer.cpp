// Base64 from the client: the decoding stage behind a line maker, fed in pieces of a size the
// first byte picks, gives what a plain model gives (six bits per alphabet character, every
// other byte skipped, bits short of a byte dropped); and any bytes, encoded whole or as lines,
// decode back to themselves, the whole encoding being the model's.
#include "fuzz/FuzzCheck.h"

#include "foundation/data/AppendBase64.h"
#include "foundation/data/Base64DecodingDataMaker.h"
#include "foundation/data/Base64EncodingLineMaker.h"
#include "foundation/data/LineMaker.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string ModelDecode(const std::string& text) {
  std::string bytes;
  unsigned bits = 0;
  int count = 0;
  for (const char c : text) {
    const char* found = c == '\0' ? nullptr : std::strchr(kAlphabet, c);
    if (found == nullptr) continue;
    bits = (bits << 6 | static_cast<unsigned>(found - kAlphabet)) & 0xFFFFFF;
    count += 6;
    if (count >= 8) {
      count -= 8;
      bytes.push_back(static_cast<char>(bits >> count));
    }
  }
  return bytes;
}

std::string ModelEncode(const std::string& bytes) {
  std::string text;
  for (std::size_t at = 0; at < bytes.size(); at += 3) {
    const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
    unsigned group = 0;
    for (std::size_t i = 0; i < 3; ++i)
      group = group << 8 | (i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u);
    for (std::size_t i = 0; i < 4; ++i)
      text.push_back(i <= count ? kAlphabet[(group >> (18 - 6 * i)) & 63] : '=');
  }
  return text;
}

struct StringSink : DataReceiver {
  void StartData(std::uint64_t) override {}
  void Receive(const char* begin, const char* end) override { bytes.append(begin, end); }
  void EndData() override {}
  std::string bytes;
};

// Collects the lines with the line ends the decoder never sees, as a file would hold them.
struct LineSink : LineReceiver {
  void StartLines(std::uint64_t) override {}
  void LineData(const char* begin, const char* end) override { text.append(begin, end); }
  void LineEnd(std::uint64_t, std::uint64_t) override { text += "\r\n"; }
  void EndLines(std::uint64_t) override {}
  std::string text;
};

std::string Decode(const std::string& text, std::size_t pieceSize) {
  StringSink sink;
  Base64DecodingDataMaker decoder(sink);
  LineMaker lines(decoder);
  lines.StartData(0);
  for (std::size_t at = 0; at < text.size(); at += pieceSize) {
    const std::size_t count = std::min(pieceSize, text.size() - at);
    lines.Receive(text.data() + at, text.data() + at + count);
  }
  lines.EndData();
  return sink.bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t pieceSize = 1 + data[0] % 16;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  QVX_FUZZ_CHECK(Decode(input, pieceSize) == ModelDecode(input));

  std::string encoded;
  AppendBase64(input.data(), input.data() + input.size(), encoded);
  QVX_FUZZ_CHECK(encoded == ModelEncode(input));
  QVX_FUZZ_CHECK(Decode(encoded, pieceSize) == input);

  LineSink lines;
  Base64EncodingLineMaker encoder(lines);
  encoder.StartData(0);
  encoder.Receive(input.data(), input.data() + input.size());
  encoder.EndData();
  QVX_FUZZ_CHECK(Decode(lines.text, pieceSize) == input);
  return 0;
}
