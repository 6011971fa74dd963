#include "ui/FontSetChoice.h"

#include "ui/ToolkitContext.h"

#include <X11/Xresource.h>

#include <climits>
#include <cstdint>
#include <set>

namespace {

constexpr const char* kBuiltInFontSet = "-*-*-*-R-*-*-*-120-*-*-*-*,*";
constexpr const char* kSearchPattern = "-*-*-*-r-*-*-*-120-*-*-*-*";
constexpr int kMaxListedFonts = 1000;
constexpr int kCandidateDashes = 13;

// Read by the toolkit's warning handler, which gets no client data to find it through.
std::vector<std::string> fontDiagnostics;

// One XCreateFontSet: the set (may be null) and the character sets it could not cover.
struct FontSetAttempt {
  XFontSet set = nullptr;
  std::vector<std::string> missing;

  FontSetAttempt(Display* display, const std::string& pattern) {
    char** missingList = nullptr;
    int missingCount = 0;
    char* defaultString = nullptr;
    set = XCreateFontSet(display, pattern.c_str(), &missingList, &missingCount, &defaultString);
    for (int index = 0; index < missingCount; ++index) missing.emplace_back(missingList[index]);
    if (missingList != nullptr) XFreeStringList(missingList);
  }
  FontSetAttempt(const FontSetAttempt&) = delete;
  FontSetAttempt& operator=(const FontSetAttempt&) = delete;
  ~FontSetAttempt() {
    if (set != nullptr) XFreeFontSet(XDisplayOfOM(XOMOfOC(set)), set);
  }
  [[nodiscard]] int MissingCount() const { return static_cast<int>(missing.size()); }
};

void Describe(const char* heading, const std::string& pattern, const FontSetAttempt& attempt) {
  fontDiagnostics.push_back(heading + pattern);
  fontDiagnostics.insert(fontDiagnostics.end(), attempt.missing.begin(), attempt.missing.end());
}

// What the configured resource decided: stop (it stands, or the database said so) or go on.
enum class Verdict { kStop, kGoOn };

Verdict TryConfigured(Display* display, int& fewestMissing) {
  char* type = nullptr;
  XrmValue value{};
  if (!XrmGetResource(XrmGetDatabase(display), "xtDefaultFontSet", "XtDefaultFontSet", &type,
                      &value)) {
    return Verdict::kGoOn;
  }
  if (type == nullptr) {
    fontDiagnostics.clear();
    return Verdict::kStop;
  }
  if (std::string(type) != "String") return Verdict::kGoOn;
  const std::string configured(static_cast<const char*>(static_cast<void*>(value.addr)));
  FontSetAttempt attempt(display, configured);
  if (attempt.MissingCount() == 0) {
    if (attempt.set == nullptr) return Verdict::kGoOn;
    fontDiagnostics.clear();
    return Verdict::kStop;
  }
  fontDiagnostics.clear();
  fewestMissing = attempt.MissingCount();
  Describe("Resource font type: ", configured, attempt);
  return Verdict::kGoOn;
}

Verdict TryBuiltIn(Display* display, int& fewestMissing) {
  FontSetAttempt attempt(display, kBuiltInFontSet);
  const int missing = attempt.MissingCount();
  if (missing == 0 && attempt.set != nullptr) {
    fontDiagnostics.clear();
    return Verdict::kStop;
  }
  if (missing > fewestMissing) return Verdict::kGoOn;
  if (missing < fewestMissing) {
    fontDiagnostics.clear();
    fewestMissing = missing;
  }
  Describe("Default Xt font type: ", kBuiltInFontSet, attempt);
  return Verdict::kGoOn;
}

// The listed fonts, each tried once as a candidate; the smallest line height among the most
// complete sets wins, ties keeping the earlier one.
std::string SearchListedFonts(Display* display, int& fewestMissing) {
  int listed = 0;
  char** names = XListFonts(display, kSearchPattern, kMaxListedFonts, &listed);
  std::set<std::string> tried;
  std::string chosenName;
  unsigned chosenHeight = UINT_MAX;
  for (int index = 0; index < listed; ++index) {
    std::optional<std::string> candidate = FontSearchCandidate(names[index]);
    if (!candidate || !tried.insert(*candidate).second) continue;
    FontSetAttempt attempt(display, *candidate);
    const int missing = attempt.MissingCount();
    if (missing < fewestMissing && (missing > 0 || attempt.set != nullptr)) {
      // A more complete set outranks every earlier choice, whatever its height; one that
      // misses nothing is the best there can be.
      fontDiagnostics.clear();
      fewestMissing = missing;
      chosenHeight = UINT_MAX;
    }
    if (missing > 0 && missing == fewestMissing)
      Describe("Search font type: ", *candidate, attempt);
    if (attempt.set != nullptr && missing == fewestMissing) {
      fontDiagnostics.clear();
      const unsigned height =
          static_cast<unsigned>(XExtentsOfFontSet(attempt.set)->max_logical_extent.height);
      if (height < chosenHeight) {
        chosenName = *candidate;
        chosenHeight = height;
      }
    }
  }
  if (names != nullptr) XFreeFontNames(names);
  return chosenName;
}

}  // namespace

std::optional<std::string> FontSearchCandidate(const std::string& fontName) {
  int dashes = 0;
  for (std::size_t index = 0; index < fontName.size(); ++index) {
    if (fontName[index] == '-' && ++dashes == kCandidateDashes) {
      return fontName.substr(0, index + 1) + "*,*";
    }
  }
  return std::nullopt;
}

const std::vector<std::string>& FontDiagnostics() noexcept { return fontDiagnostics; }

void ChooseDefaultFontSet() {
  Display* display = ToolkitDisplay();
  fontDiagnostics.clear();
  int fewestMissing = INT_MAX;
  if (TryConfigured(display, fewestMissing) == Verdict::kStop) return;
  if (TryBuiltIn(display, fewestMissing) == Verdict::kStop) return;
  const std::string chosen = SearchListedFonts(display, fewestMissing);
  if (chosen.empty()) return;
  XrmDatabase database = XrmGetDatabase(display);
  XrmPutStringResource(&database, "XtDefaultFontSet", chosen.c_str());
}
