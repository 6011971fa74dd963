#include "text/xml/SimpleXMLParserPL.h"

#include <algorithm>
#include <string>

using namespace std::string_literals;

#include <gtest/gtest.h>

namespace {

// Writes every callback as one line: S(name|k=v|...), E(name), C(text), P(name|k=v|...).
class RecordingHandler : public XMLHandler {
 public:
  void StartElement(ByteRange name, const XMLAttributeList& attributes) override {
    Tag("S", name, attributes);
  }
  void EndElement(ByteRange name) override { log += "E(" + Bytes(name) + ")\n"; }
  void Characters(ByteRange text) override { log += "C(" + Bytes(text) + ")\n"; }
  void ProcessingInstruction(ByteRange name, const XMLAttributeList& attributes) override {
    Tag("P", name, attributes);
  }

  std::string log;

 private:
  static std::string Bytes(ByteRange bytes) { return std::string(bytes.begin, bytes.end); }
  void Tag(const char* kind, ByteRange name, const XMLAttributeList& attributes) {
    log += std::string(kind) + "(" + Bytes(name);
    for (const XMLAttribute* attribute : attributes) {
      log += "|" + Bytes(attribute->first) + "=" + Bytes(attribute->second);
    }
    log += ")\n";
  }
};

// The callbacks for the document fed in pieces of `pieceSize` bytes, after a first piece of
// `firstPiece` bytes.
std::string Events(const std::string& document, std::size_t firstPiece, std::size_t pieceSize) {
  RecordingHandler handler;
  SimpleXMLParserPL parser(handler);
  const char* cursor = document.data();
  const char* const end = cursor + document.size();
  parser.Feed(cursor, cursor + firstPiece);
  for (cursor += firstPiece; cursor != end;
       cursor += std::min<std::size_t>(pieceSize, end - cursor)) {
    parser.Feed(cursor, cursor + std::min<std::size_t>(pieceSize, end - cursor));
  }
  return handler.log;
}

struct Row {
  std::string input;
  std::string events;
};

// Each row whole, byte by byte, and split once at every position.
void ExpectRows(const Row* begin, const Row* end) {
  for (const Row* row = begin; row != end; ++row) {
    SCOPED_TRACE(row->input);
    const std::size_t size = row->input.size();
    EXPECT_EQ(Events(row->input, size, 1), row->events);
    EXPECT_EQ(Events(row->input, 0, 1), row->events) << "byte by byte";
    for (std::size_t at = 1; at < size; ++at) {
      ASSERT_EQ(Events(row->input, at, size), row->events) << "split at " << at;
    }
  }
}

TEST(SimpleXMLParserPL, TagsTextAttributesAndTheDeclaration) {
  const Row rows[] = {
      {"<a>x</a>", "S(a)\nC(x)\nE(a)\n"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><r></r>",
       "P(?xml|version=1.0|encoding=UTF-8)\nS(r)\nE(r)\n"},
      {"<a> <b>1</b> </a>", "S(a)\nC( )\nS(b)\nC(1)\nE(b)\nC( )\nE(a)\n"},
      // A space before the name is skipped; one in an end tag belongs to the name.
      {"< a ></a >", "S(a)\nE(a )\n"},
      {"<>", "S()\n"},
      {"<\xc3\xa9 \xc3\xbc=\"\xe2\x82\xac\">\xe2\x82\xac</\xc3\xa9>",
       "S(\xc3\xa9|\xc3\xbc=\xe2\x82\xac)\nC(\xe2\x82\xac)\nE(\xc3\xa9)\n"},
      // Text after the last markup stays pending.
      {"<a>x</a>tail", "S(a)\nC(x)\nE(a)\n"},
      {"<a x='1' y=\"2\">", "S(a|x=1|y=2)\n"},
      {"<a x=\"it's\" y='say \"hi\"'>", "S(a|x=it's|y=say \"hi\")\n"},
      {"<a x=\"1\" x=\"2\">", "S(a|x=1|x=2)\n"},
      {"<a x =\"1\">", "S(a|x =1)\n"},
      // Bytes between the equals sign and the quote are skipped, a '>' in a name is kept.
      {"<a x=1 y=\"2\">", "S(a|x=2)\n"},
      {"<a b>c=\"d\">", "S(a|b>c=d)\n"},
      {"<a v=\"x>y<z\">", "S(a|v=x>y<z)\n"},
      // Only the space separates: a tab or line break makes the rest part of the name.
      {"<a\tx=\"1\">", "S(a\tx=\"1\")\n"},
      {"<a x=\"1\"\ny=\"2\">", "S(a|x=1|\ny=2)\n"},
      // The pool is reused: a later tag sees only its own attributes.
      {"<a x=\"1\" y=\"2\"><b><c z=\"3\"><d >", "S(a|x=1|y=2)\nS(b)\nS(c|z=3)\nS(d)\n"},
      // An attribute whose value never closed is not passed.
      {"<a x=\"1\" y=\"2>", ""},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(SimpleXMLParserPL, EntityReferencesAndCDataSections) {
  const Row rows[] = {
      {"<a>&lt;&amp;&gt;&quot;</a>", "S(a)\nC(<)\nC(&)\nC(>)\nC(\")\nE(a)\n"},
      {"<a>&#xe9;&#xFF;&#x41zz;</a>", "S(a)\nC(\xe9)\nC(\xff)\nC(A)\nE(a)\n"},
      {"<a>&apos;&#65;&#X41;&#x100;&#x1000000000000000041;&nbsp;&;</a>",
       "S(a)\nC(&apos;)\nC(&#65;)\nC(&#X41;)\nC(&#x100;)\nC(&#x1000000000000000041;)\nC(&nbsp;)\nC("
       "&;)\nE(a)\n"},
      {std::string("<a>&#x;</a>"), std::string("S(a)\nC(\0)\nE(a)\n", 15)},
      {"<a v=\"&lt;&#x41;&apos;&quot;\" w=\"1\">", "S(a|v=<A&apos;\"|w=1)\n"},
      // A reference runs to the next ';', markup included.
      {"<a>&lt</a>;x</a>", "S(a)\nC(&lt</a>;)\nC(x)\nE(a)\n"},
      {"<a><![CDATA[x<y]]></a>", "S(a)\nC(x<y)\nE(a)\n"},
      {"<a>1<![CDATA[&lt;]]>2</a>", "S(a)\nC(1)\nC(&lt;)\nC(2)\nE(a)\n"},
      {"<a><![CDATA[]]></a>", "S(a)\nE(a)\n"},
      {"<a><![CDATA[]]]></a>", "S(a)\nC(])\nE(a)\n"},
      {"<a><![CDATA[a]]b]>c]]></a>", "S(a)\nC(a]]b]>c)\nE(a)\n"},
      {std::string("<a><![CDATA[a\0b]]></a>", 22), "S(a)\nC(ab)\nE(a)\n"},
      // Cut off: the last two bytes of the section never reach the text.
      {"<a><![CDATA[xyz", "S(a)\n"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

TEST(SimpleXMLParserPL, CommentsShortEmptyTagsAndCutOffDocuments) {
  const Row rows[] = {
      {"<a><!-- x > y - z --></a>", "S(a)\nE(a)\n"},
      // The closing dashes must follow the opening ones.
      {"<a><!-->x--></a>", "S(a)\nE(a)\n"},
      {"<a><!-- -- ->x--></a>", "S(a)\nE(a)\n"},
      // A single dash in a name is dropped, two open a comment.
      {"<a-b></a-b>", "S(ab)\nE(a-b)\n"},
      {"<a--></a>", ""},
      {"<!-- only a comment -->", ""},
      {"<r><b/></r>", "S(r)\nE(b)\nE(r)\n"},
      // After an attribute the "/" starts a name that runs to the next equals sign.
      {"<r><b x=\"1\"/></r>", "S(r)\n"},
      {"<a", ""},
      {"<a><b>text", "S(a)\nS(b)\n"},
      {"<a>&lt", "S(a)\n"},
      {"<a><!-- never closed", "S(a)\n"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

// Text, names, values and sections are taken a run at a time; each run must end on the same byte
// as a byte-by-byte reading would, whatever piece boundary falls inside it.
TEST(SimpleXMLParserPL, RunsEndWhereTheMarkupSaysAcrossPieces) {
  const Row rows[] = {
      {"<a>one &amp; two &lt; three</a>", "S(a)\nC(one )\nC(&)\nC( two )\nC(<)\nC( three)\nE(a)\n"},
      {"<a>" + std::string(200, 'x') + "</a>", "S(a)\nC(" + std::string(200, 'x') + ")\nE(a)\n"},
      {"<abcdefghijk lmnopqrstu=\"v&amp;w\">", "S(abcdefghijk|lmnopqrstu=v&w)\n"},
      // The CDATA opening counts only as a whole name, reached byte by byte.
      {"<x![CDATA[y>", "S(x![CDATA[y)\n"},
      {"<![CDATAX>", "S(![CDATAX)\n"},
      {"<![CDAT-A[x]]>", "C(x)\n"},
      // Sections: the first "]]>" closes, even one that begins in the first two bytes.
      {"<a><![CDATA[]]>]]></a>", "S(a)\nC(]]>)\nE(a)\n"},
      {"<a><![CDATA[x]]]]></a>", "S(a)\nC(x]])\nE(a)\n"},
      {"<a><![CDATA[x]>]]></a>", "S(a)\nC(x]>)\nE(a)\n"},
      {"<a><![CDATA[xy]]>z<![CDATA[w]]></a>", "S(a)\nC(xy)\nC(z)\nC(w)\nE(a)\n"},
      {"<a><![CDATA[" + std::string(100, 'q') + "]]></a>",
       "S(a)\nC(" + std::string(100, 'q') + ")\nE(a)\n"},
      // Zero bytes are dropped anywhere in a section, and one between brackets keeps it open.
      {"<a><![CDATA[abc\0def\0]]></a>"s, "S(a)\nC(abcdef)\nE(a)\n"},
      {"<a><![CDATA[x]\0]>y]]></a>"s, "S(a)\nC(x]]>y)\nE(a)\n"},
  };
  ExpectRows(std::begin(rows), std::end(rows));
}

}  // namespace
