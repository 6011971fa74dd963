// The deepest document a client frame can hold: 2 MiB of "<>", an unnamed element inside each
// other a million deep. Building, writing and destroying its tree must not need a stack frame
// per level, or the main thread's stack overflows.
#include "text/xml/ParseXMLDocument.h"

#include "foundation/text/UTextReceiver.h"
#include "text/xml/XMLWriter.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// Counts the bytes written without keeping them.
struct ByteCounter : UTextReceiver<UTF8> {
  void Receive(const char* begin, const char* end) override { bytes += end - begin; }
  std::size_t bytes = 0;
};

TEST(DeepDocument, MillionLevelTreeIsParsedWrittenAndDestroyed) {
  constexpr std::size_t kLevels = 2097152 / 2;  // the client link's frame limit
  std::string document;
  document.reserve(2 * kLevels);
  for (std::size_t level = 0; level < kLevels; ++level) document += "<>";

  std::unique_ptr<XMLElement> root = ParseXMLDocument(document);
  std::size_t depth = 1;
  for (const XMLElement* element = root.get(); !element->children.empty(); ++depth)
    element = &element->children.front();
  EXPECT_EQ(depth, kLevels);

  ByteCounter written;
  XMLWriter writer(written, XMLWriter::kNoAddedWhiteSpace);
  writer.StartDocument(XMLDeclaration::kWithoutEncoding);
  writer.WriteElement(*root);
  writer.EndDocument();
  EXPECT_EQ(written.bytes, std::string("<?xml version=\"1.0\"?>").size() + 5 * kLevels);
  root.reset();
}

}  // namespace
