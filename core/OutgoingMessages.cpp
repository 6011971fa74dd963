#include "core/OutgoingMessages.h"

#include "core/OutgoingQueue.h"
#include "foundation/text/UTextReceiver.h"
#include "text/time/MailDateTime.h"
#include "text/time/XMLDuration.h"
#include "text/xml/Numerals.h"
#include "text/xml/XMLWriter.h"

OutgoingField TextField(const char* name, const UString8& text) {
  return OutgoingField{name, text};
}

OutgoingField NumberField(const char* name, std::uint64_t value) {
  const auto digits = FormatUnsigned(value, 1u);
  return OutgoingField{name, UString8(digits.begin(), digits.end())};
}

OutgoingField BooleanField(const char* name, bool value) {
  return OutgoingField{name, UString8(BooleanText(value))};
}

const char* BooleanText(bool value) noexcept { return value ? "true" : "false"; }

UString8 BuildOutgoingMessage(const char* root, const char* message,
                              const std::vector<OutgoingField>& fields) {
  UStringBuilder<UTF8> document;
  // A tab per level; no line break after the root's end tag.
  XMLWriter writer(document, XMLWriter::kIndentWithTabs);
  writer.StartDocument();
  writer.StartElement(root);
  writer.StartElement(message);
  for (const OutgoingField& field : fields) {
    writer.StartElement(field.name);
    writer.WriteText(field.text);
    writer.EndElement();
  }
  writer.EndDocument();
  return document.Take();
}

void SendToClient(const UString8& text) { outgoingQueue.Push(text); }

void SendReadyForData(std::uint32_t minimumVersion, std::uint32_t maximumVersion,
                      std::uint32_t newMinimumVersion, std::uint32_t newMaximumVersion,
                      std::uint64_t processNumber) {
  SendToClient(BuildOutgoingMessage("ClientToUI", "ReadyForData",
                                    {NumberField("ProtocolVersionMin", minimumVersion),
                                     NumberField("ProtocolVersionMax", maximumVersion),
                                     NumberField("NewProtocolVersionMin", newMinimumVersion),
                                     NumberField("NewProtocolVersionMax", newMaximumVersion),
                                     NumberField("ClientUIPid", processNumber)}));
}

void SendActionTaken(std::uint64_t id, Answer answer, Offer offer,
                     const std::optional<UString8>& originator) {
  std::vector<OutgoingField> fields{BooleanField("IsCancel", answer == Answer::kCancel),
                                    BooleanField("IsOffer", offer == Offer::kYes),
                                    NumberField("ID", id)};
  if (originator) fields.push_back(TextField("Originator", *originator));
  SendToClient(BuildOutgoingMessage("UIToClient", "ActionTaken", fields));
}

void SendRemindInterval(TimeInterval interval, const std::optional<UString8>& originator) {
  std::vector<OutgoingField> fields{TextField("TimeInterval", FormatXMLDuration(interval))};
  if (originator) fields.push_back(TextField("Originator", *originator));
  SendToClient(BuildOutgoingMessage("UIToClient", "RemindInterval", fields));
}

void SendRemindTime(DateTime time, const std::optional<UString8>& originator) {
  // Always UTC, so the client never depends on this side's zone.
  std::vector<OutgoingField> fields{TextField("TimeObject", FormatMailDateTime(time, 0))};
  if (originator) fields.push_back(TextField("Originator", *originator));
  SendToClient(BuildOutgoingMessage("UIToClient", "RemindTime", fields));
}

void SendClientUIErrorMessage(std::uint32_t errorCode, const UString8& debugText) {
  SendToClient(BuildOutgoingMessage(
      "ClientToUI", "ClientUIErrorMessage",
      {TextField("DebugString", debugText), NumberField("ErrorCode", errorCode)}));
}
