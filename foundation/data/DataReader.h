// The pull side of the byte pipeline: a source that a consumer reads from at its own pace, as
// opposed to a DataReceiver, which is pushed into. File contents are read through one.
#pragma once

class DataReader {
 public:
  virtual ~DataReader() = default;
  // True once every byte has been read.
  [[nodiscard]] virtual bool AtEnd() = 0;
  // Reads the next bytes into [begin, end) and returns the end of what was read; returns begin
  // only at the end of the data.
  virtual char* Read(char* begin, char* end) = 0;
};
