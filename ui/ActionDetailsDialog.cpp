#include "ui/ActionDetailsDialog.h"

#include "core/ActionRequest.h"
#include "core/UICommand.h"
#include "ui/ActionButtonRow.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/ToolkitCallback.h"
#include "ui/WidgetTable.h"

#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>

#include <iterator>

namespace {

constexpr const char* kDialogName = "ActionDetailsDialog";

enum Row { kForm, kActionDetails, kOk, kRowCount };
enum Text { kPreviewText, kOkText };

const WidgetRow kRows[] = {
    {"form", &formWidgetClass, kShellRow, {}},
    {"actiondetails",
     &asciiTextWidgetClass,
     kForm,
     {Number(XtNtype, XawAsciiString), Number(XtNwidth, 500), Number(XtNheight, 100),
      Number(XtNscrollVertical, XawtextScrollAlways), Number(XtNwrap, XawtextWrapWord),
      Number(XtNdisplayCaret, False), TextSlot(XtNstring, kPreviewText)}},
    {"ok", &commandWidgetClass, kForm, {TextSlot(XtNlabel, kOkText), UnderRow(kActionDetails)}},
};
static_assert(std::size(kRows) == kRowCount, "one table row per Row");

}  // namespace

void ActionDetailsDialog::Open(const ActionRequest* request) {
  if (shell_ != nullptr) return;
  BuildOrReport(kDialogName, [&] { Build(request); });
  guard_.Arm();
}

void ActionDetailsDialog::Build(const ActionRequest* request) {
  const bool hasPreview = request != nullptr && request->preview;
  const std::vector<std::string> texts = {
      hasPreview ? LocaleText(*request->preview) : std::string(), LocaleText("OK")};
  shell_ = CreateDialogShell(LocaleText("Action Script Preview"));
  const std::vector<Widget> widgets = BuildWidgetTable(shell_, kRows, kRowCount, texts);
  Widget text = widgets[kActionDetails];
  // The button ends at the text's right edge.
  SetResource(
      widgets[kOk], XtNhorizDistance,
      RightAlignedDistance(WidgetWidth(text), WidgetWidth(widgets[kOk]), WidgetBorderWidth(text)));
  AddMemberCallback<&ActionDetailsDialog::OkPressed>(widgets[kOk], *this);
  ShowWindow(text);
  keys_.Attach(shell_, {{widgets[kOk]}}, 0, 0);
}

void ActionDetailsDialog::OkPressed() {
  if (!guard_.Accepts()) return;
  DestroyWindow();
  commands_.Post({UICommandKind::kActionDetailsClosed});
}

DialogLayout ActionDetailsDialog::Layout() {
  return {kDialogName, "Action Script Preview", nullptr, kRows, kRowCount, {"ok.horizDistance"}};
}
