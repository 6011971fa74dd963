// One action or offer the client asks the user to decide on: the record the dispatcher keeps in
// the pending list, the request store merges and the dialogs and timer work from.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"
#include "text/xml/XMLElement.h"

#include <cstdint>
#include <list>
#include <optional>

// The last minutes before a deadline, in which the user is warned: a forced request is never
// shown closer than this, the countdowns inside it change every second, a request due within
// it asks to be taken now, and no snooze is offered.
constexpr TimeInterval kDeadlineWarningPeriod = TimeInterval::Minutes(5);

struct ActionRequest {
  std::uint64_t id = 0;
  UString8 title;
  UString8 shortDescription;
  std::optional<DateTime> deadline;
  // To be confirmed by the user before the request is taken.
  std::optional<UString8> preActionMessage;
  // The action script the details dialog shows.
  std::optional<UString8> preview;
  // Kept with the request for the client's sake; they have no effect here.
  std::optional<UString8> sourceActionTitle;
  std::optional<UString8> metaData;
  bool cancellable = false;
  bool shutdown = false;
  bool restart = false;
  bool includedCommand = false;
  // Taken without the user once the deadline has passed.
  bool forceRun = false;
  bool requestSave = false;
  bool useCannedStrings = false;
  // Not part of the message: numbered when the record joins the pending list, growing along the
  // list, so that a place in the list can still be named after its record has left it.
  std::uint64_t arrival = 0;
};

// Pending requests in arrival order, duplicate IDs included. A list, so that a record stays put
// while others come and go around it.
using PendingRequestList = std::list<ActionRequest>;

// The request held by an ActionRequest message element. Throws what the field readers throw for
// a malformed number or time.
[[nodiscard]] ActionRequest ReadActionRequest(const XMLElement& message);
