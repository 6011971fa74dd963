// Filters that change the case of the ASCII letters of a byte stream and pass every other byte
// unchanged; for use in a DataFilterer. They hold nothing back.
#pragma once

#include "foundation/data/DataReceiver.h"

namespace Ascii {

// "A" to "Z" become "a" to "z".
class CaseLoweringFilter : public DataFilter {
 public:
  void Filter(Input& input, Output& output) override;
};

// "a" to "z" become "A" to "Z".
class CaseRaisingFilter : public DataFilter {
 public:
  void Filter(Input& input, Output& output) override;
};

}  // namespace Ascii
