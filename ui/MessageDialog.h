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

  // A hidden button leaves the window without a usable one; topmost stacking keeps it above
  // other windows where the window manager supports it. Needs the toolkit's display: the
  // session keeps the messages that come before it.
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
  using WindowPosition = std::list<Window>::iterator;

  [[nodiscard]] WindowPosition Find(std::uint64_t id);
  void Destroy(WindowPosition window);
  void Build(const MessageRequest& message, Texts texts, MessageButton button,
             MessageStacking stacking);
  void DismissPressed(Widget button, XtPointer callData);
  void WindowMapped(Widget shell, XEvent* event);

  // Newest last.
  std::list<Window> windows_;
};
