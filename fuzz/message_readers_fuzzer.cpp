// Incoming messages: whatever document the client sends, every reader, given the root or any of
// its children, either gives a record or throws one of the program's own exceptions (anything
// else escapes and ends the run). The readers' values all pass through the number, boolean,
// interval and date-time readers.
#include "core/ActionRequest.h"
#include "core/IncomingMessages.h"
#include "core/InitializationInfo.h"
#include "foundation/platform/DebuggableException.h"
#include "text/xml/ParseXMLDocument.h"

#include <memory>

namespace {

using Reader = void (*)(const XMLElement&);

const Reader kReaders[] = {
    [](const XMLElement& m) { (void)ReadActionRequest(m); },
    [](const XMLElement& m) { (void)ReadMessageRequest(m); },
    [](const XMLElement& m) { (void)ReadRemoveRequest(m); },
    [](const XMLElement& m) { (void)ReadQuietModeStart(m); },
    [](const XMLElement& m) { (void)ReadQuietModeEnd(m); },
    [](const XMLElement& m) { (void)ReadActionRunningTopmost(m); },
    [](const XMLElement& m) { (void)ReadInitializationInfo(m); },
};

void ReadAll(const XMLElement& message) {
  for (const Reader read : kReaders) {
    try {
      read(message);
    } catch (const DebuggableException&) {
      // a malformed value: the dispatcher drops the message
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  std::unique_ptr<XMLElement> root;
  try {
    root = ParseXMLDocument(ByteRange(bytes, bytes + size));
  } catch (const DebuggableException&) {
    return 0;
  }
  ReadAll(*root);
  for (const XMLElement& child : root->children) ReadAll(child);
  return 0;
}
