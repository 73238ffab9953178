// The document object: it holds no data and answers the five settings
// commands, each opening the settings sheet at its own page.
#pragma once
#include <windows.h>

#include "common/ui_port.h"

class CArchivonDoc {
public:
    explicit CArchivonDoc(UiPort& ui) : ui_(ui) {}
    // The page a settings command opens at; -1 for any other command.
    static int SettingsPageOf(UINT command);
    // Opens the sheet over `owner` for a settings command; false (and
    // nothing shown) for any other command.
    bool OnCommand(UINT command, HWND owner);

private:
    UiPort& ui_;
};
