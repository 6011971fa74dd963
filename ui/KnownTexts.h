// The catalogue of every built-in English text the program looks up for an override: who shows
// it, the variables the program fills in it, and what an override the format engine rejects
// does there. It is read from the very tables the program shows its texts from; the translation
// checker is its user.
#pragma once

#include "foundation/data/ByteRange.h"

#include <vector>

enum class TextSource { kStringTable, kSummarySentence, kDeadlineText, kDialog };

struct TextUse {
  TextSource source;
  // Who shows the text, in words for a report: "action request dialog", "string table".
  const char* where;
  // False for the string table's texts that no window of this program shows.
  bool shown;
};

// Only the string table turns a rejected override into "<Invalid String>"; everywhere else the
// format error reaches the code that was showing the text.
[[nodiscard]] constexpr bool ShowsInvalidString(TextSource source) noexcept {
  return source == TextSource::kStringTable;
}

struct KnownText {
  ByteRange english;
  // The variables the program gives values to, in the order it gives them; special variables
  // such as {_tab} take none and are left out.
  std::vector<ByteRange> variables;
  // One per place that looks the text up; "OK" or "Cancel" may have several.
  std::vector<TextUse> uses;

  [[nodiscard]] bool Shown() const noexcept;
};

// A dialog's own looked-up texts, listed by the dialog's module through an accessor of its own
// (its button labels, choices and counts, in the literals the dialog itself uses).
struct DialogTextList {
  const char* dialog;
  std::vector<const char*> (*texts)();
};

// Sorted by English text in byte order, one entry per distinct text.
[[nodiscard]] const std::vector<KnownText>& KnownTexts();
// The entry whose English text is english, or nullptr.
[[nodiscard]] const KnownText* FindKnownText(ByteRange english);

// The names of a format text's variables that take values, in order of appearance. Throws the
// format errors for a brace never closed or a name the engine refuses.
[[nodiscard]] std::vector<ByteRange> ValueVariables(ByteRange format);
