#include "text/xml/XMLElement.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/xml/ParseXMLDocument.h"

namespace {

TEST(XMLElement, ChildrenAndAttributesAreFoundByTheirExactBytes) {
  const auto root = ParseXMLDocument(
      "<m Name=\"a\" name=\"b\" n=\"\"><ID>1</ID><id>2</id><ID>3</ID><Title></Title></m>");
  const XMLElement& id = root->GetChild("ID");
  EXPECT_EQ(std::string(id.text.begin(), id.text.end()), "1");
  EXPECT_TRUE(root->HasChild("Title") && root->HasChildren() && !id.HasChildren());
  for (const char* missing : {"title", "I", "IDX", "Id"}) EXPECT_FALSE(root->HasChild(missing));
  EXPECT_THROW((void)root->GetChild("Id"), NoSuchChildElement);
  EXPECT_THROW((void)id.GetChild("ID"), NoSuchChildElement);
  EXPECT_EQ(root->GetAttribute("Name"), UString8("a"));
  EXPECT_EQ(root->GetAttribute("name"), UString8("b"));
  EXPECT_TRUE(root->HasAttribute("n") && root->GetAttribute("n").empty());
  EXPECT_FALSE(root->HasAttribute("NAME") || root->HasAttribute("na"));
  EXPECT_THROW((void)root->GetAttribute("NAME"), NoSuchAttribute);
}

TEST(XMLElement, AttributesAreInUnsignedByteOrderPrefixFirst) {
  const auto root = ParseXMLDocument("<m \xc3\xa9=\"1\" b=\"2\" ab=\"3\" a=\"4\" B=\"5\"></m>");
  std::vector<std::string> keys;
  for (const auto& [key, value] : root->attributes) keys.emplace_back(key.begin(), key.end());
  EXPECT_EQ(keys, (std::vector<std::string>{"B", "a", "ab", "b", "\xc3\xa9"}));
}

}  // namespace
