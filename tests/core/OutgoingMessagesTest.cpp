#include "core/OutgoingMessages.h"

#include "core/SessionQueues.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }
UString8 Text(const char* text) { return UString8(text); }

std::string WithoutLayout(std::string text) {
  std::string out;
  for (char c : text) {
    if (c != '\n' && c != '\t') out += c;
  }
  return out;
}

TEST(OutgoingMessages, ReadyForDataIsQueuedByteExact) {
  MessageList stale;
  outgoingQueue.TakeAll(stale);
  SendReadyForData(1, 1, 1, 1, 0);
  MessageList queued;
  outgoingQueue.TakeAll(queued);
  ASSERT_EQ(queued.Size(), 1u);
  EXPECT_EQ(Str(queued.Front()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<ClientToUI>\n"
            "\t<ReadyForData>\n"
            "\t\t<ProtocolVersionMin>1</ProtocolVersionMin>\n"
            "\t\t<ProtocolVersionMax>1</ProtocolVersionMax>\n"
            "\t\t<NewProtocolVersionMin>1</NewProtocolVersionMin>\n"
            "\t\t<NewProtocolVersionMax>1</NewProtocolVersionMax>\n"
            "\t\t<ClientUIPid>0</ClientUIPid>\n"
            "\t</ReadyForData>\n"
            "</ClientToUI>");
}

TEST(OutgoingMessages, ReadyForDataFieldsKeepTheirOrderAndFullWidth) {
  MessageList stale;
  outgoingQueue.TakeAll(stale);
  SendReadyForData(2, 4294967295u, 30, 40, 18446744073709551615u);
  MessageList queued;
  outgoingQueue.TakeAll(queued);
  ASSERT_EQ(queued.Size(), 1u);
  EXPECT_EQ(WithoutLayout(Str(queued.Front())),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><ClientToUI><ReadyForData>"
            "<ProtocolVersionMin>2</ProtocolVersionMin>"
            "<ProtocolVersionMax>4294967295</ProtocolVersionMax>"
            "<NewProtocolVersionMin>30</NewProtocolVersionMin>"
            "<NewProtocolVersionMax>40</NewProtocolVersionMax>"
            "<ClientUIPid>18446744073709551615</ClientUIPid>"
            "</ReadyForData></ClientToUI>");
}

TEST(OutgoingMessages, AnswerDocumentHasTheProtocolsShape) {
  const UString8 text =
      BuildOutgoingMessage("UIToClient", "ActionTaken",
                           {BooleanField("IsCancel", false), BooleanField("IsOffer", false),
                            NumberField("ID", 42), TextField("Originator", Text("ClientUI"))});
  EXPECT_EQ(WithoutLayout(Str(text)),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><UIToClient><ActionTaken>"
            "<IsCancel>false</IsCancel><IsOffer>false</IsOffer><ID>42</ID>"
            "<Originator>ClientUI</Originator></ActionTaken></UIToClient>");
  EXPECT_NE(Str(text).back(), '\n');
}

TEST(OutgoingMessages, MessageWithoutFieldsAndTextsThatNeedMarkup) {
  struct Row {
    const char* what;
    std::vector<OutgoingField> fields;
    const char* expected;
  };
  const Row rows[] = {
      {"no fields",
       {},
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ClientToUI>\n\t<M></M>\n</ClientToUI>"},
      {"empty text",
       {TextField("F", Text(""))},
       "<?xml version=\"1.0\" "
       "encoding=\"UTF-8\"?>\n<ClientToUI>\n\t<M>\n\t\t<F></F>\n\t</M>\n</ClientToUI>"},
      {"markup in a text goes into CDATA",
       {TextField("F", Text("a<b & c"))},
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ClientToUI>\n\t<M>\n\t\t<F><![CDATA[a<b & "
       "c]]></F>\n\t</M>\n</ClientToUI>"},
      {"a text that cannot be CDATA is escaped",
       {TextField("F", Text("x]]>y<"))},
       "<?xml version=\"1.0\" "
       "encoding=\"UTF-8\"?>\n<ClientToUI>\n\t<M>\n\t\t<F>x]]&gt;y&lt;</F>\n\t</M>\n</ClientToUI>"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Str(BuildOutgoingMessage("ClientToUI", "M", row.fields)), row.expected);
  }
}

std::string SentText() {
  MessageList queued;
  outgoingQueue.TakeAll(queued);
  EXPECT_EQ(queued.Size(), 1u);
  return queued.Size() == 1 ? WithoutLayout(Str(queued.Front())) : std::string();
}

TEST(OutgoingMessages, AnswersAndErrorReportsKeepTheirRootsAndChildOrder) {
  MessageList stale;
  outgoingQueue.TakeAll(stale);
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

  SendActionTaken(42, false, false, Text("ClientUI"));
  EXPECT_EQ(SentText(), declaration +
                            "<UIToClient><ActionTaken><IsCancel>false</IsCancel>"
                            "<IsOffer>false</IsOffer><ID>42</ID><Originator>ClientUI</Originator>"
                            "</ActionTaken></UIToClient>");

  SendActionTaken(18446744073709551615u, true, false, std::nullopt);
  EXPECT_EQ(SentText(), declaration +
                            "<UIToClient><ActionTaken><IsCancel>true</IsCancel>"
                            "<IsOffer>false</IsOffer><ID>18446744073709551615</ID>"
                            "</ActionTaken></UIToClient>");

  SendClientUIErrorMessage(2, Text("ConfirmationDialog"));
  EXPECT_EQ(SentText(), declaration +
                            "<ClientToUI><ClientUIErrorMessage>"
                            "<DebugString>ConfirmationDialog</DebugString><ErrorCode>2</ErrorCode>"
                            "</ClientUIErrorMessage></ClientToUI>");
}

TEST(OutgoingMessages, SnoozeMessagesAreQueuedByteExact) {
  MessageList stale;
  outgoingQueue.TakeAll(stale);
  SendRemindTime(1709618889 * 1000000LL, std::nullopt);
  SendRemindInterval(5400000000, std::nullopt);
  MessageList queued;
  outgoingQueue.TakeAll(queued);
  ASSERT_EQ(queued.Size(), 2u);
  EXPECT_EQ(Str(queued.PopFront()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<UIToClient>\n"
            "\t<RemindTime>\n"
            "\t\t<TimeObject>Tue, 05 Mar 2024 06:08:09 +0000</TimeObject>\n"
            "\t</RemindTime>\n"
            "</UIToClient>");
  EXPECT_EQ(Str(queued.Front()),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<UIToClient>\n"
            "\t<RemindInterval>\n"
            "\t\t<TimeInterval>PT1H30M</TimeInterval>\n"
            "\t</RemindInterval>\n"
            "</UIToClient>");
}

TEST(OutgoingMessages, SnoozeValuesKeepTheirTextFormsAndOriginatorComesLast) {
  MessageList stale;
  outgoingQueue.TakeAll(stale);
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
  struct Row {
    DateTime time;
    const char* text;
  };
  const Row times[] = {{0, "Thu, 01 Jan 1970 00:00:00 +0000"},
                       {-1000000, "Wed, 31 Dec 1969 23:59:59 +0000"},
                       {1999999, "Thu, 01 Jan 1970 00:00:01 +0000"}};
  for (const Row& row : times) {
    SCOPED_TRACE(row.text);
    SendRemindTime(row.time, Text(kClientUIOriginator));
    EXPECT_EQ(SentText(),
              declaration + "<UIToClient><RemindTime><TimeObject>" + row.text +
                  "</TimeObject><Originator>ClientUI</Originator></RemindTime></UIToClient>");
  }
  struct IntervalRow {
    TimeInterval interval;
    const char* text;
  };
  const IntervalRow intervals[] = {
      {0, "PT0S"}, {86400000000, "P1D"}, {-86401000000, "-P1DT1S"}, {1500000, "PT1.500000S"}};
  for (const IntervalRow& row : intervals) {
    SCOPED_TRACE(row.text);
    SendRemindInterval(row.interval, Text("x<y"));
    EXPECT_EQ(SentText(), declaration + "<UIToClient><RemindInterval><TimeInterval>" + row.text +
                              "</TimeInterval><Originator><![CDATA[x<y]]></Originator></"
                              "RemindInterval></UIToClient>");
  }
}

TEST(OutgoingMessages, BooleanTextAndNumberField) {
  EXPECT_STREQ(BooleanText(true), "true");
  EXPECT_STREQ(BooleanText(false), "false");
  EXPECT_EQ(Str(BooleanField("B", true).text), "true");
  EXPECT_EQ(Str(NumberField("N", 0).text), "0");
  EXPECT_EQ(Str(NumberField("N", 1000).text), "1000");
}

}  // namespace
