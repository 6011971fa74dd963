#include "tools/tap/TranscriptFormat.h"

#include "foundation/data/AppendBase64.h"
#include "tools/tap/XMLLayout.h"
#include "tools/tap/XMLWellFormedness.h"

#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <ctime>

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& text, unsigned char byte) {
  text += kHexDigits[byte >> 4];
  text += kHexDigits[byte & 0xf];
}

std::string Header(const EntryOrigin& origin, const std::string& event) {
  return FormatTimestamp(origin.time) + ' ' + std::to_string(origin.tapPid) + ' ' + event + '\n';
}

std::string DirectionHeader(const EntryOrigin& origin, Direction direction,
                            const std::string& event) {
  return Header(origin, std::string(DirectionText(direction)) + ' ' + event);
}

void AppendBase64Line(std::string& entry, ByteRange bytes) {
  entry += "  base64 ";
  AppendBase64(bytes.begin, bytes.end, entry);
  entry += '\n';
}

// Each line of the text behind "  | "; CR LF, LF and CR all end a line.
void AppendTextLines(std::string& entry, ByteRange text) {
  const char* line = text.begin;
  for (const char* p = text.begin;; ++p) {
    if (p == text.end || *p == '\n' || *p == '\r') {
      entry += "  | ";
      entry.append(line, p);
      entry += '\n';
      if (p == text.end) return;
      if (*p == '\r' && p + 1 != text.end && p[1] == '\n') ++p;
      line = p + 1;
      if (line == text.end) return;
    }
  }
}

}  // namespace

std::string FormatTimestamp(std::chrono::system_clock::time_point time) {
  using namespace std::chrono;
  const auto micros = duration_cast<microseconds>(time.time_since_epoch()).count();
  auto seconds = static_cast<std::time_t>(micros / 1000000);
  auto fraction = micros % 1000000;
  if (fraction < 0) {
    fraction += 1000000;
    --seconds;
  }
  std::tm parts{};
  gmtime_r(&seconds, &parts);
  char text[40];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
  std::snprintf(text + length, sizeof text - length, ".%06ldZ", static_cast<long>(fraction));
  return text;
}

const char* DirectionText(Direction direction) {
  return direction == Direction::ClientToProgram ? "client -> program" : "program -> client";
}

std::string QuotedText(ByteRange bytes) {
  std::string text = "\"";
  for (const char* p = bytes.begin; p != bytes.end; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte == '"' || byte == '\\') {
      text += '\\';
      text += *p;
    } else if (byte >= 0x20 && byte < 0x7f) {
      text += *p;
    } else {
      text += "\\x";
      AppendHexByte(text, byte);
    }
  }
  return text + '"';
}

std::string HexDumpLines(ByteRange bytes) {
  std::string lines;
  const std::size_t shown = std::min(bytes.size(), kHexDumpLimit);
  for (std::size_t offset = 0; offset < shown; offset += 16) {
    char position[16];
    std::snprintf(position, sizeof position, "%08zx", offset);
    lines += "  hex ";
    lines += position;
    lines += ' ';
    std::string printable;
    for (std::size_t i = offset; i < offset + 16; ++i) {
      if (i < shown) {
        const auto byte = static_cast<unsigned char>(bytes.begin[i]);
        lines += ' ';
        AppendHexByte(lines, byte);
        printable += byte >= 0x20 && byte < 0x7f ? static_cast<char>(byte) : '.';
      } else {
        lines += "   ";
      }
    }
    lines += "  |" + printable + "|\n";
  }
  if (shown < bytes.size()) {
    lines += "  hex ... " + std::to_string(bytes.size() - shown) + " more bytes, in base64 above\n";
  }
  return lines;
}

