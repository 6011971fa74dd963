#include "core/Dispatcher.h"

#include "core/ActionRequest.h"
#include "core/DialogOperations.h"
#include "core/IncomingMessages.h"
#include "core/InitializationInfo.h"
#include "core/SessionQueues.h"
#include "core/SessionSettings.h"
#include "core/SessionState.h"
#include "core/SupportFiles.h"
#include "text/xml/ParseXMLDocument.h"

#include <memory>

namespace {

enum class BatchGoesOn { kYes, kNo };

void OpenActionRequestDialog() {
  Dialogs().OpenActionRequestDialog(sessionState.remindInterval, sessionState.allowSnooze);
}

BatchGoesOn ApplyActionRequest(const XMLElement& message) {
  AppendPendingRequest(ReadActionRequest(message));
  // Before InitializationInfo there is no toolkit to build a dialog with; the first tick after
  // start-up opens it.
  if (!sessionState.initialized) {
    sessionState.actionRequestDialogOwed = true;
    return BatchGoesOn::kYes;
  }
  Dialogs().RefreshActionRequestDialog();
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
    Dialogs().RefreshActionRequestDialog();
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
    Dialogs().DisableActionRequestDialog();
  }
  return BatchGoesOn::kYes;
}

BatchGoesOn ApplyQuietModeEnd(const XMLElement& message) {
  (void)ReadQuietModeEnd(message);
  sessionState.quietMode = false;
  Dialogs().CloseQuietModeNotice();
  if (Dialogs().IsActionRequestDialogOpen()) {
    Dialogs().RefreshActionRequestDialog();
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

}  // namespace

void ProcessClientMessages() {
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
