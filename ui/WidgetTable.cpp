#include "ui/WidgetTable.h"

#include "foundation/platform/DebuggableException.h"
#include "foundation/text/LocaleConversion.h"
#include "ui/FormatBuiltIn.h"
#include "ui/ToolkitContext.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>

#include <algorithm>
#include <cstring>

namespace {

// Room for a row's resources plus "international".
constexpr std::size_t kMaxArgs = kMaxResourcesPerRow + 1;

Dimension ReadDimension(Widget widget, const char* name) {
  Dimension value = 0;
  Arg arg;
  XtSetArg(arg, const_cast<char*>(name), &value);
  XtGetValues(widget, &arg, 1);
  return value;
}

// The shells that exist, so that the end of the run can take them down before the context. The
// end comes through ExitApplication's destroyer, which gets no argument to carry them in.
std::vector<Widget> liveShells;

void ForgetShell(Widget shell, XtPointer, XtPointer) {
  liveShells.erase(std::remove(liveShells.begin(), liveShells.end(), shell), liveShells.end());
}

// The dialogs' texts are read-only, yet the text widget's paste bindings still ask the selection's
// owner for its value. The toolkit hangs that request on the text, and an owner slower than the
// dialog's closing would reach a freed widget. Selecting and copying out stay.
void KeepFromPasting(Widget text) {
  static const XtTranslations translations = XtParseTranslationTable(
      "#override\n"
      "<Btn2Down>: no-op()\n"
      "s<Key>Insert: no-op()\n"
      "c<Key>Y: no-op()\n");
  XtOverrideTranslations(text, translations);
}

}  // namespace

std::string LocaleText(const UString8& text) { return UTF8ToLocale(text); }

std::string LocaleLabel(const UString8& text) {
  std::string label;
  AppendLocaleLabel(label, text);
  return label;
}

void AppendLocaleLabel(std::string& target, const UString8& text) {
  const char* begin = reinterpret_cast<const char*>(text.begin());
  std::size_t size = text.size();
  if (size > kLabelBytes) {
    size = kLabelBytes;
    // Back to the start of the character the cut falls in.
    while (size > 0 && (static_cast<unsigned char>(begin[size]) & 0xC0) == 0x80) --size;
  }
  AppendUTF8ToLocale(target, begin, begin + size);
}

std::string LocaleText(const char* utf8) { return UTF8ToLocale(utf8, utf8 + std::strlen(utf8)); }

std::string ShownText(const UString8& text) {
  std::string shown;
  AppendShownText(shown, text);
  return shown;
}

void AppendShownText(std::string& target, const UString8& text) {
  const char* begin = reinterpret_cast<const char*>(text.begin());
  try {
    AppendUTF8ToLocale(target, begin, begin + text.size());
  } catch (const DebuggableException&) {
    target += kInvalidString;
  }
}

Widget CreateDialogShell(const std::string& title, const char* name) {
  Arg args[5];
  Cardinal count = 0;
  XtSetArg(args[count], const_cast<char*>(XtNtitle), title.c_str()), ++count;
  // Mapped by CenterShell once placed: a window mapped first and moved after is placed by the
  // window manager in between, and twm asks the user where to put it.
  XtSetArg(args[count], const_cast<char*>(XtNmappedWhenManaged), False), ++count;
  XtSetArg(args[count], const_cast<char*>("international"), InternationalResource()), ++count;
  // Every dialog answers keys, so the window manager is to give it the keyboard.
  XtSetArg(args[count], const_cast<char*>(XtNinput), True), ++count;
  // Nothing in the dialogs takes typed text, and an input method costs each shell with a text
  // widget its own copy of the locale's compose table: some 600 kB in a UTF-8 locale.
  XtSetArg(args[count], const_cast<char*>("openIm"), False), ++count;
  return CreateShell(name, args, count);
}

Widget CreateShell(const char* name, ArgList args, Cardinal count) {
  Widget shell = XtAppCreateShell(name, kApplicationClass, applicationShellWidgetClass,
                                  ToolkitDisplay(), args, count);
  liveShells.push_back(shell);
  XtAddCallback(shell, XtNdestroyCallback, ForgetShell, nullptr);
  return shell;
}

void DestroyAllShells() {
  // Inside an event dispatch the toolkit only marks a widget and runs its destroy callbacks
  // later, so the list is taken first rather than waiting for the callbacks to empty it.
  std::vector<Widget> shells;
  shells.swap(liveShells);
  for (Widget shell : shells) XtDestroyWidget(shell);
}

std::vector<Widget> BuildWidgetTable(Widget shell, const WidgetRow* rows, std::size_t count,
                                     const std::vector<std::string>& texts) {
  std::vector<Widget> widgets;
  ContinueWidgetTable(shell, rows, count, texts, widgets);
  return widgets;
}

void ContinueWidgetTable(Widget shell, const WidgetRow* rows, std::size_t count,
                         const std::vector<std::string>& texts, std::vector<Widget>& widgets) {
  widgets.reserve(count);
  for (std::size_t index = widgets.size(); index < count; ++index) {
    const WidgetRow& row = rows[index];
    Arg args[kMaxArgs];
    Cardinal argCount = 0;
    for (const ResourceRow& resource : row.resources) {
      if (resource.name == nullptr) break;
      XtArgVal value = resource.value;
      if (resource.kind == ResourceKind::kText) {
        value = reinterpret_cast<XtArgVal>(texts.at(static_cast<std::size_t>(value)).c_str());
      } else if (resource.kind == ResourceKind::kWidget) {
        value = reinterpret_cast<XtArgVal>(widgets.at(static_cast<std::size_t>(value)));
      }
      XtSetArg(args[argCount], const_cast<char*>(resource.name), value), ++argCount;
    }
    XtSetArg(args[argCount], const_cast<char*>("international"), InternationalResource()),
        ++argCount;
    Widget parent =
        row.parent == kShellRow ? shell : widgets.at(static_cast<std::size_t>(row.parent));
    widgets.push_back(XtCreateManagedWidget(row.name, *row.widgetClass, parent, args, argCount));
    if (*row.widgetClass == asciiTextWidgetClass) KeepFromPasting(widgets.back());
  }
}

void SetResource(Widget widget, const char* name, XtArgVal value) {
  Arg arg;
  XtSetArg(arg, const_cast<char*>(name), value);
  XtSetValues(widget, &arg, 1);
}

int WidgetWidth(Widget widget) { return ReadDimension(widget, XtNwidth); }
int WidgetHeight(Widget widget) { return ReadDimension(widget, XtNheight); }
int WidgetBorderWidth(Widget widget) { return ReadDimension(widget, XtNborderWidth); }
