#include "ui/UserInterface.h"

#include "core/ExitApplication.h"
#include "core/OutgoingMessages.h"
#include "core/Session.h"
#include "ui/ClickGuard.h"
#include "ui/DialogFailure.h"
#include "ui/FontSetChoice.h"
#include "ui/ShellRetirement.h"
#include "ui/TickClock.h"
#include "ui/ToolkitCallback.h"
#include "ui/ToolkitContext.h"
#include "ui/WidgetTable.h"

#include <X11/Intrinsic.h>

#include <clocale>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kErrorTextBytes = 2048;

// The handler the context had before ours, which ours passes every warning on to; a warning
// handler gets no client data to find it through.
XtErrorMsgHandler previousWarningHandler = nullptr;

// Set by Xlib's error handlers, which get no client data: nothing may talk to the server any more.
bool displayLost = false;

void DestroyApplicationContext() {
  // With the connection gone, tearing down would only call the I/O error handler again; the
  // toolkit's memory stays where it is until the process ends two seconds later.
  if (displayLost) return;
  DestroyAllShells();
  XtAppContext context = ForgetToolkitContext();
  if (context != nullptr) XtDestroyApplicationContext(context);
}

int HandleXError(Display* errorDisplay, XErrorEvent* error) {
  char text[kErrorTextBytes] = "XError: Unknown XError";
  constexpr std::size_t kPrefix = sizeof("XError: ") - 1;
  XGetErrorText(errorDisplay, error->error_code, text + kPrefix,
                static_cast<int>(sizeof(text) - kPrefix));
  // Xlib holds the connection inside its error handler: closing the display from here would
  // wait for itself forever, so the teardown is skipped as after a lost connection.
  displayLost = true;
  ExitApplication(-1, text);
}

// The display is gone: an ordinary end, as when the client closes the link.
int HandleXIOError(Display*) {
  displayLost = true;
  ExitApplication(0, "CLOSED");
}

// The toolkit declares its error handlers as never returning, in the type itself.
void HandleXtError(String message) _X_NORETURN;
void HandleXtError(String message) {
  std::string text = std::string("XtError: ") + (message != nullptr ? message : "");
  if (text.size() > kErrorTextBytes - 1) text.resize(kErrorTextBytes - 1);
  ExitApplication(-1, text.c_str());
}

std::string Parameters(String* parameters, Cardinal* count) {
  std::string text;
  for (Cardinal index = 0; parameters != nullptr && count != nullptr && index < *count; ++index) {
    if (index > 0) text += ", ";
    text += parameters[index];
  }
  return text;
}

// Font warnings carry what the client's support staff need to know about missing character
// sets; a widget left without any font cannot be shown at all.
void HandleXtWarning(String name, String type, String className, String defaultText,
                     String* parameters, Cardinal* count) {
  // A report that fails is dropped.
  const std::vector<std::string>& diagnostics = FontDiagnostics();
  if (!diagnostics.empty()) {
    Guarded([&] {
      std::string text = std::string(name) + " (" + type + ") ( missing charsets:";
      for (const std::string& line : diagnostics) text += "\n" + line;
      text += " )";
      SendClientUIErrorMessage(1, UString8(text.c_str()));
    });
  }
  if (std::strcmp(name, "noFont") == 0) {
    UString8 text;
    Guarded([&] {
      text = UString8((std::string(name) + " (" + Parameters(parameters, count) + ")").c_str());
    });
    ReportInterfaceFailure(text);
  }
  if (previousWarningHandler != nullptr) {
    previousWarningHandler(name, type, className, defaultText, parameters, count);
  }
}

// Bound by no translation of the program's own; a resource file may bind it to the window
// manager's delete request to let the close button end the program.
void SystemMenuClose(Widget widget, XEvent* event, String*, Cardinal*) {
  Display* eventDisplay = XtDisplay(widget);
  const Atom deleteWindow = XInternAtom(eventDisplay, "WM_DELETE_WINDOW", True);
  const Atom protocols = XInternAtom(eventDisplay, "WM_PROTOCOLS", True);
  if (event->type == ClientMessage && event->xclient.message_type == protocols && protocols != 0 &&
      static_cast<Atom>(event->xclient.data.l[0]) == deleteWindow) {
    ExitApplication(0, "CLOSED");
  }
}

XtActionsRec globalActions[] = {
    {const_cast<char*>("SystemMenuClose"), SystemMenuClose},
    {const_cast<char*>("Nothing"), nullptr},
};

// The codeset variants of the C locale leave widget texts in their plain form.
bool IsCLocale(const char* name) {
  return name == nullptr || *name == '\0' || std::strcmp(name, "C") == 0 ||
         std::strcmp(name, "POSIX") == 0 || std::strncmp(name, "C.", 2) == 0;
}

}  // namespace

void StartToolkit(SessionState& state, int argumentCount, char** argumentVector) {
  XSetErrorHandler(HandleXError);
  XSetIOErrorHandler(HandleXIOError);
  if (state.localeInUse) XtSetLanguageProc(nullptr, nullptr, nullptr);
  XtToolkitInitialize();
  XtAppContext context = XtCreateApplicationContext();
  SetApplicationContext(context);
  SetApplicationContextDestroyer(DestroyApplicationContext);
  previousWarningHandler = XtAppSetWarningMsgHandler(context, HandleXtWarning);
  Display* display = XtOpenDisplay(context, nullptr, nullptr, kApplicationClass, nullptr, 0,
                                   &argumentCount, argumentVector);
  if (display == nullptr) ExitApplication(-1, "Error: failed XtOpenDisplay");
  if (state.localeInUse && IsCLocale(std::setlocale(LC_CTYPE, nullptr))) {
    state.localeInUse = false;
    (void)std::setlocale(LC_CTYPE, "C");  // as a C locale chosen at start-up is
  }
  SetToolkitDisplay(display, state.localeInUse);
  ChooseDefaultFontSet();
  XtAppSetErrorHandler(context, HandleXtError);
  XtAppAddActions(context, globalActions, XtNumber(globalActions));
  ClickGuard::TrackPresses(display);
  ShellRetirement::Watch(display);
}

void RunUserInterface(Session& session, WakePipe& wake, int argumentCount, char** argumentVector) {
  StartToolkit(session.state, argumentCount, argumentVector);
  // Static: the loop is left only through ExitApplication, and the callbacks hold the clock.
  static TickClock clock(session, wake);
  clock.Start();
  XtAppMainLoop(ApplicationContext());
  // The loop ends only when an exit flag is set, which nothing here does; the program ends
  // through ExitApplication, and so does this function should the toolkit ever return.
  ExitApplication(0, "CLOSED");
}
