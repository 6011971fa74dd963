// A converter between Unicode and one named character set, through ICU: the border where text
// of legacy code pages enters or leaves the program. One thread uses a converter at a time.
// ICU itself stays in the implementation, so that users of the converter do not see its headers.
#pragma once

#include "foundation/text/AutoUString.h"

#include <memory>
#include <string>

// What a conversion does with a character the target cannot hold or a byte sequence the
// source does not allow.
enum class InvalidCharacterAction : int {
  kStop = 0,        // the conversion fails with an ICUResult
  kEscape = 1,      // written as a Unicode escape
  kSubstitute = 2,  // written as "?"
};

// Whether substitution also covers illegal byte sequences or only unmappable characters.
enum class IllegalSequences { kSubstitute, kStop };

// The forms ICU converts without tables.
enum class AlgorithmicForm {
  kUTF8,
  kUTF16BigEndian,
  kUTF16LittleEndian,
  kUTF32BigEndian,
  kUTF32LittleEndian,
  kLatin1,
  kASCII,
};

class ICUConverter {
 public:
  // name is NUL-terminated, or null for ICU's default converter; a given name is normalised
  // before it is opened. Throws ICUResult naming the ICU function that failed, or with the
  // detail "InvalidCharacterAction" for an action outside the enumeration.
  explicit ICUConverter(const char* name,
                        InvalidCharacterAction action = InvalidCharacterAction::kStop,
                        IllegalSequences illegal = IllegalSequences::kSubstitute);
  ~ICUConverter();
  ICUConverter(const ICUConverter&) = delete;
  ICUConverter& operator=(const ICUConverter&) = delete;

  // True when ICU's canonical name of the converter is exactly "UTF-8".
  [[nodiscard]] bool IsUTF8() const noexcept;
  // The normalised form of ICU's canonical name.
  [[nodiscard]] const std::string& Name() const noexcept;
  [[nodiscard]] InvalidCharacterAction Action() const noexcept;

  // UTF-16 text to bytes of this character set (ucnv_fromUChars). A character the action does
  // not cover throws CharacterSetResult with its UTF-8 bytes.
  [[nodiscard]] std::string FromUnicode(const char16_t* begin, const char16_t* end);
  // Bytes of this character set to UTF-16 text (ucnv_toUChars). A sequence the action does not
  // cover throws CharacterSetResult with the offending bytes.
  [[nodiscard]] AutoUString<UTF16> ToUnicode(const char* begin, const char* end);

  // FromAlgorithmic turns bytes of the given form into bytes of this character set
  // (ucnv_fromAlgorithmic); ToAlgorithmic the reverse (ucnv_toAlgorithmic). A form outside the
  // enumeration throws ICUResult naming the function.
  [[nodiscard]] std::string FromAlgorithmic(AlgorithmicForm form, const char* begin,
                                            const char* end);
  [[nodiscard]] std::string ToAlgorithmic(AlgorithmicForm form, const char* begin, const char* end);

  // Bytes of source's character set to bytes of target's, pivoting through UTF-16
  // (ucnv_convertEx).
  [[nodiscard]] static std::string Convert(ICUConverter& target, ICUConverter& source,
                                           const char* begin, const char* end);

 private:
  struct State;
  std::unique_ptr<State> state_;
};
