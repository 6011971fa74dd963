// The way every built-in text of the dialogs reaches the screen: its English wording is looked
// up for an override, and the text found is filled with the values of the moment.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"
#include "text/format/FormatString.h"
#include "text/format/PreparedFormat.h"

#include <initializer_list>
#include <vector>

// What a text shows when the override found for it is rejected by the format engine.
inline constexpr char kInvalidString[] = "<Invalid String>";

// values go to the variables in the order the built-in text names them. Throws the format
// errors when the override found does not take exactly those values.
[[nodiscard]] UString8 FormatBuiltIn(ByteRange builtIn, const std::vector<ByteRange>& values = {});

// The same, but a rejected override comes out as kInvalidString: for the texts a dialog must show
// whatever a translation file holds.
[[nodiscard]] UString8 FormatBuiltInOrMarker(ByteRange builtIn,
                                             const std::vector<ByteRange>& values = {});

// A built-in text looked up once and filled many times: the texts of one refresh all see the
// same overrides, and a list of a thousand items should not look the wording up a thousand times.
class BuiltInFormat {
 public:
  explicit BuiltInFormat(ByteRange builtIn);
  // The prepared text points into the looked-up one, which may be stored inline.
  BuiltInFormat(const BuiltInFormat&) = delete;
  BuiltInFormat& operator=(const BuiltInFormat&) = delete;

  // As FormatBuiltInOrMarker with the override in force when this was made.
  [[nodiscard]] UString8 FillOrMarker(std::initializer_list<ByteRange> values) const;
  // The text found for the built-in one, which the fills follow.
  [[nodiscard]] ByteRange Text() const noexcept { return format_.text; }

 private:
  FormatString format_;
  PreparedFormat prepared_;
};
