#include "tools/xlatcheck/TranslationChecker.h"

#include "core/SupportFiles.h"
#include "foundation/data/BinaryString.h"
#include "foundation/platform/DebuggableException.h"
#include "foundation/text/ICUConverter.h"
#include "text/format/FormatArguments.h"
#include "text/format/FormatErrors.h"
#include "text/format/FormatWith.h"
#include "text/format/OverrideTable.h"
#include "ui/KnownTexts.h"
#include "ui/UIStrings.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <utility>

namespace {

// Longer texts are cut in a report; a key this long is compared with no known text.
constexpr std::size_t kQuotedCharacters = 72;
constexpr std::size_t kLongestComparedKey = 400;

std::string Str(ByteRange bytes) { return std::string(bytes.begin, bytes.end); }

bool IsBlank(char byte) noexcept { return byte == ' ' || byte == '\t'; }

// The byte length of the UTF-8 sequence a lead byte starts; 1 for a byte that starts none, so
// that the validation below refuses it.
std::size_t SequenceLength(unsigned char lead) noexcept {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

// The offset of the first byte that does not belong to well-formed UTF-8; size() when all do.
std::size_t FirstInvalidByte(ByteRange bytes) noexcept {
  for (const char* p = bytes.begin; p != bytes.end;) {
    const std::size_t length =
        std::min(SequenceLength(static_cast<unsigned char>(*p)), bytes.size() - (p - bytes.begin));
    if (!IsValidUTF8(p, p + length)) return static_cast<std::size_t>(p - bytes.begin);
    p += length;
  }
  return bytes.size();
}

// A text for the report: in double quotes, control characters and bytes that are not UTF-8
// escaped, cut after limit characters.
std::string Quote(ByteRange text, std::size_t limit = kQuotedCharacters) {
  std::string quoted = "\"";
  std::size_t characters = 0;
  for (const char* p = text.begin; p != text.end;) {
    if (characters++ == limit) {
      quoted += "...";
      break;
    }
    const auto byte = static_cast<unsigned char>(*p);
    const std::size_t length =
        std::min(SequenceLength(byte), static_cast<std::size_t>(text.end - p));
    if (byte >= 0x80 && IsValidUTF8(p, p + length)) {
      quoted.append(p, length);
      p += length;
      continue;
    }
    static const char kHex[] = "0123456789ABCDEF";
    if (byte == '\t') {
      quoted += "\\t";
    } else if (byte == '"' || byte == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(byte);
    } else if (byte < 0x20 || byte >= 0x7F) {
      quoted += "\\x";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 0xF];
    } else {
      quoted += static_cast<char>(byte);
    }
    ++p;
  }
  return quoted + "\"";
}

// The bytes read as Windows-1252, whose printable part covers ISO 8859-1, when that gives text
// without control characters: what a file saved in a legacy Western encoding most likely says.
bool ReadAsLegacyWestern(ByteRange bytes, std::string& text) {
  static ICUConverter converter("windows-1252", InvalidCharacterAction::kStop,
                                IllegalSequences::kStop);
  try {
    text = converter.ToAlgorithmic(AlgorithmicForm::kUTF8, bytes.begin, bytes.end);
  } catch (const DebuggableException&) {
    return false;
  }
  // C0 controls other than the tab, and C1 controls (U+0080 to U+009F, "\xC2\x80" to
  // "\xC2\x9F"), where ICU passes an undefined byte through.
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 && byte != '\t') return false;
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      return false;
    }
  }
  return true;
}

// Levenshtein distance over bytes; gives up with limit once every path costs that much.
std::size_t EditDistance(ByteRange a, ByteRange b, std::size_t limit) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j < row.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    std::size_t best = row[0];
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a.begin[i - 1] != b.begin[j - 1])});
      diagonal = above;
      best = std::min(best, row[j]);
    }
    if (best >= limit) return limit;
  }
  return row.back();
}

