#include "foundation/text/ICUConverter.h"

#include "foundation/text/ICUResult.h"
#include "foundation/text/NormalizeCharsetName.h"

#include <climits>
#include <cstdint>

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

namespace {

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

// Runs a preflighting ICU call with a guessed buffer and, when ICU reports that the result did
// not fit, once more with the size it asked for. call(units, capacity, status) returns the full
// result length.
template <class Call>
UErrorCode FillGrowing(std::string& result, std::int32_t sourceLength, Call call) {
  result.resize(static_cast<std::size_t>(FirstCapacity(sourceLength)));
  UErrorCode status = U_ZERO_ERROR;
  std::int32_t length = call(&result[0], FirstCapacity(sourceLength), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    result.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    length = call(&result[0], length, &status);
  }
  result.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
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
  InvalidCharacterAction action;
  std::unique_ptr<UConverter, Closer> converter;

  void InstallCallbacks(IllegalSequences illegal);
};

ICUConverter::ICUConverter(const char* name, InvalidCharacterAction action,
                           IllegalSequences illegal)
    : state_(std::make_unique<State>()) {
  state_->action = action;
  UErrorCode status = U_ZERO_ERROR;
  state_->converter.reset(ucnv_open(NormalizeCharsetName(name).c_str(), &status));
  Check(status, "ucnv_open");
  state_->InstallCallbacks(illegal);
}

ICUConverter::~ICUConverter() = default;

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
      throw ICUResult(U_ILLEGAL_ARGUMENT_ERROR, "");
  }
  ucnv_setFromUCallBack(converter.get(), fromUnicode, context, nullptr, nullptr, &status);
  Check(status, "ucnv_setFromUCallBack");
  ucnv_setToUCallBack(converter.get(), toUnicode, context, nullptr, nullptr, &status);
  Check(status, "ucnv_setToUCallBack");
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
