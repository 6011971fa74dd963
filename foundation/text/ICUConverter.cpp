#include "foundation/text/ICUConverter.h"

#include "foundation/text/ICUResult.h"
#include "foundation/text/NormalizeCharsetName.h"

#include <climits>
#include <cstdint>

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

namespace {

// More than ICU ever keeps of the sequence it failed on.
constexpr std::int8_t kInvalidCapacity = 32;

void Check(UErrorCode status, const char* function) {
  if (U_FAILURE(status)) throw ICUResult(status, function);
}

// ICU counts in 32-bit lengths.
template <class Unit>
std::int32_t LengthOf(const Unit* begin, const Unit* end, const char* function) {
  const auto length = end - begin;
  if (length > INT32_MAX) throw ICUResult(U_INDEX_OUTOFBOUNDS_ERROR, function);
  return static_cast<std::int32_t>(length);
}

// A first guess at the output size; ICU reports the exact size when the guess is short.
std::int32_t FirstCapacity(std::int32_t sourceLength) {
  return sourceLength > INT32_MAX / 2 - 16 ? INT32_MAX : sourceLength * 2 + 16;
}

char* Units(std::string& text) { return &text[0]; }
char16_t* Units(AutoUString<UTF16>& text) { return text.MutableBegin(); }
void SetLength(std::string& text, std::int32_t length) {
  text.resize(static_cast<std::size_t>(length));
}
void SetLength(AutoUString<UTF16>& text, std::int32_t length) {
  text.Resize(static_cast<std::size_t>(length));
}

// Runs a preflighting ICU call with a guessed buffer and, when ICU reports that the result did
// not fit, once more with the size it asked for. call(units, capacity, status) returns the full
// result length.
template <class String, class Call>
UErrorCode FillGrowing(String& result, std::int32_t sourceLength, Call call) {
  SetLength(result, FirstCapacity(sourceLength));
  UErrorCode status = U_ZERO_ERROR;
  std::int32_t length = call(Units(result), FirstCapacity(sourceLength), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    SetLength(result, length);
    status = U_ZERO_ERROR;
    length = call(Units(result), length, &status);
  }
  SetLength(result, U_SUCCESS(status) ? length : 0);
  return status;
}

UConverterType TypeOf(AlgorithmicForm form, const char* function) {
  switch (form) {
    case AlgorithmicForm::kUTF8:
      return UCNV_UTF8;
    case AlgorithmicForm::kUTF16BigEndian:
      return UCNV_UTF16_BigEndian;
    case AlgorithmicForm::kUTF16LittleEndian:
      return UCNV_UTF16_LittleEndian;
    case AlgorithmicForm::kUTF32BigEndian:
      return UCNV_UTF32_BigEndian;
    case AlgorithmicForm::kUTF32LittleEndian:
      return UCNV_UTF32_LittleEndian;
    case AlgorithmicForm::kLatin1:
      return UCNV_LATIN_1;
    case AlgorithmicForm::kASCII:
      return UCNV_US_ASCII;
  }
  throw ICUResult(U_ILLEGAL_ARGUMENT_ERROR, function);
}

struct Closer {
  void operator()(UConverter* converter) const noexcept { ucnv_close(converter); }
};

}  // namespace

struct ICUConverter::State {
  bool isUTF8 = false;
  std::string name;
  InvalidCharacterAction action;
  std::unique_ptr<UConverter, Closer> converter;

  void InstallCallbacks(IllegalSequences illegal);
  [[noreturn]] void ThrowFromUnicodeError(UErrorCode status) const;
  [[noreturn]] void ThrowToUnicodeError(UErrorCode status) const;
};

