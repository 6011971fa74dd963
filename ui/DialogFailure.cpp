#include "ui/DialogFailure.h"

#include "core/ExitApplication.h"
#include "core/OutgoingMessages.h"
#include "core/OutgoingQueue.h"
#include "foundation/platform/Thread.h"

namespace {

constexpr std::uint32_t kDialogErrorCode = 2;
constexpr std::uint32_t kTextErrorCode = 1;
constexpr int kDrainChecks = 300;
constexpr std::uint32_t kDrainCheckMilliseconds = 1000;

[[noreturn]] void ReportTwiceAndExit(std::uint32_t code, const UString8& text) {
  // Twice, so that a client reading the first one while the program dies still gets a whole one.
  // A report that cannot even be built must not keep the program from ending.
  for (int copy = 0; copy < 2; ++copy) {
    try {
      SendClientUIErrorMessage(code, text);
    } catch (...) {
    }
  }
  for (int check = 0; check < kDrainChecks && !outgoingQueue.IsEmpty(); ++check) {
    SleepMilliseconds(kDrainCheckMilliseconds);
  }
  ExitApplication(0, "TranscodeError");
}

}  // namespace

void ReportDialogFailure(const char* dialogName) {
  ReportTwiceAndExit(kDialogErrorCode, UString8(dialogName));
}

void ReportInterfaceFailure(const UString8& text) { ReportTwiceAndExit(kTextErrorCode, text); }
