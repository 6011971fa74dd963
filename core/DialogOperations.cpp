#include "core/DialogOperations.h"

namespace {

DialogOperations* current = nullptr;

}  // namespace

void SetDialogOperations(DialogOperations* operations) noexcept { current = operations; }

DialogOperations& Dialogs() noexcept { return *current; }