ICUConverter::ICUConverter(const char* name, InvalidCharacterAction action,
                           IllegalSequences illegal)
    : state_(std::make_unique<State>()) {
  state_->action = action;
  UErrorCode status = U_ZERO_ERROR;
  if (name == nullptr) {
    state_->converter.reset(ucnv_open(nullptr, &status));
  } else {
    const std::string normalized = NormalizeCharsetName(name);
    state_->converter.reset(ucnv_open(normalized.c_str(), &status));
  }
  Check(status, "ucnv_open");
  state_->InstallCallbacks(illegal);
  const char* canonical = ucnv_getName(state_->converter.get(), &status);
  Check(status, "ucnv_getName");
  state_->name = NormalizeCharsetName(canonical);
  state_->isUTF8 = state_->name == "UTF-8";
}

ICUConverter::~ICUConverter() = default;

bool ICUConverter::IsUTF8() const noexcept { return state_->isUTF8; }
const std::string& ICUConverter::Name() const noexcept { return state_->name; }
InvalidCharacterAction ICUConverter::Action() const noexcept { return state_->action; }

void ICUConverter::State::InstallCallbacks(IllegalSequences illegal) {
  UConverterFromUCallback fromUnicode = nullptr;
  UConverterToUCallback toUnicode = nullptr;
  const void* context = nullptr;
  UErrorCode status = U_ZERO_ERROR;
  switch (action) {
    case InvalidCharacterAction::kStop:
      fromUnicode = UCNV_FROM_U_CALLBACK_STOP;
      toUnicode = UCNV_TO_U_CALLBACK_STOP;
      break;
    case InvalidCharacterAction::kEscape:
      fromUnicode = UCNV_FROM_U_CALLBACK_ESCAPE;
      toUnicode = UCNV_TO_U_CALLBACK_ESCAPE;
      context = UCNV_ESCAPE_UNICODE;
      break;
    case InvalidCharacterAction::kSubstitute:
      ucnv_setSubstString(converter.get(), u"?", 1, &status);
      Check(status, "ucnv_setSubstString");
      fromUnicode = UCNV_FROM_U_CALLBACK_SUBSTITUTE;
      toUnicode = UCNV_TO_U_CALLBACK_SUBSTITUTE;
      if (illegal == IllegalSequences::kStop) context = UCNV_SUB_STOP_ON_ILLEGAL;
      break;
    default:
      throw ICUResult(U_ILLEGAL_ARGUMENT_ERROR, std::string(), "InvalidCharacterAction");
  }
  ucnv_setFromUCallBack(converter.get(), fromUnicode, context, nullptr, nullptr, &status);
  Check(status, "ucnv_setFromUCallBack");
  ucnv_setToUCallBack(converter.get(), toUnicode, context, nullptr, nullptr, &status);
  Check(status, "ucnv_setToUCallBack");
}

void ICUConverter::State::ThrowFromUnicodeError(UErrorCode status) const {
  // The character ICU gave up on, as UTF-8 so that the error text can show its bytes.
  UChar invalid[kInvalidCapacity];
  std::int8_t count = kInvalidCapacity;
  UErrorCode readStatus = U_ZERO_ERROR;
  ucnv_getInvalidUChars(converter.get(), invalid, &count, &readStatus);
  char bytes[4 * kInvalidCapacity];
  std::int32_t length = 0;
  if (U_SUCCESS(readStatus)) {
    u_strToUTF8WithSub(bytes, static_cast<std::int32_t>(sizeof bytes), &length, invalid, count,
                       0xFFFD, nullptr, &readStatus);
  }
  if (U_FAILURE(readStatus)) length = 0;
  throw CharacterSetResult(status, "ucnv_fromUChars", name,
                           std::string(bytes, static_cast<std::size_t>(length)));
}

void ICUConverter::State::ThrowToUnicodeError(UErrorCode status) const {
  char invalid[kInvalidCapacity];
  std::int8_t count = kInvalidCapacity;
  UErrorCode readStatus = U_ZERO_ERROR;
  ucnv_getInvalidChars(converter.get(), invalid, &count, &readStatus);
  if (U_FAILURE(readStatus)) count = 0;
  throw CharacterSetResult(status, "ucnv_toUChars", name,
                           std::string(invalid, static_cast<std::size_t>(count)));
}

