#include "foundation/data/Base64Encoder.h"

#include "foundation/platform/StandardExceptions.h"

#include <cstddef>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr char Character(std::uint32_t value) noexcept { return kAlphabet[value & 63]; }

// Encodes whole groups of three bytes while there is room for their four characters; the
// caller's accumulator is empty, so nothing has to be merged in.
void EncodeGroups(const char*& in, const char* inEnd, char*& out, const char* outLimit) noexcept {
  while (inEnd - in >= 3 && outLimit - out >= 4) {
    const std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(in[0]))
                                    << 16 |
                                static_cast<std::uint32_t>(static_cast<unsigned char>(in[1])) << 8 |
                                static_cast<unsigned char>(in[2]);
    out[0] = Character(group >> 18);
    out[1] = Character(group >> 12);
    out[2] = Character(group >> 6);
    out[3] = Character(group);
    in += 3;
    out += 4;
  }
}

}  // namespace

void Base64Encoder::Filter(Input& input, Output& output) {
  const char* in = input.begin;
  char* out = output.end;
  std::uint32_t bits = bits_;
  unsigned count = bitCount_;
  for (;;) {
    while (count >= 6 && out != output.limit) {
      count -= 6;
      *out++ = Character(bits >> count);
    }
    if (count == 0) EncodeGroups(in, input.end, out, output.limit);
    if (in == input.end || out == output.limit) break;
    bits = bits << 8 | static_cast<unsigned char>(*in++);
    count += 8;
  }
  input.begin = in;
  output.end = out;
  bits_ = bits;
  bitCount_ = static_cast<std::uint8_t>(count);
}

void Base64Encoder::Flush(Output& output) {
  // A remainder of 2 bits closes a group begun by one byte ("=="), of 4 bits one begun by two
  // ("=").
  const unsigned remainder = bitCount_ % 6;
  const std::size_t padding = remainder == 2 ? 2 : remainder == 4 ? 1 : 0;
  const std::size_t needed = bitCount_ / 6 + (remainder != 0 ? 1 : 0) + padding;
  if (output.Free() < needed) throw DataOverflow();

  unsigned count = bitCount_;
  while (count >= 6) {
    count -= 6;
    *output.end++ = Character(bits_ >> count);
  }
  if (count != 0) *output.end++ = Character(bits_ << (6 - count));
  for (std::size_t i = 0; i < padding; ++i) *output.end++ = '=';
  Reset();
}
