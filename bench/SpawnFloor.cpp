// The floor under the program's start, for bench/spawn_bench.py: a program linked against the
// libraries qvxclientui links, in the same way, that writes one frame as soon as main runs. What
// it takes over /bin/true is the dynamic loader's work on those libraries.
#include <X11/Intrinsic.h>
#include <X11/Xaw/List.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

// Referenced so that the linker keeps every library the program needs, as its own calls do.
void* const volatile kLinked[] = {reinterpret_cast<void*>(&XOpenDisplay),
                                  reinterpret_cast<void*>(&XtAppCreateShell),
                                  reinterpret_cast<void*>(&XawListChange)};

}  // namespace

int main() {
  (void)kLinked;
  // A string of the C++ library, so that it is linked as the program links it.
  const std::string payload = "<UIToClient><ReadyForData/></UIToClient>";
  const auto length = static_cast<std::uint32_t>(payload.size());
  char frame[sizeof length + 64];
  std::memcpy(frame, &length, sizeof length);
  std::memcpy(frame + sizeof length, payload.data(), payload.size());
  return write(1, frame, sizeof length + payload.size()) < 0 ? 1 : 0;
}