std::string ICUConverter::FromUnicode(const char16_t* begin, const char16_t* end) {
  const std::int32_t length = LengthOf(begin, end, "ucnv_fromUChars");
  std::string bytes;
  const UErrorCode status =
      FillGrowing(bytes, length, [&](char* units, std::int32_t capacity, UErrorCode* status) {
        return ucnv_fromUChars(state_->converter.get(), units, capacity, begin, length, status);
      });
  if (U_FAILURE(status)) state_->ThrowFromUnicodeError(status);
  return bytes;
}

AutoUString<UTF16> ICUConverter::ToUnicode(const char* begin, const char* end) {
  const std::int32_t length = LengthOf(begin, end, "ucnv_toUChars");
  AutoUString<UTF16> text;
  const UErrorCode status =
      FillGrowing(text, length, [&](char16_t* units, std::int32_t capacity, UErrorCode* status) {
        return ucnv_toUChars(state_->converter.get(), units, capacity, begin, length, status);
      });
  if (U_FAILURE(status)) state_->ThrowToUnicodeError(status);
  return text;
}

std::string ICUConverter::FromAlgorithmic(AlgorithmicForm form, const char* begin,
                                          const char* end) {
  const UConverterType algorithmicType = TypeOf(form, "ucnv_fromAlgorithmic");
  const std::int32_t length = LengthOf(begin, end, "ucnv_fromAlgorithmic");
  std::string bytes;
  Check(FillGrowing(bytes, length,
                    [&](char* units, std::int32_t capacity, UErrorCode* status) {
                      return ucnv_fromAlgorithmic(state_->converter.get(), algorithmicType, units,
                                                  capacity, begin, length, status);
                    }),
        "ucnv_fromAlgorithmic");
  return bytes;
}

std::string ICUConverter::ToAlgorithmic(AlgorithmicForm form, const char* begin, const char* end) {
  const UConverterType algorithmicType = TypeOf(form, "ucnv_toAlgorithmic");
  const std::int32_t length = LengthOf(begin, end, "ucnv_toAlgorithmic");
  std::string bytes;
  Check(FillGrowing(bytes, length,
                    [&](char* units, std::int32_t capacity, UErrorCode* status) {
                      return ucnv_toAlgorithmic(algorithmicType, state_->converter.get(), units,
                                                capacity, begin, length, status);
                    }),
        "ucnv_toAlgorithmic");
  return bytes;
}

std::string ICUConverter::Convert(ICUConverter& target, ICUConverter& source, const char* begin,
                                  const char* end) {
  LengthOf(begin, end, "ucnv_convertEx");
  UChar pivot[256];
  UChar* pivotSource = pivot;
  UChar* pivotTarget = pivot;
  std::string bytes(static_cast<std::size_t>(FirstCapacity(static_cast<std::int32_t>(end - begin))),
                    '\0');
  std::size_t produced = 0;
  const char* next = begin;
  UBool reset = true;
  for (;;) {
    char* out = &bytes[0] + produced;
    UErrorCode status = U_ZERO_ERROR;
    // The pivot keeps what was read but not yet written across the calls of one conversion.
    ucnv_convertEx(target.state_->converter.get(), source.state_->converter.get(), &out,
                   &bytes[0] + bytes.size(), &next, end, pivot, &pivotSource, &pivotTarget,
                   pivot + 256, reset, true, &status);
    reset = false;
    produced = static_cast<std::size_t>(out - &bytes[0]);
    if (status != U_BUFFER_OVERFLOW_ERROR) {
      Check(status, "ucnv_convertEx");
      break;
    }
    bytes.resize(bytes.size() * 2);
  }
  bytes.resize(produced);
  return bytes;
}
