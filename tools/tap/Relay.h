// One direction of the tap: bytes go from one descriptor to the other as soon as they come, and
// the frames they make are written to the transcript after they have been passed on.
#pragma once

#include "foundation/data/ByteRange.h"
#include "tools/tap/Transcript.h"
#include "tools/tap/TranscriptFormat.h"

#include <cstdint>
#include <functional>

// How a pump stopped: its source ended or failed, or its destination stopped taking bytes.
enum class PumpEnd { SourceEnded, SourceFailed, DeliveryFailed };

struct PumpResult {
  PumpEnd end = PumpEnd::SourceEnded;
  int error = 0;
};

// Copies from `from` to `to` until one of them stops, continuing after short writes and
// interrupted calls; `passed` sees every delivered byte once, in order, after its delivery.
[[nodiscard]] PumpResult Pump(int from, int to, const std::function<void(ByteRange)>& passed);

struct RelayEnds {
  int from = -1;
  int to = -1;
  Direction direction = Direction::ClientToProgram;
};

// Pumps one direction to its end, with its frames, its end and any failed delivery in the
// transcript, then closes both descriptors: the reader downstream sees end of file, the writer
// upstream a closed pipe, as if the tap were not there.
void RelayDirection(RelayEnds ends, std::uint32_t frameLimit, Transcript& transcript, long tapPid);
