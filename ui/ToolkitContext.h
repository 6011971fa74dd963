// The toolkit state every dialog reads: the one application context and display of the run,
// and the application class through which X resources reach the widgets.
#pragma once

#include <X11/Intrinsic.h>

inline constexpr const char* kApplicationClass = "XQVXClientUI";

// Null until RunUserInterface has created them, and again once the context is destroyed.
[[nodiscard]] XtAppContext ApplicationContext() noexcept;
[[nodiscard]] Display* ToolkitDisplay() noexcept;
// The "international" value every widget of this run gets: whether a locale is in use, settled
// when the toolkit starts.
[[nodiscard]] Boolean InternationalResource() noexcept;
