#include "foundation/data/Base64Decoder.h"

#include "foundation/platform/StandardExceptions.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

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

// For each place in a group of four characters, every byte value's six bits already placed in
// the group's three output bytes, laid out as they go to memory, so that the combined group is
// stored with one copy of four bytes. A byte outside the alphabet sets a bit of the fourth byte
// instead, which no character sets, so one test of the combined group finds any of the four.
struct PlacedTables {
  std::uint32_t notInAlphabet;
  std::uint32_t places[4][256];
};

std::uint32_t InMemoryOrder(std::uint32_t bits24, unsigned char fourth) noexcept {
  const unsigned char bytes[4] = {static_cast<unsigned char>(bits24 >> 16),
                                  static_cast<unsigned char>(bits24 >> 8),
                                  static_cast<unsigned char>(bits24), fourth};
  std::uint32_t word;
  std::memcpy(&word, bytes, 4);
  return word;
}

PlacedTables MakePlacedTables() noexcept {
  PlacedTables tables{};
  tables.notInAlphabet = InMemoryOrder(0, 0x80);
  for (unsigned place = 0; place < 4; ++place) {
    for (unsigned byte = 0; byte < 256; ++byte) {
      const std::int8_t position = kDecodingTable[byte];
      tables.places[place][byte] =
          position < 0 ? tables.notInAlphabet
                       : InMemoryOrder(static_cast<std::uint32_t>(position) << (18 - 6 * place), 0);
    }
  }
  return tables;
}

// Made on first use, so that a decoder run from another file's static initialisation finds
// them made.
const PlacedTables& Placed() noexcept {
  static const PlacedTables tables = MakePlacedTables();
  return tables;
}

// The three bytes of four characters in memory order, and a fourth byte that is zero unless one
// of the four is not in the alphabet.
inline std::uint32_t Group(const PlacedTables& tables, const char* in) noexcept {
  return tables.places[0][static_cast<unsigned char>(in[0])] |
         tables.places[1][static_cast<unsigned char>(in[1])] |
         tables.places[2][static_cast<unsigned char>(in[2])] |
         tables.places[3][static_cast<unsigned char>(in[3])];
}

// Decodes whole groups of four alphabet characters while they come, with no bits held from
// before. Each group writes four bytes, its fourth overwritten by the next group, so the output
// needs one byte to spare. Stops at the first group with a byte outside the alphabet.
void DecodeAlignedGroups(const char*& in, const char* inEnd, char*& out, const char* outLimit) {
  if (outLimit - out < 4) return;
  const PlacedTables& tables = Placed();
  std::ptrdiff_t groups = std::min((inEnd - in) / 4, (outLimit - out - 1) / 3);
  // Two groups a round, so that the lookups of one overlap the other's stores.
  for (; groups >= 2; groups -= 2) {
    const std::uint32_t first = Group(tables, in), second = Group(tables, in + 4);
    if ((first | second) & tables.notInAlphabet) break;
    std::memcpy(out, &first, 4);
    std::memcpy(out + 3, &second, 4);
    in += 8;
    out += 6;
  }
  for (; groups > 0; --groups) {
    const std::uint32_t bytes = Group(tables, in);
    if (bytes & tables.notInAlphabet) break;
    std::memcpy(out, &bytes, 4);
    in += 4;
    out += 3;
  }
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
    // goes through here without the per-character bookkeeping, and through the table of placed
    // bits when no bits are held, as between lines of whole groups.
    if (count == 0) {
      DecodeAlignedGroups(in, input.end, out, output.limit);
    } else {
      std::ptrdiff_t groups = std::min((input.end - in) / 4, (output.limit - out) / 3);
      for (; groups > 0; --groups) {
        const std::int32_t a = Lookup(in[0]), b = Lookup(in[1]), c = Lookup(in[2]),
                           d = Lookup(in[3]);
        if ((a | b | c | d) < 0) break;
        bits = bits << 24 | static_cast<std::uint32_t>(a << 18 | b << 12 | c << 6 | d);
        out[0] = static_cast<char>(bits >> (count + 16));
        out[1] = static_cast<char>(bits >> (count + 8));
        out[2] = static_cast<char>(bits >> count);
        in += 4;
        out += 3;
      }
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
