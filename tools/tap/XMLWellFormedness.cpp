#include "tools/tap/XMLWellFormedness.h"

#include "foundation/data/BinaryString.h"

#include <cctype>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// A cursor over the document; every Read* consumes what it accepts and reports whether the
// construct was well-formed.
class Checker {
 public:
  explicit Checker(ByteRange document) : at_(document.begin), end_(document.end) {}

  bool Document() {
    if (Starts("<?xml") && !ProcessingInstruction()) return false;
    if (!Misc()) return false;
    if (at_ == end_ || *at_ != '<' || !Element()) return false;
    return Misc() && at_ == end_;
  }

 private:
  static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
  // Bytes of multi-byte UTF-8 characters count as name characters: the UTF-8 check has vouched
  // for them, and the finer classes of the XML name grammar are not worth their tables here.
  static bool IsNameStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
  }
  static bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
  }

  bool Starts(std::string_view text) const {
    return static_cast<std::size_t>(end_ - at_) >= text.size() &&
           std::memcmp(at_, text.data(), text.size()) == 0;
  }
  void SkipSpace() {
    while (at_ != end_ && IsSpace(*at_)) ++at_;
  }
  // Moves past the next occurrence of the terminator; false when there is none.
  bool SkipPast(std::string_view terminator, std::string_view& skipped) {
    const std::string_view rest(at_, static_cast<std::size_t>(end_ - at_));
    const std::size_t found = rest.find(terminator);
    if (found == std::string_view::npos) return false;
    skipped = rest.substr(0, found);
    at_ += found + terminator.size();
    return true;
  }

  bool Name(std::string_view& name) {
    const char* start = at_;
    if (at_ == end_ || !IsNameStart(*at_)) return false;
    while (at_ != end_ && IsNameChar(*at_)) ++at_;
    name = std::string_view(start, static_cast<std::size_t>(at_ - start));
    return true;
  }

  // Comments, processing instructions and space, as allowed around the root element.
  bool Misc() {
    for (;;) {
      SkipSpace();
      if (Starts("<!--")) {
        if (!Comment()) return false;
      } else if (Starts("<?")) {
        if (!ProcessingInstruction()) return false;
      } else {
        return true;
      }
    }
  }

  bool Comment() {
    at_ += 4;
    std::string_view body;
    if (!SkipPast("-->", body)) return false;
    return body.find("--") == std::string_view::npos && (body.empty() || body.back() != '-');
  }

  bool ProcessingInstruction() {
    at_ += 2;
    std::string_view target;
    if (!Name(target)) return false;
    std::string_view body;
    if (!SkipPast("?>", body)) return false;
    return body.empty() || IsSpace(body.front());
  }

  bool CDataSection() {
    at_ += 9;  // <![CDATA[
    std::string_view body;
    return SkipPast("]]>", body);
  }

  // After the '&': a named reference or a decimal or hexadecimal character reference.
  bool Reference() {
    ++at_;
    if (at_ != end_ && *at_ == '#') {
      ++at_;
      const bool hex = at_ != end_ && *at_ == 'x';
      if (hex) ++at_;
      const char* digits = at_;
      while (at_ != end_ && (std::isdigit(static_cast<unsigned char>(*at_)) ||
                             (hex && std::isxdigit(static_cast<unsigned char>(*at_))))) {
        ++at_;
      }
      if (at_ == digits) return false;
    } else {
      std::string_view name;
      if (!Name(name)) return false;
    }
    if (at_ == end_ || *at_ != ';') return false;
    ++at_;
    return true;
  }

  bool AttributeValue() {
    if (at_ == end_ || (*at_ != '"' && *at_ != '\'')) return false;
    const char quote = *at_++;
    while (at_ != end_ && *at_ != quote) {
      if (*at_ == '<') return false;
      if (*at_ == '&') {
        if (!Reference()) return false;
      } else {
        ++at_;
      }
    }
    if (at_ == end_) return false;
    ++at_;
    return true;
  }

  // A start tag, its content and its end tag; nesting is kept on a stack of names rather than
  // the call stack, so that a deep document cannot exhaust the relay thread's stack.
  bool Element() {
    std::vector<std::string_view> open;
    do {
      if (Starts("</")) {
        at_ += 2;
        std::string_view name;
        if (open.empty() || !Name(name) || name != open.back()) return false;
        SkipSpace();
        if (at_ == end_ || *at_ != '>') return false;
        ++at_;
        open.pop_back();
      } else if (Starts("<!--")) {
        if (open.empty() || !Comment()) return false;
      } else if (Starts("<![CDATA[")) {
        if (open.empty() || !CDataSection()) return false;
      } else if (Starts("<?")) {
        if (open.empty() || !ProcessingInstruction()) return false;
      } else if (Starts("<")) {
        ++at_;
        std::string_view name;
        bool empty = false;
        if (!Name(name) || !Attributes(empty)) return false;
        if (!empty) open.push_back(name);
        if (open.empty()) return true;  // the root was an empty-element tag
      } else if (!CharacterData()) {
        return false;
      }
    } while (!open.empty());
    return true;
  }

  // The attributes and the end of a start tag; `empty` tells a "/>" ending.
  bool Attributes(bool& empty) {
    std::vector<std::string_view> names;
    for (;;) {
      const bool spaced = at_ != end_ && IsSpace(*at_);
      SkipSpace();
      if (Starts("/>") || Starts(">")) {
        empty = *at_ == '/';
        at_ += empty ? 2 : 1;
        return true;
      }
      std::string_view name;
      if (!spaced || !Name(name)) return false;
      for (std::string_view seen : names) {
        if (seen == name) return false;
      }
      names.push_back(name);
      SkipSpace();
      if (at_ == end_ || *at_ != '=') return false;
      ++at_;
      SkipSpace();
      if (!AttributeValue()) return false;
    }
  }

  // Text up to the next markup; "]]>" may not appear in it.
  bool CharacterData() {
    if (at_ == end_) return false;
    while (at_ != end_ && *at_ != '<') {
      if (*at_ == '&') {
        if (!Reference()) return false;
      } else {
        if (Starts("]]>")) return false;
        ++at_;
      }
    }
    return true;
  }

  const char* at_;
  const char* end_;
};

// XML 1.0 allows no control character but tab, line feed and carriage return.
bool HasForbiddenControl(ByteRange document) {
  for (const char* p = document.begin; p != document.end; ++p) {
    const auto u = static_cast<unsigned char>(*p);
    if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') return true;
  }
  return false;
}

}  // namespace

bool IsWellFormedXML(ByteRange document) {
  // The structure first: it turns most binary frames away within a few bytes, before the
  // encoding check reads all of them.
  return Checker(document).Document() && !HasForbiddenControl(document) &&
         IsValidUTF8(document.begin, document.end);
}
