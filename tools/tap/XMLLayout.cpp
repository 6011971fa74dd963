#include "tools/tap/XMLLayout.h"

#include <string_view>
#include <vector>

namespace {

enum class TokenKind { StartTag, EndTag, EmptyTag, Other, Text };

struct Token {
  TokenKind kind;
  std::string_view text;
};

// The end of the markup starting at `at`: comments, CDATA sections and processing
// instructions end at their own terminators, tags at the first '>' outside quotes.
std::size_t MarkupEnd(std::string_view document, std::size_t at) {
  for (const auto& [opening, closing] :
       {std::pair<std::string_view, std::string_view>{"<!--", "-->"},
        {"<![CDATA[", "]]>"},
        {"<?", "?>"}}) {
    if (document.compare(at, opening.size(), opening) == 0) {
      const std::size_t found = document.find(closing, at + opening.size());
      return found == std::string_view::npos ? document.size() : found + closing.size();
    }
  }
  char quote = 0;
  for (std::size_t i = at + 1; i < document.size(); ++i) {
    const char c = document[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return document.size();
}

TokenKind KindOf(std::string_view markup) {
  if (markup.compare(0, 2, "</") == 0) return TokenKind::EndTag;
  if (markup.compare(0, 2, "<!") == 0 || markup.compare(0, 2, "<?") == 0) {
    // A CDATA section is text that happens to be written as markup.
    return markup.compare(0, 9, "<![CDATA[") == 0 ? TokenKind::Text : TokenKind::Other;
  }
  return markup.size() >= 2 && markup[markup.size() - 2] == '/' ? TokenKind::EmptyTag
                                                                : TokenKind::StartTag;
}

std::vector<Token> Tokens(std::string_view document) {
  std::vector<Token> tokens;
  std::size_t at = 0;
  while (at < document.size()) {
    const std::size_t end = document[at] == '<' ? MarkupEnd(document, at) : document.find('<', at);
    const std::string_view text =
        document.substr(at, (end == std::string_view::npos ? document.size() : end) - at);
    tokens.push_back({text[0] == '<' ? KindOf(text) : TokenKind::Text, text});
    at += text.size();
  }
  return tokens;
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Line breaks in blank text between two pieces of markup: the document has its own layout.
bool IsLaidOut(const std::vector<Token>& tokens) {
  for (const Token& token : tokens) {
    if (token.kind == TokenKind::Text && token.text[0] != '<' && IsBlank(token.text) &&
        token.text.find('\n') != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string LaidOutXML(ByteRange document) {
  const std::vector<Token> tokens = Tokens(document.View());
  if (IsLaidOut(tokens)) return std::string(document.View());
  std::string laidOut;
  std::size_t depth = 0;
  auto line = [&](std::string_view text) {
    if (!laidOut.empty()) laidOut += '\n';
    laidOut.append(2 * depth, ' ');
    laidOut += text;
  };
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    switch (token.kind) {
      case TokenKind::StartTag: {
        // An element of text alone: <Title>Update</Title> stays whole.
        std::size_t close = i + 1;
        while (close < tokens.size() && tokens[close].kind == TokenKind::Text) ++close;
        if (close < tokens.size() && tokens[close].kind == TokenKind::EndTag) {
          const Token& last = tokens[close];
          line(std::string_view(
              token.text.data(),
              static_cast<std::size_t>(last.text.data() + last.text.size() - token.text.data())));
          i = close;
        } else {
          line(token.text);
          ++depth;
        }
        break;
      }
      case TokenKind::EndTag:
        if (depth > 0) --depth;
        line(token.text);
        break;
      case TokenKind::Text:
        if (!IsBlank(token.text)) line(token.text);
        break;
      case TokenKind::EmptyTag:
      case TokenKind::Other:
        line(token.text);
        break;
    }
  }
  return laidOut;
}
