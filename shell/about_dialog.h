#pragma once
#include "shell/window.h"

class CAboutDialog : public Dialog {
public:
    CAboutDialog();

protected:
    bool OnInitDialog() override;
};
