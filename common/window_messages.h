// The private window messages of Archivon, in one place so that no two
// mean the same number. Worker notifications go to the main frame, a
// top-level window: in a dialog WM_USER+1 would be read as DM_SETDEFID.
#pragma once
#include <windows.h>

// Numbers fixed by what the program exchanges with its workers and helpers.
// A download worker's last message; lParam is the job.
constexpr UINT jobEnded = WM_USER + 1;
// A job's status or progress changed; lParam is the job.
constexpr UINT jobProgress = WM_USER + 2;
// A handed-over page is in its temporary file; wParam 200, lParam its links.
constexpr UINT WM_PAGE_STORED = WM_USER + 101;
// Requests the copy-data handler queues for the window thread; lParam is
// the copied request.
constexpr UINT WM_ADD_DOWNLOAD_REQUEST = WM_USER + 102;
constexpr UINT WM_ADD_FILES_REQUEST = WM_USER + 105;
// The tray icon's callback.
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 103;

// The program's own, between its windows.
// Has the document list reload its catalog.
constexpr UINT WM_REFRESH_DOCUMENTS = WM_USER + 300;
// Opens a list label's editor again after a refused name.
constexpr UINT WM_REEDIT_DOCUMENT_NAME = WM_USER + 301;
// Opens a tree label's editor again after a refused name.
constexpr UINT WM_REEDIT_CATALOG_NAME = WM_APP + 0x101;
// Runs the test hook inside a modal dialog once it is shown.
constexpr UINT WM_RUN_DIALOG_HOOK = WM_APP + 0x3F0;
