#include "tools/tap/XMLLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(XMLLayout, OneLineDocumentsGetOneTagALineAndDocumentsWithTheirOwnLayoutStayAsTheyAre) {
  struct Row {
    const char* document;
    const char* laidOut;
  } const rows[] = {
      {"<a/>", "<a/>"},
      {"<a>text</a>", "<a>text</a>"},
      {"<?xml version=\"1.0\"?><C><R><ID>7</ID><T></T></R></C>",
       "<?xml version=\"1.0\"?>\n<C>\n  <R>\n    <ID>7</ID>\n    <T></T>\n  </R>\n</C>"},
      // Blanks between tags on one line are left out, text of mixed content keeps a line.
      {"<a> <b/> text <c x='>'/></a>", "<a>\n  <b/>\n   text \n  <c x='>'/>\n</a>"},
      // A leaf's text stays with it, line breaks and CDATA included.
      {"<r><P>one\ntwo</P><Q><![CDATA[<x>]]></Q></r>",
       "<r>\n  <P>one\ntwo</P>\n  <Q><![CDATA[<x>]]></Q>\n</r>"},
      {"<!-- c --><r><?pi x?></r>", "<!-- c -->\n<r>\n  <?pi x?>\n</r>"},
      // The writer's own layout, tabs and all, is kept.
      {"<?xml version=\"1.0\"?>\n<C>\n\t<R></R>\n</C>",
       "<?xml version=\"1.0\"?>\n<C>\n\t<R></R>\n</C>"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.document);
    EXPECT_EQ(LaidOutXML(row.document), row.laidOut);
  }
}

}  // namespace
