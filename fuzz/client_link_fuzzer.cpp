// The client's byte stream through the real link reader on a pipe: the texts that land on the
// incoming queue must be exactly the frames of a plain model of the framing. A frame is a
// 4-byte length in host order and that many bytes; an empty frame is an empty text; a length
// past the maximum, or end of file inside a frame or its length, ends the stream there.
#include "fuzz/FuzzCheck.h"

#include "core/ClientLink.h"
#include "core/MessageQueue.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ModelFrames(const unsigned char* data, std::size_t size) {
  std::vector<std::string> frames;
  std::size_t at = 0;
  while (size - at >= sizeof(std::uint32_t)) {
    std::uint32_t length;
    std::memcpy(&length, data + at, sizeof length);
    at += sizeof length;
    if (length > ClientLink::kMaximumMessageLength || size - at < length) break;
    frames.emplace_back(reinterpret_cast<const char*>(data) + at, length);
    at += length;
  }
  return frames;
}

// Writes what the reader will take; stops early once the link has closed on a bad length.
void Feed(int fd, const unsigned char* data, std::size_t size, ClientLink& link) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written > 0) {
      data += written;
      size -= static_cast<std::size_t>(written);
    } else if (written < 0 && errno == EAGAIN && !link.IsClosed()) {
      ::usleep(100);
    } else {
      return;
    }
  }
}

// Worker threads may still be winding down after a run, so the queues live for the process.
MessageQueue incoming;
MessageQueue outgoing;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::signal(SIGPIPE, SIG_IGN);
  int pipeFds[2];
  QVX_FUZZ_CHECK(::pipe2(pipeFds, O_CLOEXEC) == 0);
  QVX_FUZZ_CHECK(::fcntl(pipeFds[1], F_SETFL, O_NONBLOCK) == 0);
  // The writer thread needs a descriptor of its own; nothing is ever queued for it.
  const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  QVX_FUZZ_CHECK(sink > 0);

  auto* link = new ClientLink(incoming, outgoing);
  link->AddRef();
  QVX_FUZZ_CHECK(link->Start(pipeFds[0], sink));
  Feed(pipeFds[1], data, size, *link);
  ::close(pipeFds[1]);
  while (!link->IsClosed()) ::usleep(50);
  if (link->Release() == 0) delete link;

  MessageList received;
  incoming.TakeAll(received);
  const std::vector<std::string> expected = ModelFrames(data, size);
  QVX_FUZZ_CHECK(received.Size() == expected.size());
  std::size_t index = 0;
  for (const UString8& text : received) {
    QVX_FUZZ_CHECK(std::string(text.begin(), text.end()) == expected[index]);
    ++index;
  }
  return 0;
}
