#include "ui/ActionDetailsDialog.h"

#include "core/ActionRequest.h"
#include "core/UICommand.h"
#include "ui/ActionButtonRow.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/WidgetOperations.h"
#include "ui/WidgetTable.h"

#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>

#include <iterator>

namespace {

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

Widget shell = nullptr;

void Close(Widget, XtPointer commands, XtPointer) {
  XtDestroyWidget(shell);
  shell = nullptr;
  // Nothing may be thrown back through the toolkit's C frames.
  try {
    static_cast<UICommandQueue*>(commands)->Post({kActionDetailsClosed});
  } catch (...) {
  }
}

void Build(const ActionRequest* request, UICommandQueue& commands) {
  const bool hasPreview = request != nullptr && request->preview;
  const std::vector<std::string> texts = {
      hasPreview ? LocaleText(*request->preview) : std::string(), LocaleText("OK")};
  shell = CreateDialogShell(LocaleText("Action Script Preview"));
  const std::vector<Widget> widgets = BuildWidgetTable(shell, kRows, kRowCount, texts);
  Widget text = widgets[kActionDetails];
  // The button ends at the text's right edge.
  SetResource(
      widgets[kOk], XtNhorizDistance,
      RightAlignedDistance(WidgetWidth(text), WidgetWidth(widgets[kOk]), WidgetBorderWidth(text)));
  XtAddCallback(widgets[kOk], XtNcallback, Close, &commands);
  XtRealizeWidget(shell);
  CenterShell(shell);
  IgnoreWindowManagerClose(shell);
  ApplyScrollbarTranslations(TextScrollbar(text));
}

}  // namespace

void OpenActionDetailsDialog(const ActionRequest* request, UICommandQueue& commands) {
  if (shell != nullptr) return;
  try {
    Build(request, commands);
  } catch (...) {
    ReportDialogFailure("ActionDetailsDialog");
  }
}

bool IsActionDetailsDialogOpen() noexcept { return shell != nullptr; }

DialogLayout ActionDetailsDialogLayout() {
  return {"ActionDetailsDialog", "Action Script Preview", nullptr, kRows, kRowCount,
          {"ok.horizDistance"}};
}
