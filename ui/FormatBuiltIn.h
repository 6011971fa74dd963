// The way every built-in text of the dialogs reaches the screen: its English wording is looked
// up for an override, and the text found is filled with the values of the moment.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/AutoUString.h"

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
