#include "text/xml/XMLElement.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/xml/ParseXMLDocument.h"

namespace {

TEST(XMLElement, AttributesAreFoundByTheirExactBytesThroughARange) {
  const auto root = ParseXMLDocument("<m Name=\"a\" name=\"b\" n=\"\"><ID>1</ID></m>");
  // The value for a key given as a range, or "!" when there is none.
  const auto value = [&](ByteRange key) {
    const auto found = root->attributes.find(key);
    return found == root->attributes.end()
               ? std::string("!")
               : std::string(found->second.begin(), found->second.end());
  };
  EXPECT_EQ(value("Name"), "a");
  EXPECT_EQ(value("name"), "b");
  EXPECT_EQ(value("n"), "");
  for (const char* missing : {"NAME", "na", "Names", ""}) EXPECT_EQ(value(missing), "!");
  EXPECT_EQ(root->children.at(0).text, UString8("1"));
}

TEST(XMLElement, AttributesAreInUnsignedByteOrderPrefixFirst) {
  const auto root = ParseXMLDocument("<m \xc3\xa9=\"1\" b=\"2\" ab=\"3\" a=\"4\" B=\"5\"></m>");
  std::vector<std::string> keys;
  for (const auto& [key, value] : root->attributes) keys.emplace_back(key.begin(), key.end());
  EXPECT_EQ(keys, (std::vector<std::string>{"B", "a", "ab", "b", "\xc3\xa9"}));
}

}  // namespace
