// The control panel: where picked text goes (the main program, one text
// file, or one file per title in a folder).
#pragma once
#include <windows.h>

#include <string>

namespace gleanix {

class ControlPanelDialog {
public:
    std::string path;
    bool oneFile = true;
    bool toMainProgram = true;

    // Modal; IDOK or IDCANCEL.
    INT_PTR DoModal(HWND owner);

private:
    static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
    void OnInit();
    void OnCommand(int id);
    void ShowValues();
    void ReadValues();
    void SetModeLabel();
    void ApplyEnableRules();
    void Browse();

    HWND dlg_ = nullptr;
    HBITMAP browseBitmap_ = nullptr;
};

// Reads the settings, shows the dialog and writes them back on OK.
void RunControlPanel(HWND owner);

}  // namespace gleanix
