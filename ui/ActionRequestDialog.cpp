#include "ui/ActionRequestDialog.h"

#include "core/ActionRequestStore.h"
#include "core/SessionState.h"
#include "core/UICommand.h"
#include "foundation/platform/DebuggableException.h"
#include "text/time/Clock.h"
#include "ui/ActionButtonRow.h"
#include "ui/ActionDetailsDialog.h"
#include "ui/ActionSummary.h"
#include "ui/ConfirmationDialog.h"
#include "ui/DeadlineText.h"
#include "ui/DialogFailure.h"
#include "ui/DialogLayout.h"
#include "ui/FormatBuiltIn.h"
#include "ui/SnoozeChoices.h"
#include "ui/ToolkitContext.h"
#include "ui/UIStrings.h"
#include "ui/WidgetOperations.h"
#include "ui/WidgetTable.h"

#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Form.h>
#include <X11/Xaw/Label.h>
#include <X11/Xaw/List.h>
#include <X11/Xaw/Viewport.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

// The selected list position has no pending request behind it: the update that found it stops
// and the dialog keeps what it showed.
QVX_DECLARE_EXCEPTION(NoSelectedAction, DebuggableException,
                      "no pending request at the selected position");

enum Row {
  kForm,
  kTitleLabel,
  kDescription,
  kListLabel,
  kViewport,
  kActionList,
  kTakeAllButton,
  kTakeButton,
  kCancelButton,
  kDetailsButton,
  // The snooze row is made once the answer buttons are placed.
  kSnoozeLabel,
  kSnoozeViewport,
  kSnoozeList,
  kSnoozeButton,
  kRowCount
};
enum Text {
  kListHeaderText,
  kTakeAllText,
  kTakeActionsText,
  kCancelActionsText,
  kDetailsText,
  kSnoozeLabelText,
  kSnoozeText
};

const WidgetRow kRows[] = {
    {"form", &formWidgetClass, kShellRow, {}},
    {"actiontitle",
     &labelWidgetClass,
     kForm,
     {Number(XtNwidth, 500), Number(XtNborderWidth, 0), Number(XtNjustify, XtJustifyLeft)}},
    {"actiondesc",
     &asciiTextWidgetClass,
     kForm,
     {Number(XtNtype, XawAsciiString), Number(XtNwidth, 500), Number(XtNheight, 70),
      Number(XtNscrollVertical, XawtextScrollAlways), Number(XtNwrap, XawtextWrapWord),
      UnderRow(kTitleLabel), Number(XtNdisplayCaret, False)}},
    {"actionListLabel",
     &labelWidgetClass,
     kForm,
     {Number(XtNborderWidth, 0), UnderRow(kDescription), Number(XtNvertDistance, 10),
      TextSlot(XtNlabel, kListHeaderText)}},
    {"viewport",
     &viewportWidgetClass,
     kForm,
     {UnderRow(kListLabel), Number(XtNheight, 100), Number(XtNwidth, 485),
      Number(XtNallowVert, True), Number(XtNforceBars, True)}},
    {"",
     &listWidgetClass,
     kViewport,
     {Number(XtNdefaultColumns, 1), Number(XtNforceColumns, True), Number(XtNverticalList, True)}},
    {"takeAllActions",
     &commandWidgetClass,
     kForm,
     {TextSlot(XtNlabel, kTakeAllText), UnderRow(kViewport)}},
    {"takeActions",
     &commandWidgetClass,
     kForm,
     {TextSlot(XtNlabel, kTakeActionsText), UnderRow(kViewport)}},
    {"cancelAction",
     &commandWidgetClass,
     kForm,
     {TextSlot(XtNlabel, kCancelActionsText), UnderRow(kViewport)}},
    {"actionDetails",
     &commandWidgetClass,
     kForm,
     {TextSlot(XtNlabel, kDetailsText), UnderRow(kViewport)}},
    {"snoozeLabel",
     &labelWidgetClass,
     kForm,
     {Number(XtNborderWidth, 0), UnderRow(kTakeAllButton), TextSlot(XtNlabel, kSnoozeLabelText)}},
    {"snoozeViewport",
     &viewportWidgetClass,
     kForm,
     {UnderRow(kSnoozeLabel), Number(XtNheight, 40), Number(XtNwidth, 400),
      Number(XtNallowVert, True), Number(XtNforceBars, True)}},
    {"",
     &listWidgetClass,
     kSnoozeViewport,
     {Number(XtNdefaultColumns, 1), Number(XtNforceColumns, True), Number(XtNverticalList, True)}},
    {"snoozeButton",
     &commandWidgetClass,
     kForm,
     {TextSlot(XtNlabel, kSnoozeText), UnderRow(kSnoozeLabel)}},
};
static_assert(std::size(kRows) == kRowCount, "one table row per Row");

