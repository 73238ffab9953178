// The password dialog of the Encrypt/Decrypt command.
#pragma once
#include <windows.h>

#include <string>

#include "common/window.h"

class CPasswordDialog : public Dialog {
public:
    CPasswordDialog();
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
