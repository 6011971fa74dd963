// The transcoders against ICU's string conversions. The first byte picks the direction and a
// cut; the rest are the source units. Where ICU accepts the input the transcoder must give
// ICU's units whole, one unit at a time and cut in two; where ICU refuses it the transcoder must
// throw InvalidTextEncoding in each case.
#include "fuzz/FuzzCheck.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/StreamTranscoder.h"

#include <unicode/ustring.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

template <class E>
using Units = std::basic_string<typename E::Unit>;

using IcuResult16 = std::optional<std::u16string>;

IcuResult16 IcuFromUTF8(const std::string& text) {
  std::u16string out(text.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                static_cast<int32_t>(text.size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

IcuResult16 IcuFromUTF32(const std::u32string& text) {
  const std::vector<UChar32> points(text.begin(), text.end());
  std::u16string out(2 * text.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strFromUTF32(out.data(), static_cast<int32_t>(out.size()), &length, points.data(),
                 static_cast<int32_t>(points.size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<std::string> IcuToUTF8(const std::optional<std::u16string>& text) {
  if (!text) return std::nullopt;
  std::string out(3 * text->size() + 1, '\0');
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text->data(),
              static_cast<int32_t>(text->size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<std::u32string> IcuToUTF32(const std::optional<std::u16string>& text) {
  if (!text) return std::nullopt;
  std::vector<UChar32> points(text->size() + 1);
  int32_t length = 0;
  UErrorCode error = U_ZERO_ERROR;
  u_strToUTF32(points.data(), static_cast<int32_t>(points.size()), &length, text->data(),
               static_cast<int32_t>(text->size()), &error);
  if (U_FAILURE(error)) return std::nullopt;
  return std::u32string(points.begin(), points.begin() + length);
}

// ICU's reading of `input` in the target form, or nothing where ICU finds it malformed.
template <class Target, class Source>
std::optional<Units<Target>> IcuConverted(const Units<Source>& input) {
  IcuResult16 utf16;
  if constexpr (std::is_same_v<Source, UTF8>) utf16 = IcuFromUTF8(input);
  if constexpr (std::is_same_v<Source, UTF32>) utf16 = IcuFromUTF32(input);
  if constexpr (std::is_same_v<Target, UTF8>) return IcuToUTF8(utf16);
  if constexpr (std::is_same_v<Target, UTF16>) return utf16;
  if constexpr (std::is_same_v<Target, UTF32>) return IcuToUTF32(utf16);
}

template <class Target, class Source>
std::optional<Units<Target>> Transcoded(const Units<Source>& input,
                                        const std::vector<std::size_t>& cuts) {
  UStringBuilder<Target> builder;
  StreamTranscoder<Target, Source> transcoder(builder);
  try {
    transcoder.Start();
    std::size_t from = 0;
    for (const std::size_t cut : cuts) {
      transcoder.Receive(input.data() + from, input.data() + cut);
      from = cut;
    }
    transcoder.Receive(input.data() + from, input.data() + input.size());
    transcoder.End();
  } catch (const InvalidTextEncoding&) {
    return std::nullopt;
  }
  return Units<Target>(builder.Text().begin(), builder.Text().end());
}

template <class Target, class Source>
void Compare(const unsigned char* data, std::size_t size, std::size_t cutSeed) {
  using Unit = typename Source::Unit;
  Units<Source> input(size / sizeof(Unit), Unit{});
  std::memcpy(input.data(), data, input.size() * sizeof(Unit));
  const std::optional<Units<Target>> expected = IcuConverted<Target, Source>(input);
  std::vector<std::size_t> everyUnit;
  for (std::size_t at = 1; at < input.size(); ++at) everyUnit.push_back(at);
  const std::vector<std::size_t> cutInTwo{input.empty() ? 0 : cutSeed % (input.size() + 1)};
  for (const std::vector<std::size_t>& cuts : {std::vector<std::size_t>{}, everyUnit, cutInTwo})
    QVX_FUZZ_CHECK((Transcoded<Target, Source>(input, cuts) == expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  if (size < 2) return 0;
  using Direction = void (*)(const unsigned char*, std::size_t, std::size_t);
  static const Direction kDirections[] = {Compare<UTF16, UTF8>, Compare<UTF32, UTF8>,
                                          Compare<UTF8, UTF32>};
  kDirections[data[0] % std::size(kDirections)](data + 2, size - 2, data[1]);
  return 0;
}
