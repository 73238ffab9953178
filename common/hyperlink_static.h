// A static text control of a dialog turned into a clickable web link: blue,
// the highlight colour under the pointer, a hand cursor, a tool tip with
// the address, and a click opens it through OpenUrl.
#pragma once
#include <windows.h>

#include <string>

#include "common/window.h"

class CHyperlinkStatic : public Window {
public:
    CHyperlinkStatic();
    ~CHyperlinkStatic() override;

    // Takes over the dialog's static control `id`; false when there is none.
    bool SubclassDlgItem(HWND dialog, int id);
    bool Attach(HWND control);

    void SetUrl(const std::string& url);
    void SetUnderline(bool underline);

    const std::string& url() const { return url_; }
    bool hovering() const { return hovering_; }
    bool underline() const { return underline_; }
    HCURSOR cursor() const { return cursor_; }
    HWND tooltip() const { return tooltip_; }
    COLORREF linkColour() const { return linkColour_; }
    COLORREF hoverColour() const { return hoverColour_; }
    COLORREF TextColour() const { return hovering_ ? hoverColour_ : linkColour_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDestroyed() override { Release(); }

private:
    void BuildFont();
    void Paint();
    void OnMouseMove(LPARAM lp);
    // Lets go of what the link made (tool tip, font, capture).
    void Release();

    std::string url_;
    COLORREF linkColour_;
    COLORREF hoverColour_;
    bool hovering_ = false;
    bool underline_ = true;
    HFONT font_ = nullptr;
    HCURSOR cursor_ = nullptr;
    HWND tooltip_ = nullptr;
};
