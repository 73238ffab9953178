#include "shell/system_tray.h"

#include <cstring>

#include "common/resources.h"

CSystemTray::~CSystemTray() { Remove(); }

bool CSystemTray::Create(HWND parent, UINT callbackMessage, const std::string& tip, HICON icon, UINT id) {
    RegisterWindowClass("ArchivonTrayNotify", 0, nullptr);
    if (!hwnd_ && !Window::Create("ArchivonTrayNotify", "", WS_POPUP, 0, 0, 0, 10, 10, nullptr, nullptr)) return false;
    // Explorer announces a new task bar (after it restarted) with this
    // message; the icon is added again then.
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    menuId_ = id;
    data_ = {};
    data_.cbSize = sizeof data_;
    data_.hWnd = parent ? parent : hwnd_;
    data_.uID = id;
    data_.hIcon = icon;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    // The tip is cut to the 63 characters every shell shows.
    std::strncpy(data_.szTip, tip.c_str(), 63);
    data_.szTip[63] = '\0';
    enabled_ = Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
    return enabled_;
}

void CSystemTray::Remove() {
    if (enabled_) Shell_NotifyIconA(NIM_DELETE, &data_);
    enabled_ = false;
    Destroy();
}

bool CSystemTray::SetMenuDefaultItem(UINT item, bool byPosition) {
    if (defaultItem_ == item && defaultByPosition_ == byPosition) return true;
    HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(menuId_));
    if (!menu) return false;
    HMENU sub = GetSubMenu(menu, 0);
    const bool ok = sub && ::SetMenuDefaultItem(sub, item, byPosition ? TRUE : FALSE);
    DestroyMenu(menu);
    if (!ok) return false;
    defaultItem_ = item;
    defaultByPosition_ = byPosition;
    return true;
}

LRESULT CSystemTray::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (enabled_ && msg == data_.uCallbackMessage) {
        OnTrayNotification(wp, lp);
        return 0;
    }
    if (taskbarCreated_ && msg == taskbarCreated_ && enabled_) {
        Shell_NotifyIconA(NIM_ADD, &data_);
        return 0;
    }
    return Default(msg, wp, lp);
}

void CSystemTray::OnTrayNotification(WPARAM id, LPARAM mouseMessage) {
    if (id != menuId_) return;
    if (LOWORD(mouseMessage) == WM_RBUTTONUP)
        ShowMenu();
    else if (LOWORD(mouseMessage) == WM_LBUTTONDBLCLK)
        RunDefaultItem();
}

void CSystemTray::ShowMenu() {
    HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(menuId_));
    if (!menu) return;
    HMENU sub = GetSubMenu(menu, 0);
    if (sub) {
        ::SetMenuDefaultItem(sub, defaultItem_, defaultByPosition_ ? TRUE : FALSE);
        POINT at;
        GetCursorPos(&at);
        HWND owner = main_ ? main_ : hwnd_;
        // The menu's owner must be in front, or the menu does not close
        // when the user clicks elsewhere; the empty message after it lets
        // it close properly.
        SetForegroundWindow(owner);
        TrackPopupMenu(sub, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
        PostMessageA(owner, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}

void CSystemTray::RunDefaultItem() {
    HWND owner = main_ ? main_ : hwnd_;
    SetForegroundWindow(owner);
    UINT command = defaultItem_;
    if (defaultByPosition_) {
        HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(menuId_));
        if (!menu) return;
        HMENU sub = GetSubMenu(menu, 0);
        command = sub ? GetMenuItemID(sub, static_cast<int>(defaultItem_)) : static_cast<UINT>(-1);
        DestroyMenu(menu);
    }
    if (command == static_cast<UINT>(-1) || command == 0) return;
    SendMessageA(owner, WM_COMMAND, command, 0);
}
