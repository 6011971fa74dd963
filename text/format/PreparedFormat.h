// A format text read once and filled many times: the result, or the error, that BindArguments
// followed by FormatWith gives for each set of values, without walking and binding the text
// again each time. For a wording that a list fills once per item.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"

#include <cstddef>
#include <vector>

class PreparedFormat {
 public:
  // Borrows format, which must outlive this. Never throws a format error: a text that cannot
  // be filled throws when it is filled, as it would unprepared.
  explicit PreparedFormat(ByteRange format);

  // values is a (begin, end) pair, so that a caller's fixed few values need no vector.
  [[nodiscard]] AutoUString<UTF8> Fill(const ByteRange* valuesBegin,
                                       const ByteRange* valuesEnd) const;
  [[nodiscard]] AutoUString<UTF8> Fill(const std::vector<ByteRange>& values) const {
    return Fill(values.data(), values.data() + values.size());
  }

 private:
  // Literal text, a special variable's replacement, or a variable filled from one of values.
  struct Piece {
    ByteRange text;
    // Into groups_, or kFixed for text.
    std::size_t group;
  };
  static constexpr std::size_t kFixed = static_cast<std::size_t>(-1);

  ByteRange format_;
  // Set when the text is well formed; otherwise every fill takes the unprepared way.
  bool prepared_ = false;
  std::size_t valueCount_ = 0;
  std::vector<Piece> pieces_;
  // For each variable name, the positions in values of the occurrences bound to it.
  std::vector<std::vector<std::size_t>> groups_;
};
