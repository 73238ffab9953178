// The control panel: where picked text goes (the main program, one text
// file, or one file per title in a folder).
#pragma once
#include <windows.h>

#include <string>

#include "common/window.h"

namespace gleanix {

class ControlPanelDialog : public Dialog {
public:
    ControlPanelDialog();
    std::string path;
    bool oneFile = true;
    bool toMainProgram = true;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnCommand(int id);
    void ShowValues();
    void ReadValues();
    void SetModeLabel();
    void ApplyEnableRules();
    void Browse();

    HBITMAP browseBitmap_ = nullptr;
};

// Reads the settings, shows the dialog and writes them back on OK.
void RunControlPanel(HWND owner);

}  // namespace gleanix
