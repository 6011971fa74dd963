// Documents: the parser never fails on what it is given but for a document without an element,
// and the tree it builds, written by the XML writer and parsed again, comes back the same. The
// writer drops the control bytes that XML text cannot carry, so the texts are compared without
// them.
#include "fuzz/FuzzCheck.h"

#include "foundation/text/UTextReceiver.h"
#include "text/format/FormatErrors.h"
#include "text/xml/ParseXMLDocument.h"
#include "text/xml/XMLWriter.h"

#include <memory>
#include <utility>
#include <vector>

namespace {

UString8 WithoutControlBytes(const UString8& text) {
  UString8 kept;
  for (const char byte : text) {
    const auto unit = static_cast<unsigned char>(byte);
    if ((unit >= 0x20 && unit != 0x7F) || byte == '\t' || byte == '\n' || byte == '\r')
      kept.Append(byte);
  }
  return kept;
}

// Compares without recursion: the trees may nest as deep as the input is long.
bool SameTree(const XMLElement& original, const XMLElement& written) {
  std::vector<std::pair<const XMLElement*, const XMLElement*>> pending{{&original, &written}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    if (a->name != b->name || a->attributes != b->attributes ||
        WithoutControlBytes(a->text) != b->text || a->children.size() != b->children.size()) {
      return false;
    }
    for (std::size_t i = 0; i < a->children.size(); ++i)
      pending.emplace_back(&a->children[i], &b->children[i]);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  std::unique_ptr<XMLElement> root;
  try {
    root = ParseXMLDocument(ByteRange(bytes, bytes + size));
  } catch (const FormatError&) {
    return 0;  // no element in it
  }
  UStringBuilder<UTF8> written;
  XMLWriter writer(written, XMLWriter::kNoAddedWhiteSpace);
  writer.StartDocument();
  writer.WriteElement(*root);
  writer.EndDocument();
  const std::unique_ptr<XMLElement> reread = ParseXMLDocument(written.Text());
  QVX_FUZZ_CHECK(SameTree(*root, *reread));
  return 0;
}
