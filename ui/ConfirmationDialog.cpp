#include "ui/ConfirmationDialog.h"

#include "core/ActionRequest.h"
#include "core/UICommand.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/WidgetOperations.h"
#include "ui/WidgetTable.h"

#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>
#include <X11/Xaw/Label.h>

#include <algorithm>
#include <iterator>

namespace {

enum Row { kForm, kActionTitle, kStaticLabel, kActionConfirmation, kCancel, kOk, kRowCount };
enum Text { kTitleText, kStaticText, kMessageText, kCancelText, kOkText };

const WidgetRow kRows[] = {
    {"form", &formWidgetClass, kShellRow, {}},
    {"actiontitle",
     &labelWidgetClass,
     kForm,
     {Number(XtNborderWidth, 0), Number(XtNjustify, XtJustifyLeft),
      TextSlot(XtNlabel, kTitleText)}},
    {"staticlabel",
     &labelWidgetClass,
     kForm,
     {Number(XtNborderWidth, 0), Number(XtNjustify, XtJustifyLeft), TextSlot(XtNlabel, kStaticText),
      UnderRow(kActionTitle)}},
    {"actionconfirmation",
     &asciiTextWidgetClass,
     kForm,
     {Number(XtNtype, XawAsciiString), Number(XtNheight, 100),
      Number(XtNscrollVertical, XawtextScrollAlways), Number(XtNwrap, XawtextWrapWord),
      Number(XtNdisplayCaret, False), UnderRow(kStaticLabel), TextSlot(XtNstring, kMessageText)}},
    {"cancel",
     &commandWidgetClass,
     kForm,
     {TextSlot(XtNlabel, kCancelText), UnderRow(kActionConfirmation)}},
    {"ok",
     &commandWidgetClass,
     kForm,
     {TextSlot(XtNlabel, kOkText), UnderRow(kActionConfirmation)}},
};
static_assert(std::size(kRows) == kRowCount, "one table row per Row");

constexpr int kInitialConfirmationWidth = 500;

Widget shell = nullptr;
std::uint64_t confirmingArrival = 0;
// Only grows: a fixed line wider than the text makes this and every later text that wide.
int confirmationWidth = kInitialConfirmationWidth;

void Close(XtPointer commands, std::uint32_t kind) {
  XtDestroyWidget(shell);
  shell = nullptr;
  static_cast<UICommandQueue*>(commands)->Post({kind, confirmingArrival});
}

// Nothing may be thrown back through the toolkit's C frames.
void Accept(Widget, XtPointer commands, XtPointer) {
  try {
    Close(commands, kConfirmationAccepted);
  } catch (...) {
  }
}
void Refuse(Widget, XtPointer commands, XtPointer) {
  try {
    Close(commands, kConfirmationRefused);
  } catch (...) {
  }
}

void Build(const ActionRequest& request, UICommandQueue& commands) {
  const std::vector<std::string> texts = {
      LocaleLabel(request.title),
      LocaleText("This action requires you to acknowledge the following confirmation message:"),
      request.preActionMessage ? LocaleText(*request.preActionMessage) : std::string(),
      LocaleText("Cancel"), LocaleText("OK")};
  shell = CreateDialogShell(LocaleText("Confirmation Required"));
  // The text is as wide as confirmationWidth, which the fixed line may raise; it is set before
  // the dialog is realized, so the form lays out once with it.
  const std::vector<Widget> widgets = BuildWidgetTable(shell, kRows, kRowCount, texts);
  confirmationWidth = std::max(confirmationWidth, WidgetWidth(widgets[kStaticLabel]));
  Widget text = widgets[kActionConfirmation];
  SetResource(text, XtNwidth, confirmationWidth);
  const int border = WidgetBorderWidth(text);
  const int cancelWidth = WidgetWidth(widgets[kCancel]);
  SetResource(widgets[kCancel], XtNhorizDistance, confirmationWidth - cancelWidth + border);
  SetResource(widgets[kOk], XtNhorizDistance,
              confirmationWidth - WidgetWidth(widgets[kOk]) - cancelWidth - 5 * border);
  XtAddCallback(widgets[kOk], XtNcallback, Accept, &commands);
  XtAddCallback(widgets[kCancel], XtNcallback, Refuse, &commands);
  XtRealizeWidget(shell);
  CenterShell(shell);
  IgnoreWindowManagerClose(shell);
  ApplyScrollbarTranslations(TextScrollbar(text));
}

}  // namespace

void OpenConfirmationDialog(const ActionRequest& request, UICommandQueue& commands) {
  if (shell != nullptr) return;
  confirmingArrival = request.arrival;
  try {
    Build(request, commands);
  } catch (...) {
    ReportDialogFailure("ConfirmationDialog");
  }
}

bool IsConfirmationDialogOpen() noexcept { return shell != nullptr; }

DialogLayout ConfirmationDialogLayout() {
  return {"ConfirmationDialog",
          "Confirmation Required",
          nullptr,
          kRows,
          kRowCount,
          {"actionconfirmation.width", "cancel.horizDistance", "ok.horizDistance"}};
}
