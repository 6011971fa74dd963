#include "ui/ToolkitContext.h"

namespace {

// One per process, like the toolkit itself: Xt keeps its own global state behind these.
XtAppContext applicationContext = nullptr;
Display* display = nullptr;
bool international = false;

}  // namespace

XtAppContext ApplicationContext() noexcept { return applicationContext; }
Display* ToolkitDisplay() noexcept { return display; }
Boolean InternationalResource() noexcept { return international ? True : False; }

void SetApplicationContext(XtAppContext context) noexcept { applicationContext = context; }

void SetToolkitDisplay(Display* openDisplay, bool localeInUse) noexcept {
  display = openDisplay;
  international = localeInUse;
}

XtAppContext ForgetToolkitContext() noexcept {
  XtAppContext context = applicationContext;
  applicationContext = nullptr;
  display = nullptr;
  return context;
}
