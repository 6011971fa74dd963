#include "ui/MessageDialog.h"

#include "text/time/Clock.h"
#include "ui/ActionButtonRow.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/FormatBuiltIn.h"
#include "ui/KeyboardFocus.h"
#include "ui/ShellRetirement.h"
#include "ui/ToolkitCallback.h"
#include "ui/WidgetOperations.h"
#include "ui/WidgetTable.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <X11/Xatom.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

namespace {

// The one X error a trap expects; any other still ends the program. Xlib's handler takes no
// client data, and the program has a single display.
int trappedErrors = 0;
XErrorHandler untrappedHandler = nullptr;

int TrapBadWindow(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow) {
    ++trappedErrors;
    return 0;
  }
  return untrappedHandler(display, error);
}

// The value of a property of one 32-bit item on window, or 0.
unsigned long ReadItem(Display* display, ::Window window, Atom property, Atom type) {
  Atom actualType = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  unsigned long item = 0;
  if (XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType, &format, &count,
                         &remaining, &data) == Success &&
      data != nullptr && actualType == type && format == 32 && count == 1) {
    item = *reinterpret_cast<const unsigned long*>(data);
  }
  if (data != nullptr) XFree(data);
  return item;
}

// Whether an EWMH window manager runs now: the window the root names must name itself. A
// manager that has exited leaves its root properties behind, naming a window that is gone.
bool ManagerRunning(Display* display) {
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == 0) return false;
  const auto named =
      static_cast<::Window>(ReadItem(display, DefaultRootWindow(display), check, XA_WINDOW));
  if (named == 0) return false;
  XSync(display, False);
  trappedErrors = 0;
  untrappedHandler = XSetErrorHandler(TrapBadWindow);
  const auto self = static_cast<::Window>(ReadItem(display, named, check, XA_WINDOW));
  XSync(display, False);
  XSetErrorHandler(untrappedHandler);
  return trappedErrors == 0 && self == named;
}

// Whether the window manager lists this state among those it honours (EWMH's _NET_SUPPORTED on
// the root). The atoms alone prove nothing: any client may have interned them, under twm too.
bool ManagerSupports(Display* display, Atom state) {
  const Atom supported = XInternAtom(display, "_NET_SUPPORTED", True);
  if (supported == 0 || !ManagerRunning(display)) return false;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM,
                         &type, &format, &count, &remaining, &data) != Success) {
    return false;
  }
  bool found = false;
  if (data != nullptr && type == XA_ATOM && format == 32) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    found = std::find(atoms, atoms + count, state) != atoms + count;
  }
  if (data != nullptr) XFree(data);
  return found;
}

constexpr const char* kDialogName = "MessageDialog";

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

// The texts this window looks up itself, by their English wording.
constexpr const char* kCompletionTitle = "Vantrel notification:";
constexpr const char* kCompletionBody = "Action \"{actionTitle}\" has completed.";
constexpr const char* kOkText = "OK";

// None without a Timeout. A Timeout beyond the end of time never expires either; one at or below
// zero expires at the next tick.
std::optional<DateTime> ExpiryOf(const MessageRequest& message) {
  if (!message.timeout) return std::nullopt;
  return CheckedSum(Now(), std::max(*message.timeout, TimeInterval()));
}

}  // namespace

// The texts of one message, in the locale's encoding.
struct MessageDialog::Texts {
  std::string title;
  std::string body;
  std::string button;

  explicit Texts(const MessageRequest& message);
};

struct MessageDialog::Window {
  std::uint64_t id = 0;
  MessageButton buttonState = MessageButton::kShown;
  MessageStacking stacking = MessageStacking::kNormal;
  std::optional<DateTime> expiry;  // none: stays until closed or removed
  Texts texts;
  Widget shell = nullptr;
  Widget text = nullptr;
  Widget button = nullptr;
  // Held apart: the window moves into the list once built.
  std::unique_ptr<KeyboardFocus> keys = std::make_unique<KeyboardFocus>();

  void ApplyTopmost() const;
  void ShowButton() const;
  void Update(const MessageRequest& message, Texts newTexts, MessageButton button,
              MessageStacking stacking);
};

MessageDialog::Texts::Texts(const MessageRequest& message) {
  if (message.isCompletionMessage) {
    title = LocaleText(FormatBuiltIn(kCompletionTitle));
    body = LocaleText(FormatBuiltIn(kCompletionBody, {message.title}));
  } else {
    title = LocaleText(message.title);
    body = LocaleText(message.message);
  }
  button = LocaleText(FormatBuiltIn(kOkText));
}

