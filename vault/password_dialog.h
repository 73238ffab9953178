// The password dialog of the Encrypt/Decrypt command.
#pragma once
#include <windows.h>

#include <string>

#include "shell/window.h"

namespace vault {

constexpr int kPasswordDialogId = 140;
constexpr int kPasswordEditId = 1005;

class CPasswordDialog : public Dialog {
public:
    CPasswordDialog() : Dialog(kPasswordDialogId) {}
    const std::string& password() const { return password_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    std::string password_;
};

// Shows the dialog, its masked field empty and focused. True with the typed
// text (which may be empty) on OK; false on Cancel.
bool AskPasswordDialog(HWND owner, std::string& out);

}  // namespace vault
