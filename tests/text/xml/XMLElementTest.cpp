#include "text/xml/XMLElement.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/xml/ParseXMLDocument.h"

namespace {

TEST(XMLElement, GetChildFindsTheFirstExactlyNamedChild) {
  const auto root = ParseXMLDocument("<m><ID>1</ID><id>2</id><ID>3</ID><Title></Title></m>");
  const XMLElement& id = root->GetChild("ID");
  EXPECT_EQ(std::string(id.text.begin(), id.text.end()), "1");
  EXPECT_TRUE(root->HasChild("Title"));
  EXPECT_TRUE(root->HasChildren());
  EXPECT_FALSE(root->HasChild("title"));
  EXPECT_FALSE(root->HasChild("I"));
  EXPECT_FALSE(root->HasChild("IDX"));
  EXPECT_THROW((void)root->GetChild("Id"), NoSuchChildElement);
  EXPECT_FALSE(id.HasChildren());
  EXPECT_THROW((void)id.GetChild("ID"), NoSuchChildElement);
}

TEST(XMLElement, GetAttributeComparesBytesExactly) {
  const auto root = ParseXMLDocument("<m Name=\"a\" name=\"b\" n=\"\"></m>");
  EXPECT_EQ(root->GetAttribute("Name"), UString8("a"));
  EXPECT_EQ(root->GetAttribute("name"), UString8("b"));
  EXPECT_TRUE(root->HasAttribute("n"));
  EXPECT_TRUE(root->GetAttribute("n").empty());
  EXPECT_FALSE(root->HasAttribute("NAME"));
  EXPECT_FALSE(root->HasAttribute("na"));
  EXPECT_THROW((void)root->GetAttribute("NAME"), NoSuchAttribute);
}

TEST(XMLElement, AttributesAreInUnsignedByteOrderPrefixFirst) {
  const auto root = ParseXMLDocument("<m \xc3\xa9=\"1\" b=\"2\" ab=\"3\" a=\"4\" B=\"5\"></m>");
  std::vector<std::string> keys;
  for (const auto& attribute : root->attributes)
    keys.emplace_back(attribute.first.begin(), attribute.first.end());
  EXPECT_EQ(keys, (std::vector<std::string>{"B", "a", "ab", "b", "\xc3\xa9"}));
}

}  // namespace
