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

  void Frame(ByteRange body) override {
    transcript_->Append(FrameEntry(OriginNow(tapPid_), direction_, body));
  }
  void OversizedFrame(std::uint32_t length) override {
    transcript_->Append(OversizedFrameEntry(OriginNow(tapPid_), direction_, length, limit_));
  }
  void PartialPrefix(ByteRange bytes) override {
    transcript_->Append(PartialPrefixEntry(OriginNow(tapPid_), direction_, bytes));
  }
  void PartialFrame(std::uint32_t length, std::uint64_t received, ByteRange body) override {
    transcript_->Append(
        PartialFrameEntry(OriginNow(tapPid_), direction_, length, limit_, received, body));
  }

 private:
  Transcript* transcript_;
  Direction direction_;
  std::uint32_t limit_;
  long tapPid_;
};

// Big enough for a burst of frames in one read, small enough for a thread's stack budget.
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
    transcript.Append(EndEntry(result, ends.direction, tapPid));
  }
  close(ends.to);
  close(ends.from);
}