const KnownText* ClosestKnownText(ByteRange key) {
  if (key.size() > kLongestComparedKey) return nullptr;
  const KnownText* closest = nullptr;
  std::size_t best = static_cast<std::size_t>(-1);
  for (const KnownText& text : KnownTexts()) {
    const std::size_t lengthGap = text.english.size() > key.size()
                                      ? text.english.size() - key.size()
                                      : key.size() - text.english.size();
    if (lengthGap >= best) continue;
    const std::size_t distance = EditDistance(key, text.english, best);
    if (distance < best) {
      best = distance;
      closest = &text;
    }
  }
  return closest;
}

// The format error an override meets when the program fills it, or nullptr when it passes;
// on success result holds what it shows with the given values.
const char* FormatFailure(ByteRange format, const std::vector<ByteRange>& values,
                          std::string& result) {
  try {
    result = Str(FormatWith(format, BindArguments(format, values)));
    return nullptr;
  } catch (const BadFormatStringError&) {
    return "BadFormatStringError";
  } catch (const ImproperFormatVariableName&) {
    return "ImproperFormatVariableName";
  } catch (const UndefinedFormatVariable&) {
    return "UndefinedFormatVariable";
  } catch (const TooManyFormatArguments&) {
    return "TooManyFormatArguments";
  } catch (const TooFewFormatArguments&) {
    return "TooFewFormatArguments";
  }
}

std::string Counted(std::size_t count, const char* one, const char* many = nullptr) {
  return std::to_string(count) + " " +
         (count == 1        ? one
          : many != nullptr ? std::string(many)
                            : std::string(one) + "s");
}

std::string Braced(ByteRange name) { return "{" + Str(name) + "}"; }

// The names of from that to lacks, counting repeated names.
std::vector<ByteRange> Missing(std::vector<ByteRange> from, std::vector<ByteRange> to) {
  std::vector<ByteRange> missing;
  for (ByteRange name : from) {
    auto found = std::find(to.begin(), to.end(), name);
    if (found == to.end()) {
      missing.push_back(name);
    } else {
      to.erase(found);
    }
  }
  return missing;
}

std::string Listed(const std::vector<ByteRange>& names) {
  std::string text;
  for (ByteRange name : names) text += (text.empty() ? "" : ", ") + Braced(name);
  return text;
}

// What each place that shows the text does with an override the engine rejects.
std::string RejectedOutcome(const KnownText& known, const char* failure) {
  std::string outcome;
  std::set<std::string> said;
  for (const TextUse& use : known.uses) {
    const std::string marker = std::string("\"") + kInvalidString + "\"";
    std::string one = !ShowsInvalidString(use.source)
                          ? std::string("showing it fails with ") + failure + " (" + use.where + ")"
                      : use.shown ? "the user sees " + marker + " (" + use.where + ")"
                                  : "the string table gives " + marker;
    if (said.insert(one).second) outcome += (outcome.empty() ? "" : "; ") + one;
  }
  return outcome;
}

std::string FileRole(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string extension = ".xlat";
  const bool isXlat =
      name.size() > extension.size() &&
      name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
  if (!isXlat) return "a name the program never loads";
  const std::string stem = name.substr(0, name.size() - extension.size());
  if (stem == "_brand") return "brand file";
  if (stem.compare(0, 6, "_brand") == 0) return "brand file for locale " + stem.substr(6);
  return "translation file for locale " + stem;
}

struct Finding {
  std::size_t line;  // 0 for the file as a whole
  std::string text;
};

// One file's check, from its bytes to its report.
class FileCheck {
 public:
  FileCheck(ByteRange bytes, const std::string& name)
      : bytes_(bytes),
        name_(name),
        lineEnd_(bytes.empty() || std::memchr(bytes.begin, '\n', bytes.size()) != nullptr ? '\n'
                                                                                          : '\r'),
        translated_(KnownTexts().size(), false) {}

  std::size_t Run(std::string& report) {
    if (bytes_.empty()) {
      Add(0, "empty: the file holds nothing, so it overrides nothing");
    } else if (const void* nul = std::memchr(bytes_.begin, '\0', bytes_.size())) {
      ReportBinary(static_cast<const char*>(nul));
    } else {
      CheckLines();
      ReportDuplicates();
      if (entries_ == 0) {
        Add(0, "no entry: no line holds a key, a tab and a text, so the file overrides nothing");
      }
    }
    WriteReport(report);
    return findings_.size();
  }

