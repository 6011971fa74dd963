// The stage interfaces of the byte pipeline: producers push (begin, end) ranges of bytes into a
// DataReceiver, lines into a LineReceiver, and DataFilter is a transformation that a stage runs
// on its input. File reading, Base64, transcoding and the parsers are
// all built from these. A stage never owns the bytes it is handed and must not keep the
// pointers after the call returns.
#pragma once

#include <cstddef>
#include <cstdint>

// Anything bytes can be written into.
class DataWriter {
 public:
  virtual DataWriter& Write(const char* begin, const char* end) = 0;

 protected:
  ~DataWriter() = default;
};

// A stage of a byte stream: StartData, any number of Receive, then EndData, all from one thread.
class DataReceiver : public DataWriter {
 public:
  // Every receiver writes by receiving, so that a receiver can stand wherever a writer is asked.
  DataReceiver& Write(const char* begin, const char* end) final {
    Receive(begin, end);
    return *this;
  }
  virtual ~DataReceiver() = default;

  // The stream begins; position is the byte offset the caller counts from (0 for a new stream).
  virtual void StartData(std::uint64_t position) = 0;
  virtual void Receive(const char* begin, const char* end) = 0;
  // The stream is complete; a stage passes this on after delivering whatever it still holds.
  virtual void EndData() = 0;
};

// The lines of a byte stream. A line may arrive in several LineData pieces; terminators are
// never part of the data. LineEnd gives the stream offsets [first, last) of the terminator.
class LineReceiver {
 public:
  virtual ~LineReceiver() = default;

  virtual void StartLines(std::uint64_t position) = 0;
  virtual void LineData(const char* begin, const char* end) = 0;
  virtual void LineEnd(std::uint64_t first, std::uint64_t last) = 0;
  virtual void EndLines(std::uint64_t position) = 0;
};

// A transformation of bytes that has no destination of its own; the stage running it gives it one.
class DataFilter {
 public:
  // Bytes still to be filtered; Filter moves `begin` past what it consumed.
  struct Input {
    const char* begin;
    const char* end;
    [[nodiscard]] std::size_t Size() const noexcept {
      return static_cast<std::size_t>(end - begin);
    }
    [[nodiscard]] bool Empty() const noexcept { return begin == end; }
  };
  // A buffer whose bytes [begin, end) are produced and [end, limit) are free; Filter and Flush
  // append at `end`.
  struct Output {
    char* begin;
    char* end;
    char* limit;
    [[nodiscard]] std::size_t Free() const noexcept {
      return static_cast<std::size_t>(limit - end);
    }
    [[nodiscard]] std::size_t Size() const noexcept {
      return static_cast<std::size_t>(end - begin);
    }
  };

  virtual ~DataFilter() = default;

  // Consumes a prefix of the input and writes into the free space of the output. Given input and
  // free space, it must consume or produce at least one byte.
  virtual void Filter(Input& input, Output& output) = 0;
  // True when nothing is held back.
  [[nodiscard]] virtual bool IsFlushed() const { return true; }
  // Writes out what is held back, as much as fits.
  virtual void Flush(Output& output) { static_cast<void>(output); }
};
