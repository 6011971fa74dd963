// Override files: the table finds every key a plain reading of the lines finds, with the same
// value, and no other; a missing key throws FormatOverrideNotFound.
#include "fuzz/FuzzCheck.h"
#include "fuzz/OverrideModel.h"

#include "text/format/FormatErrors.h"
#include "text/format/OverrideTable.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  const OverrideTable table(file, "fuzz.xlat");
  const std::map<std::string, std::string> model = ModelOverrides(file);
  for (const auto& [key, value] : model) {
    QVX_FUZZ_CHECK(table.HasOverride(key));
    const ByteRange found = table.GetOverride(key);
    QVX_FUZZ_CHECK(std::string(found.begin, found.end) == value);
    // A key one byte longer or shorter is another key.
    for (const std::string& other : {key + '\t', key.substr(0, key.size() - 1)}) {
      if (model.count(other) != 0) continue;
      QVX_FUZZ_CHECK(!table.HasOverride(other));
      bool thrown = false;
      try {
        (void)table.GetOverride(other);
      } catch (const FormatOverrideNotFound&) {
        thrown = true;
      }
      QVX_FUZZ_CHECK(thrown);
    }
  }
  return 0;
}
