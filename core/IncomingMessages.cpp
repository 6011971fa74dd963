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
  ReadChild(message, "ID", request.id);
  ReadChild(message, "Title", request.title);
  ReadChild(message, "Message", request.message);
  ReadChild(message, "ActionState", request.actionState);
  ReadChild<DurationField>(message, "Timeout", request.timeout);
  ReadChild(message, "IsCompletionMessage", request.isCompletionMessage);
  return request;
}

RemoveRequest ReadRemoveRequest(const XMLElement& message) {
  RemoveRequest request;
  ReadChild(message, "ID", request.id);
  std::optional<UString8> removeType;
  ReadChild(message, "RemoveType", removeType);
  if (removeType) request.removeType = ParseRemoveType(*removeType);
  return request;
}

QuietModeStart ReadQuietModeStart(const XMLElement& message) {
  QuietModeStart period;
  ReadChild<TimeField>(message, "StartTime", period.startTime);
  ReadChild<TimeField>(message, "EndTime", period.endTime);
  return period;
}

QuietModeEnd ReadQuietModeEnd(const XMLElement&) noexcept { return QuietModeEnd{}; }

ActionRunningTopmost ReadActionRunningTopmost(const XMLElement& message) {
  ActionRunningTopmost setting;
  ReadChild(message, "Enabled", setting.enabled);
  return setting;
}
