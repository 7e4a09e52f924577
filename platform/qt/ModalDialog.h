// Runs a dialog modally. Tests install a hook that answers the dialog instead of a user, so a
// command that runs a dialog is driven without an event loop waiting for input.
#pragma once

#include <functional>

#include "platform/PlatformApi.h"

class QDialog;

// The dialog's result: QDialog::Accepted or QDialog::Rejected (or what done() was given).
PLATFORM_API int RunModalDialog(QDialog& dialog);

// The hook gets the prepared dialog and returns its result; empty runs dialogs for real.
PLATFORM_API void SetModalDialogHook(std::function<int(QDialog&)> fnHook);
