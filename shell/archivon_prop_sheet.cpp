#include "shell/archivon_prop_sheet.h"

#include <commctrl.h>

CArchivonPropSheet::CArchivonPropSheet(UiPort& ui)
    : PropertySheetDialog(kCaption), general_(ui), system_(ui), download_(ui), picker_(ui), proxy_(ui) {
    AddPage(general_);
    AddPage(system_);
    AddPage(download_);
    AddPage(picker_);
    AddPage(proxy_);
}

INT_PTR CArchivonPropSheet::DoModal(HWND owner, int start) {
    // The Proxy page holds an IP-address control.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&icc);
    return PropertySheetDialog::DoModal(owner, start);
}
