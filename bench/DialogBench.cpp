// The action request dialog with 1000 pending requests: one refresh of the open dialog (list
// refill, store merge, summary) against one XawListChange of the same 1000 lines in a bare list,
// both synced with the server. Needs a display (DISPLAY); skipped without one.
#include <benchmark/benchmark.h>

#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/List.h>
#include <X11/Xaw/Viewport.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/SessionState.h"
#include "core/UICommand.h"
#include "text/time/Clock.h"
#include "ui/ActionDetailsDialog.h"
#include "ui/ActionRequestDialog.h"
#include "ui/ConfirmationDialog.h"
#include "ui/ToolkitContext.h"
#include "ui/UserInterface.h"

namespace {

constexpr int kRequests = 1000;

SessionState session;
UICommandQueue commands;

bool ToolkitReady() {
  static const bool ready = [] {
    if (std::getenv("DISPLAY") == nullptr) return false;
    static char name[] = "bench_qvx";
    static char* argumentVector[] = {name, nullptr};
    StartToolkit(session, 1, argumentVector);
    return ToolkitDisplay() != nullptr;
  }();
  return ready;
}

void FillPendingRequests() {
  session.pendingRequests.clear();
  const DateTime now = Now();
  for (int index = 0; index < kRequests; ++index) {
    ActionRequest request;
    request.id = static_cast<std::uint64_t>(index + 1);
    request.title = UString8(("Security update " + std::to_string(index + 1)).c_str());
    request.shortDescription = UString8("Installs the monthly fixes");
    request.deadline = now + TimeInterval::Hours(index + 10);
    request.cancellable = index % 2 == 0;
    request.restart = index % 7 == 0;
    session.AppendPendingRequest(request);
  }
}

void Ours(benchmark::State& state) {
  if (!ToolkitReady()) return state.SkipWithError("no display");
  FillPendingRequests();
  ConfirmationDialog confirmation(commands);
  ActionDetailsDialog details(commands);
  ActionRequestDialog dialog(session, commands, confirmation, details);
  dialog.Open();
  for (auto _ : state) {
    dialog.Refresh();
    XSync(ToolkitDisplay(), False);
  }
  dialog.Close();
  session.pendingRequests.clear();
}

void ListChange(benchmark::State& state) {
  if (!ToolkitReady()) return state.SkipWithError("no display");
  std::vector<std::string> lines;
  for (int index = 0; index < kRequests; ++index) {
    lines.push_back("Security update " + std::to_string(index + 1) + "  --  12/08/2026 14:00");
  }
  std::vector<const char*> items;
  for (std::string& line : lines) items.push_back(line.data());
  Widget shell = XtAppCreateShell("anchor", kApplicationClass, applicationShellWidgetClass,
                                  ToolkitDisplay(), nullptr, 0);
  Arg args[3];
  XtSetArg(args[0], const_cast<char*>(XtNheight), 100);
  XtSetArg(args[1], const_cast<char*>(XtNwidth), 485);
  XtSetArg(args[2], const_cast<char*>(XtNallowVert), True);
  Widget viewport = XtCreateManagedWidget("viewport", viewportWidgetClass, shell, args, 3);
  Widget list = XtCreateManagedWidget("", listWidgetClass, viewport, nullptr, 0);
  XtRealizeWidget(shell);
  for (auto _ : state) {
    XawListChange(list, items.data(), kRequests, 0, True);
    XSync(ToolkitDisplay(), False);
  }
  XtDestroyWidget(shell);
}

}  // namespace

BENCHMARK(Ours)->Name("Refresh, 1000 requests/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(ListChange)->Name("Refresh, 1000 requests/XawListChange")->Unit(benchmark::kMillisecond);
