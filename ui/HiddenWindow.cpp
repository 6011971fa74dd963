#include "ui/HiddenWindow.h"

#include "core/UICommand.h"
#include "ui/DialogLayout.h"
#include "ui/ToolkitCallback.h"
#include "ui/ToolkitContext.h"
#include "ui/WidgetTable.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>

#include <cstring>

namespace {

constexpr const char* kHiddenWindowName = "QVXClientUIHiddenWindow";
constexpr Dimension kHiddenWindowSize = 32;

}  // namespace

void HiddenWindow::Create() {
  Arg args[4];
  XtSetArg(args[0], const_cast<char*>(XtNwidth), kHiddenWindowSize);
  XtSetArg(args[1], const_cast<char*>(XtNheight), kHiddenWindowSize);
  XtSetArg(args[2], const_cast<char*>(XtNmappedWhenManaged), False);
  XtSetArg(args[3], const_cast<char*>("international"), InternationalResource());
  Widget shell = CreateShell(kHiddenWindowName, args, 4);
  XtRealizeWidget(shell);
  XtInsertRawEventHandler(shell, NoEventMask, True, MemberEventHandler<&HiddenWindow::EventArrived>,
                          this, XtListHead);
}

// The message's type and format are not examined: the first four data bytes say it all.
void HiddenWindow::EventArrived(Widget, XEvent* event) {
  if (event->type != ClientMessage) return;
  if (std::memcmp(event->xclient.data.b, "open", 4) != 0) return;
  commands_.Post({UICommandKind::kOpenActionRequestDialog});
}

DialogLayout HiddenWindow::Layout() {
  return {"HiddenWindow", nullptr, kHiddenWindowName,
          nullptr,        0,       {"width", "height", "mappedWhenManaged"}};
}