// Disabled and enabled together while an answer is being carried out.
constexpr Row kControls[] = {kTakeAllButton, kDetailsButton, kCancelButton, kTakeButton,
                             kSnoozeButton,  kSnoozeList,    kActionList};

constexpr const char* kListTranslations = "<Btn1Up>: Notify() PostponeListSelect()\n";
constexpr const char* kItemSeparator = "  --  ";
constexpr DateTime kNoDeadline = std::numeric_limits<DateTime>::max();

// A list's items in the locale's encoding; the list borrows the pointers until its next change.
struct ListItems {
  std::vector<std::string> texts;
  std::vector<const char*> pointers;

  void Change(Widget list) {
    pointers.clear();
    for (std::string& text : texts) pointers.push_back(text.data());
    // No items at all: the list shows its own (empty) name, so it gets no array.
    XawListChange(list, texts.empty() ? nullptr : pointers.data(), static_cast<int>(texts.size()),
                  0, True);
  }
};

struct Dialog {
  // The session whose pending requests the dialog shows, and where its answers go; given by
  // every opening.
  const SessionState* session = nullptr;
  UICommandQueue* commands = nullptr;
  Widget shell = nullptr;
  std::vector<Widget> widgets;
  bool enabled = false;
  // A position in the list, kept across closing and reopening.
  int selectedIndex = -1;
  int snoozeIndex = -1;
  // The minutes of the snooze choice the user clicked in this opening: kept across refreshes
  // while the list still offers them, so that Snooze sends what the user chose.
  std::optional<std::int32_t> chosenMinutes;
  ListItems items;
  // The arrival number of each item's record: the record an answer acts on, whatever other
  // records share its ID.
  std::vector<std::uint64_t> itemArrivals;
  std::vector<SnoozeChoice> snoozeChoices;
  ListItems snoozeItems;
  bool snoozeAllowed = false;
  bool selectedCancellable = false;
  bool anyPreview = false;
  bool anyDeadline = false;
  DateTime earliestDeadline = kNoDeadline;
  bool allowSnooze = true;
  TimeInterval reminderInterval = 0;
  // What the description shows, so that an unchanged text keeps its scroll position.
  std::string description;

  [[nodiscard]] Widget operator[](Row row) const { return widgets[row]; }
};

Dialog dialog;
// The previous lists, kept until the toolkit has destroyed a closed dialog's widgets.
ListItems retiredItems;
ListItems retiredSnoozeItems;

// The texts this dialog looks up itself, by their English wording.
constexpr const char* kOneSelectedWording = "1 action selected";
constexpr const char* kNoPendingWording = "There are no pending actions.";
constexpr const char* kOnePendingWording = "There is 1 pending action.";
constexpr const char* kPendingCountWording = "There are {x} pending actions.";
constexpr const char* kCloseWording = "Close";
constexpr const char* kCancelActionWording = "Cancel Action";
constexpr const char* kTakeActionWording = "Take Action";
constexpr const char* kSnoozeButtonWording = "Snooze";
constexpr const char* kTakeActionsWording = "Take Actions";
constexpr const char* kCancelActionsWording = "Cancel Actions";
constexpr const char* kTitleHeaderWording = "Title";
constexpr const char* kDeadlineHeaderWording = "Deadline";
constexpr const char* kSelectedDescriptionWording = "{actionDescription}\n\n{actionSummary}";

// A looked-up text in the locale's encoding. An override the format engine rejects, or one the
// locale cannot hold, shows as a marker: a translation file must not take the dialog down.
std::string ShownText(const UString8& text) {
  try {
    return LocaleText(text);
  } catch (const DebuggableException&) {
    return kInvalidString;
  }
}
std::string LocaleDialogText(const char* english, const std::vector<ByteRange>& values = {}) {
  return ShownText(FormatBuiltInOrMarker(english, values));
}