 private:
  void Add(std::size_t line, std::string text) { findings_.push_back({line, std::move(text)}); }
  void AddHere(const std::string& kind, const std::string& text) {
    Add(lineNumber_, kind + ": " + text);
  }

  // Line by line findings about a file that is no text would only list its bytes.
  void ReportBinary(const char* nul) {
    OverrideLine line;
    for (const char* p = bytes_.begin; NextOverrideLine(p, bytes_.end, line); p = line.next) {
      if (line.isEntry) ++entries_;
    }
    const bool utf16 = bytes_.size() >= 2 && (std::memcmp(bytes_.begin, "\xFF\xFE", 2) == 0 ||
                                              std::memcmp(bytes_.begin, "\xFE\xFF", 2) == 0);
    Add(0, "binary: a NUL byte at offset " + std::to_string(nul - bytes_.begin) +
               (utf16 ? ": the file is UTF-16 (it begins with a byte order mark); save it as UTF-8"
                      : ": this is no text file") +
               "; the loader would take " + Counted(entries_, "entry", "entries") + " from it");
  }

  void CheckLines() {
    OverrideLine line;
    bool afterStrayReturn = false;
    for (const char* p = bytes_.begin; NextOverrideLine(p, bytes_.end, line); p = line.next) {
      CountLinesUpTo(line.text.begin);
      CheckLine(line, afterStrayReturn);
      afterStrayReturn = ReportStrayReturn(line);
    }
  }

  // Lines are numbered as an editor shows them: by line feeds, or by carriage returns in a file
  // that has no line feed at all.
  void CountLinesUpTo(const char* position) {
    lineNumber_ += static_cast<std::size_t>(std::count(counted_, position, lineEnd_));
    counted_ = position;
  }

  // A carriage return that is not part of CR LF, in a file whose lines end with line feeds,
  // splits its line in two; true when it did and was reported. One just before a line end or
  // the end of the file only leaves an empty line, which the loader skips.
  bool ReportStrayReturn(const OverrideLine& line) {
    const char* terminator = line.text.end;
    if (lineEnd_ != '\n' || terminator == bytes_.end || *terminator != '\r') return false;
    OverrideLine following;
    if (!NextOverrideLine(line.next, bytes_.end, following) || following.text.empty()) return false;
    AddHere("carriage return",
            "a carriage return inside the line ends it for the loader: it reads " +
                Quote(line.text) + " and then " + Quote(following.text) + " as a line of its own");
    return true;
  }

  void CheckLine(const OverrideLine& line, bool afterStrayReturn) {
    const ByteRange text = line.text;
    if (text.empty()) return;
    if (!line.isEntry) {
      CheckSkippedLine(text, afterStrayReturn);
      return;
    }
    ++entries_;
    if (!ReportEncoding(text)) return;
    duplicates_[Str(line.key)].push_back({lineNumber_, line.value});
    const ByteRange between(line.key.end + 1, line.value.begin - 1);
    if (between.begin < between.end && !std::all_of(between.begin, between.end, IsBlank)) {
      AddHere("tabs", "more than one tab: the loader takes the text after the last tab, " +
                          Quote(line.value) + ", and drops " + Quote(between));
    }
    const KnownText* known = FindKnownText(line.key);
    if (known == nullptr) {
      ReportUnknownKey(line.key);
      return;
    }
    translated_[static_cast<std::size_t>(known - KnownTexts().data())] = true;
    if (line.value.empty()) {
      AddHere("empty text", "the program shows nothing in place of " + Quote(line.key));
      return;
    }
    CheckVariables(*known, line.value);
  }

  void CheckSkippedLine(ByteRange text, bool afterStrayReturn) {
    if (*text.begin == '\t') {
      AddHere("empty key",
              "the line begins with a tab, so its key is empty and the loader skips it");
      return;
    }
    // A "#" line without a tab is the files' comment; blank lines separate groups.
    if (afterStrayReturn || *text.begin == '#' || std::all_of(text.begin, text.end, IsBlank))
      return;
    if (!ReportEncoding(text)) return;
    std::string hint;
    for (const KnownText& known : KnownTexts()) {
      const std::size_t length = known.english.size();
      if (text.size() > length && std::memcmp(text.begin, known.english.begin, length) == 0 &&
          text.begin[length] == ' ') {
        hint = "; it begins with the known text " + Quote(known.english) +
               ", which a tab, not a blank, must follow";
      }
    }
    AddHere("no tab", "the loader skips this line" + hint);
  }

