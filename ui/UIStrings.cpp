#include "ui/UIStrings.h"

#include "ui/DeadlineText.h"
#include "ui/FormatBuiltIn.h"

#include <iterator>
#include <string>
#include <vector>

namespace {

struct Entry {
  UIText text;
  const char* english;
};

constexpr Entry kEntries[] = {
    {UIText::kActionRequestsTitle, "Vantrel Action Requests"},
    {UIText::kTakeAllActions, "Take All Actions"},
    {UIText::kActionDetails, "Action Details"},
    {UIText::kClickSnoozeToBeReminded, "Click Snooze to be reminded again:"},
    {UIText::kRestartNow, "Restart Now"},
    {UIText::kDashboard, "Dashboard"},
    {UIText::kTechnician, "Technician"},
    {UIText::kProgress, "Progress"},
    {UIText::kShutdownNow, "Shutdown Now"},
    {UIText::kShutdownRequested,
     "Your system administrator is requesting that you shutdown your computer.  Please save any "
     "unsaved work and then take this action to shutdown your computer."},
    {UIText::kOffers, "Offers"},
    {UIText::kRestartRequested,
     "Your system administrator is requesting that you restart your computer.  Please save any "
     "unsaved work and then take this action to restart your computer."},
    {UIText::kSearch, "Search:"},
    {UIText::kAccept, "Accept"},
    {UIText::kOK, "OK"},
    {UIText::kEnteringRestrictedMode, "Entering Restricted Mode"},
    {UIText::kNotCurrentlyAvailable, "Not Currently Available"},
    {UIText::kFileMenu, "&File"},
    {UIText::kHelpTopicsMenu, "Vantrel Helpdock &Help Topics"},
    {UIText::kHelpMenu, "&Help"},
    {UIText::kAboutHelpdockMenu, "&About Helpdock"},
    {UIText::kActionScriptPreview, "Action Script Preview"},
    {UIText::kAboutProductMenu, "&About Vantrel Helpdock..."},
    {UIText::kActionID, "Action ID:"},
    {UIText::kApplicationCount, "Application Count:"},
    {UIText::kAcknowledgeConfirmation,
     "This action requires you to acknowledge the following confirmation message:"},
    {UIText::kCurrentlyRunning, "The following actions are currently running on this computer:"},
    {UIText::kPreviewAction, "Preview Action..."},
    {UIText::kCopyMenu, "&Copy{_tab}Ctrl-C"},
    {UIText::kRetryCount, "Retry Count:"},
    {UIText::kCancel, "Cancel"},
    {UIText::kExitMenu, "E&xit Helpdock"},
    {UIText::kLastStatusChange, "Last Status Change:"},
    {UIText::kCategory, "Category:"},
    {UIText::kShowHiddenOffers, "Show Hidden Offers"},
    {UIText::kAboutProduct, "About Vantrel Helpdock"},
    {UIText::kOpenActionRequestsMenu, "Open Vantrel &Action Requests"},
    {UIText::kProductName, "Vantrel Helpdock"},
    {UIText::kActionIssuer, "Action Issuer:"},
    {UIText::kActionScript, "Action Script"},
    {UIText::kLastCompleteLineNumber, "Last Complete Line Number:"},
    {UIText::kCutMenu, "Cu&t{_tab}Ctrl-X"},
    {UIText::kActionName, "Action Name:"},
    {UIText::kViewPostponedActionsMenu, "&View Postponed Actions..."},
    {UIText::kPasteMenu, "&Paste{_tab}Ctrl-V"},
    {UIText::kScriptType, "Script Type:"},
    {UIText::kLoading, "Loading..."},
    {UIText::kEditMenu, "&Edit"},
    {UIText::kOpenProductMenu, "&Open Vantrel Helpdock"},
    {UIText::kDismiss, "Dismiss"},
    {UIText::kViewPostponedActions, "View Postponed Actions"},
    {UIText::kConfirmationRequired, "Confirmation Required"},
    {UIText::kHide, "Hide"},
    {UIText::kIssuedTime, "Issued Time:"},
    {UIText::kClickToOpenProduct, "Click to open Vantrel Helpdock"},
};

// Indexed by UIFilledText.
constexpr const char* kFilledEntries[] = {
    "Your administrator has disabled this feature between {start} and {end}.",
    ("Your administrator has disabled the Vantrel Helpdock between {start} and {end}.  The "
     "application will now close."),
    "You Have 1 New Offer",
    "You Have {number} New Offers",
    "You have 1 pending action.",
    "You have {number} pending actions.",
    "Vantrel Helpdock version {version}",
};
static_assert(std::size(kFilledEntries) == kUIFilledTextCount, "one wording per UIFilledText");

constexpr bool InEnumOrder() {
  int index = 0;
  for (const Entry& entry : kEntries) {
    if (static_cast<int>(entry.text) != index++) return false;
  }
  return index == kUITextCount;
}
static_assert(InEnumOrder(), "one entry per UIText, in the order of the enumeration");

// The accessors' common end: a rejected override shows as a marker rather than failing the
// dialog that asked.
UString8 Render(const char* english, const std::vector<ByteRange>& values = {}) {
  return FormatBuiltInOrMarker(english, values);
}

UString8 Render(UIFilledText text, const std::vector<ByteRange>& values = {}) {
  return Render(EnglishText(text), values);
}

UString8 CountText(std::uint64_t count, UIFilledText one, UIFilledText many) {
  return count == 1 ? Render(one) : Render(many, {std::to_string(count)});
}

}  // namespace

const char* EnglishText(UIText text) noexcept { return kEntries[static_cast<int>(text)].english; }

const char* EnglishText(UIFilledText text) noexcept {
  return kFilledEntries[static_cast<int>(text)];
}

UString8 UIString(UIText text) { return Render(EnglishText(text)); }

UString8 QuietModeText(DateTime start, DateTime end) {
  return Render(UIFilledText::kQuietMode, {FormatLocalTimeOfDay(start), FormatLocalTimeOfDay(end)});
}

UString8 QuietModeClosingText(DateTime start, DateTime end) {
  return Render(UIFilledText::kQuietModeClosing,
                {FormatLocalTimeOfDay(start), FormatLocalTimeOfDay(end)});
}

UString8 NewOffersText(std::uint64_t count) {
  return CountText(count, UIFilledText::kOneNewOffer, UIFilledText::kNewOffers);
}

UString8 PendingActionsText(std::uint64_t count) {
  return CountText(count, UIFilledText::kOnePendingAction, UIFilledText::kPendingActions);
}

UString8 VersionText() { return Render(UIFilledText::kVersion, {kProductVersion}); }
