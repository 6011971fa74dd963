// The session's configuration, sent by the client once after the handshake: the folder it gives
// this program, the support files to write into it and the settings.
#pragma once

#include "core/UISettings.h"
#include "foundation/text/AutoUString.h"
#include "text/xml/XMLElement.h"

#include <vector>

// One file to write into the client-given folder.
struct SupportFile {
  UString8 fileName;
  // Empty for the folder itself.
  UString8 subFolder;
  // The file's bytes as Base64 text, decoded only when the file is written.
  UString8 content;
};

struct InitializationInfo {
  UString8 baseDirectory;
  // One per SupportFiles element, in document order.
  std::vector<SupportFile> supportFiles;
  // Every default when the element is absent.
  InitialUISettings settings;
};

// The configuration held by an InitializationInfo message element. Throws what the settings
// reader throws for a malformed value.
[[nodiscard]] InitializationInfo ReadInitializationInfo(const XMLElement& message);
