#include "text/time/TimeLexer.h"

#include "text/time/ParsingErrors.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

enum TimeByteClass : Lexer::ByteClass { kBlank, kDigit, kLetter, kOther };

constexpr ReservedWord<TimeParsingAction> kReservedWords[] = {
    {"a", TimeParsingAction::kMilitaryZone, 3600},
    {"apr", TimeParsingAction::kMonthName, 4},
    {"aug", TimeParsingAction::kMonthName, 8},
    {"b", TimeParsingAction::kMilitaryZone, 7200},
    {"c", TimeParsingAction::kMilitaryZone, 10800},
    {"cdt", TimeParsingAction::kZoneName, -18000},
    {"cst", TimeParsingAction::kZoneName, -21600},
    {"d", TimeParsingAction::kMilitaryZone, 14400},
    {"dec", TimeParsingAction::kMonthName, 12},
    {"e", TimeParsingAction::kMilitaryZone, 18000},
    {"edt", TimeParsingAction::kZoneName, -14400},
    {"est", TimeParsingAction::kZoneName, -18000},
    {"f", TimeParsingAction::kMilitaryZone, 21600},
    {"feb", TimeParsingAction::kMonthName, 2},
    {"fri", TimeParsingAction::kDayName, 5},
    {"g", TimeParsingAction::kMilitaryZone, 25200},
    {"gmt", TimeParsingAction::kZoneName, 0},
    {"h", TimeParsingAction::kMilitaryZone, 28800},
    {"i", TimeParsingAction::kMilitaryZone, 32400},
    {"jan", TimeParsingAction::kMonthName, 1},
    {"jul", TimeParsingAction::kMonthName, 7},
    {"jun", TimeParsingAction::kMonthName, 6},
    {"k", TimeParsingAction::kMilitaryZone, 36000},
    {"l", TimeParsingAction::kMilitaryZone, 39600},
    {"m", TimeParsingAction::kMilitaryZone, 43200},
    {"mar", TimeParsingAction::kMonthName, 3},
    {"may", TimeParsingAction::kMonthName, 5},
    {"mdt", TimeParsingAction::kZoneName, -21600},
    {"mon", TimeParsingAction::kDayName, 1},
    {"mst", TimeParsingAction::kZoneName, -25200},
    {"n", TimeParsingAction::kMilitaryZone, -3600},
    {"nov", TimeParsingAction::kMonthName, 11},
    {"o", TimeParsingAction::kMilitaryZone, -7200},
    {"oct", TimeParsingAction::kMonthName, 10},
    {"p", TimeParsingAction::kMilitaryZone, -10800},
    {"pdt", TimeParsingAction::kZoneName, -25200},
    {"pst", TimeParsingAction::kZoneName, -28800},
    {"q", TimeParsingAction::kMilitaryZone, -14400},
    {"r", TimeParsingAction::kMilitaryZone, -18000},
    {"s", TimeParsingAction::kMilitaryZone, -21600},
    {"sat", TimeParsingAction::kDayName, 6},
    {"sep", TimeParsingAction::kMonthName, 9},
    {"sun", TimeParsingAction::kDayName, 0},
    {"t", TimeParsingAction::kMilitaryZone, -25200},
    {"thu", TimeParsingAction::kDayName, 4},
    {"tue", TimeParsingAction::kDayName, 2},
    {"u", TimeParsingAction::kMilitaryZone, -28800},
    {"ut", TimeParsingAction::kZoneName, 0},
    {"v", TimeParsingAction::kMilitaryZone, -32400},
    {"w", TimeParsingAction::kMilitaryZone, -36000},
    {"wed", TimeParsingAction::kDayName, 3},
    {"x", TimeParsingAction::kMilitaryZone, -39600},
    {"y", TimeParsingAction::kMilitaryZone, -43200},
    {"z", TimeParsingAction::kMilitaryZone, 0},
};

