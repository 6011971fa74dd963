#include "core/UISettings.h"

#include "core/MessageFields.h"

InitialUISettings ReadInitialUISettings(const XMLElement& keys) {
  InitialUISettings settings;
  ReadIntervalChild(keys, "RemindInterval", settings.remindInterval);
  ReadTimeChild(keys, "RemindTime", settings.remindTime);
  ReadNumberChild(keys, "HistoryMode", settings.historyMode);
  ReadIntervalChild(keys, "MaxHistoryAge", settings.maxHistoryAge);
  ReadNumberChild(keys, "TechHistoryMode", settings.techHistoryMode);
  ReadIntervalChild(keys, "MaxTechHistoryAge", settings.maxTechHistoryAge);
  ReadNumberChild(keys, "BalloonMode", settings.balloonMode);
  ReadNumberChild(keys, "TrayMode", settings.trayMode);
  ReadBoolChild(keys, "HasMainDialog", settings.hasMainDialog);
  ReadBoolChild(keys, "AllowSnooze", settings.allowSnooze);
  ReadBoolChild(keys, "AlwaysTopmost", settings.alwaysTopmost);
  ReadBoolChild(keys, "DisplaySingleActionSummary", settings.displaySingleActionSummary);
  ReadBoolChild(keys, "UseLocale", settings.useLocale);
  ReadBoolChild(keys, "PersistRunningMessage", settings.persistRunningMessage);
  ReadBoolChild(keys, "TopmostRunningMessage", settings.topmostRunningMessage);
  ReadIntervalChild(keys, "IdleThreshold", settings.idleThreshold);
  ReadBoolChild(keys, "UseActivityTracking", settings.useActivityTracking);
  ReadBoolChild(keys, "ActionRunningTray", settings.actionRunningTray);
  ReadFragmentChild(keys, "InitialTabID", settings.initialTabID);
  ReadBoolChild(keys, "HideProgressTab", settings.hideProgressTab);
  ReadNumberChild(keys, "MainDialogMinWidth", settings.mainDialogMinWidth);
  ReadNumberChild(keys, "MainDialogMinHeight", settings.mainDialogMinHeight);
  ReadFragmentChild(keys, "TorvaneApp", settings.torvaneApp);
  ReadNumberChild(keys, "QSPv2Mode", settings.qspv2Mode);
  ReadBoolChild(keys, "QSPv3Enable", settings.qspv3Enable);
  return settings;
}
