// Finds the frames in one direction of the link as its bytes pass through the tap, whatever
// pieces they arrive in, and tells a FrameReceiver about each, so that the transcript can show
// frames while the relay moves raw bytes.
#pragma once

#include "foundation/data/ByteRange.h"

#include <cstdint>
#include <vector>

// Frames as the scanner finds them, from the thread that feeds it. Ranges are valid only
// during the call.
class FrameReceiver {
 public:
  virtual ~FrameReceiver() = default;
  virtual void Frame(ByteRange body) = 0;
  // A length above the scanner's limit: its bytes are counted, not kept, and framing goes on
  // after them.
  virtual void OversizedFrame(std::uint32_t length) = 0;
  // The stream ended inside a length prefix.
  virtual void PartialPrefix(ByteRange bytes) = 0;
  // The stream ended inside a frame: `received` of `length` bytes came, `body` holds them
  // unless the frame was oversized.
  virtual void PartialFrame(std::uint32_t length, std::uint64_t received, ByteRange body) = 0;
};

class FrameScanner {
 public:
  static constexpr std::uint32_t kPrefixSize = 4;

  // The receiver is borrowed and must outlive the scanner. Frames up to `limit` bytes are kept
  // whole and handed over.
  FrameScanner(FrameReceiver& receiver, std::uint32_t limit)
      : receiver_(&receiver), limit_(limit) {}

  void Feed(ByteRange bytes);
  // The stream ended: reports whatever it ended inside of. Feeding stops here.
  void Finish();

 private:
  enum class State { Prefix, Body, Skip };

  void PrefixComplete();

  FrameReceiver* receiver_;
  std::uint32_t limit_;
  State state_ = State::Prefix;
  char prefix_[kPrefixSize] = {};
  std::uint32_t prefixHave_ = 0;
  std::uint32_t length_ = 0;
  std::uint64_t received_ = 0;
  std::vector<char> body_;
};
