// Filling in format texts looked up through override tables. The input is split at zero bytes:
// an older override file, a newer one, the built-in text and the values. The context must give
// the newer file's value, else the older's, else the built-in text; filling that text in must
// give what a plain model gives, or a format error exactly where the model finds one.
#include "fuzz/FuzzCheck.h"
#include "fuzz/OverrideModel.h"

#include "text/format/FormatArguments.h"
#include "text/format/FormatErrors.h"
#include "text/format/FormatOverrideContext.h"
#include "text/format/FormatOverrideScope.h"
#include "text/format/FormatWith.h"
#include "text/format/OverrideTable.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

std::optional<std::string> SpecialText(const std::string& name) {
  static const std::map<std::string, std::string> kSpecial = {{"_cbrace", "}"},  {"_cr", "\r"},
                                                              {"_crlf", "\r\n"}, {"_lf", "\n"},
                                                              {"_obrace", "{"},  {"_tab", "\t"}};
  const auto found = kSpecial.find(name);
  if (found == kSpecial.end()) return std::nullopt;
  return found->second;
}

// The filled-in text, or nothing where filling in must fail.
std::optional<std::string> ModelFormat(const std::string& format,
                                       const std::vector<std::string>& values) {
  struct Piece {
    bool variable;
    std::string text;
  };
  std::vector<Piece> pieces;
  std::map<std::string, std::string> firstValue;  // the value that sorts first, per name
  std::size_t nextValue = 0;
  for (std::size_t at = 0; at < format.size();) {
    if (format[at] != '{') {
      const std::size_t brace = std::min(format.find('{', at), format.size());
      pieces.push_back({false, format.substr(at, brace - at)});
      at = brace;
      continue;
    }
    const std::size_t close = format.find('}', at + 1);
    if (close == std::string::npos) return std::nullopt;
    const std::string name = format.substr(at + 1, close - at - 1);
    at = close + 1;
    if (name.empty()) return std::nullopt;
    if (name[0] == '_') {
      const std::optional<std::string> special = SpecialText(name);
      if (!special) return std::nullopt;
      pieces.push_back({false, *special});
      continue;
    }
    if (!std::all_of(name.begin() + 1, name.end(), [](char c) {
          return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        })) {
      return std::nullopt;
    }
    if (nextValue == values.size()) return std::nullopt;
    const std::string& value = values[nextValue++];
    const auto [found, added] = firstValue.emplace(name, value);
    if (!added && value < found->second) found->second = value;
    pieces.push_back({true, name});
  }
  if (nextValue != values.size()) return std::nullopt;
  std::string result;
  for (const Piece& piece : pieces) result += piece.variable ? firstValue[piece.text] : piece.text;
  return result;
}

std::string ModelLookup(const std::string& key, const std::string& older,
                        const std::string& newer) {
  for (const std::string* file : {&newer, &older}) {
    const std::map<std::string, std::string> overrides = ModelOverrides(*file);
    const auto found = overrides.find(key);
    if (found != overrides.end()) return found->second;
  }
  return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::vector<std::string> pieces = SplitInput(data, size, '\0');
  pieces.resize(std::max<std::size_t>(pieces.size(), 3));
  const std::string& older = pieces[0];
  const std::string& newer = pieces[1];
  const std::string& builtIn = pieces[2];
  const std::vector<std::string> values(pieces.begin() + 3, pieces.end());

  FormatOverrideContext context;
  const OverrideTable olderTable(older, "older.xlat");
  const OverrideTable newerTable(newer, "newer.xlat");
  const FormatOverrideScope olderScope(olderTable, context);
  const FormatOverrideScope newerScope(newerTable, context);
  const AutoUString<UTF8> format = context.GetOverride(builtIn);
  QVX_FUZZ_CHECK(std::string(format.begin(), format.end()) == ModelLookup(builtIn, older, newer));

  std::optional<std::string> result;
  try {
    const AutoUString<UTF8> filled = FormatWith(
        format, BindArguments(format, std::vector<ByteRange>(values.begin(), values.end())));
    result.emplace(filled.begin(), filled.end());
  } catch (const FormatError&) {
  }
  QVX_FUZZ_CHECK(result == ModelFormat(std::string(format.begin(), format.end()), values));
  return 0;
}
