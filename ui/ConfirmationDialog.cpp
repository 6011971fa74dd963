#include "ui/ConfirmationDialog.h"

#include "core/ActionRequest.h"
#include "core/UICommand.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/ToolkitCallback.h"
#include "ui/WidgetTable.h"

#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>
#include <X11/Xaw/Label.h>

#include <algorithm>
#include <iterator>

namespace {

constexpr const char* kDialogName = "ConfirmationDialog";

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

}  // namespace

void ConfirmationDialog::Open(const ActionRequest& request) {
  if (shell_ != nullptr) return;
  confirmingArrival_ = request.arrival;
  BuildOrReport(kDialogName, [&] { Build(request); });
  guard_.Arm();
}

void ConfirmationDialog::Build(const ActionRequest& request) {
  const std::vector<std::string> texts = {
      LocaleLabel(request.title),
      LocaleText("This action requires you to acknowledge the following confirmation message:"),
      request.preActionMessage ? LocaleText(*request.preActionMessage) : std::string(),
      LocaleText("Cancel"), LocaleText("OK")};
  shell_ = CreateDialogShell(LocaleText("Confirmation Required"));
  // The text is as wide as confirmationWidth_, which the fixed line may raise; it is set before
  // the dialog is realized, so the form lays out once with it.
  const std::vector<Widget> widgets = BuildWidgetTable(shell_, kRows, kRowCount, texts);
  confirmationWidth_ = std::max(confirmationWidth_, WidgetWidth(widgets[kStaticLabel]));
  Widget text = widgets[kActionConfirmation];
  SetResource(text, XtNwidth, confirmationWidth_);
  const int border = WidgetBorderWidth(text);
  const int cancelWidth = WidgetWidth(widgets[kCancel]);
  SetResource(widgets[kCancel], XtNhorizDistance, confirmationWidth_ - cancelWidth + border);
  SetResource(widgets[kOk], XtNhorizDistance,
              confirmationWidth_ - WidgetWidth(widgets[kOk]) - cancelWidth - 5 * border);
  AddMemberCallback<&ConfirmationDialog::Accept>(widgets[kOk], *this);
  AddMemberCallback<&ConfirmationDialog::Refuse>(widgets[kCancel], *this);
  ShowWindow(text);
  // OK sits left of Cancel. Accepting takes a deliberate act: the focus starts on Cancel.
  keys_.Attach(shell_, {{widgets[kOk]}, {widgets[kCancel]}}, 1, 1);
}

void ConfirmationDialog::Accept() {
  if (guard_.Accepts()) Close(UICommandKind::kConfirmationAccepted);
}
void ConfirmationDialog::Refuse() {
  if (guard_.Accepts()) Close(UICommandKind::kConfirmationRefused);
}

void ConfirmationDialog::Close(UICommandKind answerKind) {
  DestroyWindow();
  commands_.Post({answerKind, confirmingArrival_});
}

DialogLayout ConfirmationDialog::Layout() {
  return {kDialogName, "Confirmation Required",
          nullptr,     kRows,
          kRowCount,   {"actionconfirmation.width", "cancel.horizDistance", "ok.horizDistance"}};
}
