#pragma once
#include "common/hyperlink_static.h"
#include "shell/window.h"

class CAboutDialog : public Dialog {
public:
    CAboutDialog();
    CHyperlinkStatic& makerLink() { return makerLink_; }

protected:
    bool OnInitDialog() override;

private:
    CHyperlinkStatic makerLink_;
};
