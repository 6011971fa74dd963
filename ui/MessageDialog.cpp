#include "ui/MessageDialog.h"

#include "text/time/Clock.h"
#include "ui/ActionButtonRow.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/FormatBuiltIn.h"
#include "ui/ToolkitContext.h"
#include "ui/WidgetOperations.h"
#include "ui/WidgetTable.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <list>
#include <string>

namespace {

enum Row { kForm, kActionMessage, kDismiss, kRowCount };
enum Text { kBodyText, kButtonText };

const WidgetRow kRows[] = {
    {"form", &formWidgetClass, kShellRow, {}},
    {"actionmessage",
     &asciiTextWidgetClass,
     kForm,
     {Number(XtNtype, XawAsciiString), Number(XtNwidth, 500), Number(XtNheight, 100),
      Number(XtNscrollVertical, XawtextScrollAlways), Number(XtNwrap, XawtextWrapWord),
      Number(XtNdisplayCaret, False), TextSlot(XtNstring, kBodyText)}},
    {"dismiss",
     &commandWidgetClass,
     kForm,
     {TextSlot(XtNlabel, kButtonText), UnderRow(kActionMessage),
      Number(XtNmappedWhenManaged, False)}},
};
static_assert(std::size(kRows) == kRowCount, "one table row per Row");

// The texts of one message, in the locale's encoding.
struct MessageTexts {
  std::string title;
  std::string body;
  std::string button;
};

struct MessageWindow {
  std::uint64_t id = 0;
  MessageButton buttonState = MessageButton::kShown;
  MessageStacking stacking = MessageStacking::kNormal;
  DateTime expiry = 0;  // 0: stays until closed or removed
  MessageTexts texts;
  Widget shell = nullptr;
  Widget text = nullptr;
  Widget button = nullptr;
};

// The texts this window looks up itself, by their English wording.
constexpr const char* kCompletionTitle = "Vantrel notification:";
constexpr const char* kCompletionBody = "Action \"{actionTitle}\" has completed.";
constexpr const char* kOkText = "OK";

// Newest last.
std::list<MessageWindow> windows;

MessageTexts TextsOf(const MessageRequest& message) {
  if (message.isCompletionMessage) {
    return {LocaleText(FormatBuiltIn(kCompletionTitle)),
            LocaleText(FormatBuiltIn(kCompletionBody, {message.title})),
            LocaleText(FormatBuiltIn(kOkText))};
  }
  return {LocaleText(message.title), LocaleText(message.message),
          LocaleText(FormatBuiltIn(kOkText))};
}

// A Timeout beyond the end of time never expires; one at or below zero expires at the next tick.
DateTime ExpiryOf(const MessageRequest& message) {
  if (!message.timeout) return 0;
  const DateTime now = Now();
  if (*message.timeout > std::numeric_limits<DateTime>::max() - now) return 0;
  return std::max<DateTime>(now + std::max<TimeInterval>(*message.timeout, 0), 1);
}

std::list<MessageWindow>::iterator Find(std::uint64_t id) {
  return std::find_if(windows.begin(), windows.end(),
                      [id](const MessageWindow& window) { return window.id == id; });
}

std::list<MessageWindow>::iterator FindShell(Widget shell) {
  return std::find_if(windows.begin(), windows.end(),
                      [shell](const MessageWindow& window) { return window.shell == shell; });
}

void Destroy(std::list<MessageWindow>::iterator window) {
  XtDestroyWidget(window->shell);
  windows.erase(window);
}

// Asks an EWMH window manager to keep the window above others, or to stop doing so; a manager
// without the atoms has nothing to ask.
void ApplyTopmost(const MessageWindow& window) {
  Display* display = XtDisplay(window.shell);
  const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", True);
  const Atom state = XInternAtom(display, "_NET_WM_STATE", True);
  if (above == 0 || state == 0) return;
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = XtWindow(window.shell);
  event.xclient.message_type = state;
  event.xclient.format = 32;
  event.xclient.data.l[0] = window.stacking == MessageStacking::kTopmost ? 1 : 0;
  event.xclient.data.l[1] = static_cast<long>(above);
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void ShowButton(const MessageWindow& window) {
  if (window.buttonState == MessageButton::kHidden) {
    XtUnmapWidget(window.button);
  } else {
    XtMapWidget(window.button);
  }
}

// A window manager ignores a state request for a window it has not mapped yet, so the state is
// asked for again once the window is on the screen.
void HandleStructure(Widget shell, XtPointer, XEvent* event, Boolean*) {
  if (event->type != MapNotify) return;
  const auto window = FindShell(shell);
  if (window != windows.end() && window->stacking == MessageStacking::kTopmost) {
    ApplyTopmost(*window);
  }
}

// The button closes its own window and tells the client nothing.
void Dismiss(Widget, XtPointer clientData, XtPointer) {
  const auto window = FindShell(static_cast<Widget>(clientData));
  if (window != windows.end()) Destroy(window);
}

// texts are computed before anything is stored, so a message that cannot be shown leaves the
// window, its texts and its Timeout as they were.
void Update(MessageWindow& window, const MessageRequest& message, MessageTexts texts,
            MessageButton button, MessageStacking stacking) {
  window.expiry = ExpiryOf(message);
  window.texts = std::move(texts);
  SetResource(window.shell, XtNtitle, reinterpret_cast<XtArgVal>(window.texts.title.c_str()));
  SetResource(window.text, XtNstring, reinterpret_cast<XtArgVal>(window.texts.body.c_str()));
  window.buttonState = button;
  window.stacking = stacking;
  ShowButton(window);
  ApplyTopmost(window);
}

void Build(const MessageRequest& message, MessageTexts texts, MessageButton button,
           MessageStacking stacking) {
  MessageWindow window;
  window.id = message.id;
  window.buttonState = button;
  window.stacking = stacking;
  window.texts = std::move(texts);
  window.shell = CreateDialogShell(window.texts.title);
  const std::vector<Widget> widgets =
      BuildWidgetTable(window.shell, kRows, kRowCount, {window.texts.body, window.texts.button});
  window.text = widgets[kActionMessage];
  window.button = widgets[kDismiss];
  // The button ends at the text's right edge.
  SetResource(window.button, XtNhorizDistance,
              RightAlignedDistance(WidgetWidth(window.text), WidgetWidth(window.button),
                                   WidgetBorderWidth(window.text)));
  XtAddCallback(window.button, XtNcallback, Dismiss, window.shell);
  XtAddEventHandler(window.shell, StructureNotifyMask, False, HandleStructure, nullptr);
  XtRealizeWidget(window.shell);
  ShowButton(window);
  ApplyTopmost(window);
  CenterShell(window.shell);
  IgnoreWindowManagerClose(window.shell);
  ApplyScrollbarTranslations(TextScrollbar(window.text));
  window.expiry = ExpiryOf(message);
  windows.push_back(std::move(window));
}

// A message that came before InitializationInfo, while there was no display to show it on.
struct WaitingMessage {
  MessageRequest message;
  MessageButton button;
  MessageStacking stacking;
};
std::list<WaitingMessage> waitingMessages;

std::list<WaitingMessage>::iterator FindWaiting(std::uint64_t id) {
  return std::find_if(waitingMessages.begin(), waitingMessages.end(),
                      [id](const WaitingMessage& waiting) { return waiting.message.id == id; });
}

// Kept as the latest text of its ID, and shown by the first tick once the toolkit is up; its
// Timeout counts from then.
void Wait(const MessageRequest& message, MessageButton button, MessageStacking stacking) {
  const auto waiting = FindWaiting(message.id);
  if (waiting != waitingMessages.end()) waitingMessages.erase(waiting);
  waitingMessages.push_back({message, button, stacking});
}

void ShowWaitingMessages() {
  std::list<WaitingMessage> waiting;
  waiting.swap(waitingMessages);
  for (const WaitingMessage& entry : waiting) {
    try {
      ShowMessageDialog(entry.message, entry.button, entry.stacking);
    } catch (...) {
      // A text that cannot be shown drops its message, as it would have on arrival.
    }
  }
}

}  // namespace

void ShowMessageDialog(const MessageRequest& message, MessageButton button,
                       MessageStacking stacking) {
  if (ToolkitDisplay() == nullptr) return Wait(message, button, stacking);
  // A text the locale cannot hold or an override the format engine rejects fails here, before
  // any widget is touched: the dispatcher drops the message. Only a window that cannot be built
  // ends the program.
  MessageTexts texts = TextsOf(message);
  const auto window = Find(message.id);
  if (window != windows.end()) return Update(*window, message, std::move(texts), button, stacking);
  try {
    Build(message, std::move(texts), button, stacking);
  } catch (...) {
    ReportDialogFailure("MessageDialog");
  }
}

void RemoveMessageDialog(std::uint64_t id) {
  const auto waiting = FindWaiting(id);
  if (waiting != waitingMessages.end()) waitingMessages.erase(waiting);
  const auto window = Find(id);
  if (window != windows.end()) Destroy(window);
}

void ExpireMessageDialogs() {
  if (ToolkitDisplay() == nullptr) return;
  ShowWaitingMessages();
  const DateTime now = Now();
  for (auto window = windows.begin(); window != windows.end();) {
    const auto next = std::next(window);
    if (window->expiry != 0 && window->expiry <= now) Destroy(window);
    window = next;
  }
}

DialogLayout MessageDialogLayout() {
  return {"MessageDialog",
          "Vantrel notification:",
          nullptr,
          kRows,
          kRowCount,
          {"dismiss.horizDistance"},
          "for a completed action, else after the message's own title"};
}

std::vector<const char*> MessageDialogLookedUpTexts() {
  return {kCompletionTitle, kCompletionBody, kOkText};
}
