#include "foundation/data/Base64Decoder.h"

#include "foundation/platform/StandardExceptions.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

// The alphabet position of each byte value, -1 for every byte that is not in the alphabet.
constexpr std::array<std::int8_t, 256> MakeDecodingTable() {
  std::array<std::int8_t, 256> table{};
  for (auto& entry : table) entry = -1;
  const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int position = 0; position < 64; ++position) {
    table[static_cast<unsigned char>(alphabet[position])] = static_cast<std::int8_t>(position);
  }
  return table;
}
constexpr std::array<std::int8_t, 256> kDecodingTable = MakeDecodingTable();

constexpr std::int32_t Lookup(char byte) noexcept {
  return kDecodingTable[static_cast<unsigned char>(byte)];
}

}  // namespace

void Base64Decoder::Filter(Input& input, Output& output) {
  const char* in = input.begin;
  char* out = output.end;
  char* const outStart = output.end;
  std::uint32_t bits = bits_;
  unsigned count = bitCount_;
  while (in != input.end) {
    // Four clean characters make three bytes whatever is held: the bulk of well-formed text
    // goes through here without the per-character bookkeeping.
    std::ptrdiff_t groups = std::min((input.end - in) / 4, (output.limit - out) / 3);
    for (; groups > 0; --groups) {
      const std::int32_t a = Lookup(in[0]), b = Lookup(in[1]), c = Lookup(in[2]), d = Lookup(in[3]);
      if ((a | b | c | d) < 0) break;
      bits = bits << 24 | static_cast<std::uint32_t>(a << 18 | b << 12 | c << 6 | d);
      out[0] = static_cast<char>(bits >> (count + 16));
      out[1] = static_cast<char>(bits >> (count + 8));
      out[2] = static_cast<char>(bits >> count);
      in += 4;
      out += 3;
    }
    if (in == input.end) break;
    const std::int32_t value = Lookup(*in);
    if (value < 0) {
      ++in;
      continue;
    }
    if (count >= 2 && out == output.limit) {
      if (out != outStart) break;
      input.begin = in;
      bits_ = bits;
      bitCount_ = static_cast<std::uint8_t>(count);
      throw DataOverflow();
    }
    ++in;
    bits = bits << 6 | static_cast<std::uint32_t>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      *out++ = static_cast<char>(bits >> count);
    }
  }
  input.begin = in;
  output.end = out;
  bits_ = bits;
  bitCount_ = static_cast<std::uint8_t>(count);
}
