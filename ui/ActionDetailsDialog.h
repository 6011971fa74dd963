// The read-only preview of a request's action script. At most one exists; the action request
// dialog stays disabled until the user closes it with "OK".
#pragma once

#include "ui/ClickGuard.h"
#include "ui/DialogWindow.h"

struct ActionRequest;
struct DialogLayout;

class ActionDetailsDialog final : public DialogWindow {
 public:
  // Its closing is posted to commands.
  explicit ActionDetailsDialog(UICommandQueue& commands) noexcept : DialogWindow(commands) {}

  // Does nothing while the preview is open; otherwise shows the record's Preview (empty when the
  // record is null, no longer pending, or has none).
  void Open(const ActionRequest* request);

  // The window's widgets for the generated documentation.
  [[nodiscard]] static DialogLayout Layout();

 private:
  void Build(const ActionRequest* request);
  void OkPressed();

  // The click on "Action Details" that opened the preview must not also close it.
  ClickGuard guard_;
};
