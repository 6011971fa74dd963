#include "ui/ActionRequestDialog.h"

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
#include "ui/ToolkitCallback.h"
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
#include <X11/Xresource.h>

#include <algorithm>
#include <iterator>

namespace {

constexpr const char* kDialogName = "ActionRequestDialog";

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
constexpr DateTime kNoDeadline = DateTime::Max();

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

std::string CountText(int selectedIndex, std::size_t count) {
  if (selectedIndex != -1) return LocaleDialogText(kOneSelectedWording);
  if (count == 0) return LocaleDialogText(kNoPendingWording);
  if (count == 1) return LocaleDialogText(kOnePendingWording);
  return LocaleDialogText(kPendingCountWording, {std::to_string(count)});
}

// What the buttons depend on in the pending requests.
struct RequestFacts {
  bool snoozeAllowed = true;
  bool selectedCancellable = true;
  bool anyPreview = false;
  bool anyDeadline = false;
  DateTime earliestDeadline = kNoDeadline;
};

RequestFacts ReadFacts(const PendingRequestList& pending, const ActionRequest* selected,
                       DateTime now, bool allowSnooze) {
  RequestFacts facts;
  facts.snoozeAllowed = allowSnooze;
  facts.selectedCancellable = selected == nullptr || selected->cancellable;
  for (const ActionRequest& request : pending) {
    if (request.deadline) {
      facts.anyDeadline = true;
      facts.earliestDeadline = std::min(facts.earliestDeadline, *request.deadline);
      // A deadline inside its warning period leaves no time to snooze.
      if (now + kDeadlineWarningPeriod > *request.deadline) facts.snoozeAllowed = false;
    }
    if (request.preview) facts.anyPreview = true;
  }
  return facts;
}

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

// The viewports were sized for their contents; their scrollbars come on top.
void WidenByScrollbar(Widget viewport) {
  Widget scrollbar = ChildNamed(viewport, "vertical");
  if (scrollbar == nullptr) return;
  const int width = WidgetWidth(viewport) + WidgetWidth(scrollbar);
  XtUnmanageChild(viewport);
  SetResource(viewport, XtNwidth, width);
  XtManageChild(viewport);
}

// The list's action is registered by name and gets no client_data: the dialog is found from
// the list's window, under this key, which the toolkit's lookup tables need one of per process.
XContext DialogOfList() {
  static const XContext context = XUniqueContext();
  return context;
}

}  // namespace

// What a refresh shows, computed whole before any widget changes: a text that fails leaves the
// dialog as it was. --------------------------------------------------------------------------

struct ActionRequestDialog::ListView {
  ListItems items;
  std::vector<std::uint64_t> arrivals;
};

struct ActionRequestDialog::SnoozeView {
  std::vector<SnoozeChoice> choices;
  ListItems items;
  int index = 0;
  std::optional<std::int32_t> chosenMinutes;
};

struct ActionRequestDialog::ControlsView {
  std::string snoozeLabel, takeLabel, cancelLabel, titleLabel, description;
  bool takeAll = false, take = false, cancel = false, details = false, detailsMapped = false;
  bool snooze = false, snoozeList = false;
  std::optional<SnoozeView> snoozeView;
};

void ActionRequestDialog::ListItems::Change(Widget list) {
  pointers.clear();
  for (std::string& text : texts) pointers.push_back(text.data());
  // No items at all: the list shows its own (empty) name, so it gets no array.
  XawListChange(list, texts.empty() ? nullptr : pointers.data(), static_cast<int>(texts.size()), 0,
                True);
}

ActionRequestDialog::ActionRequestDialog(const SessionState& session, UICommandQueue& commands,
                                         const ConfirmationDialog& confirmation,
                                         const ActionDetailsDialog& details)
    : DialogWindow(commands),
      session_(session),
      confirmation_(confirmation),
      details_(details),
      earliestDeadline_(kNoDeadline) {}

// The public face ----------------------------------------------------------------------------

void ActionRequestDialog::Open() {
  if (shell_ != nullptr) return;
  reminderInterval_ = session_.remindInterval;
  allowSnooze_ = session_.allowSnooze;
  BuildOrReport(kDialogName, [this] { Build(); });
  guard_.Arm();
  enabled_ = true;
  Refresh();
  if (AnswerInProgress()) Disable();
}

