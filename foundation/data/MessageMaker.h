// Turns the lines of a message into a header part and a body, separated by the first empty
// line: header lines go to a HeaderMaker of the MessageMaker's own, and the handler is asked
// for the receiver of the body once the header is complete. The handler is borrowed.
#pragma once

#include "foundation/data/DataReceiver.h"
#include "foundation/data/HeaderMaker.h"

#include <cstdint>
#include <optional>

// The consumer a MessageMaker feeds.
class MessageHandler {
 public:
  virtual ~MessageHandler() = default;
  virtual void Start(std::uint64_t position) = 0;
  // The receiver for the body that starts at `position`, given the complete header. The
  // MessageMaker starts, feeds and ends it; it must live until the handler's End.
  virtual LineReceiver& BodyReceiver(const HeaderMaker& header, std::uint64_t position) = 0;
  virtual void End(std::uint64_t position) = 0;
};

class MessageMaker : public LineReceiver {
 public:
  explicit MessageMaker(MessageHandler& handler) noexcept : handler_(handler) {}

  void StartLines(std::uint64_t position) override;
  void LineData(const char* begin, const char* end) override;
  void LineEnd(std::uint64_t first, std::uint64_t last) override;
  void EndLines(std::uint64_t position) override;

 private:
  void StartBody(std::uint64_t position);

  MessageHandler& handler_;
  LineReceiver* currentPart_ = nullptr;
  bool atLineStart_ = true;
  bool inHeader_ = true;
  std::optional<HeaderMaker> header_;
};
