// A LineReceiver for tests that writes what it is told as one comparable transcript, e.g.
// "S0 D:a E1-3 D:b L4". Consecutive LineData pieces are joined, so the transcript does not
// depend on how the stream was cut; an empty piece is recorded as a fault.
#pragma once

#include <string>

#include "foundation/data/DataReceiver.h"

class LineRecorder : public LineReceiver {
 public:
  void StartLines(std::uint64_t position) override { Add("S" + std::to_string(position)); }
  void LineData(const char* begin, const char* end) override {
    if (begin == end) Add("EMPTY-PIECE");
    if (inData_) {
      transcript.append(begin, end);
    } else {
      Add("D:" + std::string(begin, end));
    }
    inData_ = true;
  }
  void LineEnd(std::uint64_t first, std::uint64_t last) override {
    Add("E" + std::to_string(first) + "-" + std::to_string(last));
  }
  void EndLines(std::uint64_t position) override { Add("L" + std::to_string(position)); }

  std::string transcript;

 private:
  void Add(const std::string& event) {
    if (!transcript.empty()) transcript += ' ';
    transcript += event;
    inData_ = false;
  }
  bool inData_ = false;
};
