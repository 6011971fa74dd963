#include "text/xml/XMLWriter.h"

#include <cstring>

namespace {

enum class EscapeFor { kText, kAttribute };

// What replaces `byte`, or nullptr when it is written as it is. Control bytes that XML cannot
// carry in text are replaced by nothing: a receiving parser would reject the whole document.
const char* Replacement(char byte, EscapeFor context) noexcept {
  switch (byte) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return context == EscapeFor::kAttribute ? "&quot;" : nullptr;
    case '\t':
    case '\n':
    case '\r':
      return nullptr;
    default:
      break;
  }
  const auto unit = static_cast<unsigned char>(byte);
  if (context == EscapeFor::kText && (unit < 0x20 || unit == 0x7F)) return "";
  return nullptr;
}

// Passes runs of bytes that need no replacement to the receiver in one piece.
void WriteEscaped(UTextReceiver<UTF8>& receiver, ByteRange bytes, EscapeFor context) {
  const char* runBegin = bytes.begin;
  for (const char* cursor = bytes.begin; cursor != bytes.end; ++cursor) {
    const char* replacement = Replacement(*cursor, context);
    if (replacement == nullptr) continue;
    if (runBegin != cursor) receiver.Receive(runBegin, cursor);
    if (*replacement != '\0') receiver.Receive(replacement, replacement + std::strlen(replacement));
    runBegin = cursor + 1;
  }
  if (runBegin != bytes.end) receiver.Receive(runBegin, bytes.end);
}

bool Contains(ByteRange bytes, const char* needle) noexcept {
  const std::size_t length = std::strlen(needle);
  for (const char* cursor = bytes.begin; bytes.end - cursor >= static_cast<std::ptrdiff_t>(length);
       ++cursor) {
    if (std::memcmp(cursor, needle, length) == 0) return true;
  }
  return false;
}

bool HoldsMarkupByte(ByteRange bytes) noexcept {
  for (const char* cursor = bytes.begin; cursor != bytes.end; ++cursor) {
    if (*cursor == '<' || *cursor == '&' || *cursor == '>') return true;
  }
  return false;
}

const char kTabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";

}  // namespace

XMLWriter::XMLWriter(UTextReceiver<UTF8>& receiver, std::uint32_t indentMode)
    : receiver_(receiver), indentMode_(indentMode) {}

void XMLWriter::StartDocument(XMLDeclaration declaration) {
  receiver_.Start();
  Write(declaration == XMLDeclaration::kWithEncoding ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                                     : "<?xml version=\"1.0\"?>");
}

void XMLWriter::CloseStartTag() {
  if (lastEvent_ != LastEvent::kStartTagOpen) return;
  Write(">");
  lastEvent_ = LastEvent::kStartTagClosed;
}

void XMLWriter::WriteLineBreak(std::size_t tabs) {
  if (indentMode_ >= kNoAddedWhiteSpace) return;
  Write("\n");
  if (indentMode_ != kIndentWithTabs) return;
  constexpr std::size_t kTabRun = sizeof kTabs - 1;
  for (; tabs > kTabRun; tabs -= kTabRun) Write(ByteRange(kTabs, kTabs + kTabRun));
  Write(ByteRange(kTabs, kTabs + tabs));
}

void XMLWriter::StartElement(ByteRange name) {
  CloseStartTag();
  WriteLineBreak(openElements_.size());
  Write("<");
  Write(name);
  openElements_.emplace_back(name.begin, name.end);
  lastEvent_ = LastEvent::kStartTagOpen;
}

void XMLWriter::WriteAttribute(ByteRange name, ByteRange value) {
  Write(" ");
  Write(name);
  Write("=\"");
  WriteEscaped(receiver_, value, EscapeFor::kAttribute);
  Write("\"");
}

void XMLWriter::BeforeContent() {
  CloseStartTag();
  // Text after an end tag starts on a line of its own, without tabs.
  if (lastEvent_ == LastEvent::kEndTag && indentMode_ < kNoAddedWhiteSpace) Write("\n");
}

void XMLWriter::WriteEscapedText(ByteRange text) {
  BeforeContent();
  WriteEscaped(receiver_, text, EscapeFor::kText);
  lastEvent_ = LastEvent::kText;
}

void XMLWriter::WriteCData(ByteRange text) {
  BeforeContent();
  Write("<![CDATA[");
  Write(text);
  Write("]]>");
  lastEvent_ = LastEvent::kText;
}

void XMLWriter::WriteText(ByteRange text) {
  if (HoldsMarkupByte(text) && !Contains(text, "]]>")) {
    WriteCData(text);
  } else {
    WriteEscapedText(text);
  }
}

void XMLWriter::EndElement() {
  CloseStartTag();
  if (openElements_.empty()) {
    lastEvent_ = LastEvent::kEndTag;
    return;
  }
  if (lastEvent_ == LastEvent::kEndTag) WriteLineBreak(openElements_.size() - 1);
  Write("</");
  Write(openElements_.back());
  Write(">");
  openElements_.pop_back();
  lastEvent_ = LastEvent::kEndTag;
}

void XMLWriter::EndDocument(FinalLineBreak finalLineBreak) {
  while (!openElements_.empty()) EndElement();
  if (finalLineBreak == FinalLineBreak::kWrite) Write("\n");
  receiver_.End();
}

void XMLWriter::WriteElement(const XMLElement& element) {
  // An explicit stack instead of recursion, for trees nested deeper than the thread's stack.
  struct Open {
    const XMLElement* element;
    std::size_t nextChild;
  };
  std::vector<Open> open;
  const auto start = [this, &open](const XMLElement& next) {
    StartElement(next.name);
    for (const auto& [name, value] : next.attributes) WriteAttribute(name, value);
    WriteEscapedText(next.text);
    open.push_back(Open{&next, 0});
  };
  start(element);
  while (!open.empty()) {
    Open& top = open.back();
    if (top.nextChild == top.element->children.size()) {
      EndElement();
      open.pop_back();
    } else {
      start(top.element->children[top.nextChild++]);
    }
  }
}
