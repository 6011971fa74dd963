#include "foundation/text/LocaleConversion.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/StreamTranscoder.h"
#include "foundation/text/UTextReceiver.h"

#include <langinfo.h>
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

// The C library's wide characters are taken to be UTF-32 code points.
static_assert(sizeof(wchar_t) == sizeof(char32_t), "wide characters must be 32-bit");

namespace {

constexpr std::size_t kWideChunk = 256;

// Turns UTF-32 text into the locale's multibyte form, appending to a narrow string.
class WideToLocaleReceiver final : public UTextReceiver<UTF32> {
 public:
  explicit WideToLocaleReceiver(std::string& target) noexcept : target_(target) {}

  void Receive(const char32_t* begin, const char32_t* end) override {
    char bytes[MB_LEN_MAX];
    for (const char32_t* p = begin; p != end; ++p) {
      const std::size_t count = std::wcrtomb(bytes, static_cast<wchar_t>(*p), &state_);
      if (count == static_cast<std::size_t>(-1)) throw UnixPlatform::WideToMultiByteConvertError();
      target_.append(bytes, count);
    }
  }

  // Returns a shift-state encoding to its initial state; the terminating NUL is not kept.
  void End() override {
    char bytes[MB_LEN_MAX];
    const std::size_t count = std::wcrtomb(bytes, L'\0', &state_);
    if (count == static_cast<std::size_t>(-1)) throw UnixPlatform::WideToMultiByteConvertError();
    if (count > 1) target_.append(bytes, count - 1);
  }

 private:
  std::string& target_;
  std::mbstate_t state_{};
};

// Whether the locale's encoding writes every seven-bit character as that same byte and reads it
// back so. The C locale and nearly every legacy encoding do; a few do not (Shift_JIS reads 0x5C
// as the yen sign), so the encoding is asked rather than assumed.
bool ProbeSevenBitIdentity() {
  std::mbstate_t toLocale{};
  std::mbstate_t fromLocale{};
  for (char32_t code = 1; code < 0x80; ++code) {
    char bytes[MB_LEN_MAX];
    if (std::wcrtomb(bytes, static_cast<wchar_t>(code), &toLocale) != 1) return false;
    if (static_cast<char32_t>(static_cast<unsigned char>(bytes[0])) != code) return false;
    wchar_t read = 0;
    if (std::mbrtowc(&read, bytes, 1, &fromLocale) != 1) return false;
    if (static_cast<char32_t>(read) != code) return false;
  }
  // A shift-state encoding must still be in its initial state after them.
  return std::mbsinit(&toLocale) != 0 && std::mbsinit(&fromLocale) != 0;
}

// What the conversions need to know of the thread's current encoding, found again only when
// the encoding's name changes: the dialogs convert every list item, each refresh.
struct EncodingTraits {
  bool utf8 = false;
  bool keepsSevenBit = false;
};

const EncodingTraits& CurrentEncoding() {
  thread_local std::string name;
  thread_local EncodingTraits traits;
  const char* codeset = nl_langinfo(CODESET);
  if (name != codeset) {
    traits.utf8 = std::strcmp(codeset, "UTF-8") == 0;
    traits.keepsSevenBit = traits.utf8 || ProbeSevenBitIdentity();
    name = codeset;
  }
  return traits;
}

bool IsSevenBit(const char* begin, const char* end) noexcept {
  for (const char* p = begin; p != end; ++p) {
    if ((static_cast<unsigned char>(*p) & 0x80) != 0) return false;
  }
  return true;
}

// Text the conversion would give back byte for byte.
bool ConvertsToItself(const char* begin, const char* end) {
  const EncodingTraits& encoding = CurrentEncoding();
  return encoding.utf8 || (encoding.keepsSevenBit && IsSevenBit(begin, end));
}

}  // namespace

bool LocaleIsUTF8() { return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0; }

AutoUString<UTF8> LocaleToUTF8(const char* begin, const char* end) {
  if (ConvertsToItself(begin, end)) return AutoUString<UTF8>(begin, end);

  UStringBuilder<UTF8> builder;
  StreamTranscoder<UTF8, UTF32> transcoder(builder);
  transcoder.Start();
  std::mbstate_t state{};
  char32_t wide[kWideChunk];
  std::size_t filled = 0;
  const char* p = begin;
  while (p != end) {
    wchar_t character = 0;
    const std::size_t used = std::mbrtowc(&character, p, static_cast<std::size_t>(end - p), &state);
    if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2)) {
      throw UnixPlatform::MultiByteToWideConvertError();
    }
    // An embedded NUL is a character of the text too; mbrtowc reports it as length 0.
    p += used == 0 ? 1 : used;
    wide[filled++] = static_cast<char32_t>(character);
    if (filled == kWideChunk) {
      transcoder.Receive(wide, wide + filled);
      filled = 0;
    }
  }
  transcoder.Receive(wide, wide + filled);
  transcoder.End();
  return builder.Take();
}

AutoUString<UTF8> LocaleToUTF8(const char* text) {
  return LocaleToUTF8(text, text + std::strlen(text));
}

std::string UTF8ToLocale(const char* begin, const char* end) {
  std::string result;
  AppendUTF8ToLocale(result, begin, end);
  return result;
}

void AppendUTF8ToLocale(std::string& target, const char* begin, const char* end) {
  if (ConvertsToItself(begin, end)) {
    target.append(begin, end);
    return;
  }
  const std::size_t kept = target.size();
  try {
    WideToLocaleReceiver narrow(target);
    StreamTranscoder<UTF32, UTF8> transcoder(narrow);
    transcoder.Start();
    transcoder.Receive(begin, end);
    transcoder.End();
  } catch (...) {
    target.resize(kept);
    throw;
  }
}

std::string UTF8ToLocale(const UString8& text) {
  const char* begin = reinterpret_cast<const char*>(text.begin());
  return UTF8ToLocale(begin, begin + text.size());
}
