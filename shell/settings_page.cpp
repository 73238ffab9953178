#include "shell/settings_page.h"

#include "common/integer_field.h"
#include "common/message_box.h"

int SettingsPage::Tell(const std::string& text, UINT type) const {
    // Owned by the sheet, so the sheet waits for the answer.
    return ShowMessageBox(sheet() ? sheet() : hwnd_, text, "Archivon", type);
}

void SettingsPage::FocusItem(int id) const {
    HWND item = Item(id);
    SetFocus(item);
    SendMessageA(item, EM_SETSEL, 0, -1);
}

bool SettingsPage::TakeInteger(int id, int low, int high, int& value) const {
    const fields::IntegerCheck check = fields::ParseInteger(ItemText(id), low, high, value);
    if (check == fields::IntegerCheck::Ok) return true;
    Tell(fields::IntegerRefusal(check, low, high), MB_OK | MB_ICONEXCLAMATION);
    FocusItem(id);
    return false;
}

INT_PTR SettingsPage::DialogProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && lp && !filling_) OnControl(LOWORD(wp), HIWORD(wp));
    return PropertyPage::DialogProc(msg, wp, lp);
}
