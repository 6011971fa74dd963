// The tap's view of one direction of the link: the frames found do not depend on the pieces
// the bytes come in, and each frame's entry can be made. For a well-formed document the
// layout only moves blanks: without them it reads as the document does.
#include "fuzz/FuzzCheck.h"

#include "tools/tap/FrameScanner.h"
#include "tools/tap/TranscriptFormat.h"
#include "tools/tap/XMLLayout.h"
#include "tools/tap/XMLWellFormedness.h"

#include <string>
#include <vector>

namespace {

// The findings as text; every frame's entry is made on the way.
class Findings : public FrameReceiver {
 public:
  void Frame(ByteRange body) override {
    (void)FrameEntry(EntryOrigin{}, Direction::ClientToProgram, body);
    found += "F" + std::string(body.View()) + "\n";
  }
  void OversizedFrame(std::uint32_t length) override { found += "O" + std::to_string(length); }
  void PartialPrefix(ByteRange bytes) override { found += "P" + std::string(bytes.View()); }
  void PartialFrame(std::uint32_t length, std::uint64_t received, ByteRange body) override {
    (void)PartialFrameEntry(EntryOrigin{}, Direction::ClientToProgram, length, kLimit, received,
                            body);
    found += "R" + std::to_string(received) + std::string(body.View());
  }
  static constexpr std::uint32_t kLimit = 4096;
  std::string found;
};

std::string WithoutBlanks(ByteRange text) {
  std::string kept;
  for (const char c : text.View()) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') kept += c;
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const ByteRange input(bytes, bytes + size);
  if (IsWellFormedXML(input)) {
    QVX_FUZZ_CHECK(WithoutBlanks(LaidOutXML(input)) == WithoutBlanks(input));
  }
  Findings whole, pieces;
  FrameScanner wholeScanner(whole, Findings::kLimit), pieceScanner(pieces, Findings::kLimit);
  wholeScanner.Feed(input);
  wholeScanner.Finish();
  // Pieces of 1, 2, 3, ... bytes.
  std::size_t step = 1;
  for (std::size_t at = 0; at < size; at += step++) {
    pieceScanner.Feed(ByteRange(bytes + at, bytes + std::min(size, at + step)));
  }
  pieceScanner.Finish();
  QVX_FUZZ_CHECK(whole.found == pieces.found);
  return 0;
}