// Labels are set only when they change: every set redraws, and the countdown refreshes the
// dialog every second.
void SetLabel(Widget widget, const std::string& text) {
  String current = nullptr;
  Arg arg;
  XtSetArg(arg, const_cast<char*>(XtNlabel), &current);
  XtGetValues(widget, &arg, 1);
  if (current != nullptr && text == current) return;
  SetResource(widget, XtNlabel, reinterpret_cast<XtArgVal>(text.c_str()));
}

void SetDescription(const std::string& text) {
  if (text == dialog.description) return;
  dialog.description = text;
  SetResource(dialog[kDescription], XtNstring, reinterpret_cast<XtArgVal>(text.c_str()));
}

void SetControlsSensitive(bool sensitive) {
  for (const Row row : kControls) XtSetSensitive(dialog[row], sensitive ? True : False);
}

// An answer is on its way to the tick, or a confirmation or the script preview is open: the
// answers stay out of reach until it is carried out, so that no second answer can overtake the
// one the user is giving.
bool AnswerInProgress() {
  return dialog.commands->AnswerAwaitsTick() || IsConfirmationDialogOpen() ||
         IsActionDetailsDialogOpen();
}

// What a refresh shows, computed whole before any widget changes: a text that fails leaves the
// dialog as it was. ------------------------------------------------------------------------

struct ListView {
  ListItems items;
  std::vector<std::uint64_t> arrivals;
};

ListView ListPending() {
  ListView view;
  for (const ActionRequest& request : dialog.session->pendingRequests) {
    std::string text = LocaleLabel(request.title);
    if (text.empty()) continue;
    if (request.deadline) text += kItemSeparator + ShownText(FormatListDeadline(*request.deadline));
    view.items.texts.push_back(std::move(text));
    view.arrivals.push_back(request.arrival);
  }
  return view;
}

struct SnoozeView {
  std::vector<SnoozeChoice> choices;
  ListItems items;
  int index = 0;
  std::optional<std::int32_t> chosenMinutes;
};

// The user's choice while the list still offers it, else the one nearest the reminder interval.
SnoozeView ViewSnoozeList(bool anyDeadline) {
  SnoozeView view;
  view.choices = SnoozeChoices(anyDeadline);
  view.index = PreselectedSnoozeChoice(view.choices, dialog.reminderInterval);
  if (dialog.chosenMinutes) {
    const auto chosen = std::find_if(
        view.choices.begin(), view.choices.end(),
        [](const SnoozeChoice& choice) { return choice.minutes == *dialog.chosenMinutes; });
    if (chosen != view.choices.end()) {
      view.index = static_cast<int>(chosen - view.choices.begin());
      view.chosenMinutes = dialog.chosenMinutes;
    }
  }
  for (const SnoozeChoice& choice : view.choices) {
    view.items.texts.push_back(LocaleDialogText(choice.text));
  }
  return view;
}

struct ControlsView {
  std::string snoozeLabel, takeLabel, cancelLabel, titleLabel, description;
  bool takeAll = false, take = false, cancel = false, details = false, detailsMapped = false;
  bool snooze = false, snoozeList = false;
  std::optional<SnoozeView> snoozeView;
};

std::string CountText(int selectedIndex, std::size_t count) {
  if (selectedIndex != -1) return LocaleDialogText(kOneSelectedWording);
  if (count == 0) return LocaleDialogText(kNoPendingWording);
  if (count == 1) return LocaleDialogText(kOnePendingWording);
  return LocaleDialogText(kPendingCountWording, {std::to_string(count)});
}

ControlsView ViewNothingPending(int selectedIndex, std::size_t count) {
  ControlsView view;
  view.snoozeLabel = LocaleDialogText(kCloseWording);
  view.snooze = true;
  view.cancelLabel = LocaleDialogText(kCancelActionWording);
  view.takeLabel = LocaleDialogText(kTakeActionWording);
  view.titleLabel = CountText(selectedIndex, count);
  return view;
}

