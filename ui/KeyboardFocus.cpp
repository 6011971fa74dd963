#include "ui/KeyboardFocus.h"

#include "ui/ToolkitCallback.h"
#include "ui/ToolkitContext.h"
#include "ui/WidgetOperations.h"

#include <X11/IntrinsicP.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/List.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

// The actions get no client data: the dialog is found from the shell of the widget they run on.
std::vector<KeyboardFocus*> attached;

bool IsList(Widget widget) { return XtIsSubclass(widget, listWidgetClass) != False; }

// The widget under the shell: the form that holds every control.
Widget FormOf(Widget widget) {
  while (XtParent(widget) != nullptr && !XtIsShell(XtParent(widget))) widget = XtParent(widget);
  return widget;
}

// The control's keys as its "keyTranslations" resource has them. Parsed once per text: the
// toolkit never frees a parsed table, and the dialogs open again and again.
XtTranslations KeyTranslations(Widget control) {
  static std::map<std::string, XtTranslations> parsed;
  String text = nullptr;
  XtResource resource = {
      const_cast<char*>("keyTranslations"),
      const_cast<char*>("KeyTranslations"),
      const_cast<char*>(XtRString),
      sizeof(String),
      0,
      const_cast<char*>(XtRString),
      const_cast<char*>(IsList(control) ? KeyboardFocus::kListKeys : KeyboardFocus::kButtonKeys)};
  XtGetApplicationResources(control, &text, &resource, 1, nullptr, 0);
  const auto [entry, added] = parsed.try_emplace(text != nullptr ? text : "", nullptr);
  if (added && !entry->first.empty()) entry->second = XtParseTranslationTable(entry->first.c_str());
  return entry->second;
}

// A list has no mark of its own: the focused one gets a ring in its form, around its viewport.
void DrawRing(Widget list, bool drawn) {
  Widget frame = XtParent(list);
  Widget form = XtParent(frame);
  if (!XtIsRealized(form)) return;
  Display* display = XtDisplay(form);
  const int x = frame->core.x;
  const int y = frame->core.y;
  const int width = frame->core.width + 2 * frame->core.border_width;
  const int height = frame->core.height + 2 * frame->core.border_width;
  constexpr int kRing = 2;
  if (!drawn) {
    XClearArea(display, XtWindow(form), x - kRing, y - kRing,
               static_cast<unsigned>(width + 2 * kRing), static_cast<unsigned>(height + 2 * kRing),
               False);
    return;
  }
  XGCValues values;
  values.foreground = frame->core.border_pixel;
  GC gc = XCreateGC(display, XtWindow(form), GCForeground, &values);
  for (int ring = 1; ring <= kRing; ++ring) {
    XDrawRectangle(display, XtWindow(form), gc, x - ring, y - ring,
                   static_cast<unsigned>(width - 1 + 2 * ring),
                   static_cast<unsigned>(height - 1 + 2 * ring));
  }
  XFreeGC(display, gc);
}

}  // namespace

void KeyboardFocus::Attach(Widget shell, std::vector<Control> controls, int initial, int safeAnswer,
                           FirstPress firstPress) {
  // Xt keeps the table it is given for the rest of the process.
  static XtActionsRec actions[] = {
      {const_cast<char*>("focus-next"), &KeyboardFocus::FocusNext},
      {const_cast<char*>("focus-previous"), &KeyboardFocus::FocusPrevious},
      {const_cast<char*>("safe-answer"), &KeyboardFocus::SafeAnswer},
      {const_cast<char*>("press-focused"), &KeyboardFocus::PressFocused},
      {const_cast<char*>("list-up"), &KeyboardFocus::ListUp},
      {const_cast<char*>("list-down"), &KeyboardFocus::ListDown}};
  static bool actionsAdded = false;
  if (!actionsAdded) XtAppAddActions(ApplicationContext(), actions, XtNumber(actions));
  actionsAdded = true;
  Detach();
  shell_ = shell;
  // Releases are asked for only so that the click guard sees them: a press with no release
  // since the last is a held key's repeat, which answers nothing.
  XtAddEventHandler(shell_, KeyReleaseMask, False, &KeyboardFocus::ReleaseSeen, nullptr);
  XtAddEventHandler(shell_, StructureNotifyMask | FocusChangeMask, False, &KeyboardFocus::Arrived,
                    nullptr);
  settled_ = std::chrono::steady_clock::now() + kSettle;
  controls_ = std::move(controls);
  safeAnswer_ = safeAnswer;
  chosen_ = initial;
  moved_ = false;
  firstPress_ = firstPress;
  shown_ = -1;
  attached.push_back(this);
  for (const Control& control : controls_) {
    XtAddEventHandler(control.widget, ButtonPressMask, False, &KeyboardFocus::Clicked, nullptr);
    if (XtTranslations keys = KeyTranslations(control.widget); keys != nullptr) {
      XtOverrideTranslations(control.widget, keys);
    }
    if (IsList(control.widget)) {
      XtAddEventHandler(FormOf(control.widget), ExposureMask, False, &KeyboardFocus::Repaint,
                        nullptr);
    } else {
      // The pointer leaving a button takes the toolkit's highlight with it; a focused button
      // keeps its mark.
      XtAddEventHandler(control.widget, LeaveWindowMask, False, &KeyboardFocus::Repaint, nullptr);
    }
  }
  Update();
}

