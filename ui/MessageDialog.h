// The windows of the client's MessageRequests: a running action's message or a completion
// notice, one window per message ID, newest last. A known ID updates its window in place.
#pragma once

#include "core/IncomingMessages.h"
#include "core/SessionView.h"

#include <X11/Intrinsic.h>

#include <cstdint>
#include <list>
#include <vector>

struct DialogLayout;

class MessageDialog {
 public:
  MessageDialog();
  MessageDialog(const MessageDialog&) = delete;
  MessageDialog& operator=(const MessageDialog&) = delete;
  ~MessageDialog();

  // Before the display is open (a message ahead of InitializationInfo) the message waits and the
  // first Expire with a display shows it. A hidden button leaves the window without a usable
  // one; topmost stacking keeps it above other windows where the window manager supports it.
  void Show(const MessageRequest& message, MessageButton button, MessageStacking stacking);
  // Closes the window of this ID, if any.
  void Remove(std::uint64_t id);
  // Closes every window whose Timeout has run out.
  void Expire();

  // The window's widgets for the generated documentation.
  [[nodiscard]] static DialogLayout Layout();
  // Every text the window looks up for an override itself, for the translation-file checker.
  [[nodiscard]] static std::vector<const char*> LookedUpTexts();

 private:
  struct Texts;
  struct Window;
  struct WaitingMessage;
  using WindowPosition = std::list<Window>::iterator;
  using WaitingPosition = std::list<WaitingMessage>::iterator;

  [[nodiscard]] WindowPosition Find(std::uint64_t id);
  [[nodiscard]] WaitingPosition FindWaiting(std::uint64_t id);
  void Destroy(WindowPosition window);
  void Build(const MessageRequest& message, Texts texts, MessageButton button,
             MessageStacking stacking);
  void DismissPressed(Widget button, XtPointer callData);
  void WindowMapped(Widget shell, XEvent* event);
  void Wait(const MessageRequest& message, MessageButton button, MessageStacking stacking);
  void ShowWaitingMessages();

  // Newest last.
  std::list<Window> windows_;
  std::list<WaitingMessage> waitingMessages_;
};
