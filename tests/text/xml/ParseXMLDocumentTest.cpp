#include "text/xml/ParseXMLDocument.h"

#include <string>

#include <gtest/gtest.h>

#include "text/xml/XMLWriter.h"

namespace {

std::string Text(const XMLElement& element) {
  return std::string(element.text.begin(), element.text.end());
}
std::string Name(const XMLElement& element) {
  return std::string(element.name.begin(), element.name.end());
}

// name[attributes](text){children}, attributes as k=v in map order.
std::string Shape(const XMLElement& element) {
  std::string shape = Name(element);
  if (!element.attributes.empty()) {
    shape += "[";
    for (const auto& [key, value] : element.attributes) {
      shape +=
          std::string(key.begin(), key.end()) + "=" + std::string(value.begin(), value.end()) + ";";
    }
    shape += "]";
  }
  shape += "(" + Text(element) + ")";
  if (element.HasChildren()) {
    shape += "{";
    for (const XMLElement& child : element.children) shape += Shape(child);
    shape += "}";
  }
  return shape;
}

TEST(ParseXMLDocument, BuildsTheTree) {
  const struct {
    const char* input;
    const char* shape;
  } rows[] = {
      {"<a>x</a>", "a(x)"},
      {"<a> <b>1</b> </a>", "a(  ){b(1)}"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r>\xc3\xa9</r>", "r(\xc3\xa9)"},
      {"<a x='1' y=\"2\" x=\"3\"></a>", "a[x=3;y=2;]()"},
      {"<a>x<b>y</b>z&amp;</a>", "a(xz&){b(y)}"},
      {"<r><b/></r>", "r()"},
      {"<a>1</a><b>2</b>", "b(2)"},
      {"before<a>in</a>after", "a(in)"},
      {"<a><b>cut", "a(){b()}"},
      {"<a>x</b>", "a(x)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.input);
    EXPECT_EQ(Shape(*ParseXMLDocument(row.input)), row.shape);
  }
}

TEST(ParseXMLDocument, NoStartedElementIsAFormatError) {
  const char* const rows[] = {"",     "text",       "<!-- c -->", "<?xml version=\"1.0\"?>",
                              "<abc", "<a x=\"1\"", "<a/>"};
  for (const char* row : rows) {
    SCOPED_TRACE(row);
    EXPECT_THROW((void)ParseXMLDocument(row), FormatError);
  }
}

// What the writer produces, the parser reads back: texts through escaping or CDATA.
TEST(ParseXMLDocument, ReadsWhatTheWriterWrites) {
  const std::string texts[] = {
      "",
      "plain",
      "x<y",
      "a & b > c",
      "a]]>b<",
      "\"quoted\" 'too'",
      "\xe2\x82\xac \xc3\xa9",
      "tab\tline\nend",
  };
  UStringBuilder<UTF8> out;
  XMLWriter writer(out, XMLWriter::kIndentWithTabs);
  writer.StartDocument();
  writer.StartElement("ClientToUI");
  writer.StartElement("Message");
  for (const std::string& text : texts) {
    writer.StartElement("T");
    writer.WriteAttribute("v", text);
    writer.WriteText(text);
    writer.EndElement();
  }
  writer.EndDocument();

  const auto root = ParseXMLDocument(out.Text());
  EXPECT_EQ(Name(*root), "ClientToUI");
  const XMLElement& message = root->GetChild("Message");
  ASSERT_EQ(message.children.size(), std::size(texts));
  for (std::size_t index = 0; index < std::size(texts); ++index) {
    SCOPED_TRACE(texts[index]);
    EXPECT_EQ(Text(message.children[index]), texts[index]);
    EXPECT_EQ(message.children[index].GetAttribute("v"), UString8(texts[index].c_str()));
  }
}

}  // namespace
