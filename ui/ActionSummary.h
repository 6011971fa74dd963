// The sentence under the action request dialog's list that says what taking the pending actions
// means: save work first, a restart or shutdown afterwards, and how long is left. The sentence
// is chosen whole from fixed English tables, looked up for an override and filled with the time
// left. An override the format engine rejects shows as "<Invalid String>".
#pragma once

#include "core/ActionRequest.h"
#include "core/ActionRequestStore.h"
#include "foundation/text/AutoUString.h"

#include <cstdint>
#include <optional>
#include <vector>

enum class SummaryReboot { kNone, kRestart, kShutdown };
enum class SummaryDeadline { kNone, kWithin, kNow, kAutomatically };

// What decides the sentence.
struct SummaryKey {
  bool save = false;
  SummaryReboot reboot = SummaryReboot::kNone;
  SummaryDeadline deadline = SummaryDeadline::kNone;
  // The earliest deadline and whether its request runs by itself; set unless deadline is kNone.
  DateTime earliest;
  bool automatic = false;
};

// For every request of the store, with the forced deadlines it has already moved. A shutdown
// wins over a restart.
[[nodiscard]] SummaryKey ActionsSummaryKey(const ActionRequestStore& store, DateTime now);
// The same key as for a store merged from pending at now, read from the list itself: the dialog
// asks every refresh, and copying a thousand records into a store costs more than the rest.
[[nodiscard]] SummaryKey ActionsSummaryKey(const PendingRequestList& pending, DateTime now);
// For one request; a restart wins over a shutdown.
[[nodiscard]] SummaryKey ActionSummaryKey(const ActionRequest& request, DateTime now);

// The summary of the listed requests, shown while nothing is selected.
[[nodiscard]] UString8 BuildActionsSummary(const ActionRequestStore& store, DateTime now);
[[nodiscard]] UString8 BuildActionsSummary(const PendingRequestList& pending, DateTime now);
// The summary of the selected request, with the client's own deadline.
[[nodiscard]] UString8 BuildActionSummary(const ActionRequest& request, DateTime now);

// Every sentence of the two tables, the empty one left out (it is never looked up): what the
// translation checker knows as summary sentences.
[[nodiscard]] std::vector<const char*> ActionsSummarySentences();
[[nodiscard]] std::vector<const char*> ActionSummarySentences();
