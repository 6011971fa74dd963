// Hexadecimal: FromHex reads exactly the texts of digit pairs (either case) and nothing else,
// ToHex of what it read is the same text in lower case, and any bytes written by ToHex read
// back to themselves.
#include "fuzz/FuzzCheck.h"

#include "foundation/data/Hex.h"
#include "foundation/platform/ExceptionPL.h"

#include <cctype>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const std::string input(text, size);
  bool valid = size % 2 == 0;
  for (const unsigned char c : input) valid = valid && std::isxdigit(c);
  try {
    const BinaryString bytes = FromHex(text, text + size);
    QVX_FUZZ_CHECK(valid && bytes.size() == size / 2);
    std::string lower = input;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const AutoUString<UTF8> written = ToHex(bytes);
    QVX_FUZZ_CHECK(std::string(written.begin(), written.end()) == lower);
  } catch (const NotValidHEX&) {
    QVX_FUZZ_CHECK(!valid);
  }
  const AutoUString<UTF8> hex = ToHex(text, text + size);
  const BinaryString back = FromHex(hex);
  QVX_FUZZ_CHECK(std::string(back.begin(), back.end()) == input);
  return 0;
}