void KeyboardFocus::Detach() noexcept {
  attached.erase(std::remove(attached.begin(), attached.end(), this), attached.end());
  shell_ = nullptr;
  controls_.clear();
  chosen_ = shown_ = -1;
}

void KeyboardFocus::Update() {
  if (shell_ == nullptr) return;
  std::vector<bool> answers;
  for (const Control& control : controls_) answers.push_back(!IsList(control.widget));
  const int kept = KeptFocus(ReachableControls(), answers, chosen_);
  if (kept != -1) chosen_ = kept;
  Show(kept);
}

bool KeyboardFocus::Settled() const {
  return firstPress_ == FirstPress::kAtOnce || std::chrono::steady_clock::now() >= settled_;
}

// Chosen even while the dialog is disabled for the answer: the focus goes there once it is not.
void KeyboardFocus::FocusFirstList() {
  for (int index = 0; index < static_cast<int>(controls_.size()); ++index) {
    if (!IsList(controls_[index].widget)) continue;
    chosen_ = index;
    Update();
    return;
  }
}

bool KeyboardFocus::Reachable(int index) const {
  Widget widget = controls_[index].widget;
  return XtIsSensitive(widget) != False && XtIsManaged(widget) != False &&
         widget->core.mapped_when_managed != False;
}

std::vector<bool> KeyboardFocus::ReachableControls() const {
  std::vector<bool> reachable;
  for (int index = 0; index < static_cast<int>(controls_.size()); ++index) {
    reachable.push_back(Reachable(index));
  }
  return reachable;
}

KeyboardFocus* KeyboardFocus::Of(Widget widget) {
  while (widget != nullptr && !XtIsShell(widget)) widget = XtParent(widget);
  const auto found = std::find_if(attached.begin(), attached.end(), [widget](KeyboardFocus* focus) {
    return focus->shell_ == widget;
  });
  return found == attached.end() ? nullptr : *found;
}

void KeyboardFocus::Move(FocusStep step) {
  if (!Settled()) return;
  const int target = NextFocus(ReachableControls(), shown_, step);
  if (target == -1) return;
  moved_ = true;
  chosen_ = target;
  Show(target);
}

void KeyboardFocus::Show(int focused) {
  if (focused == shown_) return;
  if (shown_ != -1) Mark(shown_, false);
  shown_ = focused;
  // With nothing to focus the keys go to the form, which has none: a disabled dialog ignores
  // them as it ignores clicks.
  XtSetKeyboardFocus(shell_,
                     focused == -1 ? FormOf(controls_.front().widget) : controls_[focused].widget);
  if (shown_ != -1) Mark(shown_, true);
}

void KeyboardFocus::Mark(int index, bool marked) const {
  Widget widget = controls_[index].widget;
  if (IsList(widget)) return DrawRing(widget, marked);
  if (!XtIsRealized(widget)) return;
  // The highlight the button draws for the pointer; its actions want an event to look at.
  XEvent event = {};
  event.xany.type = EnterNotify;
  event.xany.display = XtDisplay(widget);
  event.xany.window = XtWindow(widget);
  XtCallActionProc(widget, marked ? "highlight" : "unhighlight", &event, nullptr, 0);
}

void KeyboardFocus::MoveInList(Widget list, int step) {
  const auto control = std::find_if(controls_.begin(), controls_.end(),
                                    [list](const Control& each) { return each.widget == list; });
  if (control == controls_.end() || !IsList(list)) return;
  int count = 0;
  String* items = nullptr;
  Arg args[2];
  XtSetArg(args[0], const_cast<char*>(XtNnumberStrings), &count);
  XtSetArg(args[1], const_cast<char*>(XtNlist), &items);
  XtGetValues(list, args, 2);
  XawListReturnStruct* current = XawListShowCurrent(list);
  const int index = current->list_index == XAW_LIST_NONE ? -1 : current->list_index;
  XtFree(reinterpret_cast<char*>(current));
  if (!Settled()) return;
  moved_ = true;
  const int next = NextListLine(count, index, step);
  if (next == -1 || next == index) return;
  XawListHighlight(list, next);
  ScrollListToCurrent(XtParent(list), list);
  // What the list's Notify gives its callbacks after a click on that line, then the rest of
  // the click.
  XawListReturnStruct line = {items != nullptr ? items[next] : nullptr, next};
  const std::function<void()> chosen = control->chosen;
  XtCallCallbacks(list, XtNcallback, &line);
  if (chosen) chosen();
}

