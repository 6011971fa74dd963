#include "core/ClientLink.h"

#include "foundation/platform/Thread.h"

#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

// Raised inside the reader on end of file, a failed read or an oversized length.
struct UnixPipeReadMessageError {};
// Raised inside the writer on a failed or short write.
struct UnixPipeWriteMessageError {};

// Reads exactly count bytes; short reads are repeated, end of file or an error ends the message.
void ReadExactly(int fd, char* target, std::size_t count) {
  while (count > 0) {
    const ssize_t got = ::read(fd, target, count);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) throw UnixPipeReadMessageError{};
    target += got;
    count -= static_cast<std::size_t>(got);
  }
}

}  // namespace

ClientLink::ClientLink(MessageQueue& incoming, MessageQueue& outgoing) noexcept
    : incoming_(incoming), outgoing_(outgoing) {}

ClientLink::~ClientLink() {
  if (writeFd_ != 0) ::close(writeFd_);
  if (readFd_ != 0) ::close(readFd_);
}

std::uint32_t ClientLink::AddRef() noexcept {
  PlainLock::Guard guard(refLock_);
  return ++refCount_;
}

std::uint32_t ClientLink::Release() noexcept {
  PlainLock::Guard guard(refLock_);
  if (refCount_ > 0) --refCount_;
  return refCount_;
}

bool ClientLink::IsClosed() noexcept {
  PlainLock::Guard guard(closeLock_);
  return closed_;
}

void ClientLink::Close() noexcept {
  {
    PlainLock::Guard guard(closeLock_);
    if (closed_) return;
    if (writeFd_ != 0 && !writing_) {
      ::close(writeFd_);
      writeFd_ = 0;
    }
    if (writerThread_ != nullptr) {
      ReleaseHandle(writerThread_);
      writerThread_ = nullptr;
    }
    if (readerThread_ != nullptr) {
      ReleaseHandle(readerThread_);
      readerThread_ = nullptr;
    }
    closed_ = true;
  }
  // After the lock is let go, so that no code holds two locks at once. The caller holds a
  // reference, so the event outlives the writer's wake-up. An event whose lock fails cannot wake
  // the writer; ending the process then is better than a link that never lets go.
  closing_.Set();
  // The main thread ends the program when it sees the link closed: it looks at once.
  incoming_.RaiseWorkSignal();
}

bool ClientLink::Start(int readFd, int writeFd) {
  {
    PlainLock::Guard guard(closeLock_);
    readFd_ = readFd;
    writeFd_ = writeFd;
  }
  if (!StartWorker(readerThread_, &ReaderEntry)) return false;
  return StartWorker(writerThread_, &WriterEntry);
}

bool ClientLink::StartWorker(UnixPlatform::Thread*& handle, void (*entry)(void*)) {
  AddRef();
  bool started = false;
  {
    // Held across the start: the new thread could otherwise close the link and give up its own
    // record while the start is still filling that record in.
    PlainLock::Guard guard(closeLock_);
    UnixPlatform::Thread* thread = CreateThread(entry, this);
    if (thread != nullptr) {
      handle = thread;
      started = ::Start(thread);
      if (!started) {
        handle = nullptr;
        DeleteThread(thread);
      } else if (closed_) {
        // Closed before this thread got going (the reader may meet end of file before the
        // writer starts): Close has given up the handles already, and a handle kept now would
        // never be let go, its finished thread polling for it.
        ReleaseHandle(thread);
        handle = nullptr;
      }
    }
  }
  if (!started && Release() == 0) delete this;
  return started;
}

void ClientLink::ReaderEntry(void* argument) {
  auto* link = static_cast<ClientLink*>(argument);
  try {
    link->ReaderLoop();
  } catch (...) {
    // Whatever escapes the loop only ends this thread; Close has made the link's state final.
  }
  if (link->Release() == 0) delete link;
}

void ClientLink::WriterEntry(void* argument) {
  auto* link = static_cast<ClientLink*>(argument);
  try {
    link->WriterLoop();
  } catch (...) {
  }
  if (link->Release() == 0) delete link;
}

void ClientLink::ReaderLoop() {
  for (;;) {
    {
      PlainLock::Guard guard(closeLock_);
      if (closed_ || readerThread_ == nullptr) break;
    }
    try {
      // Read into the text's own storage and handed over as it is: a 2 MiB frame is never copied.
      incoming_.Push(ReadMessage());
    } catch (...) {
      break;
    }
  }
  Close();
}

UString8 ClientLink::ReadMessage() {
  int fd;
  {
    PlainLock::Guard guard(closeLock_);
    fd = readFd_;
  }
  unsigned char prefix[4];
  ReadExactly(fd, reinterpret_cast<char*>(prefix), sizeof prefix);
  std::uint32_t length;
  std::memcpy(&length, prefix, sizeof length);
  if (length > kMaximumMessageLength) throw UnixPipeReadMessageError{};
  UString8 text;
  if (length > 0) {
    text.Resize(length);
    ReadExactly(fd, text.MutableBegin(), length);
  }
  return text;
}

void ClientLink::WriterLoop() {
  for (;;) {
    {
      PlainLock::Guard guard(closeLock_);
      if (closed_ || writerThread_ == nullptr) break;
    }
    MessageList batch;
    try {
      // Sleeps until something is queued or the link closes; nothing else wakes it.
      outgoing_.WaitAndTakeAll(batch, closing_);
    } catch (...) {
      break;
    }
    WriteBatch(batch);
  }
  Close();
}

void ClientLink::WriteBatch(const MessageList& batch) {
  for (const UString8& text : batch) {
    // An empty text asks for the link to close; what follows it in the batch is dropped.
    if (text.empty()) {
      Close();
      return;
    }
    try {
      WriteMessage(text);
    } catch (...) {
      Close();
      return;
    }
  }
}

void ClientLink::WriteMessage(const UString8& text) {
  if (text.empty()) return;
  if (text.size() > UINT32_MAX) throw UnixPipeWriteMessageError{};
  int fd;
  {
    PlainLock::Guard guard(closeLock_);
    if (closed_ || writeFd_ == 0) throw UnixPipeWriteMessageError{};
    fd = writeFd_;
    writing_ = true;
  }
  struct WriteInFlight {
    ClientLink& link;
    ~WriteInFlight() { link.FinishWrite(); }
  } inFlight{*this};

  const auto length = static_cast<std::uint32_t>(text.size());
  unsigned char prefix[4];
  std::memcpy(prefix, &length, sizeof prefix);
  // One write for the length and one for the bytes; a pipe write is not resumed when short.
  if (::write(fd, prefix, sizeof prefix) != static_cast<ssize_t>(sizeof prefix)) {
    throw UnixPipeWriteMessageError{};
  }
  if (::write(fd, text.data(), length) != static_cast<ssize_t>(length)) {
    throw UnixPipeWriteMessageError{};
  }
}

void ClientLink::FinishWrite() noexcept {
  PlainLock::Guard guard(closeLock_);
  writing_ = false;
  // A Close that came in during the write left the descriptor for us to close.
  if (closed_ && writeFd_ != 0) {
    ::close(writeFd_);
    writeFd_ = 0;
  }
}
