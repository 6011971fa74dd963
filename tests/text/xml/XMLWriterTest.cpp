#include "text/xml/XMLWriter.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Keeps the text the writer hands over, and whether the receiver was started and ended.
class RecordingReceiver : public UTextReceiver<UTF8> {
 public:
  void Start() override { events.push_back("start"); }
  void Receive(const char* begin, const char* end) override { text.append(begin, end); }
  void End() override { events.push_back("end"); }

  std::vector<std::string> events;
  std::string text;
};

// <A k="v"><B>x</B><C></C><D><E>y</E></D>tail</A>
void WriteSample(XMLWriter& writer) {
  writer.StartDocument();
  writer.StartElement("A");
  writer.WriteAttribute("k", "v");
  writer.StartElement("B");
  writer.WriteText("x");
  writer.EndElement();
  writer.StartElement("C");
  writer.EndElement();
  writer.StartElement("D");
  writer.StartElement("E");
  writer.WriteText("y");
  writer.EndElement();
  writer.EndElement();
  writer.WriteText("tail");
  writer.EndDocument();
}

TEST(XMLWriter, LayoutPerIndentMode) {
  const struct {
    std::uint32_t indentMode;
    const char* expected;
  } rows[] = {
      {XMLWriter::kIndentWithTabs,
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<A "
       "k=\"v\">\n\t<B>x</B>\n\t<C></C>\n\t<D>\n\t\t<E>y</E>\n\t</D>\ntail</A>"},
      {XMLWriter::kLineBreaksOnly,
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<A "
       "k=\"v\">\n<B>x</B>\n<C></C>\n<D>\n<E>y</E>\n</D>\ntail</A>"},
      {XMLWriter::kNoAddedWhiteSpace,
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><A "
       "k=\"v\"><B>x</B><C></C><D><E>y</E></D>tail</A>"},
      {7,
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><A "
       "k=\"v\"><B>x</B><C></C><D><E>y</E></D>tail</A>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.indentMode);
    RecordingReceiver receiver;
    XMLWriter writer(receiver, row.indentMode);
    WriteSample(writer);
    EXPECT_EQ(receiver.text, row.expected);
    EXPECT_EQ(receiver.events, (std::vector<std::string>{"start", "end"}));
  }
}

TEST(XMLWriter, DeclarationWithoutEncodingAndFinalLineBreak) {
  RecordingReceiver receiver;
  XMLWriter writer(receiver, XMLWriter::kIndentWithTabs);
  writer.StartDocument(XMLDeclaration::kWithoutEncoding);
  writer.StartElement("r");
  writer.EndDocument(FinalLineBreak::kWrite);
  EXPECT_EQ(receiver.text, "<?xml version=\"1.0\"?>\n<r></r>\n");
}

TEST(XMLWriter, DeepNestingGetsOneTabPerOpenElement) {
  RecordingReceiver receiver;
  XMLWriter writer(receiver, XMLWriter::kIndentWithTabs);
  constexpr int kDepth = 40;
  for (int i = 0; i < kDepth; ++i) writer.StartElement("e");
  for (int i = 0; i < kDepth; ++i) writer.EndElement();
  std::string expected;
  for (int i = 0; i < kDepth; ++i) expected += "\n" + std::string(i, '\t') + "<e>";
  expected += "</e>";
  for (int i = kDepth - 2; i >= 0; --i) expected += "\n" + std::string(i, '\t') + "</e>";
  EXPECT_EQ(receiver.text, expected);
}

TEST(XMLWriter, EscapingOfTextAndAttributes) {
  const struct {
    const char* input;
    const char* text;       // WriteEscapedText
    const char* attribute;  // WriteAttribute value
  } rows[] = {
      {"plain", "plain", "plain"},
      {"a&b<c>d", "a&amp;b&lt;c&gt;d", "a&amp;b&lt;c&gt;d"},
      {"say \"hi\" 'x'", "say \"hi\" 'x'", "say &quot;hi&quot; 'x'"},
      {"t\tl\nc\r", "t\tl\nc\r", "t\tl\nc\r"},
      {"a\001b\037\177c\013", "abc", "a\001b\037\177c\013"},
      {"\xc3\xa9\xe2\x82\xac", "\xc3\xa9\xe2\x82\xac", "\xc3\xa9\xe2\x82\xac"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.input);
    RecordingReceiver text;
    XMLWriter(text, XMLWriter::kNoAddedWhiteSpace).WriteEscapedText(row.input);
    EXPECT_EQ(text.text, row.text);
    RecordingReceiver attribute;
    XMLWriter(attribute, XMLWriter::kNoAddedWhiteSpace).WriteAttribute("n", row.input);
    EXPECT_EQ(attribute.text, std::string(" n=\"") + row.attribute + "\"");
  }
}

TEST(XMLWriter, WriteTextChoosesCDataOnlyWhenItCanHoldTheText) {
  const struct {
    const char* input;
    const char* expected;
  } rows[] = {
      {"", "<r></r>"},
      {"x<y", "<r><![CDATA[x<y]]></r>"},
      {"a & b", "<r><![CDATA[a & b]]></r>"},
      {"1 > 0", "<r><![CDATA[1 > 0]]></r>"},
      {"a]]>b<", "<r>a]]&gt;b&lt;</r>"},
      {"]]", "<r>]]</r>"},
      {"\"q\"", "<r>\"q\"</r>"},
      {"x<y\x01", "<r><![CDATA[x<y\x01]]></r>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.input);
    RecordingReceiver receiver;
    XMLWriter writer(receiver, XMLWriter::kNoAddedWhiteSpace);
    writer.StartElement("r");
    writer.WriteText(row.input);
    writer.EndElement();
    EXPECT_EQ(receiver.text, row.expected);
  }
}

TEST(XMLWriter, WriteElementWritesTheSubtreeInOrder) {
  XMLElement root(UString8("m"),
                  {{UString8("b"), UString8("2\"")}, {UString8("a"), UString8("1")}});
  root.AppendText("t&");
  root.AddChild(XMLElement(UString8("c1"))).AppendText("<");
  root.AddChild(XMLElement(UString8("c2")));
  RecordingReceiver receiver;
  XMLWriter writer(receiver, XMLWriter::kIndentWithTabs);
  writer.WriteElement(root);
  EXPECT_EQ(receiver.text, "\n<m a=\"1\" b=\"2&quot;\">t&amp;\n\t<c1>&lt;</c1>\n\t<c2></c2>\n</m>");
}

}  // namespace
