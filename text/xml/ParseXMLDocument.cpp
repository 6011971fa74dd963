#include "text/xml/ParseXMLDocument.h"

#include "text/xml/SAXParser.h"
#include "text/xml/XMLTreeParser.h"

std::unique_ptr<XMLElement> ParseXMLDocument(ByteRange document) {
  XMLTreeParser tree;
  SimpleXML::SAXParser parser(tree);
  parser.Feed(document);
  std::unique_ptr<XMLElement> root = tree.TakeRoot();
  if (root == nullptr) throw FormatError();
  return root;
}
