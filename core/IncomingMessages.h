// The small messages the client sends: message windows, withdrawals, quiet mode and the
// topmost setting for running-action windows. The dispatcher reads each from its message
// element; ActionRequest.h and InitializationInfo.h hold the two larger ones.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"
#include "text/xml/XMLElement.h"

#include <cstdint>
#include <optional>

// A message window for a running or completed action.
struct MessageRequest {
  std::uint64_t id = 0;
  UString8 title;
  UString8 message;
  UString8 actionState;
  // How long the window stays up; none keeps it until it is closed or removed.
  std::optional<TimeInterval> timeout;
  bool isCompletionMessage = false;
};

// What a RemoveRequest withdraws, numbered as the client numbers them.
enum class RemoveType { kAction = 0, kOffer = 1, kMessage = 2, kAll = 3 };

struct RemoveRequest {
  std::uint64_t id = 0;
  RemoveType removeType = RemoveType::kAll;
};

// The period during which the administrator has disabled the interface.
struct QuietModeStart {
  DateTime startTime;
  DateTime endTime;
};

struct QuietModeEnd {};

struct ActionRunningTopmost {
  // None when the element is absent, so that the caller can keep its current setting.
  std::optional<bool> enabled;
};

// "Action", "Offer", "Message" or "All", compared exactly; any other text is kAll.
[[nodiscard]] RemoveType ParseRemoveType(const UString8& text) noexcept;

// Each throws what the field readers throw for a malformed number, interval or time.
[[nodiscard]] MessageRequest ReadMessageRequest(const XMLElement& message);
[[nodiscard]] RemoveRequest ReadRemoveRequest(const XMLElement& message);
[[nodiscard]] QuietModeStart ReadQuietModeStart(const XMLElement& message);
[[nodiscard]] QuietModeEnd ReadQuietModeEnd(const XMLElement& message) noexcept;
[[nodiscard]] ActionRunningTopmost ReadActionRunningTopmost(const XMLElement& message);
