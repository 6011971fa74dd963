#include "core/InitializationInfo.h"

#include "core/MessageFields.h"

namespace {

SupportFile ReadSupportFile(const XMLElement& element) {
  SupportFile file;
  ReadChild(element, "FileName", file.fileName);
  ReadChild(element, "SubFolder", file.subFolder);
  ReadChild(element, "Content", file.content);
  return file;
}

}  // namespace

InitializationInfo ReadInitializationInfo(const XMLElement& message) {
  InitializationInfo info;
  ReadChild(message, "BaseDirectory", info.baseDirectory);
  // Unlike a field, every occurrence counts: each one is a file.
  for (const XMLElement& child : message.children) {
    if (ByteRange(child.name) == ByteRange("SupportFiles")) {
      info.supportFiles.push_back(ReadSupportFile(child));
    }
  }
  if (const XMLElement* settings = FindLastField(message, "InitialUISettings")) {
    info.settings = ReadInitialUISettings(*settings);
  }
  return info;
}
