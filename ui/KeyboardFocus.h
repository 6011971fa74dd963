// The keyboard in one dialog window: Tab and Shift+Tab move the focus between its buttons and
// lists that are sensitive and mapped, in reading order; Return and Space press the focused
// button, Up and Down move through the focused list as a click would, and Escape presses the
// dialog's safe answer where it has one. The keys are each control's "keyTranslations"
// resource, so an administrator can change them. Each dialog window owns one while it is open.
#pragma once

#include "ui/FocusOrder.h"

#include <X11/Intrinsic.h>

#include <chrono>
#include <functional>
#include <vector>

class KeyboardFocus {
 public:
  struct Control {
    Widget widget;  // a Command or a List
    // For a list: what a click on a line does beyond the list's callbacks; a line reached by
    // key does the same.
    std::function<void()> chosen = nullptr;
  };
  static constexpr int kNoSafeAnswer = -1;
  // How deliberate a key must be to press a button. A dialog that opens on its own may catch
  // keys typed for another window, and a Space typed there must not answer it: in such a dialog
  // keys do nothing for kSettle after it gains the keyboard, Return and Space press nothing
  // until the user has moved the focus (a click on a list moves it there too), and after a key
  // has pressed an answer the focus goes back to the list.
  enum class FirstPress { kAtOnce, kAfterAMove };
  static constexpr std::chrono::milliseconds kSettle{1000};

  // The translations each kind of control starts with, as the app-defaults file shows them.
  static constexpr const char* kButtonKeys =
      "~Shift<Key>Tab: focus-next()\n"
      "Shift<Key>Tab: focus-previous()\n"
      "<Key>ISO_Left_Tab: focus-previous()\n"
      "<Key>Return: press-focused()\n"
      "<Key>KP_Enter: press-focused()\n"
      "<Key>space: press-focused()\n"
      "<Key>Escape: safe-answer()";
  static constexpr const char* kListKeys =
      "~Shift<Key>Tab: focus-next()\n"
      "Shift<Key>Tab: focus-previous()\n"
      "<Key>ISO_Left_Tab: focus-previous()\n"
      "<Key>Up: list-up()\n"
      "<Key>Down: list-down()\n"
      "<Key>Escape: safe-answer()";

  KeyboardFocus() = default;
  KeyboardFocus(const KeyboardFocus&) = delete;
  KeyboardFocus& operator=(const KeyboardFocus&) = delete;
  ~KeyboardFocus() { Detach(); }

  // Gives the realized shell's keys to controls, listed in reading order, with the focus on
  // controls[initial]; Escape presses controls[safeAnswer].
  void Attach(Widget shell, std::vector<Control> controls, int initial, int safeAnswer,
              FirstPress firstPress = FirstPress::kAtOnce);
  // Before the shell goes: its keys and marks reach this object no more.
  void Detach() noexcept;
  // After controls changed sensitivity or mapping: a focus they no longer let in falls on a list,
  // never on an answer, and stays there; with nothing to take it (a disabled dialog) it returns
  // to its control once the dialog takes keys again.
  void Update();

 private:
  static KeyboardFocus* Of(Widget widget);
  static void FocusNext(Widget widget, XEvent*, String*, Cardinal*);
  static void FocusPrevious(Widget widget, XEvent*, String*, Cardinal*);
  static void SafeAnswer(Widget widget, XEvent*, String*, Cardinal*);
  static void PressFocused(Widget widget, XEvent* event, String*, Cardinal*);
  static void Clicked(Widget widget, XtPointer, XEvent*, Boolean*);
  static void Arrived(Widget shell, XtPointer, XEvent* event, Boolean*);
  static void ListUp(Widget widget, XEvent*, String*, Cardinal*);
  static void ListDown(Widget widget, XEvent*, String*, Cardinal*);
  static void Repaint(Widget widget, XtPointer, XEvent* event, Boolean*);
  static void ReleaseSeen(Widget, XtPointer, XEvent*, Boolean*) {}
  static void MarkAgain(XtPointer shell, XtIntervalId*);

  [[nodiscard]] bool Settled() const;
  void FocusFirstList();
  void Move(FocusStep step);
  void MoveInList(Widget list, int step);
  void Show(int focused);
  void Mark(int index, bool marked) const;
  [[nodiscard]] bool Reachable(int index) const;
  [[nodiscard]] std::vector<bool> ReachableControls() const;

  Widget shell_ = nullptr;
  std::vector<Control> controls_;
  int safeAnswer_ = kNoSafeAnswer;
  // The control the user put the focus on, and the one that has it now (-1: none can).
  int chosen_ = -1;
  int shown_ = -1;
  bool moved_ = false;
  FirstPress firstPress_ = FirstPress::kAtOnce;
  std::chrono::steady_clock::time_point settled_{};
};
