// Small widget operations every dialog uses: centring a shell on a monitor, the scrollbar
// translations, scrolling a list to its current item, and the window manager's close button.
#pragma once

#include <X11/Intrinsic.h>

// Places the realized, unmapped dialog shell in the middle of the monitor holding the pointer (of
// the display's default screen), as a position every window manager keeps, and maps it.
void CenterShell(Widget shell);

// Both the first and the third button drag the thumb continuously.
void ApplyScrollbarTranslations(Widget scrollbar);

// Scrolls the viewport so that the list's current item is in view; nothing without one.
void ScrollListToCurrent(Widget viewport, Widget list);

// Registers WM_DELETE_WINDOW on the realized shell with no handler behind it, so that the window
// manager's close button leaves the dialog open.
void IgnoreWindowManagerClose(Widget shell);

// The vertical scrollbar of an AsciiText, or null. A text widget is no composite: its scrollbar
// is not among any children list, only in the text's own record.
[[nodiscard]] Widget TextScrollbar(Widget text);

// The direct child with this name ("vertical": a viewport's or a text's scrollbar), or null.
[[nodiscard]] Widget ChildNamed(Widget parent, const char* name);
