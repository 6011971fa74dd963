// Random messages under a fixed seed for every incoming reader: whatever the client sends, a
// reader either gives a record or throws one of the program's own exceptions.
#include "core/ActionRequest.h"
#include "core/IncomingMessages.h"
#include "core/InitializationInfo.h"
#include "foundation/platform/DebuggableException.h"
#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

// Children the readers look at, with values valid for some fields and malformed for others.
const std::vector<std::string> kNames = {"ID",
                                         "IsOffer",
                                         "ForceRun",
                                         "Deadline",
                                         "Title",
                                         "Type",
                                         "Enabled",
                                         "StartTime",
                                         "EndTime",
                                         "BaseDirectory",
                                         "SupportFiles",
                                         "FileName",
                                         "SubFolder",
                                         "Content",
                                         "InitialUISettings",
                                         "RemindInterval",
                                         "RemindTime",
                                         "TrayMode",
                                         "AllowSnooze",
                                         "UseLocale",
                                         "IdleThreshold",
                                         "MaxHistoryAge",
                                         "QSPv2Mode",
                                         "MainDialogMinWidth",
                                         "Text",
                                         "TimeOut"};
const std::vector<std::string> kValues = {"",
                                          "0",
                                          "1",
                                          "true",
                                          "false",
                                          "yes",
                                          "3",
                                          "4294967295",
                                          "4294967296",
                                          "18446744073709551615",
                                          "18446744073709551616",
                                          "-1",
                                          "+2",
                                          " 7",
                                          "PT5M",
                                          "-P1DT2H",
                                          "P",
                                          "PT1.0000001S",
                                          "P99999999999D",
                                          "Tue, 05 Mar 2024 07:08:09 +0100",
                                          "31 Feb 2024 00:00 GMT",
                                          "Mon, 05 Mar 2024 07:08 z",
                                          "5 mar 69 25:00 EST",
                                          "YQ==",
                                          "&amp;&lt;",
                                          "<![CDATA[x<y]]>",
                                          "\xC3\xA9",
                                          "\xFF\xFE"};

std::string RandomElement(std::mt19937& engine, int depth) {
  auto pick = [&engine](std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(engine);
  };
  const std::string& name = kNames[pick(kNames.size())];
  std::string element = "<" + name + ">";
  if (depth < 2 && pick(4) == 0) {
    for (std::size_t children = pick(4); children > 0; --children)
      element += RandomElement(engine, depth + 1);
  } else {
    element += kValues[pick(kValues.size())];
  }
  return element + "</" + name + ">";
}

TEST(MessageReadersRandomInput, ReadersThrowOnlyTheProgramsOwnExceptions) {
  using Reader = std::function<void(const XMLElement&)>;
  const std::vector<std::pair<const char*, Reader>> readers = {
      {"ActionRequest", [](const XMLElement& m) { (void)ReadActionRequest(m); }},
      {"MessageRequest", [](const XMLElement& m) { (void)ReadMessageRequest(m); }},
      {"RemoveRequest", [](const XMLElement& m) { (void)ReadRemoveRequest(m); }},
      {"QuietModeStart", [](const XMLElement& m) { (void)ReadQuietModeStart(m); }},
      {"QuietModeEnd", [](const XMLElement& m) { (void)ReadQuietModeEnd(m); }},
      {"ActionRunningTopmost", [](const XMLElement& m) { (void)ReadActionRunningTopmost(m); }},
      {"InitializationInfo", [](const XMLElement& m) { (void)ReadInitializationInfo(m); }},
  };
  std::mt19937 engine(2718);
  std::vector<int> accepted(readers.size(), 0);
  for (int round = 0; round < 3000; ++round) {
    std::string document = "<Message>";
    for (int children = round % 7; children > 0; --children) document += RandomElement(engine, 0);
    document += "</Message>";
    SCOPED_TRACE(testing::PrintToString(document));
    const std::unique_ptr<XMLElement> message = ParseXMLDocument(document);
    for (std::size_t i = 0; i < readers.size(); ++i) {
      try {
        readers[i].second(*message);
        ++accepted[i];
      } catch (const DebuggableException&) {
        // a malformed value; anything else escapes and fails the test
      }
    }
  }
  // The inputs must reach the readers' success paths too, or the test proves little.
  for (std::size_t i = 0; i < readers.size(); ++i) EXPECT_GT(accepted[i], 300) << readers[i].first;
}

}  // namespace
