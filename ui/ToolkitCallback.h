// The toolkit's C callbacks made from member functions: the object comes back as the
// client_data it was registered with, and whatever the body throws stops there, since nothing
// may be thrown back through the toolkit's C frames. Every dialog registers its callbacks so.
#pragma once

#include <X11/Intrinsic.h>
#include <X11/StringDefs.h>

#include <type_traits>

// Runs body; an exception ends it and goes no further.
template <typename Body>
void Guarded(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

template <typename Method>
struct MethodClass;
template <typename Object, typename... Arguments>
struct MethodClass<void (Object::*)(Arguments...)> {
  using Type = Object;
};

// An XtCallbackProc for `void Object::method()` or `void Object::method(Widget, XtPointer
// callData)`, with the Object as client_data.
template <auto method>
void MemberCallback(Widget widget, XtPointer clientData, XtPointer callData) noexcept {
  using Object = typename MethodClass<decltype(method)>::Type;
  Object& object = *static_cast<Object*>(clientData);
  Guarded([&] {
    if constexpr (std::is_invocable_v<decltype(method), Object&, Widget, XtPointer>) {
      (object.*method)(widget, callData);
    } else {
      (object.*method)();
    }
  });
}

// An XtEventHandler for `void Object::method(Widget, XEvent*)`, with the Object as client_data.
template <auto method>
void MemberEventHandler(Widget widget, XtPointer clientData, XEvent* event, Boolean*) noexcept {
  using Object = typename MethodClass<decltype(method)>::Type;
  Guarded([&] { (static_cast<Object*>(clientData)->*method)(widget, event); });
}

// The widget's "callback" list calls object.method.
template <auto method, typename Object>
void AddMemberCallback(Widget widget, Object& object) {
  XtAddCallback(widget, XtNcallback, MemberCallback<method>, &object);
}
