// The "Settings" sheet with its five pages in their fixed order. A sheet is
// built for one opening: every page reads its values anew.
#pragma once
#include "shell/download_property_page.h"
#include "shell/general_prop_page.h"
#include "shell/picker_param_page.h"
#include "shell/proxy_settings.h"
#include "shell/system_prop_page.h"

class CArchivonPropSheet : public PropertySheetDialog {
public:
    enum Page { kGeneral = 0, kSystem, kDownload, kPicker, kProxy };
    static constexpr const char* kCaption = "Settings";

    explicit CArchivonPropSheet(UiPort& ui);
    // Runs the sheet modally over `owner`, showing page `start` first.
    INT_PTR DoModal(HWND owner, int start);

    CGeneralPropPage& general() { return general_; }
    CSystemPropPage& system() { return system_; }
    CDownloadPropertyPage& download() { return download_; }
    CPickerParamPage& picker() { return picker_; }
    CProxySettings& proxy() { return proxy_; }

private:
    CGeneralPropPage general_;
    CSystemPropPage system_;
    CDownloadPropertyPage download_;
    CPickerParamPage picker_;
    CProxySettings proxy_;
};
