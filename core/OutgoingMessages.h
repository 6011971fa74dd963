// The messages the program sends to the client. Each is one XML document: the declaration, a
// root element holding one message element, and that element's fields as text children in a
// fixed order. Senders build the text here and queue it for the link's writer thread.
#pragma once

#include "foundation/text/AutoUString.h"
#include "text/time/DateTime.h"

#include <cstdint>
#include <optional>
#include <vector>

// One child of an outgoing message element: its name and its text. Optional fields that are
// absent are left out of the list.
struct OutgoingField {
  const char* name;
  UString8 text;
};

[[nodiscard]] OutgoingField TextField(const char* name, const UString8& text);
// Decimal digits without leading zeros.
[[nodiscard]] OutgoingField NumberField(const char* name, std::uint64_t value);
[[nodiscard]] OutgoingField BooleanField(const char* name, bool value);

// "true" or "false", the protocol's spelling of a boolean.
[[nodiscard]] const char* BooleanText(bool value) noexcept;

// The whole document, written without a final line break.
[[nodiscard]] UString8 BuildOutgoingMessage(const char* root, const char* message,
                                            const std::vector<OutgoingField>& fields);

// Queues a text for the client; never blocks on the pipe. An empty text closes the link once the
// texts queued before it are written.
void SendToClient(const UString8& text);

// The handshake: the protocol versions the program speaks and its process number.
void SendReadyForData(std::uint32_t minimumVersion, std::uint32_t maximumVersion,
                      std::uint32_t newMinimumVersion, std::uint32_t newMaximumVersion,
                      std::uint64_t processNumber);

// The originator of every ActionTaken this program sends.
constexpr const char* kClientUIOriginator = "ClientUI";

// The user's (or the deadline's) answer to one request. The originator element is left out when
// none is given.
enum class Answer { kTake, kCancel };
enum class Offer { kNo, kYes };
void SendActionTaken(std::uint64_t id, Answer answer, Offer offer,
                     const std::optional<UString8>& originator);

// The snooze: the interval the user chose, and the time at which the reminder comes back,
// written at offset 0. The originator element is left out when none is given. A time before
// the year 0 throws InvalidDateTimeNegativeYear.
void SendRemindInterval(TimeInterval interval, const std::optional<UString8>& originator);
void SendRemindTime(DateTime time, const std::optional<UString8>& originator);

// A failure in the interface layer: a dialog's name with code 2, or the error's own text with 1.
void SendClientUIErrorMessage(std::uint32_t errorCode, const UString8& debugText);