  // False, after reporting it, for a line that is not UTF-8.
  bool ReportEncoding(ByteRange text) {
    const std::size_t invalid = FirstInvalidByte(text);
    if (invalid == text.size()) return true;
    static const char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(text.begin[invalid]);
    std::string explanation = std::string("not UTF-8 at column ") + std::to_string(invalid + 1) +
                              " (byte 0x" + kHex[byte >> 4] + kHex[byte & 0xF] +
                              "): the program cannot show this text";
    std::string legacy;
    if (ReadAsLegacyWestern(text, legacy)) {
      explanation += "; read as Windows-1252 (ISO 8859-1) it says " + Quote(legacy) +
                     ": save the file as UTF-8";
    }
    AddHere("encoding", explanation);
    return false;
  }

  void ReportUnknownKey(ByteRange key) {
    std::string explanation = Quote(key) + " is no text the program shows";
    const ByteRange trimmed = Trimmed(key);
    static const char kByteOrderMark[] = "\xEF\xBB\xBF";
    if (key.size() > 3 && std::memcmp(key.begin, kByteOrderMark, 3) == 0 &&
        FindKnownText({key.begin + 3, key.end}) != nullptr) {
      explanation +=
          ": the file begins with a byte order mark, which the loader keeps as the "
          "start of this key";
    } else if (trimmed != key && FindKnownText(trimmed) != nullptr) {
      explanation += ": blanks at its ends make it differ from the known text " + Quote(trimmed);
    } else if (*key.begin == '#') {
      explanation += ": a line beginning with \"#\" is a comment only while it holds no tab";
    } else if (findings_.size() < TranslationChecker::kShownFindings) {
      const KnownText* closest = ClosestKnownText(key);
      explanation += closest != nullptr ? "; closest known text: " + Quote(closest->english)
                                        : "; no known text is close";
    }
    AddHere("unknown key", explanation);
  }

  static ByteRange Trimmed(ByteRange text) {
    while (text.begin != text.end && IsBlank(*text.begin)) ++text.begin;
    while (text.end != text.begin && IsBlank(text.end[-1])) --text.end;
    return text;
  }

  void CheckVariables(const KnownText& known, ByteRange value) {
    // Each variable is filled with its own name in braces, so the text the program would show
    // reads as a map of where each value lands.
    std::vector<std::string> markers;
    for (ByteRange name : known.variables) markers.push_back(Braced(name));
    const std::vector<ByteRange> values(markers.begin(), markers.end());
    std::string shown;
    const char* failure = FormatFailure(value, values, shown);
    std::vector<ByteRange> used;
    try {
      used = ValueVariables(value);
    } catch (const FormatError&) {
      if (failure == nullptr) failure = "ImproperFormatVariableName";
      AddHere("variables", Quote(value) + ": " + UnreadableReason(failure) + "; " +
                               RejectedOutcome(known, failure));
      return;
    }
    if (failure == nullptr && used == known.variables) return;
    std::vector<std::string> problems;
    const std::vector<ByteRange> extra = Missing(used, known.variables);
    const std::vector<ByteRange> missing = Missing(known.variables, used);
    if (!extra.empty())
      problems.push_back("uses " + Listed(extra) + ", which the text does not have");
    if (!missing.empty()) problems.push_back("leaves out " + Listed(missing));
    if (extra.empty() && missing.empty()) {
      problems.push_back("has " + Listed(used) + " in another order than the English " +
                         Listed(known.variables));
    }
    std::string explanation = Quote(value);
    for (std::size_t i = 0; i < problems.size(); ++i)
      explanation += (i == 0 ? " " : " and ") + problems[i];
    explanation += failure != nullptr
                       ? "; " + RejectedOutcome(known, failure)
                       : "; the program fills variables by position and shows " + Quote(shown);
    AddHere("variables", explanation);
  }

