// A converter from one named character set to a Unicode form, through ICU: how the translation
// file checker reads a file saved in a legacy code page. One thread uses a converter at a time.
// ICU itself stays in the implementation, so that users of the converter do not see its headers.
#pragma once

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
  // name is NUL-terminated and normalised before it is opened. Throws ICUResult naming the ICU
  // function that failed, or naming none for an action outside the enumeration.
  explicit ICUConverter(const char* name,
                        InvalidCharacterAction action = InvalidCharacterAction::kStop,
                        IllegalSequences illegal = IllegalSequences::kSubstitute);
  ~ICUConverter();
  ICUConverter(const ICUConverter&) = delete;
  ICUConverter& operator=(const ICUConverter&) = delete;

  // Bytes of this character set to bytes of the given form (ucnv_toAlgorithmic). A form outside
  // the enumeration, or a sequence the action does not cover, throws ICUResult naming the
  // function.
  [[nodiscard]] std::string ToAlgorithmic(AlgorithmicForm form, const char* begin, const char* end);

 private:
  struct State;
  std::unique_ptr<State> state_;
};
