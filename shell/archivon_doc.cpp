#include "shell/archivon_doc.h"

#include "res/resource.h"
#include "shell/archivon_prop_sheet.h"

int CArchivonDoc::SettingsPageOf(UINT command) {
    switch (command) {
        case ID_SETTINGS_GENERAL: return CArchivonPropSheet::kGeneral;
        case ID_SETTINGS_SYSTEM: return CArchivonPropSheet::kSystem;
        case ID_SETTINGS_DOWNLOAD: return CArchivonPropSheet::kDownload;
        case ID_SETTINGS_PICKER: return CArchivonPropSheet::kPicker;
        case ID_SETTINGS_PROXY: return CArchivonPropSheet::kProxy;
    }
    return -1;
}

bool CArchivonDoc::OnCommand(UINT command, HWND owner) {
    const int page = SettingsPageOf(command);
    if (page < 0) return false;
    CArchivonPropSheet sheet(ui_);
    sheet.DoModal(owner, page);
    return true;
}
