// Placeholder until the message windows land.
#include "ui/MessageDialog.h"

void ShowMessageDialog(const MessageRequest&, bool, bool) {}
void RemoveMessageDialog(std::uint64_t) {}
void ExpireMessageDialogs() {}
