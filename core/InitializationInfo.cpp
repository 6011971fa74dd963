#include "core/InitializationInfo.h"

#include "core/MessageFields.h"

namespace {

SupportFile ReadSupportFile(const XMLElement& element) {
  SupportFile file;
  ReadTextChild(element, "FileName", file.fileName);
  ReadTextChild(element, "SubFolder", file.subFolder);
  ReadTextChild(element, "Content", file.content);
  return file;
}

}  // namespace

InitializationInfo ReadInitializationInfo(const XMLElement& message) {
  InitializationInfo info;
  ReadTextChild(message, "BaseDirectory", info.baseDirectory);
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
