// Writes, framed as on the client link, what the senders write for each command line on stdin
// ("-" for no originator; an empty frame where a sender refuses): "taken <id> <cancel 0|1>
// <offer 0|1> <originator>", "interval <microseconds> <originator>", "time <microseconds since
// 1970 UTC> <originator>", "error <code> <debug text>".
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "core/MessageQueue.h"
#include "core/OutgoingMessages.h"
#include "core/OutgoingQueue.h"
#include "foundation/platform/DebuggableException.h"

namespace {

UString8 Text(const std::string& text) { return UString8(text.data(), text.data() + text.size()); }

// The rest of the stream after one blank; "-" alone means none.
std::optional<UString8> Originator(std::istringstream& fields) {
  fields.get();
  std::string rest;
  std::getline(fields, rest);
  if (rest == "-") return std::nullopt;
  return Text(rest);
}

void WriteFramed(const UString8& text) {
  // The length in four bytes, least significant first.
  for (int shift = 0; shift < 32; shift += 8)
    std::putchar(static_cast<int>(text.size() >> shift) & 0xff);
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void Send(const std::string& line) {
  std::istringstream fields(line);
  std::string command;
  fields >> command;
  if (command == "taken") {
    std::uint64_t id = 0;
    int cancel = 0, offer = 0;
    fields >> id >> cancel >> offer;
    SendActionTaken(id, cancel != 0 ? Answer::kCancel : Answer::kTake,
                    offer != 0 ? Offer::kYes : Offer::kNo, Originator(fields));
  } else if (command == "interval") {
    std::int64_t microseconds = 0;
    fields >> microseconds;
    SendRemindInterval(TimeInterval::Microseconds(microseconds), Originator(fields));
  } else if (command == "time") {
    std::int64_t microseconds = 0;
    fields >> microseconds;
    SendRemindTime(DateTime::FromUnixMicroseconds(microseconds), Originator(fields));
  } else if (command == "error") {
    std::uint32_t code = 0;
    fields >> code;
    const std::optional<UString8> text = Originator(fields);
    SendClientUIErrorMessage(code, text ? *text : UString8());
  }
}

}  // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    try {
      Send(line);
    } catch (const DebuggableException&) {
      WriteFramed(UString8());
    }
    MessageList queued;
    outgoingQueue.TakeAll(queued);
    for (const UString8& text : queued) WriteFramed(text);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
