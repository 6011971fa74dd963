#include "core/Dispatcher.h"

#include "core/ActionRequest.h"
#include "core/IncomingMessages.h"
#include "core/InitializationInfo.h"
#include "core/Session.h"
#include "core/SessionSettings.h"
#include "core/SupportFiles.h"
#include "foundation/text/LocaleConversion.h"
#include "text/xml/ParseXMLDocument.h"

#include <algorithm>
#include <memory>

namespace {

enum class BatchGoesOn { kYes, kNo };

void ForgetOwedMessage(SessionState& state, std::uint64_t id) {
  std::vector<OwedMessage>& owed = state.owedMessages;
  owed.erase(std::remove_if(owed.begin(), owed.end(),
                            [id](const OwedMessage& entry) { return entry.message.id == id; }),
             owed.end());
}

// The view hears of the pending list once per pass, after the last change to it: no event is
// processed between two messages of one pass, so the user sees the same, and a burst of
// requests costs one refresh instead of one per request.
void TellRequestsChanged(Session& session) {
  if (!session.requestsChanged) return;
  session.requestsChanged = false;
  session.view.PendingRequestsChanged();
}

// Throws the locale's conversion error for a text of the request that the dialogs would show
// and the locale cannot hold: such a request is dropped on arrival, as any message the program
// cannot show is, rather than failing every refresh or the confirmation the user is waiting for.
void RequireShowableTexts(const ActionRequest& request) {
  (void)UTF8ToLocale(request.title);
  (void)UTF8ToLocale(request.shortDescription);
  if (request.preActionMessage) (void)UTF8ToLocale(*request.preActionMessage);
  if (request.preview) (void)UTF8ToLocale(*request.preview);
}

bool Showable(const ActionRequest& request) {
  try {
    RequireShowableTexts(request);
    return true;
  } catch (...) {
    return false;
  }
}

BatchGoesOn ApplyActionRequest(Session& session, const XMLElement& message) {
  SessionState& state = session.state;
  const ActionRequest request = ReadActionRequest(message);
  // Before InitializationInfo the locale is not chosen yet; those requests are checked once it is.
  if (state.initialized) RequireShowableTexts(request);
  state.AppendPendingRequest(request);
  // Before InitializationInfo there is no toolkit to build a dialog with; the first tick after
  // start-up opens it.
  if (!state.initialized) {
    state.actionRequestDialogOwed = true;
    return BatchGoesOn::kYes;
  }
  session.requestsChanged = true;
  session.view.PendingRequestsDue();
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyInitializationInfo(Session& session, const XMLElement& message) {
  SessionState& state = session.state;
  if (state.initialized) return BatchGoesOn::kYes;
  const InitializationInfo info = ReadInitializationInfo(message);
  state.baseDirectory = info.baseDirectory;
  WriteSupportFiles(info.baseDirectory, info.supportFiles);
  // The locale decides which translation files apply, so it comes between writing and loading.
  ApplyUseLocale(state, info.settings.useLocale);
  state.pendingRequests.remove_if([](const ActionRequest& request) { return !Showable(request); });
  session.translations = LoadTranslationFiles(info.baseDirectory, info.supportFiles,
                                              state.localeInUse, state.localeName);
  ApplyInitialUISettings(state, info.settings);
  state.initialized = true;
  // Returning now lets start-up end at once; the rest of the batch waits for the first tick.
  return BatchGoesOn::kNo;
}

BatchGoesOn ApplyRemoveRequest(Session& session, const XMLElement& message) {
  const RemoveRequest request = ReadRemoveRequest(message);
  const RemoveType type = request.removeType;
  if (type == RemoveType::kAction || type == RemoveType::kAll) {
    session.state.RemovePendingRequest(request.id);
    // Before initialisation there is no dialog to tell.
    if (session.state.initialized) session.requestsChanged = true;
  }
  if (type == RemoveType::kMessage || type == RemoveType::kAll) {
    ForgetOwedMessage(session.state, request.id);
    if (session.state.initialized) session.view.MessageRemoved(request.id);
  }
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyMessageRequest(Session& session, const XMLElement& message) {
  const MessageRequest request = ReadMessageRequest(message);
  // Completion notices always get their button and never stay on top.
  const bool running = !request.isCompletionMessage;
  SessionState& state = session.state;
  const MessageButton button =
      state.persistRunningMessage && running ? MessageButton::kHidden : MessageButton::kShown;
  const MessageStacking stacking =
      state.topmostRunningMessage && running ? MessageStacking::kTopmost : MessageStacking::kNormal;
  // A later text of an ID replaces one still waiting for the dialogs.
  ForgetOwedMessage(state, request.id);
  if (!state.initialized) {
    state.owedMessages.push_back({request, button, stacking});
    return BatchGoesOn::kYes;
  }
  session.view.MessageArrived(request, button, stacking);
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyQuietModeStart(Session& session, const XMLElement& message) {
  session.state.quietMode = true;
  const QuietModeStart period = ReadQuietModeStart(message);
  // The disabled dialog shows the list as it stands now.
  TellRequestsChanged(session);
  session.view.QuietModeBegan(period.startTime, period.endTime);
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyQuietModeEnd(Session& session, const XMLElement& message) {
  (void)ReadQuietModeEnd(message);
  session.state.quietMode = false;
  session.view.QuietModeEnded();
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyActionRunningTopmost(Session& session, const XMLElement& message) {
  const ActionRunningTopmost setting = ReadActionRunningTopmost(message);
  // Without Enabled the setting stays as it was.
  if (setting.enabled) session.state.topmostRunningMessage = *setting.enabled;
  return BatchGoesOn::kYes;
}

struct MessageKind {
  const char* name;
  BatchGoesOn (*apply)(Session& session, const XMLElement& message);
};

const MessageKind kMessageKinds[] = {
    {"ActionRequest", ApplyActionRequest},
    {"InitializationInfo", ApplyInitializationInfo},
    {"RemoveRequest", ApplyRemoveRequest},
    {"MessageRequest", ApplyMessageRequest},
    {"QuietModeStart", ApplyQuietModeStart},
    {"QuietModeEnd", ApplyQuietModeEnd},
    {"ActionRunningTopmost", ApplyActionRunningTopmost},
};

BatchGoesOn ApplyMessage(Session& session, const XMLElement& message) {
  for (const MessageKind& kind : kMessageKinds) {
    if (ByteRange(message.name) == ByteRange(kind.name)) return kind.apply(session, message);
  }
  return BatchGoesOn::kYes;
}

// Every direct child of the root is one message; the root's own name plays no part.
BatchGoesOn ApplyDocument(Session& session, const UString8& text) {
  const std::unique_ptr<XMLElement> root = ParseXMLDocument(text);
  for (const XMLElement& message : root->children) {
    if (ApplyMessage(session, message) == BatchGoesOn::kNo) return BatchGoesOn::kNo;
  }
  return BatchGoesOn::kYes;
}

void ApplyBatch(Session& session) {
  MessageList batch;
  MessageList& stashed = session.state.stashedMessages;
  // What followed InitializationInfo in its batch comes first, then whatever has been queued
  // since: the wake-up for the later texts may already have been used up.
  batch.Swap(stashed);
  MessageList queued;
  session.incoming.TakeAll(queued);
  batch.AppendList(queued);
  try {
    while (!batch.IsEmpty()) {
      const UString8 text = batch.PopFront();
      if (ApplyDocument(session, text) == BatchGoesOn::kNo) {
        stashed.Swap(batch);
        return;
      }
    }
  } catch (...) {
    // The client gets no report: the failing text and the rest of its batch are dropped with
    // the batch, and what was applied before them stays.
  }
}

}  // namespace

void ProcessClientMessages(Session& session) {
  ApplyBatch(session);
  try {
    TellRequestsChanged(session);
  } catch (...) {
    // A refresh that fails leaves the dialog as it was; the messages stay applied.
  }
}
