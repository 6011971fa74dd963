#include "core/IncomingMessages.h"

#include "core/MessageFields.h"

RemoveType ParseRemoveType(const UString8& text) noexcept {
  static const struct {
    const char* name;
    RemoveType type;
  } kNames[] = {{"Action", RemoveType::kAction},
                {"Offer", RemoveType::kOffer},
                {"Message", RemoveType::kMessage},
                {"All", RemoveType::kAll}};
  for (const auto& entry : kNames) {
    if (ByteRange(text) == ByteRange(entry.name)) return entry.type;
  }
  return RemoveType::kAll;
}

MessageRequest ReadMessageRequest(const XMLElement& message) {
  MessageRequest request;
  ReadNumberChild(message, "ID", request.id);
  ReadTextChild(message, "Title", request.title);
  ReadTextChild(message, "Message", request.message);
  ReadTextChild(message, "ActionState", request.actionState);
  ReadIntervalChild(message, "Timeout", request.timeout);
  ReadBoolChild(message, "IsCompletionMessage", request.isCompletionMessage);
  return request;
}

RemoveRequest ReadRemoveRequest(const XMLElement& message) {
  RemoveRequest request;
  ReadNumberChild(message, "ID", request.id);
  std::optional<UString8> removeType;
  ReadFragmentChild(message, "RemoveType", removeType);
  if (removeType) request.removeType = ParseRemoveType(*removeType);
  return request;
}

QuietModeStart ReadQuietModeStart(const XMLElement& message) {
  QuietModeStart period;
  ReadTimeChild(message, "StartTime", period.startTime);
  ReadTimeChild(message, "EndTime", period.endTime);
  return period;
}

QuietModeEnd ReadQuietModeEnd(const XMLElement&) noexcept { return QuietModeEnd{}; }

ActionRunningTopmost ReadActionRunningTopmost(const XMLElement& message) {
  ActionRunningTopmost setting;
  ReadBoolChild(message, "Enabled", setting.enabled);
  return setting;
}
