#include "ui/DialogLayouts.h"

#include "ui/ActionDetailsDialog.h"
#include "ui/ActionRequestDialog.h"
#include "ui/ConfirmationDialog.h"
#include "ui/HiddenWindow.h"
#include "ui/MessageDialog.h"
#include "ui/QuietModeNotice.h"

const std::vector<DialogLayout>& DialogLayouts() {
  static const std::vector<DialogLayout> layouts = {
      ActionRequestDialog::Layout(), ConfirmationDialog::Layout(), ActionDetailsDialog::Layout(),
      MessageDialog::Layout(),       QuietModeNotice::Layout(),    HiddenWindow::Layout(),
  };
  return layouts;
}
