#include "ui/ActionSummary.h"

#include "ui/DeadlineText.h"
#include "ui/FormatBuiltIn.h"

#include <algorithm>
#include <cstring>

namespace {

// Indexed [deadline clause][reboot][save]. Translators see each sentence whole, so they are
// stored whole rather than put together from clauses.
using SentenceTable = const char* const[4][3][2];

SentenceTable kSetSentences = {
    {{"", "You should save your work before taking these actions."},
     {"The pending actions will require a system restart when they are complete.",
      "You should save your work before taking these actions, as they will require a system "
      "restart when they are complete."},
     {"The pending actions will require a system shutdown when they are complete.",
      "You should save your work before taking these actions, as they will require a system "
      "shutdown when they are complete."}},
    {{"There is at least one action you must take within {DeadlineText}.",
      "You should save your work before taking these actions.  There is at least one action you "
      "must take within {DeadlineText}."},
     {"The pending actions will require a system restart when they are complete.  There is at "
      "least one action you must take within {DeadlineText}.",
      "You should save your work before taking these actions, as they will require a system "
      "restart when they are complete.  There is at least one action you must take within "
      "{DeadlineText}."},
     {"The pending actions will require a system shutdown when they are complete.  There is at "
      "least one action you must take within {DeadlineText}.",
      "You should save your work before taking these actions, as they will require a system "
      "shutdown when they are complete.  There is at least one action you must take within "
      "{DeadlineText}."}},
    {{"There is at least one action you must take now.",
      "You should save your work before taking these actions.  There is at least one action you "
      "must take now."},
     {"The pending actions will require a system restart when they are complete.  There is at "
      "least one action you must take now.",
      "You should save your work before taking these actions, as they will require a system "
      "restart when they are complete.  There is at least one action you must take now."},
     {"The pending actions will require a system shutdown when they are complete.  There is at "
      "least one action you must take now.",
      "You should save your work before taking these actions, as they will require a system "
      "shutdown when they are complete.  There is at least one action you must take now."}},
    {{"At least one of these actions will run automatically in {DeadlineText}.",
      "You should save your work before taking these actions.  At least one of these actions "
      "will run automatically in {DeadlineText}."},
     {"The pending actions will require a system restart when they are complete.  At least one "
      "of these actions will run automatically in {DeadlineText}.",
      "You should save your work before taking these actions, as they will require a system "
      "restart when they are complete.  At least one of these actions will run automatically in "
      "{DeadlineText}."},
     {"The pending actions will require a system shutdown when they are complete.  At least one "
      "of these actions will run automatically in {DeadlineText}.",
      "You should save your work before taking these actions, as they will require a system "
      "shutdown when they are complete.  At least one of these actions will run automatically "
      "in {DeadlineText}."}},
};

SentenceTable kOneSentences = {
    {{"", "You should save your work before taking this action."},
     {"This action will require a system restart.",
      "You should save your work before taking this action, as it will require a system "
      "restart."},
     {"This action will require a system shutdown.",
      "You should save your work before taking this action, as it will require a system "
      "shutdown."}},
    {{"You must take this action within {DeadlineText}.",
      "You should save your work before taking this action.  You must take this action within "
      "{DeadlineText}."},
     {"This action will require a system restart.  You must take this action within "
      "{DeadlineText}.",
      "You should save your work before taking this action, as it will require a system "
      "restart.  You must take this action within {DeadlineText}."},
     {"This action will require a system shutdown.  You must take this action within "
      "{DeadlineText}.",
      "You should save your work before taking this action, as it will require a system "
      "shutdown.  You must take this action within {DeadlineText}."}},
    {{"You must take this action now.",
      "You should save your work before taking this action.  You must take this action now."},
     {"This action will require a system restart.  You must take this action now.",
      "You should save your work before taking this action, as it will require a system "
      "restart.  You must take this action now."},
     {"This action will require a system shutdown.  You must take this action now.",
      "You should save your work before taking this action, as it will require a system "
      "shutdown.  You must take this action now."}},
    {{"This action will run automatically in {DeadlineText}.",
      "You should save your work before taking this action.  This action will run "
      "automatically in {DeadlineText}."},
     {"This action will require a system restart.  This action will run automatically in "
      "{DeadlineText}.",
      "You should save your work before taking this action, as it will require a system "
      "restart.  This action will run automatically in {DeadlineText}."},
     {"This action will require a system shutdown.  This action will run automatically in "
      "{DeadlineText}.",
      "You should save your work before taking this action, as it will require a system "
      "shutdown.  This action will run automatically in {DeadlineText}."}},
};

std::vector<const char*> Sentences(SentenceTable& table) {
  std::vector<const char*> sentences;
  for (const auto& byReboot : table) {
    for (const auto& bySave : byReboot) {
      for (const char* sentence : bySave) {
        if (*sentence != '\0') sentences.push_back(sentence);
      }
    }
  }
  return sentences;
}

SummaryDeadline DeadlineClause(DateTime earliest, bool automatic, DateTime now) {
  if (automatic) return SummaryDeadline::kAutomatically;
  // A deadline inside its warning period, for a request the user must take, asks for it now.
  return earliest < now + kDeadlineWarningPeriod ? SummaryDeadline::kNow : SummaryDeadline::kWithin;
}

UString8 Summary(SentenceTable& table, const SummaryKey& key, DateTime now) {
  const char* sentence =
      table[static_cast<int>(key.deadline)][static_cast<int>(key.reboot)][key.save ? 1 : 0];
  // Whether a value is bound follows the built-in sentence, so an override that drops or adds
  // the variable fails as any other mismatched override does.
  if (std::strstr(sentence, "{DeadlineText}") == nullptr) return FormatBuiltInOrMarker(sentence);
  const UString8 deadlineText = FormatDeadlineText(
      key.earliest - now, key.automatic ? DeadlineKind::kAutomatic : DeadlineKind::kMustTake);
  return FormatBuiltInOrMarker(sentence, {deadlineText});
}

// The key of a set, read one request at a time in ascending ID, one record per ID.
class SetKeyReader {
 public:
  void Add(const ActionRequest& request, const std::optional<DateTime>& deadline) {
    key_.save = key_.save || request.requestSave;
    hasRestart_ = hasRestart_ || request.restart;
    hasShutdown_ = hasShutdown_ || request.shutdown;
    // Strictly earlier only: of equal deadlines, the lowest ID decides.
    if (deadline && (!hasDeadline_ || *deadline < key_.earliest)) {
      hasDeadline_ = true;
      key_.earliest = *deadline;
      key_.automatic = request.forceRun;
    }
  }

