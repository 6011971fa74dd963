// The translation-file checker: reads an override file with the program's own line reader,
// override table and format engine, and reports, line by line, what the program would do with
// each line that its author probably did not mean. The report is text, one finding per line,
// "file:line: kind: explanation", then a summary line per file.
#pragma once

#include "foundation/data/ByteRange.h"

#include <cstddef>
#include <string>
#include <vector>

class TranslationChecker {
 public:
  // At most this many findings are written per file; the rest are only counted.
  static constexpr std::size_t kShownFindings = 100;

  // Reads the file as the program loads it and checks it; the file errors are thrown. Returns
  // the number of findings.
  std::size_t CheckFile(const std::string& path);
  // The same check of bytes already read, reported under name.
  std::size_t CheckBytes(ByteRange bytes, const std::string& name);

  // What has been reported so far; taken by the caller.
  [[nodiscard]] std::string TakeReport();

 private:
  std::string report_;
};
