// The password dialog of the Encrypt/Decrypt command.
#pragma once
#include <windows.h>

#include <string>

namespace vault {

constexpr int kPasswordDialogId = 140;
constexpr int kPasswordEditId = 1005;

// Shows the dialog, its masked field empty and focused. True with the typed
// text (which may be empty) on OK; false on Cancel.
bool AskPasswordDialog(HWND owner, std::string& out);

}  // namespace vault
