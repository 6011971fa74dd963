// What the session tests share: a dialog double that records each call as a line, the messages
// queued for the client read back through the XML parser, and a fresh session.
#pragma once

#include "core/DialogOperations.h"
#include "core/SessionQueues.h"
#include "core/SessionState.h"
#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace session_test {

using Lines = std::vector<std::string>;
using Ids = std::vector<std::uint64_t>;

template <class Bytes>
std::string Str(const Bytes& text) {
  return std::string(text.begin(), text.end());
}

// The action request dialog is open once opened, as the real one stays open until the user
// closes it. Opening the details of kFailingId throws, as a dialog that cannot be built would. The
// confirmation keeps the arrival number of the record it asks about, as the real one does.
class RecordingDialogs : public DialogOperations {
 public:
  static constexpr std::uint64_t kFailingId = 666;
  Lines calls;
  bool open = false;
  std::uint64_t confirmingArrival = 0;

  void OpenActionRequestDialog(TimeInterval interval, bool snooze) override {
    Call("Open", interval, snooze ? " snooze" : "");
    open = true;
  }
  void RefreshActionRequestDialog() override { calls.push_back("Refresh"); }
  void EnableActionRequestDialog() override { calls.push_back("Enable"); }
  void DisableActionRequestDialog() override { calls.push_back("Disable"); }
  bool IsActionRequestDialogOpen() override { return open; }
  bool IsActionRequestDialogEnabled() override { return open; }
  void OpenConfirmationDialog(const ActionRequest& request) override {
    Call("Confirm", request.id);
    confirmingArrival = request.arrival;
  }
  void OpenActionDetailsDialog(const ActionRequest* request) override {
    if (request == nullptr) return calls.push_back("Details none");
    if (request->id == kFailingId) throw std::runtime_error("details");
    Call("Details", request->id);
  }
  void ShowMessageDialog(const MessageRequest& message, bool hide, bool topmost) override {
    Call("Message", message.id, std::string(hide ? " hide" : "") + (topmost ? " topmost" : ""));
  }
  void RemoveMessageDialog(std::uint64_t id) override { Call("RemoveMessage", id); }
  void ExpireMessageDialogs() override { calls.push_back("Expire"); }
  void ShowQuietModeNotice(DateTime start, DateTime end) override {
    Call("Notice", start, " " + std::to_string(end));
  }
  void CloseQuietModeNotice() override { calls.push_back("CloseNotice"); }

 private:
  void Call(const char* name, std::int64_t number, const std::string& rest = "") {
    calls.push_back(name + (" " + std::to_string(number)) + rest);
  }
};

// Each message queued for the client as "Name Child=text ...", in queue order.
inline Lines TakeSent() {
  MessageList queued;
  outgoingQueue.TakeAll(queued);
  Lines sent;
  for (const UString8& text : queued) {
    const std::unique_ptr<XMLElement> root = ParseXMLDocument(text);
    for (const XMLElement& message : root->children) {
      sent.push_back(Str(message.name));
      for (const XMLElement& field : message.children) {
        sent.back() += " " + Str(field.name) + "=" + Str(field.text);
      }
    }
  }
  return sent;
}

inline std::string Taken(std::uint64_t id, bool cancel = false) {
  return std::string("ActionTaken IsCancel=") + (cancel ? "true" : "false") +
         " IsOffer=false ID=" + std::to_string(id) + " Originator=ClientUI";
}

// Queues one document from the client holding the given message elements.
inline void Receive(const std::string& messages) {
  incomingQueue.Push(UString8(("<ClientToUI>" + messages + "</ClientToUI>").c_str()));
}

inline std::string Request(std::uint64_t id, const std::string& fields = "") {
  return "<ActionRequest><ID>" + std::to_string(id) + "</ID>" + fields + "</ActionRequest>";
}

inline Ids PendingIds() {
  Ids ids;
  for (const ActionRequest& request : sessionState.pendingRequests) ids.push_back(request.id);
  return ids;
}

// A fresh session with the recording dialogs in place and both queues empty.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sessionState = SessionState{};
    MessageList stale;
    incomingQueue.TakeAll(stale);
    outgoingQueue.TakeAll(stale);
    dialogs = RecordingDialogs{};
    SetDialogOperations(&dialogs);
  }
  void TearDown() override { SetDialogOperations(nullptr); }

  RecordingDialogs dialogs;
};

}  // namespace session_test