void KeyboardFocus::FocusNext(Widget widget, XEvent*, String*, Cardinal*) {
  Guarded([widget] {
    if (KeyboardFocus* focus = Of(widget)) focus->Move(FocusStep::kNext);
  });
}

void KeyboardFocus::FocusPrevious(Widget widget, XEvent*, String*, Cardinal*) {
  Guarded([widget] {
    if (KeyboardFocus* focus = Of(widget)) focus->Move(FocusStep::kPrevious);
  });
}

void KeyboardFocus::SafeAnswer(Widget widget, XEvent*, String*, Cardinal*) {
  Guarded([widget] {
    KeyboardFocus* focus = Of(widget);
    if (focus == nullptr || focus->safeAnswer_ == kNoSafeAnswer) return;
    if (!focus->Reachable(focus->safeAnswer_)) return;
    XtCallCallbacks(focus->controls_[focus->safeAnswer_].widget, XtNcallback, nullptr);
  });
}

// The button's own press, release and notify, as for a click.
void KeyboardFocus::PressFocused(Widget widget, XEvent* event, String*, Cardinal*) {
  Guarded([widget, event] {
    KeyboardFocus* focus = Of(widget);
    if (focus == nullptr) return;
    const bool deliberate = focus->firstPress_ == FirstPress::kAfterAMove;
    if (deliberate && (!focus->moved_ || !focus->Settled())) return;
    for (const char* action : {"set", "notify", "unset"}) {
      XtCallActionProc(widget, action, event, nullptr, 0);
    }
    // The answer may have closed the dialog: look it up again. A second Return must not answer
    // for the request that has moved under the focus.
    if (deliberate && Of(widget) == focus) focus->FocusFirstList();
  });
}

// A click on a list puts the focus there; one on a button leaves it where it was.
void KeyboardFocus::Clicked(Widget widget, XtPointer, XEvent*, Boolean*) {
  KeyboardFocus* focus = Of(widget);
  if (focus == nullptr || !IsList(widget)) return;
  for (int index = 0; index < static_cast<int>(focus->controls_.size()); ++index) {
    if (focus->controls_[index].widget != widget) continue;
    focus->moved_ = true;
    focus->chosen_ = index;
    focus->Show(index);
  }
}

// The window's arrival on the screen, or the keyboard's from another window, starts the time in
// which keys do nothing.
void KeyboardFocus::Arrived(Widget shell, XtPointer, XEvent* event, Boolean*) {
  KeyboardFocus* focus = Of(shell);
  if (focus == nullptr) return;
  const bool arrived =
      event->type == MapNotify ||
      (event->type == FocusIn && event->xfocus.detail != NotifyInferior &&
       event->xfocus.detail != NotifyPointer && event->xfocus.mode == NotifyNormal);
  if (arrived) focus->settled_ = std::chrono::steady_clock::now() + kSettle;
}

void KeyboardFocus::ListUp(Widget widget, XEvent*, String*, Cardinal*) {
  Guarded([widget] {
    if (KeyboardFocus* focus = Of(widget)) focus->MoveInList(widget, -1);
  });
}

void KeyboardFocus::ListDown(Widget widget, XEvent*, String*, Cardinal*) {
  Guarded([widget] {
    if (KeyboardFocus* focus = Of(widget)) focus->MoveInList(widget, +1);
  });
}

void KeyboardFocus::Repaint(Widget widget, XtPointer, XEvent* event, Boolean*) {
  Guarded([widget, event] {
    KeyboardFocus* focus = Of(widget);
    if (focus == nullptr || focus->shown_ == -1) return;
    if (event->type == Expose && event->xexpose.count != 0) return;
    if (event->type == LeaveNotify) {
      // The button's own translations take the highlight away in this same dispatch: marked
      // again once it is over, by the shell, which may be gone by then.
      XtAppAddTimeOut(ApplicationContext(), 0, &KeyboardFocus::MarkAgain, focus->shell_);
      return;
    }
    focus->Mark(focus->shown_, true);
  });
}

void KeyboardFocus::MarkAgain(XtPointer shell, XtIntervalId*) {
  Guarded([shell] {
    const auto found =
        std::find_if(attached.begin(), attached.end(),
                     [shell](KeyboardFocus* focus) { return focus->shell_ == shell; });
    if (found != attached.end() && (*found)->shown_ != -1) (*found)->Mark((*found)->shown_, true);
  });
}
