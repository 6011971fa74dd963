// What the session tests share: a view that records each event as a line, the messages queued
// for the client read back through the XML parser, and a fresh session.
#pragma once

#include "core/OutgoingQueue.h"
#include "core/Session.h"
#include "core/SessionView.h"
#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <memory>
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

// Showing the preview of kFailingId throws, as a dialog that cannot be built would. The last
// confirmation asked for is kept, so that a test can answer it as the real one does.
class RecordingView : public SessionView {
 public:
  static constexpr std::uint64_t kFailingId = 666;
  Lines events;
  std::uint64_t confirmingArrival = 0;

  void Started() override { events.push_back("Started"); }
  void SecondPassed() override { events.push_back("Second"); }
  void PendingRequestsDue() override { events.push_back("Due"); }
  void PendingRequestsChanged() override { events.push_back("Changed"); }
  void AnswerCarriedOut() override { events.push_back("Carried"); }
  void ConfirmationWanted(const ActionRequest& request) override {
    Event("Confirm", request.id);
    confirmingArrival = request.arrival;
  }
  void PreviewWanted(const ActionRequest* request) override {
    if (request == nullptr) return events.push_back("Preview none");
    if (request->id == kFailingId) throw std::runtime_error("preview");
    Event("Preview", request->id);
  }
  void QuietModeBegan(DateTime start, DateTime end) override {
    Event("Quiet", start.UnixMicroseconds(), " " + std::to_string(end.UnixMicroseconds()));
  }
  void QuietModeEnded() override { events.push_back("QuietEnd"); }
  void MessageArrived(const MessageRequest& message, MessageButton button,
                      MessageStacking stacking) override {
    Event("Message", message.id,
          std::string(button == MessageButton::kHidden ? " hide" : "") +
              (stacking == MessageStacking::kTopmost ? " topmost" : ""));
  }
  void MessageRemoved(std::uint64_t id) override { Event("RemoveMessage", id); }

 private:
  void Event(const char* name, std::int64_t number, const std::string& rest = "") {
    events.push_back(name + (" " + std::to_string(number)) + rest);
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

inline std::string Request(std::uint64_t id, const std::string& fields = "") {
  return "<ActionRequest><ID>" + std::to_string(id) + "</ID>" + fields + "</ActionRequest>";
}

// A fresh session with the recording view and both queues empty.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageList stale;
    outgoingQueue.TakeAll(stale);
    incoming.TakeAll(stale);
    view = RecordingView{};
    session = std::make_unique<Session>(incoming, view);
  }

  // Queues one document from the client holding the given message elements.
  void Receive(const std::string& messages) {
    incoming.Push(UString8(("<ClientToUI>" + messages + "</ClientToUI>").c_str()));
  }
  [[nodiscard]] Ids PendingIds() const {
    Ids ids;
    for (const ActionRequest& request : session->state.pendingRequests) ids.push_back(request.id);
    return ids;
  }
  [[nodiscard]] SessionState& State() { return session->state; }

  MessageQueue incoming;
  RecordingView view;
  std::unique_ptr<Session> session;
};

}  // namespace session_test
