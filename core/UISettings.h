// The settings the client gives once per run in InitializationInfo's InitialUISettings element.
// Every key is read, those without an effect here included, so that a malformed value fails the
// whole InitializationInfo; the dispatcher copies the effective ones into SessionState.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"
#include "text/xml/XMLElement.h"

#include <cstdint>
#include <optional>

// The keys in the order they are read. Fields without a default stay none when their key is absent.
struct InitialUISettings {
  // The snooze interval the action request dialog offers first.
  TimeInterval remindInterval;
  // The action request dialog is not shown again by the timer before this.
  std::optional<DateTime> remindTime;
  std::optional<std::uint32_t> historyMode;
  std::optional<TimeInterval> maxHistoryAge;
  std::optional<std::uint32_t> techHistoryMode;
  std::optional<TimeInterval> maxTechHistoryAge;
  std::uint32_t balloonMode = 1;
  std::uint32_t trayMode = 2;
  bool hasMainDialog = true;
  bool allowSnooze = true;
  bool alwaysTopmost = false;
  bool displaySingleActionSummary = true;
  // Selects the process locale; absent counts as false.
  std::optional<bool> useLocale;
  // Running-action message windows lose their OK button.
  bool persistRunningMessage = false;
  // Running-action message windows stay above other windows.
  bool topmostRunningMessage = false;
  TimeInterval idleThreshold;
  std::optional<bool> useActivityTracking;
  bool actionRunningTray = false;
  std::optional<UString8> initialTabID;
  bool hideProgressTab = false;
  std::optional<std::uint32_t> mainDialogMinWidth;
  std::optional<std::uint32_t> mainDialogMinHeight;
  std::optional<UString8> torvaneApp;
  std::uint32_t qspv2Mode = 0;
  bool qspv3Enable = false;
};

// The settings held by an InitialUISettings element. Throws what the field readers throw for a
// malformed number, interval or time.
[[nodiscard]] InitialUISettings ReadInitialUISettings(const XMLElement& keys);
