#include "ui/WidgetOperations.h"

#include "ui/ToolkitContext.h"
#include "ui/WidgetTable.h"

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/List.h>
#include <X11/Xaw/Scrollbar.h>
#include <X11/Xaw/TextP.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kScrollbarTranslations =
    "#override\n"
    "\t\t<Btn1Down>: StartScroll(Continuous) MoveThumb() NotifyThumb()\n"
    "\t\t<Btn3Down>: StartScroll(Continuous) MoveThumb() NotifyThumb()\n"
    "\t\t<Btn1Motion>: MoveThumb() NotifyThumb()\n"
    "\t\t<Btn3Motion>: MoveThumb() NotifyThumb()\n";

}  // namespace

void CenterShell(Widget shell) {
  Display* display = XtDisplay(shell);
  const int screen = DefaultScreen(display);
  // A window wider or taller than the screen starts at its top left corner: its texts and the
  // buttons placed against them stay within reach.
  const int x = std::max(0, (DisplayWidth(display, screen) - WidgetWidth(shell)) / 2);
  const int y = std::max(0, (DisplayHeight(display, screen) - WidgetHeight(shell)) / 2);
  Arg args[2];
  XtSetArg(args[0], const_cast<char*>(XtNx), static_cast<Position>(x));
  XtSetArg(args[1], const_cast<char*>(XtNy), static_cast<Position>(y));
  XtSetValues(shell, args, 2);
  // The toolkit marks a position it set as the program's proposal (PPosition), which a window
  // manager may overrule: twm's defaults then have the user place every dialog by hand, with the
  // server grabbed until they do. Kept in the shell's record too, so that the toolkit's own
  // rewrites of the hints after a resize keep the flag.
  auto& hints = reinterpret_cast<WMShellWidget>(shell)->wm.size_hints;
  hints.flags |= USPosition;
  XSizeHints written = {};
  long supplied = 0;
  if (XGetWMNormalHints(display, XtWindow(shell), &written, &supplied) != 0) {
    written.flags |= USPosition;
    XSetWMNormalHints(display, XtWindow(shell), &written);
  }
  XtMapWidget(shell);
}

void ApplyScrollbarTranslations(Widget scrollbar) {
  if (scrollbar == nullptr) return;
  // The toolkit never frees a parsed table, and every dialog has scrollbars: parsed once, the
  // table serves every scrollbar of the process's life.
  static const XtTranslations translations = XtParseTranslationTable(kScrollbarTranslations);
  XtOverrideTranslations(scrollbar, translations);
}

void ScrollListToCurrent(Widget viewport, Widget list) {
  XawListReturnStruct* current = XawListShowCurrent(list);
  const int index = current->list_index;
  XtFree(reinterpret_cast<char*>(current));
  if (index == XAW_LIST_NONE) return;
  int count = 0;
  Arg arg;
  XtSetArg(arg, const_cast<char*>(XtNnumberStrings), &count);
  XtGetValues(list, &arg, 1);
  Widget scrollbar = ChildNamed(viewport, "vertical");
  if (scrollbar == nullptr || count <= 0) return;
  float fraction = static_cast<float>(index) / static_cast<float>(count);
  XtCallCallbacks(scrollbar, XtNjumpProc, &fraction);
}

void IgnoreWindowManagerClose(Widget shell) {
  Display* display = XtDisplay(shell);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, XtWindow(shell), &deleteWindow, 1);
}

Widget TextScrollbar(Widget text) { return reinterpret_cast<TextWidget>(text)->text.vbar; }

Widget ChildNamed(Widget parent, const char* name) {
  if (parent == nullptr || !XtIsComposite(parent)) return nullptr;
  WidgetList children = nullptr;
  Cardinal count = 0;
  Arg args[2];
  XtSetArg(args[0], const_cast<char*>(XtNchildren), &children);
  XtSetArg(args[1], const_cast<char*>(XtNnumChildren), &count);
  XtGetValues(parent, args, 2);
  for (Cardinal index = 0; index < count; ++index) {
    if (std::strcmp(XtName(children[index]), name) == 0) return children[index];
  }
  return nullptr;
}
