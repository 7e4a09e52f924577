#include "platform/qt/ModalDialog.h"

#include <QDialog>

namespace {
std::function<int(QDialog&)> g_fnModalHook;
}  // namespace

int RunModalDialog(QDialog& dialog) { return g_fnModalHook ? g_fnModalHook(dialog) : dialog.exec(); }

void SetModalDialogHook(std::function<int(QDialog&)> fnHook) { g_fnModalHook = std::move(fnHook); }
