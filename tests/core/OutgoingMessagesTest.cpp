#include "core/OutgoingMessages.h"

#include "core/OutgoingQueue.h"

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

TEST(OutgoingMessages, MessageWithoutFieldsAndAnEmptyTextKeepTheirElements) {
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ClientToUI>\n\t<M>";
  EXPECT_EQ(Str(BuildOutgoingMessage("ClientToUI", "M", {})), head + "</M>\n</ClientToUI>");
  EXPECT_EQ(Str(BuildOutgoingMessage("ClientToUI", "M", {TextField("F", Text(""))})),
            head + "\n\t\t<F></F>\n\t</M>\n</ClientToUI>");
}

}  // namespace