  static std::string UnreadableReason(const char* failure) {
    if (std::strcmp(failure, "BadFormatStringError") == 0) return "a \"{\" is never closed";
    if (std::strcmp(failure, "UndefinedFormatVariable") == 0) {
      return "a name beginning with \"_\" is none of {_tab}, {_cr}, {_lf}, {_crlf}, {_obrace}, "
             "{_cbrace}";
    }
    return "a variable name is empty or holds more than letters and digits";
  }

  void ReportDuplicates() {
    if (duplicates_.empty()) return;
    // The loader's own table decides which of the lines wins.
    const OverrideTable table(bytes_, ByteRange(name_));
    for (const auto& [key, lines] : duplicates_) {
      if (lines.size() < 2) continue;
      const ByteRange winner = table.GetOverride(ByteRange(key));
      std::string lineList;
      std::size_t winningLine = 0;
      for (const auto& [number, value] : lines) {
        lineList += (lineList.empty() ? "" : ", ") + std::to_string(number);
        if (winningLine == 0 && value == winner) winningLine = number;
      }
      Add(lines[1].first, "duplicate key: " + Quote(ByteRange(key)) + " is given on lines " +
                              lineList + "; the program shows " + Quote(winner) + " from line " +
                              std::to_string(winningLine) +
                              " (of equal keys the loader keeps the text first in byte order, "
                              "not the last line)");
    }
  }

  void WriteReport(std::string& report) {
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    const std::size_t shown = std::min(findings_.size(), TranslationChecker::kShownFindings);
    for (std::size_t i = 0; i < shown; ++i) {
      const Finding& finding = findings_[i];
      report += name_ + (finding.line == 0 ? "" : ":" + std::to_string(finding.line)) + ": " +
                finding.text + "\n";
    }
    if (shown < findings_.size()) {
      report +=
          name_ + ": " + std::to_string(findings_.size() - shown) + " more findings not shown\n";
    }
    WriteSummary(report);
  }

  void WriteSummary(std::string& report) {
    const std::vector<KnownText>& texts = KnownTexts();
    std::size_t shownTexts = 0, shownLeft = 0, heldTexts = 0, heldLeft = 0, translatedCount = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      const bool shown = texts[i].Shown();
      (shown ? shownTexts : heldTexts) += 1;
      if (translated_[i]) ++translatedCount;
      if (!translated_[i]) (shown ? shownLeft : heldLeft) += 1;
    }
    const std::string role = FileRole(name_);
    report += name_ + ": " + Counted(findings_.size(), "finding") + ", " +
              Counted(entries_, "entry", "entries") + ", " + role +
              "; untranslated: " + std::to_string(shownLeft) + " of " + std::to_string(shownTexts) +
              " texts the dialogs show, " + std::to_string(heldLeft) + " of " +
              std::to_string(heldTexts) + " texts no dialog shows\n";
    // A brand file renames a few texts by design; a translation lists what it still lacks.
    if (role.compare(0, 11, "translation") != 0 || translatedCount == 0) return;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i].Shown() && !translated_[i]) {
        report += name_ + ": untranslated: " + Quote(texts[i].english, std::string::npos) + " (" +
                  texts[i].uses[0].where + ")\n";
      }
    }
  }

  const ByteRange bytes_;
  const std::string name_;
  const char lineEnd_;
  const char* counted_ = bytes_.begin;
  std::size_t lineNumber_ = 1;
  std::size_t entries_ = 0;
  std::vector<bool> translated_;  // by position in KnownTexts()
  std::map<std::string, std::vector<std::pair<std::size_t, ByteRange>>> duplicates_;
  std::vector<Finding> findings_;
};

}  // namespace

std::size_t TranslationChecker::CheckFile(const std::string& path) {
  const BinaryString pathBytes(path.data(), path.data() + path.size());
  const FileLocation location = IsValidUTF8(pathBytes) ? FileLocation(ToUTF8String(pathBytes))
                                                       : FileLocation::FromBytes(pathBytes);
  const std::vector<char> bytes = ReadTranslationFile(location);
  return CheckBytes(ByteRange(bytes), path);
}

std::size_t TranslationChecker::CheckBytes(ByteRange bytes, const std::string& name) {
  return FileCheck(bytes, name).Run(report_);
}

std::string TranslationChecker::TakeReport() { return std::move(report_); }
