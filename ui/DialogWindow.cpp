#include "ui/DialogWindow.h"

#include "ui/ShellRetirement.h"
#include "ui/WidgetOperations.h"
#include "ui/WidgetTable.h"

void DialogWindow::ShowWindow(Widget text) {
  XtRealizeWidget(shell_);
  IgnoreWindowManagerClose(shell_);
  if (text != nullptr) ApplyScrollbarTranslations(TextScrollbar(text));
  CenterShell(shell_);
}

void DialogWindow::DestroyWindow() {
  if (shell_ == nullptr) return;
  keys_.Detach();
  ShellRetirement::Retire(shell_);
  shell_ = nullptr;
}