// Reads what the buttons depend on from the pending requests; kept for the next answer.
void DeriveFromRequests(const ActionRequest* selected, DateTime now) {
  dialog.snoozeAllowed = dialog.allowSnooze;
  dialog.selectedCancellable = selected == nullptr || selected->cancellable;
  dialog.anyPreview = false;
  dialog.anyDeadline = false;
  dialog.earliestDeadline = kNoDeadline;
  for (const ActionRequest& request : dialog.session->pendingRequests) {
    if (request.deadline) {
      dialog.anyDeadline = true;
      if (*request.deadline < dialog.earliestDeadline) dialog.earliestDeadline = *request.deadline;
      // A deadline inside its warning period leaves no time to snooze.
      if (now + kDeadlineWarningPeriod > *request.deadline) dialog.snoozeAllowed = false;
    }
    if (request.preview) dialog.anyPreview = true;
  }
}

ControlsView ViewPending(int selectedIndex, const std::vector<std::uint64_t>& arrivals) {
  const ActionRequest* selected = nullptr;
  if (selectedIndex != -1) {
    const auto request = dialog.session->FindPendingArrival(arrivals.at(selectedIndex));
    if (request != dialog.session->pendingRequests.end()) selected = &*request;
  }
  // One reading of the clock for every text of the refresh.
  const DateTime now = Now();
  DeriveFromRequests(selected, now);
  if (selectedIndex != -1 && selected == nullptr) throw NoSelectedAction();
  ControlsView view;
  view.snoozeLabel = LocaleDialogText(kSnoozeButtonWording);
  view.takeAll = true;
  view.detailsMapped = dialog.anyPreview;
  if (selected == nullptr) {
    view.takeLabel = LocaleDialogText(kTakeActionsWording);
    view.cancelLabel = LocaleDialogText(kCancelActionsWording);
    view.titleLabel = CountText(selectedIndex, arrivals.size());
    // The summary reads each ID once, as its latest record says.
    ActionRequestStore store;
    store.Merge(dialog.session->pendingRequests);
    view.description = ShownText(BuildActionsSummary(store, now));
  } else {
    view.takeLabel = LocaleDialogText(kTakeActionWording);
    view.cancelLabel = LocaleDialogText(kCancelActionWording);
    view.titleLabel = LocaleLabel(selected->title);
    view.description =
        LocaleDialogText(kSelectedDescriptionWording,
                         {selected->shortDescription, BuildActionSummary(*selected, now)});
    view.details = selected->preview.has_value();
  }
  view.take = selected != nullptr;
  view.snooze = view.snoozeList = dialog.snoozeAllowed;
  view.cancel = selected != nullptr && dialog.selectedCancellable;
  // A list that cannot be used keeps its items and is merely insensitive.
  if (dialog.snoozeAllowed) view.snoozeView = ViewSnoozeList(dialog.anyDeadline);
  return view;
}

ControlsView ViewControls(int selectedIndex, const std::vector<std::uint64_t>& arrivals) {
  if (dialog.session->pendingRequests.empty())
    return ViewNothingPending(selectedIndex, arrivals.size());
  return ViewPending(selectedIndex, arrivals);
}

// Applying a view --------------------------------------------------------------------------

void ShowList(ListView view) {
  Widget list = dialog[kActionList];
  XtUnmanageChild(list);
  view.items.Change(list);
  std::swap(dialog.items, view.items);
  dialog.itemArrivals = std::move(view.arrivals);
  XtManageChild(list);
}

void RestoreSelection() {
  if (dialog.selectedIndex >= static_cast<int>(dialog.itemArrivals.size())) {
    dialog.selectedIndex = -1;
  }
  if (dialog.selectedIndex == -1) return;
  XawListHighlight(dialog[kActionList], dialog.selectedIndex);
  ScrollListToCurrent(dialog[kViewport], dialog[kActionList]);
}

void ShowSnoozeList(SnoozeView view) {
  view.items.Change(dialog[kSnoozeList]);
  std::swap(dialog.snoozeItems, view.items);
  dialog.snoozeChoices = std::move(view.choices);
  dialog.snoozeIndex = view.index;
  dialog.chosenMinutes = view.chosenMinutes;
  XawListHighlight(dialog[kSnoozeList], dialog.snoozeIndex);
  ScrollListToCurrent(dialog[kSnoozeViewport], dialog[kSnoozeList]);
}

