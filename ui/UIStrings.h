// The fixed texts of the interface that are not kept with one dialog: window titles, button and
// menu labels, and the counts and periods shown in notices. Each is looked up by its English
// wording for an override of a loaded translation or branding file and then run through the
// format engine; a text that does not pass comes out as "<Invalid String>".
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"
#include "ui/FormatBuiltIn.h"

#include <cstdint>

// The version the version text shows.
inline constexpr char kProductVersion[] = "1.0.0";

// The texts without variables. "&" marks a menu entry's mnemonic letter.
enum class UIText {
  kActionRequestsTitle,  // "Vantrel Action Requests"
  kTakeAllActions,
  kActionDetails,
  kClickSnoozeToBeReminded,
  kRestartNow,
  kDashboard,
  kTechnician,
  kProgress,
  kShutdownNow,
  kShutdownRequested,
  kOffers,
  kRestartRequested,
  kSearch,
  kAccept,
  kOK,
  kEnteringRestrictedMode,
  kNotCurrentlyAvailable,
  kFileMenu,
  kHelpTopicsMenu,
  kHelpMenu,
  kAboutHelpdockMenu,
  kActionScriptPreview,
  kAboutProductMenu,
  kActionID,
  kApplicationCount,
  kAcknowledgeConfirmation,
  kCurrentlyRunning,
  kPreviewAction,
  kCopyMenu,
  kRetryCount,
  kCancel,
  kExitMenu,
  kLastStatusChange,
  kCategory,
  kShowHiddenOffers,
  kAboutProduct,
  kOpenActionRequestsMenu,
  kProductName,
  kActionIssuer,
  kActionScript,
  kLastCompleteLineNumber,
  kCutMenu,
  kActionName,
  kViewPostponedActionsMenu,
  kPasteMenu,
  kScriptType,
  kLoading,
  kEditMenu,
  kOpenProductMenu,
  kDismiss,
  kViewPostponedActions,
  kConfirmationRequired,
  kHide,
  kIssuedTime,
  kClickToOpenProduct,
};
inline constexpr int kUITextCount = static_cast<int>(UIText::kClickToOpenProduct) + 1;

// The texts with values, and the singular forms the counts use in their place.
enum class UIFilledText {
  kQuietMode,
  kQuietModeClosing,
  kOneNewOffer,
  kNewOffers,
  kOnePendingAction,
  kPendingActions,
  kVersion,
};
inline constexpr int kUIFilledTextCount = static_cast<int>(UIFilledText::kVersion) + 1;

// The built-in English wording.
[[nodiscard]] const char* EnglishText(UIText text) noexcept;
[[nodiscard]] const char* EnglishText(UIFilledText text) noexcept;
[[nodiscard]] UString8 UIString(UIText text);

// The quiet period, each end as a local time of day: "... between {start} and {end}."
[[nodiscard]] UString8 QuietModeText(DateTime start, DateTime end);
// The same period for the notice shown when the program closes because of it.
[[nodiscard]] UString8 QuietModeClosingText(DateTime start, DateTime end);
[[nodiscard]] UString8 NewOffersText(std::uint64_t count);
[[nodiscard]] UString8 PendingActionsText(std::uint64_t count);
[[nodiscard]] UString8 VersionText();
