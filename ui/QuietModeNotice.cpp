#include "ui/QuietModeNotice.h"

#include "core/UICommand.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/UIStrings.h"
#include "ui/WidgetOperations.h"
#include "ui/WidgetTable.h"

#include <X11/StringDefs.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>
#include <X11/Xaw/Label.h>

#include <iterator>

namespace {

enum Row { kForm, kStaticLabel, kOk, kRowCount };
enum Text { kMessageText, kOkText };

const WidgetRow kRows[] = {
    {"form", &formWidgetClass, kShellRow, {}},
    {"staticlabel",
     &labelWidgetClass,
     kForm,
     {Number(XtNborderWidth, 0), Number(XtNjustify, XtJustifyLeft),
      TextSlot(XtNlabel, kMessageText)}},
    {"ok", &commandWidgetClass, kForm, {TextSlot(XtNlabel, kOkText), UnderRow(kStaticLabel)}},
};
static_assert(std::size(kRows) == kRowCount, "one table row per Row");

Widget shell = nullptr;

// The user has read it: the action request dialog may be used again, though quiet mode goes on.
void Close(Widget, XtPointer commands, XtPointer) {
  CloseQuietModeNotice();
  // Nothing may be thrown back through the toolkit's C frames.
  try {
    static_cast<UICommandQueue*>(commands)->Post({kQuietModeNoticeClosed});
  } catch (...) {
  }
}

void Build(DateTime startTime, DateTime endTime, UICommandQueue& commands) {
  const std::vector<std::string> texts = {LocaleText(QuietModeText(startTime, endTime)),
                                          LocaleText("OK")};
  shell = CreateDialogShell(LocaleText("Not Currently Available"));
  const std::vector<Widget> widgets = BuildWidgetTable(shell, kRows, kRowCount, texts);
  Widget label = widgets[kStaticLabel];
  // Centred under the label.
  SetResource(widgets[kOk], XtNhorizDistance,
              (WidgetWidth(label) - WidgetWidth(widgets[kOk])) / 2 + WidgetBorderWidth(label));
  XtAddCallback(widgets[kOk], XtNcallback, Close, &commands);
  XtRealizeWidget(shell);
  CenterShell(shell);
  IgnoreWindowManagerClose(shell);
}

}  // namespace

void ShowQuietModeNotice(DateTime startTime, DateTime endTime, UICommandQueue& commands) {
  if (shell != nullptr) return;
  try {
    Build(startTime, endTime, commands);
  } catch (...) {
    ReportDialogFailure("QuietModeDialog");
  }
}

void CloseQuietModeNotice() {
  if (shell == nullptr) return;
  XtDestroyWidget(shell);
  shell = nullptr;
}

DialogLayout QuietModeNoticeLayout() {
  return {"QuietModeDialog", "Not Currently Available", nullptr, kRows,
          kRowCount,         {"ok.horizDistance"}};
}
