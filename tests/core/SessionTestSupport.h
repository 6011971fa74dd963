// What the session tests share: a dialog double that records each call as a line, the messages
// the program queued for the client read back through the XML parser, and a fresh session.
#pragma once

#include "core/DialogOperations.h"
#include "core/SessionQueues.h"
#include "core/SessionState.h"
#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace session_test {

inline std::string Str(const UString8& text) { return std::string(text.begin(), text.end()); }
inline std::string Str(const std::vector<char>& text) {
  return std::string(text.begin(), text.end());
}

// Answers its queries as the real dialogs would: the action request dialog is open once
// opened and stays open (only its snooze button closes it).
class RecordingDialogs : public DialogOperations {
 public:
  void OpenActionRequestDialog(TimeInterval remindInterval, bool allowSnooze) override {
    calls.push_back("Open " + std::to_string(remindInterval) + (allowSnooze ? " snooze" : ""));
    if (!open) enabled = true;
    open = true;
  }
  void RefreshActionRequestDialog() override { calls.push_back("Refresh"); }
  void EnableActionRequestDialog() override {
    calls.push_back("Enable");
    enabled = true;
  }
  void DisableActionRequestDialog() override {
    calls.push_back("Disable");
    enabled = false;
  }
  bool IsActionRequestDialogOpen() override { return open; }
  bool IsActionRequestDialogEnabled() override { return open && enabled; }
  void OpenConfirmationDialog(std::uint64_t id) override {
    calls.push_back("Confirm " + std::to_string(id));
  }
  void OpenActionDetailsDialog(std::uint64_t id) override {
    if (id == kFailingId) throw std::runtime_error("details");
    calls.push_back("Details " + std::to_string(id));
  }
  void ShowMessageDialog(const MessageRequest& message, bool hideButton, bool topmost) override {
    calls.push_back("Message " + std::to_string(message.id) + " " + Str(message.title) +
                    (hideButton ? " hide" : "") + (topmost ? " topmost" : ""));
  }
  void RemoveMessageDialog(std::uint64_t id) override {
    calls.push_back("RemoveMessage " + std::to_string(id));
  }
  void ExpireMessageDialogs() override { calls.push_back("Expire"); }
  void ShowQuietModeNotice(DateTime startTime, DateTime endTime) override {
    calls.push_back("Notice " + std::to_string(startTime) + " " + std::to_string(endTime));
  }
  void CloseQuietModeNotice() override { calls.push_back("CloseNotice"); }

  // The details dialog fails for this ID, as a dialog that cannot be built would.
  static constexpr std::uint64_t kFailingId = 666;
  std::vector<std::string> calls;
  bool open = false;
  bool enabled = false;
};

// Each message queued for the client as "Name Child=text Child=text", in queue order.
inline std::vector<std::string> TakeSent() {
  MessageList queued;
  outgoingQueue.TakeAll(queued);
  std::vector<std::string> sent;
  for (const UString8& text : queued) {
    const std::unique_ptr<XMLElement> root = ParseXMLDocument(text);
    for (const XMLElement& message : root->children) {
      std::string line = Str(message.name);
      for (const XMLElement& field : message.children) {
        line += " " + Str(field.name) + "=" + Str(field.text);
      }
      sent.push_back(line);
    }
  }
  return sent;
}

// Queues one document from the client holding the given message elements.
inline void Receive(const std::string& messages) {
  incomingQueue.Push(UString8(("<ClientToUI>" + messages + "</ClientToUI>").c_str()));
}

inline std::string Request(std::uint64_t id, const std::string& fields = "") {
  return "<ActionRequest><ID>" + std::to_string(id) + "</ID>" + fields + "</ActionRequest>";
}

inline std::vector<std::uint64_t> PendingIds() {
  std::vector<std::uint64_t> ids;
  for (const ActionRequest& request : sessionState.pendingRequests) ids.push_back(request.id);
  return ids;
}

// A fresh session with the recording dialogs in place and every queue empty.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sessionState = SessionState{};
    MessageList stale;
    incomingQueue.TakeAll(stale);
    outgoingQueue.TakeAll(stale);
    dialogs.calls.clear();
    dialogs.open = dialogs.enabled = false;
    SetDialogOperations(&dialogs);
  }
  void TearDown() override { SetDialogOperations(nullptr); }

  // Marks the session initialised without going through InitializationInfo.
  void Initialize() { sessionState.initialized = true; }

  RecordingDialogs dialogs;
};

}  // namespace session_test
