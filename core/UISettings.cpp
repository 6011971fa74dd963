#include "core/UISettings.h"

#include "core/MessageFields.h"

InitialUISettings ReadInitialUISettings(const XMLElement& keys) {
  InitialUISettings settings;
  ReadChild<DurationField>(keys, "RemindInterval", settings.remindInterval);
  ReadChild<TimeField>(keys, "RemindTime", settings.remindTime);
  ReadChild(keys, "HistoryMode", settings.historyMode);
  ReadChild<DurationField>(keys, "MaxHistoryAge", settings.maxHistoryAge);
  ReadChild(keys, "TechHistoryMode", settings.techHistoryMode);
  ReadChild<DurationField>(keys, "MaxTechHistoryAge", settings.maxTechHistoryAge);
  ReadChild(keys, "BalloonMode", settings.balloonMode);
  ReadChild(keys, "TrayMode", settings.trayMode);
  ReadChild(keys, "HasMainDialog", settings.hasMainDialog);
  ReadChild(keys, "AllowSnooze", settings.allowSnooze);
  ReadChild(keys, "AlwaysTopmost", settings.alwaysTopmost);
  ReadChild(keys, "DisplaySingleActionSummary", settings.displaySingleActionSummary);
  ReadChild(keys, "UseLocale", settings.useLocale);
  ReadChild(keys, "PersistRunningMessage", settings.persistRunningMessage);
  ReadChild(keys, "TopmostRunningMessage", settings.topmostRunningMessage);
  ReadChild<DurationField>(keys, "IdleThreshold", settings.idleThreshold);
  ReadChild(keys, "UseActivityTracking", settings.useActivityTracking);
  ReadChild(keys, "ActionRunningTray", settings.actionRunningTray);
  ReadChild(keys, "InitialTabID", settings.initialTabID);
  ReadChild(keys, "HideProgressTab", settings.hideProgressTab);
  ReadChild(keys, "MainDialogMinWidth", settings.mainDialogMinWidth);
  ReadChild(keys, "MainDialogMinHeight", settings.mainDialogMinHeight);
  ReadChild(keys, "TorvaneApp", settings.torvaneApp);
  ReadChild(keys, "QSPv2Mode", settings.qspv2Mode);
  ReadChild(keys, "QSPv3Enable", settings.qspv3Enable);
  return settings;
}
