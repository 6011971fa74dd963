// The link to the client over two inherited pipe descriptors: a reader thread turns framed
// messages (4-byte host-order length, then the bytes) into texts on the incoming queue, and a
// writer thread sleeps on the outgoing queue and frames each text onto the other descriptor as
// soon as it is queued. Reference counted: main and each worker thread hold one reference; the
// last Release destroys the link.
#pragma once

#include "core/MessageQueue.h"
#include "foundation/platform/Event.h"
#include "foundation/platform/PlainLock.h"

#include <cstdint>

namespace UnixPlatform {
struct Thread;
}  // namespace UnixPlatform

class ClientLink {
 public:
  // The largest incoming message; a longer announced length closes the link.
  static constexpr std::uint32_t kMaximumMessageLength = 2097152;

  ClientLink(MessageQueue& incoming, MessageQueue& outgoing) noexcept;
  ~ClientLink();
  ClientLink(const ClientLink&) = delete;
  ClientLink& operator=(const ClientLink&) = delete;

  // Both return the new count. The caller of Release deletes the link when it returns 0.
  std::uint32_t AddRef() noexcept;
  std::uint32_t Release() noexcept;

  [[nodiscard]] bool IsClosed() noexcept;
  // Closes the write side once and gives up both thread handles; later calls do nothing. The
  // read side stays open: the reader keeps blocking until the client closes its writing end.
  void Close() noexcept;
  // Starts the reader on readFd and the writer on writeFd. False when a thread could not be
  // started; a reader that did start keeps running. May destroy the link when the caller holds
  // no reference of its own.
  [[nodiscard]] bool Start(int readFd, int writeFd);

 private:
  static void ReaderEntry(void* argument);
  static void WriterEntry(void* argument);
  // Starts one worker holding a reference of its own; false (reference dropped) on failure.
  bool StartWorker(UnixPlatform::Thread*& handle, void (*entry)(void*));
  void ReaderLoop();
  void WriterLoop();
  [[nodiscard]] UString8 ReadMessage();
  // Writes the batch in order until an empty text (a request to close) or a failed write.
  void WriteBatch(const MessageList& batch);
  void WriteMessage(const UString8& text);
  void FinishWrite() noexcept;

  bool closed_ = false;
  UnixPlatform::Thread* readerThread_ = nullptr;
  UnixPlatform::Thread* writerThread_ = nullptr;
  std::int32_t readFd_ = 0;   // 0 means no descriptor held: standard input is never closed here
  std::int32_t writeFd_ = 0;  // 0 once closed
  MessageQueue& incoming_;
  MessageQueue& outgoing_;
  PlainLock closeLock_;  // closed_, the descriptors, the handles, writing_
  std::uint32_t refCount_ = 0;
  PlainLock refLock_;
  // The writer is inside write(2) on writeFd_; a Close meanwhile leaves the descriptor to the
  // writer so its number cannot be reused under a write in flight.
  bool writing_ = false;
  // Set once by the first Close: wakes the writer from its sleep on the outgoing queue.
  UnixPlatform::Event closing_;
};
