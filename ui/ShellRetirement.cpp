#include "ui/ShellRetirement.h"

#include <X11/StringDefs.h>

#include <algorithm>
#include <vector>

namespace {

// A time-out that fires just after the toolkit's own for the same transfer.
constexpr unsigned long kMarginMilliseconds = 100;

// A shell an editor has talked to, with the windows it answered selection requests on.
struct Touched {
  Widget shell;
  std::vector<Window> requestors;
  bool retired = false;
  XtIntervalId check = 0;
};

// The toolkit's dispatcher gets no client data: the shells of the one display are kept here.
std::vector<Touched> touched;
Atom editresAtom = 0;
XtEventDispatchProc previousClientMessage = nullptr;
XtEventDispatchProc previousSelectionRequest = nullptr;
XtEventDispatchProc previousSelectionNotify = nullptr;
XtEventDispatchProc previousPropertyNotify = nullptr;

Touched* Find(Widget shell) {
  const auto entry = std::find_if(touched.begin(), touched.end(),
                                  [shell](const Touched& item) { return item.shell == shell; });
  return entry != touched.end() ? &*entry : nullptr;
}

void Forget(Widget shell, XtPointer, XtPointer) {
  Touched* entry = Find(shell);
  if (entry == nullptr) return;
  if (entry->check != 0) XtRemoveTimeOut(entry->check);
  touched.erase(touched.begin() + (entry - touched.data()));
}

// The shell of one of our windows, or null for a window the toolkit does not know.
Widget ShellOf(Display* display, Window window) {
  Widget widget = XtWindowToWidget(display, window);
  while (widget != nullptr && !XtIsShell(widget)) widget = XtParent(widget);
  return widget;
}

Touched& Touch(Widget shell) {
  if (Touched* entry = Find(shell)) return *entry;
  XtAddCallback(shell, XtNdestroyCallback, Forget, nullptr);
  touched.push_back({shell, {}, false, 0});
  return touched.back();
}

Boolean Dispatch(XEvent* event, XtEventDispatchProc previous) {
  return previous != nullptr ? previous(event) : False;
}

Boolean DispatchClientMessage(XEvent* event) {
  if (event->xclient.message_type == editresAtom) {
    if (Widget shell = ShellOf(event->xany.display, event->xany.window)) {
      // A closed dialog starts no new transfer: the editor's request goes unanswered.
      if (Touch(shell).retired) return True;
    }
  }
  return Dispatch(event, previousClientMessage);
}

Boolean DispatchSelectionRequest(XEvent* event) {
  const XSelectionRequestEvent& request = event->xselectionrequest;
  if (Widget shell = ShellOf(request.display, request.owner)) {
    // The windows whose transfers have ended go; the new request's transfer starts once the
    // toolkit has the event.
    std::vector<Window>& requestors = Touch(shell).requestors;
    requestors.erase(
        std::remove_if(requestors.begin(), requestors.end(),
                       [&](Window window) { return ShellOf(request.display, window) != shell; }),
        requestors.end());
    requestors.push_back(request.requestor);
  }
  return Dispatch(event, previousSelectionRequest);
}

// The shell's own side of an editres request, the fetch of the editor's command, ends by the
// toolkit's time-out armed before the shell retired: the answer, or a piece of it, that would
// arm another is not delivered.
bool ToRetiredShell(const XEvent& event) {
  const Window window = event.xany.window;
  return std::any_of(touched.begin(), touched.end(), [window](const Touched& entry) {
    return entry.retired && XtWindow(entry.shell) == window;
  });
}

Boolean DispatchSelectionNotify(XEvent* event) {
  if (ToRetiredShell(*event)) return True;
  return Dispatch(event, previousSelectionNotify);
}

Boolean DispatchPropertyNotify(XEvent* event) {
  if (ToRetiredShell(*event)) return True;
  return Dispatch(event, previousPropertyNotify);
}

// A transfer to a window not our own hangs that window on a widget of the shell until it ends.
bool TransferOpen(const Touched& entry) {
  Display* display = XtDisplay(entry.shell);
  return std::any_of(entry.requestors.begin(), entry.requestors.end(),
                     [&](Window window) { return ShellOf(display, window) == entry.shell; });
}

void Check(XtPointer data, XtIntervalId*);

void ArmCheck(Touched& entry) {
  XtAppContext context = XtWidgetToApplicationContext(entry.shell);
  entry.check = XtAppAddTimeOut(context, XtAppGetSelectionTimeout(context) + kMarginMilliseconds,
                                Check, entry.shell);
}

void Check(XtPointer data, XtIntervalId*) {
  Touched* entry = Find(static_cast<Widget>(data));
  if (entry == nullptr) return;
  entry->check = 0;
  if (TransferOpen(*entry)) {
    ArmCheck(*entry);
    return;
  }
  XtDestroyWidget(entry->shell);
}

}  // namespace

namespace ShellRetirement {

void Watch(Display* display) {
  editresAtom = XInternAtom(display, "Editres", False);
  previousClientMessage = XtSetEventDispatcher(display, ClientMessage, DispatchClientMessage);
  previousSelectionRequest =
      XtSetEventDispatcher(display, SelectionRequest, DispatchSelectionRequest);
  previousSelectionNotify = XtSetEventDispatcher(display, SelectionNotify, DispatchSelectionNotify);
  previousPropertyNotify = XtSetEventDispatcher(display, PropertyNotify, DispatchPropertyNotify);
}

void Retire(Widget shell) {
  Touched* entry = Find(shell);
  if (entry == nullptr) {
    XtDestroyWidget(shell);
    return;
  }
  if (entry->retired) return;
  entry->retired = true;
  // Kept realized: a dialog closes from its own button's callback, and the button still draws
  // itself once the callback returns. The transfers under way end within a selection time-out,
  // or at the editor's pace for an answer sent in pieces.
  if (XtIsRealized(shell))
    XWithdrawWindow(XtDisplay(shell), XtWindow(shell), XScreenNumberOfScreen(XtScreen(shell)));
  ArmCheck(*entry);
}

}  // namespace ShellRetirement
