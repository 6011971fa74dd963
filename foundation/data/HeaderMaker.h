// The header stage of a MessageMaker: a LineReceiver that keeps every header line it is fed,
// in order, without its terminator. A line cut off by the end of the stream is kept as well.
#pragma once

#include "foundation/data/DataReceiver.h"
#include "foundation/text/AutoUString.h"

#include <cstdint>
#include <vector>

class HeaderMaker : public LineReceiver {
 public:
  void StartLines(std::uint64_t position) override;
  void LineData(const char* begin, const char* end) override;
  void LineEnd(std::uint64_t first, std::uint64_t last) override;
  void EndLines(std::uint64_t position) override;

  [[nodiscard]] const std::vector<AutoUString<UTF8>>& Lines() const noexcept { return lines_; }

 private:
  std::vector<AutoUString<UTF8>> lines_;
  AutoUString<UTF8> currentLine_;
  bool lineOpen_ = false;
};
