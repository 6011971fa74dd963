// The program's main window: the pending action requests with their deadlines, a sentence that
// explains the set or the selected request, and the answers (take all, take, cancel, details,
// snooze). At most one exists; every answer disables it until the timer has carried it out.
#pragma once

#include "core/UICommand.h"
#include "text/time/DateTime.h"
#include "ui/ActionListTexts.h"
#include "ui/ClickGuard.h"
#include "ui/DialogWindow.h"
#include "ui/SnoozeChoices.h"

#include <X11/Intrinsic.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ActionDetailsDialog;
class ConfirmationDialog;
struct DialogLayout;
struct SessionState;

class ActionRequestDialog final : public DialogWindow {
 public:
  // Shows session's pending requests, offers its snooze settings and posts the user's answers
  // to commands. It stays disabled while confirmation or details is open. All four outlive it.
  ActionRequestDialog(const SessionState& session, UICommandQueue& commands,
                      const ConfirmationDialog& confirmation, const ActionDetailsDialog& details);

  // Builds the dialog and refreshes it; nothing while it is open.
  void Open();
  // Refills the list and updates every text and control; only while open and enabled.
  void Refresh();
  void Enable();
  void Disable();
  void Close();

  // The window's widgets for the generated documentation.
  [[nodiscard]] static DialogLayout Layout();
  // Every text the dialog looks up for an override itself (the string table's aside), for the
  // translation-file checker.
  [[nodiscard]] static std::vector<const char*> LookedUpTexts();

 private:
  // A list's items in the locale's encoding; the list borrows the pointers until its next change.
  struct ListItems {
    std::vector<std::string> texts;
    std::vector<const char*> pointers;

    void Change(Widget list);
  };
  // What a refresh shows, computed whole before any widget changes.
  struct ListView;
  struct SnoozeView;
  struct ControlsView;

  [[nodiscard]] bool AnswerInProgress() const;

  void Build();
  int PlaceAnswerButtons();
  void AttachKeys();
  void AddCallbacks();

  [[nodiscard]] ListView ListPending();
  [[nodiscard]] SnoozeView ViewSnoozeList(bool anyDeadline) const;
  [[nodiscard]] ControlsView ViewControls(int selectedIndex,
                                          const std::vector<std::uint64_t>& arrivals);
  [[nodiscard]] ControlsView ViewPending(int selectedIndex,
                                         const std::vector<std::uint64_t>& arrivals);

  void ShowList(ListView view);
  void RestoreSelection();
  void ShowSnoozeList(SnoozeView view);
  void ShowControls(ControlsView view);
  void UpdateTextsAndButtons();
  void SetDescription(const std::string& text);
  void SetControlsSensitive(bool sensitive);

  void PostForSelected(UICommandKind kind);
  void TakeAllPressed();
  void TakePressed();
  void CancelPressed();
  void DetailsPressed();
  void SnoozeChosen(Widget list, XtPointer callData);
  void SnoozePressed();
  void ListClicked(Widget list);
  static void PostponeListSelect(Widget list, XEvent*, String*, Cardinal*);

  const SessionState& session_;
  const ConfirmationDialog& confirmation_;
  const ActionDetailsDialog& details_;

  std::vector<Widget> widgets_;
  bool enabled_ = false;
  // Armed when the dialog opens or takes answers again: the rest of a double-click is no answer.
  ClickGuard guard_;
  bool actionsAdded_ = false;
  // The session's snooze settings as they were when the dialog opened.
  bool allowSnooze_ = true;
  TimeInterval reminderInterval_;
  // A position in the list, kept across closing and reopening.
  int selectedIndex_ = -1;
  int snoozeIndex_ = -1;
  // The minutes of the snooze choice the user clicked in this opening: kept across refreshes
  // while the list still offers them, so that Snooze sends what the user chose.
  std::optional<std::int32_t> chosenMinutes_;
  ListItems items_;
  // What the list's items are made from, kept for the next refresh.
  ActionListTexts listTexts_;
  // The arrival number of each item's record: the record an answer acts on, whatever other
  // records share its ID.
  std::vector<std::uint64_t> itemArrivals_;
  std::vector<SnoozeChoice> snoozeChoices_;
  ListItems snoozeItems_;
  // The earliest pending deadline at the last refresh, which Snooze sends.
  DateTime earliestDeadline_;
  // What the description shows, so that an unchanged text keeps its scroll position.
  std::string description_;
  // The previous lists, kept until the toolkit has destroyed a closed dialog's widgets.
  ListItems retiredItems_;
  ListItems retiredSnoozeItems_;
};