void ActionRequestDialog::Refresh() {
  if (shell_ == nullptr || !enabled_) return;
  ListView list;
  ControlsView controls;
  int selected = -1;
  try {
    list = ListPending();
    selected = selectedIndex_ < static_cast<int>(list.arrivals.size()) ? selectedIndex_ : -1;
    controls = ViewControls(selected, list.arrivals);
  } catch (...) {
    // The list on screen is no longer what is pending: no answer may be given from it until a
    // refresh succeeds (Take All would answer requests the user has not seen).
    SetControlsSensitive(false);
    throw;
  }
  ShowList(std::move(list));
  RestoreSelection();
  ShowControls(std::move(controls));
}

void ActionRequestDialog::Enable() {
  if (AnswerInProgress()) return;
  if (!enabled_) guard_.Arm();
  if (shell_ != nullptr) SetControlsSensitive(true);
  enabled_ = true;
  Refresh();
}

void ActionRequestDialog::Disable() {
  if (shell_ != nullptr) SetControlsSensitive(false);
  enabled_ = false;
}

void ActionRequestDialog::Close() {
  if (shell_ == nullptr) return;
  XDeleteContext(XtDisplay(shell_), XtWindow(widgets_[kActionList]), DialogOfList());
  DestroyWindow();
  widgets_.clear();
  // The lists are destroyed at the end of this event's dispatch and may still draw until then.
  retiredItems_ = std::move(items_);
  retiredSnoozeItems_ = std::move(snoozeItems_);
  items_ = ListItems{};
  snoozeItems_ = ListItems{};
}

// An answer is on its way to the tick, or a confirmation or the script preview is open: the
// answers stay out of reach until it is carried out, so that no second answer can overtake the
// one the user is giving.
bool ActionRequestDialog::AnswerInProgress() const {
  return commands_.AnswerAwaitsTick() || confirmation_.IsOpen() || details_.IsOpen();
}

// Building ------------------------------------------------------------------------------------

void ActionRequestDialog::Build() {
  // Xt keeps the table it is given for the rest of the process.
  static XtActionsRec listActions[] = {
      {const_cast<char*>("PostponeListSelect"), &ActionRequestDialog::PostponeListSelect}};
  if (!actionsAdded_) {
    XtAppAddActions(ApplicationContext(), listActions, XtNumber(listActions));
    actionsAdded_ = true;
  }
  const std::vector<std::string> texts = FixedTexts();
  shell_ = CreateDialogShell(ShownText(UIString(UIText::kActionRequestsTitle)));
  widgets_.clear();
  description_.clear();
  chosenMinutes_.reset();
  ContinueWidgetTable(shell_, kRows, kSnoozeLabel, texts, widgets_);
  const int rowWidth = PlaceAnswerButtons();
  ContinueWidgetTable(shell_, kRows, kRowCount, texts, widgets_);
  SetResource(widgets_[kSnoozeButton], XtNhorizDistance,
              RightAlignedDistance(rowWidth, WidgetWidth(widgets_[kSnoozeButton]),
                                   WidgetBorderWidth(widgets_[kDescription])));
  // Parsed once: the toolkit never frees a parsed table.
  static const XtTranslations listTranslations = XtParseTranslationTable(kListTranslations);
  XtOverrideTranslations(widgets_[kActionList], listTranslations);
  AddCallbacks();
  XtRealizeWidget(shell_);
  XSaveContext(XtDisplay(shell_), XtWindow(widgets_[kActionList]), DialogOfList(),
               reinterpret_cast<XPointer>(this));
  WidenByScrollbar(widgets_[kViewport]);
  WidenByScrollbar(widgets_[kSnoozeViewport]);
  IgnoreWindowManagerClose(shell_);
  ApplyScrollbarTranslations(ChildNamed(widgets_[kViewport], "vertical"));
  ApplyScrollbarTranslations(ChildNamed(widgets_[kSnoozeViewport], "vertical"));
  ApplyScrollbarTranslations(TextScrollbar(widgets_[kDescription]));
  ScrollListToCurrent(widgets_[kViewport], widgets_[kActionList]);
  ScrollListToCurrent(widgets_[kSnoozeViewport], widgets_[kSnoozeList]);
  CenterShell(shell_);
  AttachKeys();
}

