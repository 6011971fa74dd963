#include "ui/QuietModeNotice.h"

#include "core/UICommand.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/ToolkitCallback.h"
#include "ui/UIStrings.h"
#include "ui/WidgetTable.h"

#include <X11/StringDefs.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>
#include <X11/Xaw/Label.h>

#include <iterator>

namespace {

constexpr const char* kDialogName = "QuietModeDialog";

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

}  // namespace

void QuietModeNotice::Show(DateTime startTime, DateTime endTime) {
  if (shell_ != nullptr) return;
  // The texts come first, outside the build: a sentence the locale cannot hold shows the marker.
  // Quiet mode holds whether or not its notice can say so, and the disabled dialog needs one.
  const std::vector<std::string> texts = {ShownText(QuietModeText(startTime, endTime)),
                                          LocaleText("OK")};
  BuildOrReport(kDialogName, [&] { Build(texts); });
}

void QuietModeNotice::Build(const std::vector<std::string>& texts) {
  shell_ = CreateDialogShell(LocaleText("Not Currently Available"));
  const std::vector<Widget> widgets = BuildWidgetTable(shell_, kRows, kRowCount, texts);
  Widget label = widgets[kStaticLabel];
  // Centred under the label.
  SetResource(widgets[kOk], XtNhorizDistance,
              (WidgetWidth(label) - WidgetWidth(widgets[kOk])) / 2 + WidgetBorderWidth(label));
  AddMemberCallback<&QuietModeNotice::OkPressed>(widgets[kOk], *this);
  ShowWindow();
  keys_.Attach(shell_, {{widgets[kOk]}}, 0, 0);
}

// The user has read it: the action request dialog may be used again, though quiet mode goes on.
void QuietModeNotice::OkPressed() {
  Close();
  commands_.Post({UICommandKind::kQuietModeNoticeClosed});
}

DialogLayout QuietModeNotice::Layout() {
  return {kDialogName, "Not Currently Available", nullptr, kRows, kRowCount, {"ok.horizDistance"}};
}
