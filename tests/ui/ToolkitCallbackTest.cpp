// Google Test first: the X headers define None and Bool, names it uses.
#include <gtest/gtest.h>

#include "ui/ToolkitCallback.h"

#include <stdexcept>

namespace {

struct Recorder {
  int calls = 0;
  XtPointer callData = nullptr;
  XEvent* event = nullptr;

  void Pressed() { ++calls; }
  void Chosen(Widget, XtPointer data) { callData = data; }
  void Mapped(Widget, XEvent* arrived) { event = arrived; }
  void Fails() {
    ++calls;
    throw std::runtime_error("no");
  }
};

TEST(ToolkitCallback, TheObjectComesBackAsClientDataWithTheCallData) {
  Recorder recorder;
  int data = 0;
  XEvent event{};
  MemberCallback<&Recorder::Pressed>(nullptr, &recorder, nullptr);
  MemberCallback<&Recorder::Chosen>(nullptr, &recorder, &data);
  MemberEventHandler<&Recorder::Mapped>(nullptr, &recorder, &event, nullptr);
  EXPECT_EQ(recorder.calls, 1);
  EXPECT_EQ(recorder.callData, &data);
  EXPECT_EQ(recorder.event, &event);
}

TEST(ToolkitCallback, AnExceptionStopsAtTheCallback) {
  Recorder recorder;
  EXPECT_NO_THROW(MemberCallback<&Recorder::Fails>(nullptr, &recorder, nullptr));
  EXPECT_EQ(recorder.calls, 1);
  EXPECT_NO_THROW(Guarded([] { throw 7; }));
}

}  // namespace
