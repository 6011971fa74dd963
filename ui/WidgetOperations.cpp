#include "ui/WidgetOperations.h"

#include "ui/MonitorLayout.h"
#include "ui/ToolkitContext.h"
#include "ui/WidgetTable.h"

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/List.h>
#include <X11/Xaw/Scrollbar.h>
#include <X11/Xaw/TextP.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <cstring>
#include <vector>

namespace {

constexpr const char* kScrollbarTranslations =
    "#override\n"
    "\t\t<Btn1Down>: StartScroll(Continuous) MoveThumb() NotifyThumb()\n"
    "\t\t<Btn3Down>: StartScroll(Continuous) MoveThumb() NotifyThumb()\n"
    "\t\t<Btn1Motion>: MoveThumb() NotifyThumb()\n"
    "\t\t<Btn3Motion>: MoveThumb() NotifyThumb()\n";

// RandR 1.5's monitors; none from an older server or one without the extension.
std::vector<ScreenArea> RandRMonitors(Display* display, Window root) {
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  if (XRRQueryExtension(display, &eventBase, &errorBase) == False ||
      XRRQueryVersion(display, &major, &minor) == 0 || major * 100 + minor < 105) {
    return {};
  }
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count);
  std::vector<ScreenArea> areas;
  for (int index = 0; index < count; ++index) {
    areas.push_back(
        {monitors[index].x, monitors[index].y, monitors[index].width, monitors[index].height});
  }
  if (monitors != nullptr) XRRFreeMonitors(monitors);
  return areas;
}

// Xinerama's heads; none when the extension is missing or inactive.
std::vector<ScreenArea> XineramaMonitors(Display* display) {
  int eventBase = 0;
  int errorBase = 0;
  if (XineramaQueryExtension(display, &eventBase, &errorBase) == False ||
      XineramaIsActive(display) == False) {
    return {};
  }
  int count = 0;
  XineramaScreenInfo* heads = XineramaQueryScreens(display, &count);
  std::vector<ScreenArea> areas;
  for (int index = 0; index < count; ++index) {
    areas.push_back(
        {heads[index].x_org, heads[index].y_org, heads[index].width, heads[index].height});
  }
  if (heads != nullptr) XFree(heads);
  return areas;
}

// The top-left corner that centres the shell on the monitor the user is looking at: the one
// holding the pointer.
ScreenPoint CornerOnPointersMonitor(Widget shell) {
  Display* display = XtDisplay(shell);
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  const ScreenArea whole = {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
  const MonitorLayout layout =
      MonitorLayout::Choose(whole, RandRMonitors(display, root), XineramaMonitors(display));
  // The screen's middle while the pointer is on another screen of the display.
  ScreenPoint pointer = {whole.width / 2, whole.height / 2};
  Window rootUnderPointer = 0;
  Window child = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned int buttons = 0;
  int pointerX = 0;
  int pointerY = 0;
  if (XQueryPointer(display, root, &rootUnderPointer, &child, &pointerX, &pointerY, &windowX,
                    &windowY, &buttons) != False) {
    pointer = {pointerX, pointerY};
  }
  return layout.CenteredCorner(pointer, WidgetWidth(shell), WidgetHeight(shell));
}

}  // namespace

void CenterShell(Widget shell) {
  Display* display = XtDisplay(shell);
  // A window wider or taller than its monitor starts at the monitor's top left corner, kept on
  // the screen: its texts and the buttons placed against them stay within reach.
  const ScreenPoint corner = CornerOnPointersMonitor(shell);
  Arg args[2];
  XtSetArg(args[0], const_cast<char*>(XtNx), static_cast<Position>(corner.x));
  XtSetArg(args[1], const_cast<char*>(XtNy), static_cast<Position>(corner.y));
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
