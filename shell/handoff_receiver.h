// The main window's side of the hand-off from the browser helper: the
// copy-data message is answered at once and its request carried out
// afterwards, on the store-page thread or through a message the window
// posts to itself.
#pragma once
#include <windows.h>

class CMainFrame;

// WM_COPYDATA: copies the record (the sender's bytes live only during the
// call) and queues it by its code: 100 stores a page, 101 adds a download,
// 200 adds files; any other code, and a record larger than any sender
// builds, is dropped. Always TRUE: the sender learns only that the message
// arrived.
LRESULT ReceiveHandoff(HWND window, const COPYDATASTRUCT* data);

// The queued requests; each owns and frees the copy in lParam.
void OnAddDownloadRequest(CMainFrame& frame, LPARAM copy);
void OnAddFilesRequest(CMainFrame& frame, LPARAM copy);
// WM_PAGE_STORED: a wParam other than 200 is not ours and frees nothing.
void OnPageStored(CMainFrame& frame, WPARAM code, LPARAM page);
