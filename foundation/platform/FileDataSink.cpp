#include "foundation/platform/FileDataSink.h"

void FileDataSink::StartData(std::uint64_t /*position*/) { writer_.Reset(path_, start_); }

void FileDataSink::Receive(const char* begin, const char* end) { writer_.Write(begin, end); }

void FileDataSink::EndData() { path_.Sync(); }
