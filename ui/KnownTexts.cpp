#include "ui/KnownTexts.h"

#include "text/format/FormatArguments.h"
#include "text/format/FormatPiece.h"
#include "ui/ActionRequestDialog.h"
#include "ui/ActionSummary.h"
#include "ui/DeadlineText.h"
#include "ui/MessageDialog.h"
#include "ui/UIStrings.h"

#include <algorithm>
#include <iterator>

namespace {

// Every dialog whose module looks texts up of its own is listed here with the accessor its
// class declares, as in {"message dialog", &MessageDialog::LookedUpTexts}.
std::vector<DialogTextList> DialogTextLists() {
  return {{"action request dialog", &ActionRequestDialog::LookedUpTexts},
          {"message dialog", &MessageDialog::LookedUpTexts}};
}

// The string table's texts that a window of this program shows, and which window.
struct ShownTableText {
  UIText text;
  const char* where;
};
constexpr ShownTableText kShownTableTexts[] = {
    {UIText::kActionRequestsTitle, "action request dialog"},
    {UIText::kTakeAllActions, "action request dialog"},
    {UIText::kActionDetails, "action request dialog"},
    {UIText::kClickSnoozeToBeReminded, "action request dialog"},
};

TextUse TableUse(UIText text) {
  const auto shown = std::find_if(std::begin(kShownTableTexts), std::end(kShownTableTexts),
                                  [text](const ShownTableText& row) { return row.text == text; });
  if (shown == std::end(kShownTableTexts)) return {TextSource::kStringTable, "string table", false};
  return {TextSource::kStringTable, shown->where, true};
}

TextUse FilledTableUse(UIFilledText text) {
  if (text == UIFilledText::kQuietMode) {
    return {TextSource::kStringTable, "quiet-mode notice", true};
  }
  return {TextSource::kStringTable, "string table", false};
}

class Catalogue {
 public:
  void Add(const char* english, TextUse use) {
    const ByteRange key(english);
    auto found = std::find_if(texts_.begin(), texts_.end(),
                              [key](const KnownText& text) { return text.english == key; });
    if (found == texts_.end()) {
      texts_.push_back({key, ValueVariables(key), {}});
      found = std::prev(texts_.end());
    }
    found->uses.push_back(use);
  }
  void AddAll(const std::vector<const char*>& texts, TextUse use) {
    for (const char* text : texts) Add(text, use);
  }
  std::vector<KnownText> Sorted() && {
    std::sort(texts_.begin(), texts_.end(), [](const KnownText& a, const KnownText& b) {
      return ByteRange::Compare(a.english, b.english) < 0;
    });
    return std::move(texts_);
  }

 private:
  std::vector<KnownText> texts_;
};

std::vector<KnownText> BuildCatalogue() {
  Catalogue catalogue;
  for (int index = 0; index < kUITextCount; ++index) {
    const UIText text = static_cast<UIText>(index);
    catalogue.Add(EnglishText(text), TableUse(text));
  }
  for (int index = 0; index < kUIFilledTextCount; ++index) {
    const UIFilledText text = static_cast<UIFilledText>(index);
    catalogue.Add(EnglishText(text), FilledTableUse(text));
  }
  catalogue.AddAll(ActionsSummarySentences(),
                   {TextSource::kSummarySentence,
                    "action request dialog's summary of all pending actions", true});
  catalogue.AddAll(ActionSummarySentences(),
                   {TextSource::kSummarySentence,
                    "action request dialog's summary of the selected action", true});
  catalogue.AddAll(DeadlineWordings(),
                   {TextSource::kDeadlineText, "action request dialog's deadline texts", true});
  for (const DialogTextList& list : DialogTextLists()) {
    catalogue.AddAll(list.texts(), {TextSource::kDialog, list.dialog, true});
  }
  return std::move(catalogue).Sorted();
}

}  // namespace

bool KnownText::Shown() const noexcept {
  return std::any_of(uses.begin(), uses.end(), [](const TextUse& use) { return use.shown; });
}

const std::vector<KnownText>& KnownTexts() {
  static const std::vector<KnownText> texts = BuildCatalogue();
  return texts;
}

const KnownText* FindKnownText(ByteRange english) {
  const std::vector<KnownText>& texts = KnownTexts();
  auto found = std::lower_bound(texts.begin(), texts.end(), english,
                                [](const KnownText& text, ByteRange wanted) {
                                  return ByteRange::Compare(text.english, wanted) < 0;
                                });
  return found != texts.end() && found->english == english ? &*found : nullptr;
}

std::vector<ByteRange> ValueVariables(ByteRange format) {
  std::vector<ByteRange> names;
  FormatPiece piece;
  for (const char* p = format.begin; NextPiece(p, format.end, piece); p = piece.next) {
    if (piece.kind != FormatPiece::Kind::Variable) continue;
    ValidateVariableName(piece.text);
    if (*piece.text.begin != '_') names.push_back(piece.text);
  }
  return names;
}
