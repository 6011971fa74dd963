// The toolkit state every dialog reads: the one application context and display of the run,
// and the application class through which X resources reach the widgets. The toolkit's start
// and end (UserInterface.cpp) set and clear it.
#pragma once

#include <X11/Intrinsic.h>

inline constexpr const char* kApplicationClass = "XQVXClientUI";

// Null until the toolkit has started, and again once the context is destroyed.
[[nodiscard]] XtAppContext ApplicationContext() noexcept;
[[nodiscard]] Display* ToolkitDisplay() noexcept;
// The "international" value every widget of this run gets: whether a locale is in use, settled
// when the toolkit starts.
[[nodiscard]] Boolean InternationalResource() noexcept;

// The context is kept as soon as it exists, so that an exit while the display opens still tears
// it down; the display comes with the locale decision once it is open.
void SetApplicationContext(XtAppContext context) noexcept;
void SetToolkitDisplay(Display* display, bool international) noexcept;
// Clears the state and hands back the context for destruction; null when there is none.
[[nodiscard]] XtAppContext ForgetToolkitContext() noexcept;