// The controls in reading order; the focus starts on "Take All Actions". There is no safe
// answer for Escape to give: every answer here acts on requests. The dialog opens on its own,
// so its keys press nothing until the user has moved the focus.
void ActionRequestDialog::AttachKeys() {
  Widget actionList = widgets_[kActionList];
  keys_.Attach(shell_,
               {{actionList, [this, actionList] { ListClicked(actionList); }},
                {widgets_[kTakeAllButton]},
                {widgets_[kDetailsButton]},
                {widgets_[kCancelButton]},
                {widgets_[kTakeButton]},
                {widgets_[kSnoozeList]},
                {widgets_[kSnoozeButton]}},
               1, KeyboardFocus::kNoSafeAnswer, KeyboardFocus::FirstPress::kAfterAMove);
}

// The buttons as wide as their labels made them, the last one ending under the description's
// right edge; a row that does not fit widens the dialog.
int ActionRequestDialog::PlaceAnswerButtons() {
  Widget description = widgets_[kDescription];
  const int border = WidgetBorderWidth(description);
  const ActionButtonRow row = PlaceActionButtons(
      WidgetWidth(description), border,
      {WidgetWidth(widgets_[kTakeAllButton]), WidgetWidth(widgets_[kDetailsButton]),
       WidgetWidth(widgets_[kCancelButton]), WidgetWidth(widgets_[kTakeButton])});
  SetResource(widgets_[kTakeButton], XtNhorizDistance, row.takeDistance);
  SetResource(widgets_[kCancelButton], XtNhorizDistance, row.cancelDistance);
  SetResource(widgets_[kDetailsButton], XtNhorizDistance, row.detailsDistance);
  if (row.widened) {
    SetResource(widgets_[kTitleLabel], XtNwidth, TextWidth(row, border));
    SetResource(description, XtNwidth, TextWidth(row, border));
    SetResource(widgets_[kViewport], XtNwidth, ListWidth(row, border));
    XawFormDoLayout(widgets_[kForm], True);
  }
  return row.width;
}

void ActionRequestDialog::AddCallbacks() {
  AddMemberCallback<&ActionRequestDialog::TakeAllPressed>(widgets_[kTakeAllButton], *this);
  AddMemberCallback<&ActionRequestDialog::TakePressed>(widgets_[kTakeButton], *this);
  AddMemberCallback<&ActionRequestDialog::CancelPressed>(widgets_[kCancelButton], *this);
  AddMemberCallback<&ActionRequestDialog::DetailsPressed>(widgets_[kDetailsButton], *this);
  AddMemberCallback<&ActionRequestDialog::SnoozePressed>(widgets_[kSnoozeButton], *this);
  AddMemberCallback<&ActionRequestDialog::SnoozeChosen>(widgets_[kSnoozeList], *this);
}

// Computing a view ----------------------------------------------------------------------------

ActionRequestDialog::ListView ActionRequestDialog::ListPending() {
  ListView view;
  view.items.texts.reserve(session_.pendingRequests.size());
  view.arrivals.reserve(session_.pendingRequests.size());
  listTexts_.Make(session_.pendingRequests, view.items.texts, view.arrivals);
  return view;
}

// The user's choice while the list still offers it, else the one nearest the reminder interval.
ActionRequestDialog::SnoozeView ActionRequestDialog::ViewSnoozeList(bool anyDeadline) const {
  SnoozeView view;
  view.choices = SnoozeChoices(anyDeadline);
  view.index = PreselectedSnoozeChoice(view.choices, reminderInterval_);
  if (chosenMinutes_) {
    const auto chosen = std::find_if(
        view.choices.begin(), view.choices.end(),
        [this](const SnoozeChoice& choice) { return choice.minutes == *chosenMinutes_; });
    if (chosen != view.choices.end()) {
      view.index = static_cast<int>(chosen - view.choices.begin());
      view.chosenMinutes = chosenMinutes_;
    }
  }
  for (const SnoozeChoice& choice : view.choices) {
    view.items.texts.push_back(LocaleDialogText(choice.text));
  }
  return view;
}

