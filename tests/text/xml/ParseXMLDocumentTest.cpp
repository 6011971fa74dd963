#include "text/xml/ParseXMLDocument.h"

#include <string>

#include <gtest/gtest.h>

namespace {

template <class Bytes>
std::string Str(const Bytes& text) {
  return std::string(text.begin(), text.end());
}

// name[attributes](text){children}, attributes as k=v in map order.
std::string Shape(const XMLElement& element) {
  std::string shape = Str(element.name);
  if (!element.attributes.empty()) {
    shape += "[";
    for (const auto& [key, value] : element.attributes) shape += Str(key) + "=" + Str(value) + ";";
    shape += "]";
  }
  shape += "(" + Str(element.text) + ")";
  if (!element.children.empty()) {
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
      {"<a>x<b>y</b>z&amp;<![CDATA[<]]></a>", "a(xz&<){b(y)}"},
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
  for (const char* row :
       {"", "text", "<!-- c -->", "<?xml version=\"1.0\"?>", "<abc", "<a x=\"1\"", "<a/>"}) {
    SCOPED_TRACE(row);
    EXPECT_THROW((void)ParseXMLDocument(row), FormatError);
  }
}

}  // namespace