constexpr Lexer::ByteClass TimeByteClassOf(unsigned char byte) noexcept {
  if (byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r') return kBlank;
  if (byte >= '0' && byte <= '9') return kDigit;
  if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')) return kLetter;
  return kOther;
}

constexpr Lexer::ByteClasses MakeTimeByteClasses() noexcept {
  Lexer::ByteClasses classes{};
  for (unsigned byte = 0; byte < 256; ++byte)
    classes.classOf[byte] = TimeByteClassOf(static_cast<unsigned char>(byte));
  classes.extending = 1u << kBlank | 1u << kDigit | 1u << kLetter;
  classes.skipped = 1u << kBlank;
  return classes;
}

constexpr Lexer::ByteClasses kTimeByteClasses = MakeTimeByteClasses();

// A word of up to three bytes as one number, first byte highest and missing ones zero. Words
// hold no zero byte, so the numbers keep the table's order, and a word is found by halving over
// integers rather than over strings.
constexpr std::uint32_t WordKey(const char* word, std::size_t length) noexcept {
  std::uint32_t key = 0;
  for (std::size_t index = 0; index < TimeLexer::kMaxWordBytes; ++index)
    key = key << 8 | (index < length ? static_cast<unsigned char>(word[index]) : 0u);
  return key;
}

constexpr std::size_t NameLength(const char* name) noexcept {
  std::size_t length = 0;
  while (name[length] != '\0') ++length;
  return length;
}

constexpr std::size_t kWordCount = std::size(kReservedWords);

constexpr std::array<std::uint32_t, kWordCount> MakeWordKeys() noexcept {
  std::array<std::uint32_t, kWordCount> keys{};
  for (std::size_t index = 0; index < kWordCount; ++index) {
    const char* const name = kReservedWords[index].name;
    keys[index] = WordKey(name, NameLength(name));
  }
  return keys;
}

constexpr std::array<std::uint32_t, kWordCount> kWordKeys = MakeWordKeys();

constexpr bool WordsFitAndAscend() noexcept {
  for (std::size_t index = 0; index < kWordCount; ++index) {
    if (NameLength(kReservedWords[index].name) > TimeLexer::kMaxWordBytes) return false;
    if (index > 0 && kWordKeys[index - 1] >= kWordKeys[index]) return false;
  }
  return true;
}
static_assert(WordsFitAndAscend(), "reserved words longer than a key holds, or out of order");

// The entry for the lowered word, or nullptr.
const ReservedWord<TimeParsingAction>* FindTimeWord(const char* word, std::size_t length) noexcept {
  const std::uint32_t key = WordKey(word, length);
  const auto found = std::lower_bound(kWordKeys.begin(), kWordKeys.end(), key);
  if (found == kWordKeys.end() || *found != key) return nullptr;
  return &kReservedWords[static_cast<std::size_t>(found - kWordKeys.begin())];
}

}  // namespace

TimeLexer::TimeLexer(TimeLexemeAcceptor& acceptor) noexcept
    : Lexer(kTimeByteClasses), acceptor_(acceptor) {}

TimeReservedWordTable TimeReservedWords() noexcept {
  return TimeReservedWordTable{std::begin(kReservedWords), std::end(kReservedWords)};
}

void TimeLexer::StartLexeme(ByteClass byteClass, std::uint32_t position) {
  class_ = byteClass;
  position_ = position;
  numeral_ = TimeNumeralLexeme{position, 0, 0};
  wordBytes_ = 0;
}

void TimeLexer::LexemeBytes(const char* begin, const char* end) {
  switch (class_) {
    case kDigit:
      for (const char* digit = begin; digit != end; ++digit) {
        if (numeral_.digits == kMaxNumeralDigits) throw ParsingFailure();
        numeral_.value = numeral_.value * 10 + static_cast<std::uint32_t>(*digit - '0');
        ++numeral_.digits;
      }
      return;
    case kLetter:
      if (static_cast<std::size_t>(end - begin) > kMaxWordBytes - wordBytes_)
        throw ParsingFailure();
      // Only letters come here, and setting this bit lowers an ASCII letter.
      for (const char* letter = begin; letter != end; ++letter)
        word_[wordBytes_++] = static_cast<char>(*letter | 0x20);
      return;
    case kOther:
      character_ = *begin;
      return;
    default:
      return;
  }
}

void TimeLexer::FinishLexeme() {
  switch (class_) {
    case kDigit:
      acceptor_.AcceptNumeral(numeral_);
      return;
    case kLetter: {
      const ReservedWord<TimeParsingAction>* word = FindTimeWord(word_, wordBytes_);
      if (word == nullptr) throw ParsingFailure();
      ReservedWordLexeme<TimeParsingAction> lexeme;
      lexeme.position = position_;
      lexeme.begin = word_;
      lexeme.end = word_ + wordBytes_;
      lexeme.word = word;
      acceptor_.AcceptReservedWord(lexeme);
      return;
    }
    case kOther:
      acceptor_.AcceptCharacter(CharacterLexeme{position_, character_});
      return;
    default:
      return;
  }
}

void TimeLexer::EndOfText(std::uint32_t position) { acceptor_.AcceptEnd(EndLexeme{position}); }
