#include "foundation/text/LocaleCharsetName.h"

#include "foundation/platform/StandardExceptions.h"
#include "foundation/text/NormalizeCharsetName.h"

#include <clocale>
#include <cstring>
#include <mutex>

#include <unicode/ucnv.h>

void FixedCharsetName::Assign(const char* name) {
  const std::size_t length = std::strlen(name);
  if (length > kCapacity) throw ConstDataCapacityExceeded();
  std::memcpy(text_, name, length + 1);
}

namespace {

std::once_flag nameOnce;
FixedCharsetName processName;

void StoreDefaultConverterName() {
  processName.Assign(NormalizeCharsetName(ucnv_getDefaultName()).c_str());
}

}  // namespace

const char* LocaleCharsetName() {
  std::call_once(nameOnce, StoreDefaultConverterName);
  return processName.c_str();
}

const char* LocaleCharsetNameInUTF8Locale() {
  std::call_once(nameOnce, [] {
    if (std::setlocale(LC_ALL, "en_US.UTF-8") != nullptr) {
      processName.Assign("utf-8");
    } else {
      StoreDefaultConverterName();
    }
  });
  return processName.c_str();
}
