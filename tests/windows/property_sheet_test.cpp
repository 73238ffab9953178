// The property page base: values are checked when a page is left and
// stored by every page that was shown when the sheet ends with OK.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "common/window.h"
#include "res/resource.h"
#include "tests/support/modal_script.h"

namespace {

class TextPage : public PropertyPage {
public:
    explicit TextPage(int templateId) : PropertyPage(templateId) {}
    std::string stored;
    int applies = 0;
    int leaves = 0;

protected:
    bool OnKillActive() override {
        ++leaves;
        return ItemText(IDC_PAGE_EDIT) != "bad";
    }
    bool OnApply() override {
        ++applies;
        if (ItemText(IDC_PAGE_EDIT) == "refuse") return false;
        stored = ItemText(IDC_PAGE_EDIT);
        return true;
    }
};

const char kCaption[] = "Sheet Under Test";

HWND Page(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet); }
void Type(HWND sheet, const char* text) { SetDlgItemTextA(Page(sheet), IDC_PAGE_EDIT, text); }

}  // namespace

TEST(PropertyPages, ARefusingPageKeepsTheSheetOpenAndOnlyShownPagesApply) {
    TextPage first(IDD_MESSAGES_PAGE), second(IDD_DESCRIPTIONS_PAGE), never(IDD_MESSAGES_PAGE);
    PropertySheetDialog sheet(kCaption);
    sheet.AddPage(first);
    sheet.AddPage(second);
    sheet.AddPage(never);
    ModalScript script(kCaption, {[](ModalScript&, HWND s) {
                                      Type(s, "refuse");
                                      PropSheet_PressButton(s, PSBTN_OK);
                                  },
                                  [&](ModalScript&, HWND s) {
                                      EXPECT_EQ(second.applies, 1) << "the refusal kept the sheet open";
                                      EXPECT_EQ(first.applies, 0) << "not shown yet";
                                      Type(s, "bad");
                                      PropSheet_SetCurSel(s, nullptr, 0);
                                  },
                                  [&](ModalScript&, HWND s) {
                                      EXPECT_EQ(Page(s), second.hwnd()) << "a bad value keeps its page";
                                      Type(s, "two");
                                      PropSheet_SetCurSel(s, nullptr, 0);
                                  },
                                  [&](ModalScript&, HWND s) {
                                      EXPECT_EQ(Page(s), first.hwnd());
                                      Type(s, "one");
                                      PropSheet_PressButton(s, PSBTN_OK);
                                  }});
    EXPECT_GT(sheet.DoModal(nullptr, 1), 0);
    EXPECT_EQ(script.stagesRun(), 4u);
    EXPECT_EQ(second.stored, "two");
    EXPECT_EQ(first.stored, "one");
    EXPECT_EQ(never.applies, 0) << "a page never shown stores nothing";
    EXPECT_FALSE(first.shown()) << "the pages are gone with the sheet";
}

TEST(PropertyPages, CancelStoresNothing) {
    TextPage page(IDD_MESSAGES_PAGE);
    PropertySheetDialog sheet(kCaption);
    sheet.AddPage(page);
    ModalScript script(kCaption, {[](ModalScript&, HWND s) {
                           Type(s, "typed");
                           PropSheet_PressButton(s, PSBTN_CANCEL);
                       }});
    EXPECT_EQ(sheet.DoModal(nullptr), 0);
    EXPECT_EQ(page.applies, 0);
    EXPECT_TRUE(page.stored.empty());
}
