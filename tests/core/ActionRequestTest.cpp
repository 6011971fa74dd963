#include "core/ActionRequest.h"

#include "foundation/platform/StandardExceptions.h"
#include "text/time/TimeErrors.h"
#include "text/xml/Numerals.h"
#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }
std::string Str(const std::optional<UString8>& text) {
  return text ? "[" + Str(*text) + "]" : "none";
}

ActionRequest Read(const std::string& fields) {
  return ReadActionRequest(*ParseXMLDocument("<ActionRequest>" + fields + "</ActionRequest>"));
}

// The flags are checked one by one below.
TEST(ActionRequest, DefaultsAndEveryFieldFromItsOwnElement) {
  const ActionRequest none = Read("<Unknown>1</Unknown>");
  EXPECT_EQ(none.id, 0u);
  EXPECT_EQ(Str(none.title) + Str(none.shortDescription), "");
  EXPECT_FALSE(none.deadline.has_value());
  EXPECT_EQ(Str(none.preActionMessage) + Str(none.preview) + Str(none.sourceActionTitle) +
                Str(none.metaData),
            "nonenonenonenone");
  const ActionRequest request = Read(
      "<ID>18446744073709551615</ID><Title>t</Title><ShortDescription>s</ShortDescription>"
      "<Deadline>Thu, 01 Jan 1970 00:01:00 +0000</Deadline><PreActionMessage>p</PreActionMessage>"
      "<Preview>v</Preview><SourceActionTitle>a</SourceActionTitle><MetaData>m</MetaData>");
  EXPECT_EQ(request.id, 18446744073709551615u);
  EXPECT_EQ(request.deadline, DateTime::FromUnixSeconds(60));
  EXPECT_EQ(Str(request.title) + Str(request.shortDescription) + Str(request.preActionMessage) +
                Str(request.preview) + Str(request.sourceActionTitle) + Str(request.metaData),
            "ts[p][v][a][m]");
}

// Each flag on its own, so that two flags read into one member cannot pass unnoticed.
TEST(ActionRequest, EachFlagSetsOnlyItself) {
  struct Row {
    const char* name;
    bool ActionRequest::*flag;
  };
  const Row rows[] = {{"Cancellable", &ActionRequest::cancellable},
                      {"Shutdown", &ActionRequest::shutdown},
                      {"Restart", &ActionRequest::restart},
                      {"IncludedCommand", &ActionRequest::includedCommand},
                      {"ForceRun", &ActionRequest::forceRun},
                      {"RequestSave", &ActionRequest::requestSave},
                      {"UseCannedStrings", &ActionRequest::useCannedStrings}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ActionRequest request = Read(std::string("<") + row.name + ">1</" + row.name + ">");
    for (const Row& other : rows)
      EXPECT_EQ(request.*other.flag, other.flag == row.flag) << other.name;
  }
}

TEST(ActionRequest, MalformedNumbersAndTimesFailTheWholeRequest) {
  EXPECT_THROW(Read("<Title>t</Title><ID>+5</ID>"), NotANumeral);
  EXPECT_THROW(Read("<Deadline>05 Mar 2024 07:08</Deadline>"), NoTimeZone);
}

}  // namespace