void ShowControls(ControlsView view) {
  SetLabel(dialog[kSnoozeButton], view.snoozeLabel);
  SetLabel(dialog[kTakeButton], view.takeLabel);
  SetLabel(dialog[kCancelButton], view.cancelLabel);
  SetLabel(dialog[kTitleLabel], view.titleLabel);
  SetDescription(view.description);
  XtSetMappedWhenManaged(dialog[kDetailsButton], view.detailsMapped ? True : False);
  const std::pair<Row, bool> sensitivity[] = {
      {kTakeAllButton, view.takeAll}, {kTakeButton, view.take},     {kCancelButton, view.cancel},
      {kDetailsButton, view.details}, {kSnoozeButton, view.snooze}, {kSnoozeList, view.snoozeList}};
  for (const auto& [row, sensitive] : sensitivity) {
    XtSetSensitive(dialog[row], sensitive ? True : False);
  }
  if (view.snoozeView) ShowSnoozeList(std::move(*view.snoozeView));
}

// The second half of a refresh; a selection whose request has gone leaves the texts as they were.
void UpdateTextsAndButtons() {
  try {
    ShowControls(ViewControls(dialog.selectedIndex, dialog.itemArrivals));
  } catch (const NoSelectedAction&) {
  }
}

// Callbacks and actions: the toolkit must never see an exception -------------------------------