ActionRequestDialog::ControlsView ActionRequestDialog::ViewControls(
    int selectedIndex, const std::vector<std::uint64_t>& arrivals) {
  if (!session_.pendingRequests.empty()) return ViewPending(selectedIndex, arrivals);
  ControlsView view;
  view.snoozeLabel = LocaleDialogText(kCloseWording);
  view.snooze = true;
  view.cancelLabel = LocaleDialogText(kCancelActionWording);
  view.takeLabel = LocaleDialogText(kTakeActionWording);
  view.titleLabel = CountText(selectedIndex, arrivals.size());
  return view;
}

ActionRequestDialog::ControlsView ActionRequestDialog::ViewPending(
    int selectedIndex, const std::vector<std::uint64_t>& arrivals) {
  const ActionRequest* selected = nullptr;
  if (selectedIndex != -1) {
    const auto request = session_.FindPendingArrival(arrivals.at(selectedIndex));
    if (request != session_.pendingRequests.end()) selected = &*request;
  }
  // One reading of the clock for every text of the refresh.
  const DateTime now = Now();
  const RequestFacts facts = ReadFacts(session_.pendingRequests, selected, now, allowSnooze_);
  // Kept for the next Snooze even when this view is given up.
  earliestDeadline_ = facts.earliestDeadline;
  if (selectedIndex != -1 && selected == nullptr) throw NoSelectedAction();
  ControlsView view;
  view.snoozeLabel = LocaleDialogText(kSnoozeButtonWording);
  view.takeAll = true;
  view.detailsMapped = facts.anyPreview;
  if (selected == nullptr) {
    view.takeLabel = LocaleDialogText(kTakeActionsWording);
    view.cancelLabel = LocaleDialogText(kCancelActionsWording);
    view.titleLabel = CountText(selectedIndex, arrivals.size());
    // The summary reads each ID once, as its latest record says.
    view.description = ShownText(BuildActionsSummary(session_.pendingRequests, now));
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
  view.snooze = view.snoozeList = facts.snoozeAllowed;
  view.cancel = selected != nullptr && facts.selectedCancellable;
  // A list that cannot be used keeps its items and is merely insensitive.
  if (facts.snoozeAllowed) view.snoozeView = ViewSnoozeList(facts.anyDeadline);
  return view;
}

// Applying a view -----------------------------------------------------------------------------

void ActionRequestDialog::ShowList(ListView view) {
  Widget list = widgets_[kActionList];
  XtUnmanageChild(list);
  view.items.Change(list);
  std::swap(items_, view.items);
  itemArrivals_ = std::move(view.arrivals);
  XtManageChild(list);
}

void ActionRequestDialog::RestoreSelection() {
  if (selectedIndex_ >= static_cast<int>(itemArrivals_.size())) selectedIndex_ = -1;
  if (selectedIndex_ == -1) return;
  XawListHighlight(widgets_[kActionList], selectedIndex_);
  ScrollListToCurrent(widgets_[kViewport], widgets_[kActionList]);
}

void ActionRequestDialog::ShowSnoozeList(SnoozeView view) {
  view.items.Change(widgets_[kSnoozeList]);
  std::swap(snoozeItems_, view.items);
  snoozeChoices_ = std::move(view.choices);
  snoozeIndex_ = view.index;
  chosenMinutes_ = view.chosenMinutes;
  XawListHighlight(widgets_[kSnoozeList], snoozeIndex_);
  ScrollListToCurrent(widgets_[kSnoozeViewport], widgets_[kSnoozeList]);
}

void ActionRequestDialog::ShowControls(ControlsView view) {
  SetLabel(widgets_[kSnoozeButton], view.snoozeLabel);
  SetLabel(widgets_[kTakeButton], view.takeLabel);
  SetLabel(widgets_[kCancelButton], view.cancelLabel);
  SetLabel(widgets_[kTitleLabel], view.titleLabel);
  SetDescription(view.description);
  XtSetMappedWhenManaged(widgets_[kDetailsButton], view.detailsMapped ? True : False);
  const std::pair<Row, bool> sensitivity[] = {
      {kTakeAllButton, view.takeAll}, {kTakeButton, view.take},     {kCancelButton, view.cancel},
      {kDetailsButton, view.details}, {kSnoozeButton, view.snooze}, {kSnoozeList, view.snoozeList}};
  for (const auto& [row, sensitive] : sensitivity) {
    XtSetSensitive(widgets_[row], sensitive ? True : False);
  }
  if (view.snoozeView) ShowSnoozeList(std::move(*view.snoozeView));
  keys_.Update();
}

// The second half of a refresh; a selection whose request has gone leaves the texts as they were.
void ActionRequestDialog::UpdateTextsAndButtons() {
  try {
    ShowControls(ViewControls(selectedIndex_, itemArrivals_));
  } catch (const NoSelectedAction&) {
  }
}

void ActionRequestDialog::SetDescription(const std::string& text) {
  if (text == description_) return;
  description_ = text;
  SetResource(widgets_[kDescription], XtNstring, reinterpret_cast<XtArgVal>(text.c_str()));
}

void ActionRequestDialog::SetControlsSensitive(bool sensitive) {
  for (const Row row : kControls) XtSetSensitive(widgets_[row], sensitive ? True : False);
  keys_.Update();
}

// The user's answers ---------------------------------------------------------------------------

// The answers about the selected request post it with the dialog disabled.
void ActionRequestDialog::PostForSelected(UICommandKind kind) {
  if (selectedIndex_ == -1 || !guard_.Accepts()) return;
  const std::uint64_t arrival = itemArrivals_.at(selectedIndex_);
  if (session_.FindPendingArrival(arrival) == session_.pendingRequests.end()) return;
  Disable();
  commands_.Post({kind, arrival});
}

void ActionRequestDialog::TakeAllPressed() {
  if (!guard_.Accepts()) return;
  Disable();
  commands_.Post({UICommandKind::kTakeAllActions});
}
void ActionRequestDialog::TakePressed() { PostForSelected(UICommandKind::kTakeAction); }
void ActionRequestDialog::CancelPressed() { PostForSelected(UICommandKind::kCancelAction); }
void ActionRequestDialog::DetailsPressed() { PostForSelected(UICommandKind::kShowActionDetails); }

void ActionRequestDialog::SnoozeChosen(Widget, XtPointer callData) {
  const int index = static_cast<XawListReturnStruct*>(callData)->list_index;
  snoozeIndex_ = index;
  if (index >= 0 && index < static_cast<int>(snoozeChoices_.size())) {
    chosenMinutes_ = snoozeChoices_[index].minutes;
  }
}

void ActionRequestDialog::SnoozePressed() {
  if (!guard_.Accepts()) return;
  // With nothing pending the button reads "Close": it closes and never snoozes, whatever
  // arrives before the next tick.
  if (session_.pendingRequests.empty()) return Close();
  const int index = snoozeIndex_;
  if (index < 0 || index >= static_cast<int>(snoozeChoices_.size())) return;
  const std::int32_t minutes = snoozeChoices_[index].minutes;
  const auto deadlineSeconds = static_cast<std::uint32_t>(earliestDeadline_.UnixSeconds());
  Close();
  commands_.Post({UICommandKind::kSnooze, 0, minutes, deadlineSeconds});
}

void ActionRequestDialog::PostponeListSelect(Widget list, XEvent*, String*, Cardinal*) {
  Guarded([list] {
    XPointer dialog = nullptr;
    if (XFindContext(XtDisplay(list), XtWindow(list), DialogOfList(), &dialog) != 0) return;
    reinterpret_cast<ActionRequestDialog*>(dialog)->ListClicked(list);
  });
}

void ActionRequestDialog::ListClicked(Widget list) {
  if (!enabled_) return;
  XawListReturnStruct* current = XawListShowCurrent(list);
  selectedIndex_ = current->list_index == XAW_LIST_NONE ? -1 : current->list_index;
  XtFree(reinterpret_cast<char*>(current));
  RestoreSelection();
  UpdateTextsAndButtons();
}

// For the generated documentation and the translation checker ----------------------------------

DialogLayout ActionRequestDialog::Layout() {
  return {kDialogName,
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

std::vector<const char*> ActionRequestDialog::LookedUpTexts() {
  // The selected request's description joins two texts with line breaks, which no line of a
  // translation file can hold; it is left out.
  std::vector<const char*> texts = {
      kOneSelectedWording, kNoPendingWording,     kOnePendingWording,  kPendingCountWording,
      kCloseWording,       kCancelActionWording,  kTakeActionWording,  kSnoozeButtonWording,
      kTakeActionsWording, kCancelActionsWording, kTitleHeaderWording, kDeadlineHeaderWording};
  for (const SnoozeChoice& choice : SnoozeChoices(true)) texts.push_back(choice.text);
  return texts;
}
