#include "tools/tap/XMLWellFormedness.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(XMLWellFormedness, TellsDocumentsFromEverythingElse) {
  struct Row {
    std::string document;
    bool wellFormed;
  } const rows[] = {
      {"<a/>", true},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ClientToUI><QuietModeEnd></QuietModeEnd>"
       "</ClientToUI>",
       true},
      {"<a x='1' y=\"2\">t &amp; &#65; &#x4a;<b/><![CDATA[<&]]><!-- c --><?pi d?></a>\n", true},
      {"<!-- before --><a>\xc3\xa9\xe6\x97\xa5</a><!-- after -->", true},
      {"<\xc3\xa9l\xc3\xa9ment/>", true},
      {"", false},
      {"   ", false},
      {"text", false},
      {"<a>", false},                        // left open
      {"<a></b>", false},                    // wrong end tag
      {"<a><b></a></b>", false},             // crossed
      {"<a/><b/>", false},                   // two roots
      {"<a/>text", false},                   // text after the root
      {"<a>&</a>", false},                   // bare ampersand
      {"<a>&#;</a>", false},                 // empty character reference
      {"<a>&#x;</a>", false},                // empty hexadecimal reference
      {"<a>&amp</a>", false},                // unterminated reference
      {"<a>]]></a>", false},                 // CDATA end in text
      {"<a x=1/>", false},                   // unquoted attribute
      {"<a x='1' x='2'/>", false},           // repeated attribute
      {"<a x='1'y='2'/>", false},            // attributes not separated
      {"<a x='<'/>", false},                 // '<' in a value
      {"<a><!-- a -- b --></a>", false},     // "--" in a comment
      {"<a><![CDATA[x</a>", false},          // unterminated CDATA
      {"<1a/>", false},                      // name starting with a digit
      {"<a>\xff</a>", false},                // not UTF-8
      {"<a>\xc3</a>", false},                // cut UTF-8 sequence
      {std::string("<a>\0</a>", 8), false},  // a control character
      {"<a>\x01</a>", false},                // another one
      {"<!DOCTYPE a><a/>", false},           // not accepted here
      {"<?xml version='1.0'?><?xml version='1.0'?><a/>", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.document);
    EXPECT_EQ(IsWellFormedXML(row.document), row.wellFormed);
  }
}

TEST(XMLWellFormedness, DeepNestingNeedsNoDeepStack) {
  std::string document;
  for (int i = 0; i < 200000; ++i) document += "<a>";
  for (int i = 0; i < 200000; ++i) document += "</a>";
  EXPECT_TRUE(IsWellFormedXML(document));
  document.pop_back();
  EXPECT_FALSE(IsWellFormedXML(document));
}

}  // namespace
