// A static text control of a dialog turned into a clickable web link: blue,
// the highlight colour under the pointer, a hand cursor, a tool tip with
// the address, and a click opens it through OpenUrl.
#pragma once
#include <windows.h>

#include <string>

class CHyperlinkStatic {
public:
    CHyperlinkStatic();
    ~CHyperlinkStatic();
    CHyperlinkStatic(const CHyperlinkStatic&) = delete;
    CHyperlinkStatic& operator=(const CHyperlinkStatic&) = delete;

    // Takes over the dialog's static control `id`; false when there is none.
    bool SubclassDlgItem(HWND dialog, int id);
    bool Attach(HWND control);

    void SetUrl(const std::string& url);
    void SetUnderline(bool underline);

    HWND hwnd() const { return hwnd_; }
    const std::string& url() const { return url_; }
    bool hovering() const { return hovering_; }
    bool underline() const { return underline_; }
    HCURSOR cursor() const { return cursor_; }
    HWND tooltip() const { return tooltip_; }
    COLORREF linkColour() const { return linkColour_; }
    COLORREF hoverColour() const { return hoverColour_; }
    COLORREF TextColour() const { return hovering_ ? hoverColour_ : linkColour_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
    void BuildFont();
    void Paint();
    void OnMouseMove(LPARAM lp);
    void Detach();

    HWND hwnd_ = nullptr;
    std::string url_;
    COLORREF linkColour_;
    COLORREF hoverColour_;
    bool hovering_ = false;
    bool underline_ = true;
    HFONT font_ = nullptr;
    HCURSOR cursor_ = nullptr;
    HWND tooltip_ = nullptr;
};
