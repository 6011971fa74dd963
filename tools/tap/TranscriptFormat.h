// The entries of the tap's transcript, as text: one header line per entry (UTC time with
// microseconds, the tap's process id, what happened), then indented lines that carry the
// entry's data. The layout is what the man page documents and what a replay reads back.
#pragma once

#include "foundation/data/ByteRange.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

enum class Direction { ClientToProgram, ProgramToClient };

// When an entry was made and by which tap: many taps may append to one file.
struct EntryOrigin {
  std::chrono::system_clock::time_point time;
  long tapPid = 0;
};
[[nodiscard]] inline EntryOrigin OriginNow(long tapPid) {
  return {std::chrono::system_clock::now(), tapPid};
}

// A binary frame's hex dump stops here; its base64 line always holds every byte.
constexpr std::size_t kHexDumpLimit = 4096;

// 2026-12-08T19:20:21.123456Z
[[nodiscard]] std::string FormatTimestamp(std::chrono::system_clock::time_point time);
// "client -> program" or "program -> client"
[[nodiscard]] const char* DirectionText(Direction direction);
// Double-quoted, with \\, \" and every byte outside printable ASCII as \xHH, so that any
// argument fits on one line and reads back unchanged.
[[nodiscard]] std::string QuotedText(ByteRange bytes);
// Lines of "  hex OFFSET  HH HH ...  |ascii|", 16 bytes each, up to kHexDumpLimit bytes.
[[nodiscard]] std::string HexDumpLines(ByteRange bytes);
// "SIGTERM" and the like for the signals a program commonly dies of, else "signal N".
[[nodiscard]] std::string SignalName(int signal);

// One frame: "frame N bytes" with "xml", "binary" or "empty", then its base64 line and its
// readable form (the XML text line by line, or the hex dump).
[[nodiscard]] std::string FrameEntry(const EntryOrigin& origin, Direction direction,
                                     ByteRange body);
[[nodiscard]] std::string OversizedFrameEntry(const EntryOrigin& origin, Direction direction,
                                              std::uint32_t length, std::uint32_t limit);
[[nodiscard]] std::string PartialPrefixEntry(const EntryOrigin& origin, Direction direction,
                                             ByteRange bytes);
[[nodiscard]] std::string PartialFrameEntry(const EntryOrigin& origin, Direction direction,
                                            std::uint32_t length, std::uint32_t limit,
                                            std::uint64_t received, ByteRange body);
[[nodiscard]] std::string EndOfInputEntry(const EntryOrigin& origin, Direction direction);
// A read or a write failed (a closed pipe, mostly); nothing more goes that way.
[[nodiscard]] std::string RelayFailedEntry(const EntryOrigin& origin, Direction direction,
                                           const std::string& reason);
// The transcript's writer fell behind the relay and left entries out.
[[nodiscard]] std::string EntriesDroppedEntry(const EntryOrigin& origin, std::uint64_t count);
[[nodiscard]] std::string ProgramStartedEntry(const EntryOrigin& origin, long programPid,
                                              const std::string& path,
                                              const std::vector<std::string>& arguments);
[[nodiscard]] std::string ProgramNotStartedEntry(const EntryOrigin& origin, const std::string& path,
                                                 const std::string& reason);
// From a wait status: "program exited with status N" or "program killed by signal N (NAME)".
[[nodiscard]] std::string ProgramEndedEntry(const EntryOrigin& origin, int waitStatus);