template <typename Body>
void Guarded(Body body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

void PostponeListSelect(Widget list, XEvent*, String*, Cardinal*) {
  Guarded([list] {
    if (dialog.shell == nullptr || !dialog.enabled || list != dialog[kActionList]) return;
    XawListReturnStruct* current = XawListShowCurrent(list);
    dialog.selectedIndex = current->list_index == XAW_LIST_NONE ? -1 : current->list_index;
    XtFree(reinterpret_cast<char*>(current));
    RestoreSelection();
    UpdateTextsAndButtons();
  });
}

XtActionsRec listActions[] = {{const_cast<char*>("PostponeListSelect"), PostponeListSelect}};

// The answers about the selected request post it with the dialog disabled.
void PostForSelected(std::uint32_t kind) {
  if (dialog.selectedIndex == -1) return;
  const std::uint64_t arrival = dialog.itemArrivals.at(dialog.selectedIndex);
  if (dialog.session->FindPendingArrival(arrival) == dialog.session->pendingRequests.end()) return;
  DisableActionRequestDialog();
  dialog.commands->Post({kind, arrival});
}

void TakeAllPressed(Widget, XtPointer, XtPointer) {
  Guarded([] {
    DisableActionRequestDialog();
    dialog.commands->Post({kTakeAllActions});
  });
}
void TakePressed(Widget, XtPointer, XtPointer) {
  Guarded([] { PostForSelected(kTakeAction); });
}
void CancelPressed(Widget, XtPointer, XtPointer) {
  Guarded([] { PostForSelected(kCancelAction); });
}
void DetailsPressed(Widget, XtPointer, XtPointer) {
  Guarded([] { PostForSelected(kShowActionDetails); });
}

void SnoozeChosen(Widget, XtPointer, XtPointer callData) {
  const int index = static_cast<XawListReturnStruct*>(callData)->list_index;
  dialog.snoozeIndex = index;
  if (index >= 0 && index < static_cast<int>(dialog.snoozeChoices.size())) {
    dialog.chosenMinutes = dialog.snoozeChoices[index].minutes;
  }
}

void SnoozePressed(Widget, XtPointer, XtPointer) {
  Guarded([] {
    // With nothing pending the button reads "Close": it closes and never snoozes, whatever
    // arrives before the next tick.
    if (dialog.session->pendingRequests.empty()) {
      CloseActionRequestDialog();
      return;
    }
    const int index = dialog.snoozeIndex;
    if (index < 0 || index >= static_cast<int>(dialog.snoozeChoices.size())) return;
    const std::int32_t minutes = dialog.snoozeChoices[index].minutes;
    const auto deadlineSeconds =
        static_cast<std::uint32_t>(dialog.earliestDeadline / kMicrosecondsPerSecond);
    CloseActionRequestDialog();
    dialog.commands->Post({kSnooze, 0, minutes, deadlineSeconds});
  });
}

// Building ----------------------------------------------------------------------------------

std::vector<std::string> FixedTexts() {
  return {LocaleDialogText(kTitleHeaderWording) + kItemSeparator +
              LocaleDialogText(kDeadlineHeaderWording),
          ShownText(UIString(UIText::kTakeAllActions)),
          LocaleDialogText(kTakeActionsWording),
          LocaleDialogText(kCancelActionsWording),
          ShownText(UIString(UIText::kActionDetails)),
          ShownText(UIString(UIText::kClickSnoozeToBeReminded)),
          LocaleDialogText(kSnoozeButtonWording)};
}

// The buttons as wide as their labels made them, the last one ending under the description's
// right edge; a row that does not fit widens the dialog.
int PlaceAnswerButtons() {
  Widget description = dialog[kDescription];
  const int border = WidgetBorderWidth(description);
  const ActionButtonRow row =
      PlaceActionButtons(WidgetWidth(description), border,
                         {WidgetWidth(dialog[kTakeAllButton]), WidgetWidth(dialog[kDetailsButton]),
                          WidgetWidth(dialog[kCancelButton]), WidgetWidth(dialog[kTakeButton])});
  SetResource(dialog[kTakeButton], XtNhorizDistance, row.takeDistance);
  SetResource(dialog[kCancelButton], XtNhorizDistance, row.cancelDistance);
  SetResource(dialog[kDetailsButton], XtNhorizDistance, row.detailsDistance);
  if (row.widened) {
    SetResource(dialog[kTitleLabel], XtNwidth, TextWidth(row, border));
    SetResource(description, XtNwidth, TextWidth(row, border));
    SetResource(dialog[kViewport], XtNwidth, ListWidth(row, border));
    XawFormDoLayout(dialog[kForm], True);
  }
  return row.width;
}

// The viewports were sized for their contents; their scrollbars come on top.
void WidenByScrollbar(Widget viewport) {
  Widget scrollbar = ChildNamed(viewport, "vertical");
  if (scrollbar == nullptr) return;
  const int width = WidgetWidth(viewport) + WidgetWidth(scrollbar);
  XtUnmanageChild(viewport);
  SetResource(viewport, XtNwidth, width);
  XtManageChild(viewport);
}

void Build() {
  static bool actionsAdded = false;
  if (!actionsAdded) {
    XtAppAddActions(ApplicationContext(), listActions, XtNumber(listActions));
    actionsAdded = true;
  }
  const std::vector<std::string> texts = FixedTexts();
  dialog.shell = CreateDialogShell(ShownText(UIString(UIText::kActionRequestsTitle)));
  dialog.widgets.clear();
  dialog.description.clear();
  dialog.chosenMinutes.reset();
  ContinueWidgetTable(dialog.shell, kRows, kSnoozeLabel, texts, dialog.widgets);
  const int rowWidth = PlaceAnswerButtons();
  ContinueWidgetTable(dialog.shell, kRows, kRowCount, texts, dialog.widgets);
  SetResource(dialog[kSnoozeButton], XtNhorizDistance,
              RightAlignedDistance(rowWidth, WidgetWidth(dialog[kSnoozeButton]),
                                   WidgetBorderWidth(dialog[kDescription])));
  // Parsed once: the toolkit never frees a parsed table.
  static const XtTranslations listTranslations = XtParseTranslationTable(kListTranslations);
  XtOverrideTranslations(dialog[kActionList], listTranslations);
  XtAddCallback(dialog[kTakeAllButton], XtNcallback, TakeAllPressed, nullptr);
  XtAddCallback(dialog[kTakeButton], XtNcallback, TakePressed, nullptr);
  XtAddCallback(dialog[kCancelButton], XtNcallback, CancelPressed, nullptr);
  XtAddCallback(dialog[kDetailsButton], XtNcallback, DetailsPressed, nullptr);
  XtAddCallback(dialog[kSnoozeButton], XtNcallback, SnoozePressed, nullptr);
  XtAddCallback(dialog[kSnoozeList], XtNcallback, SnoozeChosen, nullptr);
  XtRealizeWidget(dialog.shell);
  WidenByScrollbar(dialog[kViewport]);
  WidenByScrollbar(dialog[kSnoozeViewport]);
  CenterShell(dialog.shell);
  IgnoreWindowManagerClose(dialog.shell);
  ApplyScrollbarTranslations(ChildNamed(dialog[kViewport], "vertical"));
  ApplyScrollbarTranslations(ChildNamed(dialog[kSnoozeViewport], "vertical"));
  ApplyScrollbarTranslations(TextScrollbar(dialog[kDescription]));
  ScrollListToCurrent(dialog[kViewport], dialog[kActionList]);
  ScrollListToCurrent(dialog[kSnoozeViewport], dialog[kSnoozeList]);
}

}  // namespace

