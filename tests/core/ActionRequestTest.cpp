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

TEST(ActionRequest, ElementWithoutKnownFieldsGivesEveryDefault) {
  const ActionRequest request = Read("<Unknown>1</Unknown>");
  EXPECT_EQ(request.id, 0u);
  EXPECT_EQ(Str(request.title), "");
  EXPECT_EQ(Str(request.shortDescription), "");
  EXPECT_FALSE(request.deadline.has_value());
  EXPECT_EQ(Str(request.preActionMessage), "none");
  EXPECT_EQ(Str(request.preview), "none");
  EXPECT_EQ(Str(request.sourceActionTitle), "none");
  EXPECT_EQ(Str(request.metaData), "none");
  EXPECT_FALSE(request.cancellable || request.shutdown || request.restart ||
               request.includedCommand || request.forceRun || request.requestSave ||
               request.useCannedStrings);
}

TEST(ActionRequest, EveryFieldIsReadFromItsOwnElement) {
  const ActionRequest request = Read(
      "<UseCannedStrings>1</UseCannedStrings><ID>18446744073709551615</ID><Title>t</Title>"
      "<ShortDescription>s</ShortDescription><Deadline>Thu, 01 Jan 1970 00:01:00 +0000</Deadline>"
      "<PreActionMessage>p</PreActionMessage><Preview>v</Preview>"
      "<SourceActionTitle>a</SourceActionTitle><MetaData>m</MetaData>"
      "<Cancellable>true</Cancellable><Shutdown></Shutdown><Restart>yes</Restart>"
      "<IncludedCommand>1</IncludedCommand><ForceRun>FALSE</ForceRun><RequestSave>x</RequestSave>");
  EXPECT_EQ(request.id, 18446744073709551615u);
  EXPECT_EQ(Str(request.title), "t");
  EXPECT_EQ(Str(request.shortDescription), "s");
  EXPECT_EQ(request.deadline, std::optional<DateTime>(60 * kMicrosecondsPerSecond));
  EXPECT_EQ(Str(request.preActionMessage), "[p]");
  EXPECT_EQ(Str(request.preview), "[v]");
  EXPECT_EQ(Str(request.sourceActionTitle), "[a]");
  EXPECT_EQ(Str(request.metaData), "[m]");
  EXPECT_TRUE(request.cancellable && request.shutdown && request.restart &&
              request.includedCommand && request.forceRun && request.requestSave &&
              request.useCannedStrings);
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
