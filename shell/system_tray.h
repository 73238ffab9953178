// The program's icon in the notification area. A hidden window of its own
// receives the icon's mouse messages: a right click opens the tray menu,
// whose commands go to the main window like menu commands; a double click
// runs the menu's default item.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "common/window.h"

class CSystemTray : public Window {
public:
    CSystemTray() = default;
    ~CSystemTray() override;

    // Adds the icon; `parent` receives its notifications when given,
    // otherwise the tray's own hidden window. False when it cannot be added.
    bool Create(HWND parent, UINT callbackMessage, const std::string& tip, HICON icon, UINT id);
    // The window that receives the menu's commands and is brought forward.
    void SetMainWindow(HWND main) { main_ = main; }
    // The bold default item of the tray menu (its first sub-menu), by
    // position or command id; false when the menu cannot be loaded.
    bool SetMenuDefaultItem(UINT item, bool byPosition);
    // Takes the icon away (also done when the object goes).
    void Remove();
    // A notification of the icon: id and mouse message (a parent that
    // receives them hands them on here).
    void OnTrayNotification(WPARAM id, LPARAM mouseMessage);

    bool enabled() const { return enabled_; }
    UINT menuId() const { return menuId_; }
    const NOTIFYICONDATAA& iconData() const { return data_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ShowMenu();
    void RunDefaultItem();

    NOTIFYICONDATAA data_{};
    bool enabled_ = false;
    UINT menuId_ = 0;
    UINT defaultItem_ = 0;
    bool defaultByPosition_ = true;
    HWND main_ = nullptr;
    UINT taskbarCreated_ = 0;
};
