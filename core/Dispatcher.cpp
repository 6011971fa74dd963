#include "core/Dispatcher.h"

#include "core/ActionRequest.h"
#include "core/DialogOperations.h"
#include "core/IncomingMessages.h"
#include "core/InitializationInfo.h"
#include "core/SessionQueues.h"
#include "core/SessionSettings.h"
#include "core/SessionState.h"
#include "core/SupportFiles.h"
#include "foundation/text/LocaleConversion.h"
#include "text/xml/ParseXMLDocument.h"

#include <memory>

namespace {

enum class BatchGoesOn { kYes, kNo };

// The action request dialog is redrawn once per pass, after the last change to the pending
// list: no event is processed between two messages of one pass, so the user sees the same, and
// a burst of requests costs one refresh instead of one per request.
bool refreshOwed = false;

void RefreshOwedDialog() {
  if (!refreshOwed) return;
  refreshOwed = false;
  Dialogs().RefreshActionRequestDialog();
}

void OpenActionRequestDialog() {
  Dialogs().OpenActionRequestDialog(sessionState.remindInterval, sessionState.allowSnooze);
}

// Throws the locale's conversion error for a text of the request that the dialogs would show
// and the locale cannot hold: such a request is dropped on arrival, as any message the program
// cannot show is, rather than failing every refresh or the confirmation the user is waiting for.
void RequireShowableTexts(const ActionRequest& request) {
  const auto require = [](const UString8& text) {
    const char* begin = reinterpret_cast<const char*>(text.begin());
    (void)UTF8ToLocale(begin, begin + text.size());
  };
  require(request.title);
  require(request.shortDescription);
  if (request.preActionMessage) require(*request.preActionMessage);
  if (request.preview) require(*request.preview);
}

bool Showable(const ActionRequest& request) {
  try {
    RequireShowableTexts(request);
    return true;
  } catch (...) {
    return false;
  }
}

BatchGoesOn ApplyActionRequest(const XMLElement& message) {
  const ActionRequest request = ReadActionRequest(message);
  // Before InitializationInfo the locale is not chosen yet; those requests are checked once it is.
  if (sessionState.initialized) RequireShowableTexts(request);
  AppendPendingRequest(request);
  // Before InitializationInfo there is no toolkit to build a dialog with; the first tick after
  // start-up opens it.
  if (!sessionState.initialized) {
    sessionState.actionRequestDialogOwed = true;
    return BatchGoesOn::kYes;
  }
  refreshOwed = true;
  OpenActionRequestDialog();
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyInitializationInfo(const XMLElement& message) {
  if (sessionState.initialized) return BatchGoesOn::kYes;
  const InitializationInfo info = ReadInitializationInfo(message);
  sessionState.baseDirectory = info.baseDirectory;
  WriteSupportFiles(info.baseDirectory, info.supportFiles);
  // The locale decides which translation files apply, so it comes between writing and loading.
  ApplyUseLocale(info.settings.useLocale);
  sessionState.pendingRequests.remove_if(
      [](const ActionRequest& request) { return !Showable(request); });
  LoadTranslationFiles(info.baseDirectory, info.supportFiles, sessionState.localeInUse,
                       sessionState.localeName);
  ApplyInitialUISettings(info.settings);
  sessionState.initialized = true;
  // Returning now lets start-up end at once; the rest of the batch waits for the first tick.
  return BatchGoesOn::kNo;
}

BatchGoesOn ApplyRemoveRequest(const XMLElement& message) {
  const RemoveRequest request = ReadRemoveRequest(message);
  const RemoveType type = request.removeType;
  if (type == RemoveType::kAction || type == RemoveType::kAll) {
    RemovePendingRequest(request.id);
    refreshOwed = true;
  }
  if (type == RemoveType::kMessage || type == RemoveType::kAll) {
    Dialogs().RemoveMessageDialog(request.id);
  }
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyMessageRequest(const XMLElement& message) {
  const MessageRequest request = ReadMessageRequest(message);
  // Completion notices always get their button and never stay on top.
  const bool running = !request.isCompletionMessage;
  Dialogs().ShowMessageDialog(request, sessionState.persistRunningMessage && running,
                              sessionState.topmostRunningMessage && running);
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyQuietModeStart(const XMLElement& message) {
  sessionState.quietMode = true;
  const QuietModeStart period = ReadQuietModeStart(message);
  if (Dialogs().IsActionRequestDialogOpen()) {
    Dialogs().ShowQuietModeNotice(period.startTime, period.endTime);
    // The disabled dialog shows the list as it stands now.
    RefreshOwedDialog();
    Dialogs().DisableActionRequestDialog();
  }
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyQuietModeEnd(const XMLElement& message) {
  (void)ReadQuietModeEnd(message);
  sessionState.quietMode = false;
  Dialogs().CloseQuietModeNotice();
  if (Dialogs().IsActionRequestDialogOpen()) {
    refreshOwed = true;
    Dialogs().EnableActionRequestDialog();
  }
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyActionRunningTopmost(const XMLElement& message) {
  const ActionRunningTopmost setting = ReadActionRunningTopmost(message);
  // Without Enabled the setting stays as it was.
  if (setting.enabled) sessionState.topmostRunningMessage = *setting.enabled;
  return BatchGoesOn::kYes;
}

struct MessageKind {
  const char* name;
  BatchGoesOn (*apply)(const XMLElement& message);
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

BatchGoesOn ApplyMessage(const XMLElement& message) {
  for (const MessageKind& kind : kMessageKinds) {
    if (ByteRange(message.name) == ByteRange(kind.name)) return kind.apply(message);
  }
  return BatchGoesOn::kYes;
}

// Every direct child of the root is one message; the root's own name plays no part.
BatchGoesOn ApplyDocument(const UString8& text) {
  const std::unique_ptr<XMLElement> root = ParseXMLDocument(text);
  for (const XMLElement& message : root->children) {
    if (ApplyMessage(message) == BatchGoesOn::kNo) return BatchGoesOn::kNo;
  }
  return BatchGoesOn::kYes;
}

void ApplyBatch() {
  MessageList batch;
  if (!sessionState.stashedMessages.IsEmpty()) {
    batch.Swap(sessionState.stashedMessages);
  } else {
    incomingQueue.TakeAll(batch);
  }
  try {
    while (!batch.IsEmpty()) {
      const UString8 text = batch.PopFront();
      if (ApplyDocument(text) == BatchGoesOn::kNo) {
        sessionState.stashedMessages.Swap(batch);
        return;
      }
    }
  } catch (...) {
    // The client gets no report: the failing text and the rest of its batch are dropped with
    // the batch, and what was applied before them stays.
  }
}

}  // namespace

void ProcessClientMessages() {
  ApplyBatch();
  try {
    RefreshOwedDialog();
  } catch (...) {
    // A refresh that fails leaves the dialog as it was; the messages stay applied.
  }
}
