// A filter that lowers the case of the ASCII letters of a byte stream and passes every other byte
// unchanged; the time lexer reads reserved words through it. It holds nothing back.
#pragma once

#include "foundation/data/DataReceiver.h"

namespace Ascii {

// "A" to "Z" become "a" to "z".
class CaseLoweringFilter : public DataFilter {
 public:
  void Filter(Input& input, Output& output) override;
};

}  // namespace Ascii
