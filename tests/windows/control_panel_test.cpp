// The Gleanix control panel, opened through CtrlPanel and driven in place.
#include "helper/gleanix_resource.h"
#include "tests/support/gleanix_client.h"
#include "tests/support/modal_script.h"

namespace {
const char kTitle[] = "Gleanix ver 1.1.0";
const char kFileLabel[] = "Select a file to save the picked text";
const char kFolderLabel[] = "Select a folder for files to save picked text  ";

void Click(HWND dlg, int id) { SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
bool Checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
bool Enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }
bool ReadOnlyPath(HWND dlg) { return (GetWindowLongA(GetDlgItem(dlg, IDC_PATH), GWL_STYLE) & ES_READONLY) != 0; }

// Opens the panel of `g` and runs the stages on it.
std::size_t RunPanel(GleanixCopy& g, std::vector<ModalScript::Stage> stages) {
    IDispatch* o = g.Create();
    if (!o) return 0;
    ModalScript script(kTitle, std::move(stages));
    EXPECT_EQ(GleanixCopy::Call(o, L"CtrlPanel", {}), S_OK);
    o->Release();
    return script.stagesRun();
}
}  // namespace

TEST(ControlPanel, OpensOnAFileAndTogglesToAFolder) {
    GleanixCopy g;
    const std::string file = g.dir / "notes.txt";
    const std::string folder = g.dir / "picks";
    g.SetValue("StoreInFile", file.c_str());
    g.SetValue("IsStoreToAvn", "0");
    const std::size_t run = RunPanel(
        g, {[&](ModalScript&, HWND dlg) {
                EXPECT_EQ(DlgText(dlg, IDC_PATH), file);
                EXPECT_TRUE(Checked(dlg, IDC_ONE_FILE));
                EXPECT_FALSE(Checked(dlg, IDC_TO_MAIN));
                EXPECT_EQ(DlgText(dlg, IDC_PATH_LABEL), kFileLabel);
                EXPECT_TRUE(Enabled(dlg, IDC_ONE_FILE) && Enabled(dlg, IDC_BROWSE) && Enabled(dlg, IDC_PATH_LABEL));
                EXPECT_FALSE(ReadOnlyPath(dlg));
                EXPECT_NE(SendDlgItemMessageA(dlg, IDC_BROWSE, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
                Click(dlg, IDC_ONE_FILE);
                EXPECT_EQ(DlgText(dlg, IDC_PATH), "");
                EXPECT_EQ(DlgText(dlg, IDC_PATH_LABEL), kFolderLabel);
                Click(dlg, IDOK);  // refused: no path
            },
            [&](ModalScript&, HWND dlg) {
                SetDlgItemTextA(dlg, IDC_PATH, folder.c_str());
                Click(dlg, IDOK);
            }});
    EXPECT_EQ(run, 2u);
    EXPECT_EQ(g.Value("StoreInFile"), folder + "\\");
    EXPECT_EQ(g.Value("IsStoreToAvn"), "0");
}

TEST(ControlPanel, HandOffSwitchGovernsTheOtherControls) {
    GleanixCopy g;  // no settings file: hand-off on, gleanix.txt beside the library
    const std::size_t run = RunPanel(g, {[&](ModalScript&, HWND dlg) {
                                             EXPECT_EQ(DlgText(dlg, IDC_PATH), g.dir / "gleanix.txt");
                                             EXPECT_TRUE(Checked(dlg, IDC_TO_MAIN));
                                             EXPECT_FALSE(Enabled(dlg, IDC_ONE_FILE));
                                             EXPECT_FALSE(Enabled(dlg, IDC_BROWSE));
                                             EXPECT_FALSE(Enabled(dlg, IDC_PATH_LABEL));
                                             EXPECT_TRUE(ReadOnlyPath(dlg));
                                             Click(dlg, IDC_TO_MAIN);
                                             EXPECT_TRUE(Enabled(dlg, IDC_ONE_FILE));
                                             EXPECT_TRUE(Enabled(dlg, IDC_BROWSE));
                                             EXPECT_FALSE(ReadOnlyPath(dlg));
                                             Click(dlg, IDCANCEL);
                                         }});
    EXPECT_EQ(run, 1u);
    // Cancel writes nothing.
    EXPECT_FALSE(FileExists(g.IniPath()));
}

TEST(ControlPanel, OkWithAFileOrWithHandOffAndNoPath) {
    GleanixCopy g;
    const std::string file = g.dir / "one.txt";
    g.SetValue("IsStoreToAvn", "0");
    RunPanel(g, {[&](ModalScript&, HWND dlg) {
                 SetDlgItemTextA(dlg, IDC_PATH, file.c_str());
                 Click(dlg, IDOK);
             }});
    EXPECT_EQ(g.Value("StoreInFile"), file);
    EXPECT_EQ(g.Value("IsStoreToAvn"), "0");

    // Hand-off on: an empty path is accepted, as is in one-file mode...
    g.SetValue("IsStoreToAvn", "1");
    std::size_t run = RunPanel(g, {[&](ModalScript&, HWND dlg) {
                                   SetDlgItemTextA(dlg, IDC_PATH, "");
                                   Click(dlg, IDOK);
                               }});
    EXPECT_EQ(run, 1u);
    EXPECT_EQ(g.Value("StoreInFile"), "");
    EXPECT_EQ(g.Value("IsStoreToAvn"), "1");

    // ...and as the root folder "\" in folder mode (an empty value reads so).
    run = RunPanel(g, {[&](ModalScript&, HWND dlg) {
                       EXPECT_EQ(DlgText(dlg, IDC_PATH), "\\");
                       EXPECT_FALSE(Checked(dlg, IDC_ONE_FILE));
                       SetDlgItemTextA(dlg, IDC_PATH, "");
                       Click(dlg, IDOK);
                   }});
    EXPECT_EQ(run, 1u);
    EXPECT_EQ(g.Value("StoreInFile"), "\\");
    EXPECT_EQ(g.Value("IsStoreToAvn"), "1");

    // A folder shown with its backslash keeps exactly one.
    const std::string folder = g.dir / "picks\\";
    g.SetValue("StoreInFile", folder.c_str());
    RunPanel(g, {[&](ModalScript&, HWND dlg) { Click(dlg, IDOK); }});
    EXPECT_EQ(g.Value("StoreInFile"), folder);
}