  [[nodiscard]] SummaryKey Finish(DateTime now) {
    key_.reboot = hasShutdown_  ? SummaryReboot::kShutdown
                  : hasRestart_ ? SummaryReboot::kRestart
                                : SummaryReboot::kNone;
    if (hasDeadline_) key_.deadline = DeadlineClause(key_.earliest, key_.automatic, now);
    return key_;
  }

 private:
  SummaryKey key_;
  bool hasRestart_ = false;
  bool hasShutdown_ = false;
  bool hasDeadline_ = false;
};

}  // namespace

SummaryKey ActionsSummaryKey(const ActionRequestStore& store, DateTime now) {
  SetKeyReader reader;
  for (const auto& [id, request] : store) reader.Add(request, request.deadline);
  return reader.Finish(now);
}

SummaryKey ActionsSummaryKey(const PendingRequestList& pending, DateTime now) {
  std::vector<const ActionRequest*> records;
  records.reserve(pending.size());
  for (const ActionRequest& request : pending) records.push_back(&request);
  // Stable: of the records of one ID, the last in the list is the one a merge keeps. A list in
  // ID order, the usual one, is left as it is.
  const auto byId = [](const ActionRequest* a, const ActionRequest* b) { return a->id < b->id; };
  if (!std::is_sorted(records.begin(), records.end(), byId)) {
    std::stable_sort(records.begin(), records.end(), byId);
  }
  SetKeyReader reader;
  for (std::size_t index = 0; index < records.size(); ++index) {
    if (index + 1 < records.size() && records[index + 1]->id == records[index]->id) continue;
    reader.Add(*records[index], MergedDeadline(*records[index], now));
  }
  return reader.Finish(now);
}

SummaryKey ActionSummaryKey(const ActionRequest& request, DateTime now) {
  SummaryKey key;
  key.save = request.requestSave;
  key.reboot = request.restart    ? SummaryReboot::kRestart
               : request.shutdown ? SummaryReboot::kShutdown
                                  : SummaryReboot::kNone;
  if (request.deadline) {
    key.earliest = *request.deadline;
    key.automatic = request.forceRun;
    key.deadline = DeadlineClause(key.earliest, key.automatic, now);
  }
  return key;
}

UString8 BuildActionsSummary(const ActionRequestStore& store, DateTime now) {
  return Summary(kSetSentences, ActionsSummaryKey(store, now), now);
}

UString8 BuildActionsSummary(const PendingRequestList& pending, DateTime now) {
  return Summary(kSetSentences, ActionsSummaryKey(pending, now), now);
}

UString8 BuildActionSummary(const ActionRequest& request, DateTime now) {
  return Summary(kOneSentences, ActionSummaryKey(request, now), now);
}

std::vector<const char*> ActionsSummarySentences() { return Sentences(kSetSentences); }

std::vector<const char*> ActionSummarySentences() { return Sentences(kOneSentences); }
