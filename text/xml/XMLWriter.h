// Writes one XML document to a UTF-8 text receiver as a stream of calls: StartDocument, nested
// StartElement / WriteAttribute / content / EndElement, then EndDocument. Every outgoing
// message is written with it, in indent mode 0.
#pragma once

#include "foundation/data/ByteRange.h"
#include "foundation/text/UTextReceiver.h"
#include "text/xml/XMLElement.h"

#include <cstdint>
#include <vector>

enum class XMLDeclaration { kWithEncoding, kWithoutEncoding };
enum class FinalLineBreak { kOmit, kWrite };

class XMLWriter {
 public:
  // A line break and one tab per open element before each start tag, and before an end tag
  // that follows an end tag.
  static constexpr std::uint32_t kIndentWithTabs = 0;
  // The same line breaks without tabs.
  static constexpr std::uint32_t kLineBreaksOnly = 1;
  // This and every higher mode add no white space.
  static constexpr std::uint32_t kNoAddedWhiteSpace = 2;

  // The receiver is borrowed and must outlive the writer.
  XMLWriter(UTextReceiver<UTF8>& receiver, std::uint32_t indentMode);

  // Starts the receiver and writes the XML declaration.
  void StartDocument(XMLDeclaration declaration = XMLDeclaration::kWithEncoding);
  void StartElement(ByteRange name);
  // Only while the start tag is still open, i.e. right after StartElement or WriteAttribute.
  void WriteAttribute(ByteRange name, ByteRange value);
  // A CDATA section when the text holds markup bytes and can be one, else escaped text.
  void WriteText(ByteRange text);
  void WriteEscapedText(ByteRange text);
  // The text unchanged inside "<![CDATA[" and "]]>"; the caller keeps "]]>" out of it.
  void WriteCData(ByteRange text);
  void EndElement();
  // Closes every open element and ends the receiver.
  void EndDocument(FinalLineBreak finalLineBreak = FinalLineBreak::kOmit);
  // The whole subtree: attributes in map order, the text (even when empty), then the children.
  void WriteElement(const XMLElement& element);

 private:
  enum class LastEvent { kNone, kStartTagOpen, kStartTagClosed, kText, kEndTag };

  void Write(ByteRange bytes) {
    if (!bytes.empty()) receiver_.Receive(bytes.begin, bytes.end);
  }
  void CloseStartTag();
  void WriteLineBreak(std::size_t tabs);
  void BeforeContent();

  UTextReceiver<UTF8>& receiver_;
  std::uint32_t indentMode_;
  std::vector<UString8> openElements_;
  LastEvent lastEvent_ = LastEvent::kNone;
};
