#include "tools/tap/Relay.h"

#include "foundation/platform/SystemErrorText.h"
#include "tools/tap/FrameScanner.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {

// Turns the scanner's findings into transcript entries of one direction.
class TranscriptRecorder : public FrameReceiver {
 public:
  TranscriptRecorder(Transcript& transcript, Direction direction, std::uint32_t limit, long tapPid)
      : transcript_(&transcript), direction_(direction), limit_(limit), tapPid_(tapPid) {}

  // Each entry is made on the transcript's thread from a copy of the bytes, stamped now.
  void Frame(ByteRange body) override {
    Post([direction = direction_, bytes = Copy(body)](
             const EntryOrigin& origin) { return FrameEntry(origin, direction, bytes); },
         body.size());
  }
  void OversizedFrame(std::uint32_t length) override {
    Post(
        [direction = direction_, length, limit = limit_](const EntryOrigin& origin) {
          return OversizedFrameEntry(origin, direction, length, limit);
        },
        0);
  }
  void PartialPrefix(ByteRange bytes) override {
    Post([direction = direction_, bytes = Copy(bytes)](
             const EntryOrigin& origin) { return PartialPrefixEntry(origin, direction, bytes); },
         bytes.size());
  }
  void PartialFrame(std::uint32_t length, std::uint64_t received, ByteRange body) override {
    Post(
        [direction = direction_, length, limit = limit_, received,
         bytes = Copy(body)](const EntryOrigin& origin) {
          return PartialFrameEntry(origin, direction, length, limit, received, bytes);
        },
        body.size());
  }

 private:
  static std::string Copy(ByteRange bytes) { return std::string(bytes.View()); }

  template <class Make>
  void Post(Make make, std::size_t weight) {
    transcript_->Post(
        [make = std::move(make), origin = OriginNow(tapPid_)] { return make(origin); }, weight);
  }

  Transcript* transcript_;
  Direction direction_;
  std::uint32_t limit_;
  long tapPid_;
};

// A pipe's worth: a burst of small frames moves in one read and one write.
constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

PumpResult Pump(int from, int to, const std::function<void(ByteRange)>& passed) {
  std::vector<char> buffer(kBufferSize);
  for (;;) {
    const ssize_t got = read(from, buffer.data(), buffer.size());
    if (got == 0) return {PumpEnd::SourceEnded, 0};
    if (got < 0) {
      if (errno == EINTR) continue;
      return {PumpEnd::SourceFailed, errno};
    }
    const char* at = buffer.data();
    const char* end = at + got;
    while (at != end) {
      const ssize_t written = write(to, at, static_cast<std::size_t>(end - at));
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        const int error = written < 0 ? errno : EIO;
        if (at != buffer.data()) passed(ByteRange(buffer.data(), at));
        return {PumpEnd::DeliveryFailed, error};
      }
      at += written;
    }
    passed(ByteRange(buffer.data(), end));
  }
}

namespace {

std::string ErrorText(int error) {
  const AutoUString<UTF8> text = SystemErrorText(static_cast<std::uint32_t>(error));
  return std::string(text.begin(), text.end());
}

// What ended the direction, for the transcript.
std::string EndEntry(const PumpResult& result, Direction direction, long tapPid) {
  const EntryOrigin origin = OriginNow(tapPid);
  switch (result.end) {
    case PumpEnd::SourceEnded:
      return EndOfInputEntry(origin, direction);
    case PumpEnd::SourceFailed:
      return RelayFailedEntry(origin, direction, "read: " + ErrorText(result.error));
    case PumpEnd::DeliveryFailed:
      break;
  }
  return RelayFailedEntry(origin, direction, "write: " + ErrorText(result.error));
}

}  // namespace

void RelayDirection(RelayEnds ends, std::uint32_t frameLimit, Transcript& transcript, long tapPid) {
  TranscriptRecorder recorder(transcript, ends.direction, frameLimit, tapPid);
  FrameScanner scanner(recorder, frameLimit);
  // Without a transcript the frames need not be found at all.
  const PumpResult result = Pump(ends.from, ends.to, [&](ByteRange bytes) {
    if (transcript.IsOpen()) scanner.Feed(bytes);
  });
  // The entries come before the closing, so that they are in the file by the time the other
  // side reacts to it (and the tap may end).
  if (transcript.IsOpen()) {
    scanner.Finish();
    transcript.Post([entry = EndEntry(result, ends.direction, tapPid)] { return entry; }, 0);
  }
  close(ends.to);
  close(ends.from);
}
