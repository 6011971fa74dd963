#include "core/UISettings.h"

#include "foundation/platform/ExceptionPL.h"
#include "foundation/platform/StandardExceptions.h"
#include "text/time/TimeErrors.h"
#include "text/xml/Numerals.h"
#include "text/xml/ParseXMLDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Show(bool value) { return value ? "true" : "false"; }
std::string Show(std::uint32_t value) { return std::to_string(value); }
std::string Show(TimeInterval value) { return std::to_string(value.InMicroseconds()); }
std::string Show(DateTime value) { return std::to_string(value.UnixMicroseconds()); }
std::string Show(const UString8& text) { return "[" + std::string(text.begin(), text.end()) + "]"; }
template <class Value>
std::string Show(const std::optional<Value>& value) {
  return value ? Show(*value) : "none";
}

#define FIELD(member) [](const InitialUISettings& settings) { return Show(settings.member); }

// How a key's value can be malformed: which text to send and what it raises.
enum class Failure { kNone, kNumber, kInterval, kTime };

struct Key {
  const char* name;
  std::string (*shown)(const InitialUISettings&);
  const char* defaultShown;
  const char* sample;
  const char* sampleShown;
  Failure failure;
};

const Key kKeys[] = {
    {"RemindInterval", FIELD(remindInterval), "0", "PT5M", "300000000", Failure::kInterval},
    {"RemindTime", FIELD(remindTime), "none", "Thu, 01 Jan 1970 00:00:01 +0000", "1000000",
     Failure::kTime},
    {"HistoryMode", FIELD(historyMode), "none", "4294967295", "4294967295", Failure::kNumber},
    {"MaxHistoryAge", FIELD(maxHistoryAge), "none", "P1D", "86400000000", Failure::kInterval},
    {"TechHistoryMode", FIELD(techHistoryMode), "none", "3", "3", Failure::kNumber},
    {"MaxTechHistoryAge", FIELD(maxTechHistoryAge), "none", "PT0S", "0", Failure::kInterval},
    {"BalloonMode", FIELD(balloonMode), "1", "0", "0", Failure::kNumber},
    {"TrayMode", FIELD(trayMode), "2", "7", "7", Failure::kNumber},
    {"HasMainDialog", FIELD(hasMainDialog), "true", "false", "false", Failure::kNone},
    {"AllowSnooze", FIELD(allowSnooze), "true", "0", "false", Failure::kNone},
    {"AlwaysTopmost", FIELD(alwaysTopmost), "false", "1", "true", Failure::kNone},
    {"DisplaySingleActionSummary", FIELD(displaySingleActionSummary), "true", "false", "false",
     Failure::kNone},
    {"UseLocale", FIELD(useLocale), "none", "false", "false", Failure::kNone},
    {"PersistRunningMessage", FIELD(persistRunningMessage), "false", "", "true", Failure::kNone},
    {"TopmostRunningMessage", FIELD(topmostRunningMessage), "false", "yes", "true", Failure::kNone},
    {"IdleThreshold", FIELD(idleThreshold), "0", "-PT1S", "-1000000", Failure::kInterval},
    {"UseActivityTracking", FIELD(useActivityTracking), "none", "1", "true", Failure::kNone},
    {"ActionRunningTray", FIELD(actionRunningTray), "false", "true", "true", Failure::kNone},
    {"InitialTabID", FIELD(initialTabID), "none", "", "[]", Failure::kNone},
    {"HideProgressTab", FIELD(hideProgressTab), "false", "FALSE", "true", Failure::kNone},
    {"MainDialogMinWidth", FIELD(mainDialogMinWidth), "none", "640", "640", Failure::kNumber},
    {"MainDialogMinHeight", FIELD(mainDialogMinHeight), "none", "480", "480", Failure::kNumber},
    {"TorvaneApp", FIELD(torvaneApp), "none", "app", "[app]", Failure::kNone},
    {"QSPv2Mode", FIELD(qspv2Mode), "0", "2", "2", Failure::kNumber},
    {"QSPv3Enable", FIELD(qspv3Enable), "false", "true", "true", Failure::kNone},
};

std::string Element(const char* name, const char* text) {
  return std::string("<") + name + ">" + text + "</" + name + ">";
}

InitialUISettings Read(const std::string& keys) {
  return ReadInitialUISettings(
      *ParseXMLDocument("<InitialUISettings>" + keys + "</InitialUISettings>"));
}

// The other keys keep their defaults, so every default is checked as well.
TEST(UISettings, EachKeySetsOnlyItsOwnField) {
  for (const Key& key : kKeys) {
    SCOPED_TRACE(key.name);
    const InitialUISettings settings = Read(Element(key.name, key.sample));
    for (const Key& other : kKeys) {
      EXPECT_EQ(other.shown(settings), &other == &key ? other.sampleShown : other.defaultShown)
          << other.name;
    }
  }
}

TEST(UISettings, OneMalformedKeyFailsTheWholeRecord) {
  for (const Key& key : kKeys) {
    if (key.failure == Failure::kNone) continue;
    SCOPED_TRACE(key.name);
    switch (key.failure) {
      case Failure::kNumber:
        EXPECT_THROW(Read(Element(key.name, "4294967296")), NumeralTooLarge);
        break;
      case Failure::kInterval:
        EXPECT_THROW(Read(Element(key.name, "P1M")), ExceptionPL);
        break;
      case Failure::kTime:
        EXPECT_THROW(Read(Element(key.name, "Tue, 05 Mar 2024 07:08:09")), NoTimeZone);
        break;
      case Failure::kNone:
        break;
    }
  }
}

}  // namespace