std::string SignalName(int signal) {
  struct Named {
    int number;
    const char* name;
  };
  static const Named kNames[] = {{SIGHUP, "SIGHUP"},   {SIGINT, "SIGINT"},   {SIGQUIT, "SIGQUIT"},
                                 {SIGILL, "SIGILL"},   {SIGTRAP, "SIGTRAP"}, {SIGABRT, "SIGABRT"},
                                 {SIGBUS, "SIGBUS"},   {SIGFPE, "SIGFPE"},   {SIGKILL, "SIGKILL"},
                                 {SIGUSR1, "SIGUSR1"}, {SIGSEGV, "SIGSEGV"}, {SIGUSR2, "SIGUSR2"},
                                 {SIGPIPE, "SIGPIPE"}, {SIGALRM, "SIGALRM"}, {SIGTERM, "SIGTERM"},
                                 {SIGXCPU, "SIGXCPU"}, {SIGXFSZ, "SIGXFSZ"}, {SIGSYS, "SIGSYS"}};
  for (const Named& named : kNames) {
    if (named.number == signal) return named.name;
  }
  return "signal " + std::to_string(signal);
}

std::string FrameEntry(const EntryOrigin& origin, Direction direction, ByteRange body) {
  const std::string size = "frame " + std::to_string(body.size()) + " bytes ";
  if (body.empty()) return DirectionHeader(origin, direction, size + "empty");
  const bool xml = IsWellFormedXML(body);
  std::string entry = DirectionHeader(origin, direction, size + (xml ? "xml" : "binary"));
  AppendBase64Line(entry, body);
  if (xml) {
    AppendTextLines(entry, LaidOutXML(body));
  } else {
    entry += HexDumpLines(body);
  }
  return entry;
}

std::string OversizedFrameEntry(const EntryOrigin& origin, Direction direction,
                                std::uint32_t length, std::uint32_t limit) {
  return DirectionHeader(origin, direction,
                         "oversized frame " + std::to_string(length) +
                             " bytes, over the limit of " + std::to_string(limit) +
                             ": relayed, not recorded");
}

std::string PartialPrefixEntry(const EntryOrigin& origin, Direction direction, ByteRange bytes) {
  std::string entry = DirectionHeader(
      origin, direction, "partial length prefix " + std::to_string(bytes.size()) + " bytes");
  AppendBase64Line(entry, bytes);
  return entry;
}

std::string PartialFrameEntry(const EntryOrigin& origin, Direction direction, std::uint32_t length,
                              std::uint32_t limit, std::uint64_t received, ByteRange body) {
  const bool kept = length <= limit;
  std::string entry = DirectionHeader(origin, direction,
                                      "partial frame " + std::to_string(received) + " of " +
                                          std::to_string(length) + " bytes" +
                                          (kept ? "" : ", over the limit: not recorded"));
  if (kept) {
    AppendBase64Line(entry, body);
    entry += HexDumpLines(body);
  }
  return entry;
}

std::string EndOfInputEntry(const EntryOrigin& origin, Direction direction) {
  return DirectionHeader(origin, direction, "end of input");
}

std::string RelayFailedEntry(const EntryOrigin& origin, Direction direction,
                             const std::string& reason) {
  return DirectionHeader(origin, direction, "relay failed: " + reason);
}

std::string EntriesDroppedEntry(const EntryOrigin& origin, std::uint64_t count) {
  return Header(origin, "transcript fell behind: " + std::to_string(count) + " entries left out");
}

std::string ProgramStartedEntry(const EntryOrigin& origin, long programPid, const std::string& path,
                                const std::vector<std::string>& arguments) {
  std::string entry = Header(origin, "program started pid " + std::to_string(programPid));
  entry += "  path " + QuotedText(path) + '\n';
  for (const std::string& argument : arguments) entry += "  argv " + QuotedText(argument) + '\n';
  return entry;
}

std::string ProgramNotStartedEntry(const EntryOrigin& origin, const std::string& path,
                                   const std::string& reason) {
  return Header(origin, "program not started: " + reason) + "  path " + QuotedText(path) + '\n';
}

std::string ProgramEndedEntry(const EntryOrigin& origin, int waitStatus) {
  if (WIFSIGNALED(waitStatus)) {
    const int signal = WTERMSIG(waitStatus);
    return Header(origin, "program killed by signal " + std::to_string(signal) + " (" +
                              SignalName(signal) + ")");
  }
  return Header(origin, "program exited with status " + std::to_string(WEXITSTATUS(waitStatus)));
}
