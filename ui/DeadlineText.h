// The time texts of the action request dialog: how long is left until a deadline, in whole
// units, and a deadline's local date and time as the list shows it. Both are built-in texts
// looked up for overrides; the results are UTF-8, and an override the format engine rejects
// shows as "<Invalid String>" rather than failing the dialog.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/Clock.h"
#include "text/time/DateTime.h"
#include "ui/FormatBuiltIn.h"

#include <vector>

// A request the user must take by its deadline, or one that runs by itself when it comes.
enum class DeadlineKind { kMustTake, kAutomatic };

// The time left in words: "Overdue" or "Now" for a request the user must take, a count-down in
// minutes and seconds for one that runs automatically within five minutes, then whole minutes,
// hours (a remainder over half an hour rounds up) or days (over half a day rounds up).
[[nodiscard]] UString8 FormatDeadlineText(TimeInterval timeLeft, DeadlineKind kind);

// "Tue, 05 Mar 2024 07:08:09" in local time, at the UTC offset in effect now.
[[nodiscard]] UString8 FormatListDeadline(DateTime deadline);

// The same texts for a whole list: the offset and the wording's override are read once, when
// this is made, and hold for every item.
class ListDeadlineFormat {
 public:
  ListDeadlineFormat();

  [[nodiscard]] UString8 Format(DateTime deadline) const;
  // Whether other makes the same text of every deadline: the same offset and wording.
  [[nodiscard]] bool SameAs(const ListDeadlineFormat& other) const noexcept;

 private:
  UTCOffset offset_;
  BuiltInFormat dateAndTime_;
};

// "07:08:09": the local time of day alone, at the UTC offset in effect now.
[[nodiscard]] UString8 FormatLocalTimeOfDay(DateTime time);

// Every wording the texts above are made from, "{date} {time}" included: what the translation
// checker knows as deadline texts.
[[nodiscard]] std::vector<const char*> DeadlineWordings();
