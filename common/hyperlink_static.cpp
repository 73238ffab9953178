#include "common/hyperlink_static.h"

#include <commctrl.h>
#include <windowsx.h>

#include "common/open_url.h"

namespace {
// The tool's description, with the version 2 size so that it works with
// every common-controls version.
TOOLINFOA ToolFor(HWND control, const std::string& text) {
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = control;
    ti.uId = 1;
    ti.lpszText = const_cast<char*>(text.c_str());
    GetClientRect(control, &ti.rect);
    return ti;
}
}  // namespace

CHyperlinkStatic::CHyperlinkStatic()
    : linkColour_(RGB(0, 0, 255)), hoverColour_(GetSysColor(COLOR_HIGHLIGHT)) {}

CHyperlinkStatic::~CHyperlinkStatic() { Release(); }

bool CHyperlinkStatic::SubclassDlgItem(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && Attach(control);
}

bool CHyperlinkStatic::Attach(HWND control) {
    if (hwnd_ || !control || !Window::Attach(control)) return false;
    // Without SS_NOTIFY a static control is transparent to the mouse.
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
    const std::string text = WindowText(control);
    if (url_.empty()) url_ = text;
    if (text.empty()) SetWindowTextA(control, url_.c_str());
    BuildFont();
    // The system hand; help-viewer cursor files are gone from current systems.
    cursor_ = LoadCursor(nullptr, IDC_HAND);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};  // the tool-tip class
    InitCommonControlsEx(&icc);
    tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr, nullptr, nullptr);
    if (tooltip_) {
        TOOLINFOA ti = ToolFor(control, url_);
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    return true;
}

void CHyperlinkStatic::Release() {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
    if (hwnd_ && hovering_ && GetCapture() == hwnd_) ReleaseCapture();
    if (hwnd_ && IsWindow(hwnd_) && font_) SendMessageA(hwnd_, WM_SETFONT, 0, FALSE);
    if (font_) DeleteObject(font_);
    tooltip_ = nullptr;
    font_ = nullptr;
    hovering_ = false;
}

void CHyperlinkStatic::SetUrl(const std::string& url) {
    url_ = url;
    if (tooltip_) {
        TOOLINFOA ti = ToolFor(hwnd_, url_);
        SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void CHyperlinkStatic::SetUnderline(bool underline) {
    underline_ = underline;
    if (!hwnd_) return;
    BuildFont();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CHyperlinkStatic::BuildFont() {
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf = {};
    GetObjectA(current, sizeof lf, &lf);
    lf.lfUnderline = underline_ ? TRUE : FALSE;
    HFONT font = CreateFontIndirectA(&lf);
    if (!font) return;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (font_) DeleteObject(font_);
    font_ = font;
}

void CHyperlinkStatic::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // The parent's static background shows through, as on a plain label.
    HBRUSH back = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(hwnd_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)));
    FillRect(dc, &rc, back ? back : GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColour());
    HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    UINT format = DT_NOPREFIX;
    switch (style & SS_TYPEMASK) {
        case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
        case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
        case SS_LEFTNOWORDWRAP: format |= DT_LEFT | DT_SINGLELINE; break;
        default: format |= DT_LEFT | DT_WORDBREAK; break;
    }
    const std::string text = WindowText(hwnd_);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
    SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
}

void CHyperlinkStatic::OnMouseMove(LPARAM lp) {
    if (!hovering_) {
        hovering_ = true;
        InvalidateRect(hwnd_, nullptr, FALSE);
        UpdateWindow(hwnd_);
        SetCapture(hwnd_);
        if (cursor_) SetCursor(cursor_);
        return;
    }
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (!PtInRect(&rc, pt)) {
        hovering_ = false;
        ReleaseCapture();
        InvalidateRect(hwnd_, nullptr, FALSE);
        UpdateWindow(hwnd_);
    }
}

LRESULT CHyperlinkStatic::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (tooltip_ && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        MSG m = {hwnd_, msg, wp, lp, 0, {}};
        SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    }
    switch (msg) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(lp);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the pointer is no longer ours.
            if (hovering_ && reinterpret_cast<HWND>(lp) != hwnd_) {
                hovering_ = false;
                InvalidateRect(hwnd_, nullptr, FALSE);
            }
            break;
        case WM_SETCURSOR:
            if (cursor_) {
                SetCursor(cursor_);
                return TRUE;
            }
            break;
        case WM_LBUTTONUP: {
            RECT rc;
            GetClientRect(hwnd_, &rc);
            const POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (PtInRect(&rc, pt)) OpenUrl(url_, SW_SHOWNORMAL);
            break;
        }
        default:
            break;
    }
    return Default(msg, wp, lp);
}