// Asks an EWMH window manager to keep the window above others, or to stop doing so; of any other
// manager nothing is asked.
void MessageDialog::Window::ApplyTopmost() const {
  Display* display = XtDisplay(shell);
  const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", True);
  const Atom state = XInternAtom(display, "_NET_WM_STATE", True);
  if (above == 0 || state == 0 || !ManagerSupports(display, above)) return;
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = XtWindow(shell);
  event.xclient.message_type = state;
  event.xclient.format = 32;
  event.xclient.data.l[0] = stacking == MessageStacking::kTopmost ? 1 : 0;
  event.xclient.data.l[1] = static_cast<long>(above);
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void MessageDialog::Window::ShowButton() const {
  // Through mappedWhenManaged, which the keys read to tell whether the button can be pressed.
  XtSetMappedWhenManaged(button, buttonState == MessageButton::kHidden ? False : True);
}

// newTexts are computed before anything is stored, so a message that cannot be shown leaves the
// window, its texts and its Timeout as they were.
void MessageDialog::Window::Update(const MessageRequest& message, Texts newTexts,
                                   MessageButton newButton, MessageStacking newStacking) {
  expiry = ExpiryOf(message);
  texts = std::move(newTexts);
  SetResource(shell, XtNtitle, reinterpret_cast<XtArgVal>(texts.title.c_str()));
  SetResource(text, XtNstring, reinterpret_cast<XtArgVal>(texts.body.c_str()));
  buttonState = newButton;
  stacking = newStacking;
  ShowButton();
  keys->Update();
  ApplyTopmost();
}

MessageDialog::MessageDialog() = default;
MessageDialog::~MessageDialog() = default;

void MessageDialog::Show(const MessageRequest& message, MessageButton button,
                         MessageStacking stacking) {
  // A text the locale cannot hold or an override the format engine rejects fails here, before
  // any widget is touched: the dispatcher drops the message. Only a window that cannot be built
  // ends the program.
  Texts texts(message);
  const auto window = Find(message.id);
  if (window != windows_.end()) return window->Update(message, std::move(texts), button, stacking);
  BuildOrReport(kDialogName, [&] { Build(message, std::move(texts), button, stacking); });
}

void MessageDialog::Remove(std::uint64_t id) {
  const auto window = Find(id);
  if (window != windows_.end()) Destroy(window);
}

void MessageDialog::Expire() {
  const DateTime now = Now();
  for (auto window = windows_.begin(); window != windows_.end();) {
    const auto next = std::next(window);
    if (window->expiry && *window->expiry <= now) Destroy(window);
    window = next;
  }
}

MessageDialog::WindowPosition MessageDialog::Find(std::uint64_t id) {
  return std::find_if(windows_.begin(), windows_.end(),
                      [id](const Window& window) { return window.id == id; });
}

void MessageDialog::Destroy(WindowPosition window) {
  window->keys->Detach();
  ShellRetirement::Retire(window->shell);
  windows_.erase(window);
}

void MessageDialog::Build(const MessageRequest& message, Texts texts, MessageButton button,
                          MessageStacking stacking) {
  Window window{message.id, button, stacking, std::nullopt, std::move(texts)};
  window.shell = CreateDialogShell(window.texts.title);
  const std::vector<Widget> widgets =
      BuildWidgetTable(window.shell, kRows, kRowCount, {window.texts.body, window.texts.button});
  window.text = widgets[kActionMessage];
  window.button = widgets[kDismiss];
  // The button ends at the text's right edge.
  SetResource(window.button, XtNhorizDistance,
              RightAlignedDistance(WidgetWidth(window.text), WidgetWidth(window.button),
                                   WidgetBorderWidth(window.text)));
  AddMemberCallback<&MessageDialog::DismissPressed>(window.button, *this);
  XtAddEventHandler(window.shell, StructureNotifyMask, False,
                    MemberEventHandler<&MessageDialog::WindowMapped>, this);
  XtRealizeWidget(window.shell);
  window.ShowButton();
  window.ApplyTopmost();
  IgnoreWindowManagerClose(window.shell);
  ApplyScrollbarTranslations(TextScrollbar(window.text));
  CenterShell(window.shell);
  // Escape is OK while OK is shown.
  window.keys->Attach(window.shell, {{window.button}}, 0, 0);
  window.expiry = ExpiryOf(message);
  windows_.push_back(std::move(window));
}

// The button closes its own window and tells the client nothing.
void MessageDialog::DismissPressed(Widget button, XtPointer) {
  const auto window = std::find_if(windows_.begin(), windows_.end(),
                                   [button](const Window& open) { return open.button == button; });
  if (window != windows_.end()) Destroy(window);
}

// A window manager ignores a state request for a window it has not mapped yet, so the state is
// asked for again once the window is on the screen.
void MessageDialog::WindowMapped(Widget shell, XEvent* event) {
  if (event->type != MapNotify) return;
  const auto window = std::find_if(windows_.begin(), windows_.end(),
                                   [shell](const Window& open) { return open.shell == shell; });
  if (window != windows_.end() && window->stacking == MessageStacking::kTopmost) {
    window->ApplyTopmost();
  }
}

DialogLayout MessageDialog::Layout() {
  return {kDialogName,
          "Vantrel notification:",
          nullptr,
          kRows,
          kRowCount,
          {"dismiss.horizDistance"},
          "for a completed action, else after the message's own title"};
}

std::vector<const char*> MessageDialog::LookedUpTexts() {
  return {kCompletionTitle, kCompletionBody, kOkText};
}
