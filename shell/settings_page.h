// What the pages of the settings sheet share: boxes owned by the sheet, and
// control notifications that count only when the user caused them, not when
// a page fills its own controls.
#pragma once
#include <string>

#include "common/ui_port.h"
#include "common/window.h"

class SettingsPage : public PropertyPage {
public:
    SettingsPage(int templateId, UiPort& ui) : PropertyPage(templateId), ui_(ui) {}

protected:
    // A message box over the sheet with the caption "Archivon".
    int Tell(const std::string& text, UINT type = MB_OK) const;
    // Puts the focus on a control, selecting an edit's text.
    void FocusItem(int id) const;
    // The integer in an edit; one that is not an integer from low to high is
    // refused with its message and keeps the focus.
    bool TakeInteger(int id, int low, int high, int& value) const;
    // A control's notification caused by the user.
    virtual void OnControl(int /*id*/, UINT /*code*/) {}
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;

    // While set, the page is filling its controls.
    struct Filling {
        explicit Filling(SettingsPage& page) : page_(page) { page_.filling_ = true; }
        ~Filling() { page_.filling_ = false; }
        SettingsPage& page_;
    };

    UiPort& ui_;

private:
    bool filling_ = false;
};
