// ParseXMLDocument against libexpat building the same element tree, on a 2 MiB message of many
// small elements (with CDATA, entities and attributes) and on a 300-byte message.
#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "text/xml/ParseXMLDocument.h"
#include "text/xml/XMLElement.h"

namespace {

std::string LargeMessage() {
  std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ClientToUI>\n";
  for (int n = 0; document.size() < (2u << 20); ++n) {
    const std::string id = std::to_string(n);
    document += "\t<ActionRequest kind=\"install\" order=\"" + id +
                "\">\n"
                "\t\t<ID>" +
                id +
                "</ID>\n"
                "\t\t<Name>Update &amp; restart &lt;" +
                id +
                "&gt; caf\xC3\xA9</Name>\n"
                "\t\t<Script><![CDATA[if [ -x /opt/tool ]; then /opt/tool --apply " +
                id +
                " && echo <done>; fi]]></Script>\n"
                "\t\t<Deadline>Tue, 05 Mar 2024 07:08:09 +0100</Deadline>\n"
                "\t\t<Snooze>PT15M</Snooze>\n"
                "\t</ActionRequest>\n";
  }
  return document + "</ClientToUI>";
}

std::string SmallMessage() {
  std::string document =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ClientToUI>\n\t<MessageRequest>\n"
      "\t\t<ID>42</ID>\n\t\t<Title>Maintenance &amp; updates</Title>\n"
      "\t\t<Text><![CDATA[Your computer restarts at 18:00 tonight. Save your work "
      "<now>.]]></Text>\n"
      "\t\t<Deadline>Tue, 05 Mar 2024 07:08:09 +0100</Deadline>\n"
      "\t</MessageRequest>\n</ClientToUI>";
  return document;
}

// Builds XMLElement trees from libexpat's callbacks, as ParseXMLDocument does from its own.
class ExpatTreeBuilder {
 public:
  std::unique_ptr<XMLElement> Parse(const std::string& document) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &ExpatTreeBuilder::OnStart, &ExpatTreeBuilder::OnEnd);
    XML_SetCharacterDataHandler(parser, &ExpatTreeBuilder::OnText);
    root_.reset();
    open_.clear();
    if (XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) != XML_STATUS_OK) {
      std::fprintf(stderr, "libexpat rejected the benchmark document\n");
      std::abort();
    }
    XML_ParserFree(parser);
    return std::move(root_);
  }

 private:
  static void OnStart(void* self, const XML_Char* name, const XML_Char** attributes) {
    auto& builder = *static_cast<ExpatTreeBuilder*>(self);
    XMLElement::AttributeMap map;
    for (; *attributes; attributes += 2)
      map.emplace(UString8(attributes[0]), UString8(attributes[1]));
    XMLElement element(UString8(name), std::move(map));
    if (builder.open_.empty()) {
      builder.root_ = std::make_unique<XMLElement>(std::move(element));
      builder.open_.push_back(builder.root_.get());
    } else {
      builder.open_.push_back(&builder.open_.back()->AddChild(std::move(element)));
    }
  }
  static void OnEnd(void* self, const XML_Char*) {
    static_cast<ExpatTreeBuilder*>(self)->open_.pop_back();
  }
  static void OnText(void* self, const XML_Char* text, int length) {
    auto& builder = *static_cast<ExpatTreeBuilder*>(self);
    if (!builder.open_.empty()) builder.open_.back()->AppendText(ByteRange(text, text + length));
  }

  std::unique_ptr<XMLElement> root_;
  // The path from the root to the element being filled. Adding a child moves only the closed
  // siblings before it, so every pointer on the path stays valid.
  std::vector<XMLElement*> open_;
};

bool SameTree(const XMLElement& a, const XMLElement& b) {
  if (a.name != b.name || a.attributes != b.attributes || a.text != b.text ||
      a.children.size() != b.children.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.children.size(); ++i) {
    if (!SameTree(a.children[i], b.children[i])) return false;
  }
  return true;
}

const std::string& Message(int which) {
  static const std::string large = LargeMessage();
  static const std::string small = SmallMessage();
  static const bool checked = [] {
    // Both sides must build the same tree, or the comparison means nothing.
    for (const std::string* document : {&large, &small}) {
      ExpatTreeBuilder expat;
      if (!SameTree(*ParseXMLDocument(ByteRange(*document)), *expat.Parse(*document))) {
        std::fprintf(stderr, "the two parsers built different trees\n");
        std::abort();
      }
    }
    return true;
  }();
  (void)checked;
  return which == 0 ? large : small;
}

void Ours(benchmark::State& state, int which) {
  const std::string& document = Message(which);
  for (auto _ : state) benchmark::DoNotOptimize(ParseXMLDocument(ByteRange(document)));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}

void Expat(benchmark::State& state, int which) {
  const std::string& document = Message(which);
  ExpatTreeBuilder builder;
  for (auto _ : state) benchmark::DoNotOptimize(builder.Parse(document));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}

}  // namespace

BENCHMARK_CAPTURE(Ours, 2MiB, 0)->Name("XML parse 2 MiB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Expat, 2MiB, 0)->Name("XML parse 2 MiB/libexpat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, 300B, 1)->Name("XML parse 300 B/ours");
BENCHMARK_CAPTURE(Expat, 300B, 1)->Name("XML parse 300 B/libexpat");
