#include "foundation/platform/DebuggableException.h"

#include <cstring>
#include <typeinfo>

const char* DebuggableException::TypeName() const noexcept {
  const char* name = typeid(*this).name();
  // Some ABIs mark local types with a leading '*' in the stored name.
  return name[0] == '*' ? name + 1 : name;
}

const char* DebuggableException::what() const noexcept { return TypeName(); }

ByteRange DebuggableException::text() const {
  const char* name = TypeName();
  return {name, name + std::strlen(name)};
}
