#include "common/ui_port.h"

#include "common/message_box.h"

int UiPort::Ask(const std::string& text, UINT type, const std::string& caption) {
    return ShowMessageBox(nullptr, text, caption, type);
}

void UiPort::Beep() { ::Beep(400, 200); }

void UiPort::ShowSystemError(DWORD code) { Ask(SystemErrorText(code), MB_OK | MB_ICONINFORMATION, "Error"); }

bool UiPort::EditJob(JobDialogFields&) { return false; }
