#pragma once
#include "common/hyperlink_static.h"
#include "common/window.h"

class CAboutDialog : public Dialog {
public:
    CAboutDialog();
    CHyperlinkStatic& makerLink() { return makerLink_; }

protected:
    bool OnInitDialog() override;

private:
    CHyperlinkStatic makerLink_;
};