void OpenActionRequestDialog(const SessionState& session, UICommandQueue& commands) {
  if (dialog.shell != nullptr) return;
  dialog.session = &session;
  dialog.commands = &commands;
  dialog.reminderInterval = session.remindInterval;
  dialog.allowSnooze = session.allowSnooze;
  try {
    Build();
  } catch (...) {
    ReportDialogFailure("ActionRequestDialog");
  }
  dialog.enabled = true;
  RefreshActionRequestDialog();
  if (AnswerInProgress()) DisableActionRequestDialog();
}

void RefreshActionRequestDialog() {
  if (dialog.shell == nullptr || !dialog.enabled) return;
  ListView list = ListPending();
  const int selected =
      dialog.selectedIndex < static_cast<int>(list.arrivals.size()) ? dialog.selectedIndex : -1;
  ControlsView controls = ViewControls(selected, list.arrivals);
  ShowList(std::move(list));
  RestoreSelection();
  ShowControls(std::move(controls));
}

void EnableActionRequestDialog() {
  if (AnswerInProgress()) return;
  if (dialog.shell != nullptr) SetControlsSensitive(true);
  dialog.enabled = true;
  RefreshActionRequestDialog();
}

void DisableActionRequestDialog() {
  if (dialog.shell != nullptr) SetControlsSensitive(false);
  dialog.enabled = false;
}

void CloseActionRequestDialog() {
  if (dialog.shell == nullptr) return;
  XtDestroyWidget(dialog.shell);
  dialog.shell = nullptr;
  dialog.widgets.clear();
  // The lists are destroyed at the end of this event's dispatch and may still draw until then.
  retiredItems = std::move(dialog.items);
  retiredSnoozeItems = std::move(dialog.snoozeItems);
  dialog.items = ListItems{};
  dialog.snoozeItems = ListItems{};
}

bool IsActionRequestDialogOpen() noexcept { return dialog.shell != nullptr; }

DialogLayout ActionRequestDialogLayout() {
  return {"ActionRequestDialog",
          "Vantrel Action Requests",
          nullptr,
          kRows,
          kRowCount,
          {"actiontitle.label",
           "actiontitle.width",
           "actiondesc.string",
           "actiondesc.width",
           "viewport.width",
           "List.list",
           "List.sensitive",
           "List.translations",
           "takeAllActions.sensitive",
           "takeActions.label",
           "takeActions.horizDistance",
           "takeActions.sensitive",
           "cancelAction.label",
           "cancelAction.horizDistance",
           "cancelAction.sensitive",
           "actionDetails.horizDistance",
           "actionDetails.sensitive",
           "actionDetails.mappedWhenManaged",
           "snoozeViewport.width",
           "snoozeButton.label",
           "snoozeButton.horizDistance",
           "snoozeButton.sensitive"}};
}

std::vector<const char*> ActionRequestDialogLookedUpTexts() {
  // The selected request's description joins two texts with line breaks, which no line of a
  // translation file can hold; it is left out.
  std::vector<const char*> texts = {
      kOneSelectedWording, kNoPendingWording,     kOnePendingWording,  kPendingCountWording,
      kCloseWording,       kCancelActionWording,  kTakeActionWording,  kSnoozeButtonWording,
      kTakeActionsWording, kCancelActionsWording, kTitleHeaderWording, kDeadlineHeaderWording};
  for (const SnoozeChoice& choice : SnoozeChoices(true)) texts.push_back(choice.text);
  return texts;
}
