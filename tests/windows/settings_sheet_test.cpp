// The "Settings" sheet driven as a user would, with the prefix's registry
// read back after every apply. Apply is pressed as a posted command: what
// it did shows in the next stage.
#include <winsock2.h>

#include "tests/windows/frame_fixture.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "common/win/file_system.h"
#include "common/win/reg_key.h"
#include "net/download_settings.h"
#include "net/download_thread.h"
#include "res/resource.h"
#include "shell/archivon_prop_sheet.h"
#include "tests/support/modal_script.h"

namespace {

constexpr int kMissing = -12345;
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kSections[][16] = {"Config", "Download", "Proxy", "Web Picker"};

// One registry key's values, put back as they were when the test ends.
class SavedKey {
public:
    SavedKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
        win::RegKey key;
        if (key.Open(root_, path_, KEY_READ) != ERROR_SUCCESS) return;
        for (DWORD i = 0;; ++i) {
            char name[256];
            BYTE data[4096];
            DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
            if (RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
            values_.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataSize)});
        }
    }
    ~SavedKey() {
        win::RegKey key;
        if (key.Create(root_, path_, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
        Clear(key, {});
        for (const auto& v : values_)
            RegSetValueExA(key.get(), v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                           static_cast<DWORD>(v.data.size()));
    }
    // Removes every value of the key but those named in `keep`.
    static void Clear(win::RegKey& key, const std::vector<std::string>& keep) {
        for (DWORD i = 0;;) {
            char name[256];
            DWORD size = sizeof name;
            if (RegEnumValueA(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (std::find(keep.begin(), keep.end(), name) != keep.end())
                ++i;
            else
                key.DeleteValue(name);
        }
    }

private:
    struct Value {
        std::string name;
        DWORD type;
        std::string data;
    };
    HKEY root_;
    std::string path_;
    std::vector<Value> values_;
};

int StoredInt(const char* section, const char* name) { return ArchivonSettings().GetInt(section, name, kMissing); }
std::string StoredText(const char* section, const char* name) {
    return ArchivonSettings().GetText(section, name, "<missing>");
}
std::string RunValue(HKEY root) {
    win::RegKey key;
    std::string value = "<missing>";
    if (key.Open(root, kRunKey, KEY_QUERY_VALUE) == ERROR_SUCCESS) key.QueryText("Archivon", value);
    return value;
}

HWND Page(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet); }
int PageIndex(HWND sheet) { return PropSheet_HwndToIndex(sheet, Page(sheet)); }
HWND Control(HWND sheet, int id) { return GetDlgItem(Page(sheet), id); }
void Type(HWND sheet, int id, const std::string& text) { SetDlgItemTextA(Page(sheet), id, text.c_str()); }
void Click(HWND sheet, int id) { SendMessageA(Control(sheet, id), BM_CLICK, 0, 0); }
bool Checked(HWND sheet, int id) { return IsDlgButtonChecked(Page(sheet), id) == BST_CHECKED; }
bool ReadOnly(HWND sheet, int id) { return (GetWindowLongA(Control(sheet, id), GWL_STYLE) & ES_READONLY) != 0; }
bool CancelEnabled(HWND sheet) { return IsWindowEnabled(GetDlgItem(sheet, IDCANCEL)) != FALSE; }
DWORD Address(HWND sheet) {
    DWORD value = 0;
    SendMessageA(Control(sheet, IDC_PROXY_ADDRESS), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}
// The address control's four part edits, left to right.
std::vector<HWND> AddressParts(HWND sheet) {
    std::vector<HWND> parts;
    HWND control = Control(sheet, IDC_PROXY_ADDRESS);
    if (!control) return parts;
    for (HWND w = GetWindow(control, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        parts.push_back(w);
    std::sort(parts.begin(), parts.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return parts;
}
std::vector<std::string> Listed(HWND sheet, int id) {
    std::vector<std::string> items;
    HWND combo = Control(sheet, id);
    for (LRESULT i = 0, n = SendMessageA(combo, CB_GETCOUNT, 0, 0); i < n; ++i) {
        char buf[256] = {};
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        items.push_back(buf);
    }
    return items;
}
std::vector<std::string> Texts(const std::vector<MessageBoxRequest>& boxes) {
    std::vector<std::string> texts;
    for (const auto& b : boxes) texts.push_back(b.text);
    return texts;
}

const char kRestart[] = "You should restart Archivon to have the changed settings get activated!";

class SettingsSheetTest : public FrameTest {
protected:
    void Prepare() override {
        // Every test starts from no stored settings but the vault root.
        for (const char* section : kSections) {
            win::RegKey key;
            if (key.Create(HKEY_CURRENT_USER, ArchivonSettings().SectionKey(section), KEY_ALL_ACCESS) == ERROR_SUCCESS)
                SavedKey::Clear(key, {"BaseDir"});
        }
    }
    // Runs the command's sheet through the stages.
    std::size_t Run(UINT command, std::vector<ModalScript::Stage> stages) {
        ModalScript script(CArchivonPropSheet::kCaption, std::move(stages));
        SendMessageA(*frame, WM_COMMAND, command, 0);
        return script.stagesRun();
    }

    SavedKey config_{HKEY_CURRENT_USER, ArchivonSettings().SectionKey("Config")};
    SavedKey download_{HKEY_CURRENT_USER, ArchivonSettings().SectionKey("Download")};
    SavedKey proxy_{HKEY_CURRENT_USER, ArchivonSettings().SectionKey("Proxy")};
    SavedKey picker_{HKEY_CURRENT_USER, ArchivonSettings().SectionKey("Web Picker")};
    SavedKey userRun_{HKEY_CURRENT_USER, kRunKey};
    SavedKey machineRun_{HKEY_LOCAL_MACHINE, kRunKey};
    MessageBoxRecorder boxes{IDYES};
};

}  // namespace

TEST_F(SettingsSheetTest, EachCommandOpensAllFivePagesAtItsOwn) {
    const char* titles[] = {"General", "SYSTEM", "Download", "Web Picker", "Proxy"};
    const UINT commands[] = {ID_SETTINGS_GENERAL, ID_SETTINGS_SYSTEM, ID_SETTINGS_DOWNLOAD, ID_SETTINGS_PICKER,
                             ID_SETTINGS_PROXY};
    for (int page = 0; page < 5; ++page) {
        int shown = -1;
        bool cancellable = false;
        std::vector<std::string> tabs;
        Run(commands[page], {[&](ModalScript&, HWND s) {
                shown = PageIndex(s);
                cancellable = CancelEnabled(s);
                HWND tab = PropSheet_GetTabControl(s);
                for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) tabs.push_back(TabText(tab, i));
                PropSheet_PressButton(s, PSBTN_CANCEL);
            }});
        EXPECT_EQ(shown, page);
        EXPECT_EQ(tabs, std::vector<std::string>(std::begin(titles), std::end(titles)));
        // General and SYSTEM store at once; their sheet can only be closed.
        EXPECT_EQ(cancellable, page >= 2) << titles[page];
    }
    // A sheet opened at Download turns to "Close" when General is shown.
    bool before = false, after = true;
    std::string ok;
    Run(ID_SETTINGS_DOWNLOAD, {[&](ModalScript&, HWND s) {
                                   before = CancelEnabled(s);
                                   PropSheet_SetCurSel(s, nullptr, CArchivonPropSheet::kGeneral);
                               },
                               [&](ModalScript&, HWND s) {
                                   after = CancelEnabled(s);
                                   ok = DlgText(s, IDOK);
                                   PropSheet_PressButton(s, PSBTN_CANCEL);
                               }});
    EXPECT_TRUE(before);
    EXPECT_FALSE(after);
    EXPECT_EQ(ok, "Close");
    EXPECT_EQ(StoredInt("Config", "StartUp"), kMissing) << "cancelled: nothing stored";
}

TEST_F(SettingsSheetTest, CloseWithoutChangesStillStoresTheSystemPage) {
    ArchivonSettings().SetText("Config", "BaseDir", vault + "\\\\");
    ArchivonSettings().SetInt("Config", "IsRemoveSrc", 7);
    std::string shownRoot;
    Run(ID_SETTINGS_SYSTEM, {[&](ModalScript&, HWND s) {
            shownRoot = DlgText(Page(s), IDC_BASE_DIRECTORY);
            EXPECT_TRUE(Checked(s, IDC_REMOVE_SOURCE));
            PropSheet_PressButton(s, PSBTN_OK);
        }});
    EXPECT_EQ(shownRoot, vault + "\\\\");
    EXPECT_EQ(StoredText("Config", "BaseDir"), vault);
    EXPECT_EQ(StoredInt("Config", "IsRemoveSrc"), 1);
    EXPECT_TRUE(boxes.boxes.empty()) << "no restart message without a change";
}

TEST_F(SettingsSheetTest, SystemPageRefusesADriveAndCreatesAMissingRoot) {
    const std::string fresh = dir / "Fresh";
    const std::size_t stages = Run(
        ID_SETTINGS_SYSTEM,
        {[&](ModalScript&, HWND s) {
             Type(s, IDC_BASE_DIRECTORY, "C:\\");
             PropSheet_PressButton(s, PSBTN_OK);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(Texts(boxes.boxes), std::vector<std::string>{"You must set a volume's subdirectory!"});
             EXPECT_EQ(StoredText("Config", "BaseDir"), vault) << "nothing stored";
             EXPECT_EQ(PageIndex(s), CArchivonPropSheet::kSystem);
             // An unreachable folder cannot be made: it is not stored either.
             boxes.boxes.clear();
             Type(s, IDC_BASE_DIRECTORY, "Q:\\Nowhere\\Vault");
             PropSheet_PressButton(s, PSBTN_APPLYNOW);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(Texts(boxes.boxes),
                       (std::vector<std::string>{"The directory: Q:\\Nowhere\\Vault not exists, Create it?",
                                                 "The directory: Q:\\Nowhere\\Vault can not be created!"}));
             // Nor is a file.
             boxes.boxes.clear();
             WriteFileBytes(dir / "plain.txt", "x");
             Type(s, IDC_BASE_DIRECTORY, dir / "plain.txt");
             PropSheet_PressButton(s, PSBTN_APPLYNOW);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(Texts(boxes.boxes),
                       std::vector<std::string>{"The directory: " + (dir / "plain.txt") + " is a file, not a directory!"});
             EXPECT_EQ(StoredText("Config", "BaseDir"), vault);
             // A missing folder with trailing backslashes: asked, made and
             // stored without them.
             boxes.boxes.clear();
             Type(s, IDC_BASE_DIRECTORY, fresh + "\\\\");
             PropSheet_PressButton(s, PSBTN_OK);
         }});
    EXPECT_EQ(stages, 4u);
    EXPECT_EQ(Texts(boxes.boxes),
              (std::vector<std::string>{"The directory: " + fresh + " not exists, Create it?", kRestart}));
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].type & 0xF, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(StoredText("Config", "BaseDir"), fresh);
    EXPECT_TRUE(FolderExists(fresh));
}

TEST_F(SettingsSheetTest, AnEmptyRootIsAskedForAndStoredEmpty) {
    const char question[] = "The directory:  not exists, Create it?";
    boxes.answer = IDNO;
    Run(ID_SETTINGS_SYSTEM, {[&](ModalScript&, HWND s) {
                                 Type(s, IDC_BASE_DIRECTORY, "");
                                 PropSheet_PressButton(s, PSBTN_OK);
                             },
                             [&](ModalScript&, HWND s) {
                                 EXPECT_EQ(Texts(boxes.boxes), std::vector<std::string>{question});
                                 EXPECT_EQ(StoredText("Config", "BaseDir"), vault) << "No: nothing stored";
                                 boxes.boxes.clear();
                                 boxes.answer = IDYES;
                                 PropSheet_PressButton(s, PSBTN_OK);
                             }});
    EXPECT_EQ(Texts(boxes.boxes), (std::vector<std::string>{question, kRestart}));
    EXPECT_EQ(StoredText("Config", "BaseDir"), "");
}

TEST_F(SettingsSheetTest, OnlyTheRemoveBoxChangedStillAsksForARestart) {
    Run(ID_SETTINGS_SYSTEM, {[&](ModalScript&, HWND s) {
                                 Click(s, IDC_REMOVE_SOURCE);
                                 PropSheet_PressButton(s, PSBTN_APPLYNOW);
                             },
                             [&](ModalScript&, HWND s) {
                                 EXPECT_EQ(StoredInt("Config", "IsRemoveSrc"), 1);
                                 EXPECT_EQ(Texts(boxes.boxes), std::vector<std::string>{kRestart});
                                 // Told once: a second apply without a change is quiet.
                                 PropSheet_PressButton(s, PSBTN_OK);
                             }});
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(SettingsSheetTest, TheRunEntryFollowsTheBox) {
    win::RegKey machine;
    ASSERT_EQ(machine.Create(HKEY_LOCAL_MACHINE, kRunKey, KEY_SET_VALUE), ERROR_SUCCESS);
    machine.SetText("Archivon", "C:\\Old\\Archivon.exe");
    Run(ID_SETTINGS_GENERAL, {[&](ModalScript&, HWND s) {
            EXPECT_FALSE(Checked(s, IDC_RUN_AT_STARTUP));
            EXPECT_TRUE(Checked(s, IDC_DISPLAY_SPLASH));
            Click(s, IDC_RUN_AT_STARTUP);
            Click(s, IDC_DISPLAY_SPLASH);
            PropSheet_PressButton(s, PSBTN_OK);
        }});
    EXPECT_EQ(StoredInt("Config", "StartUp"), 1);
    EXPECT_EQ(StoredInt("Config", "DisplaySplash"), 0);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), win::ModuleFileName());
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "<missing>") << "the machine-wide entry of older versions goes";

    Run(ID_SETTINGS_GENERAL, {[&](ModalScript&, HWND s) {
            EXPECT_TRUE(Checked(s, IDC_RUN_AT_STARTUP));
            Click(s, IDC_RUN_AT_STARTUP);
            PropSheet_PressButton(s, PSBTN_OK);
        }});
    EXPECT_EQ(StoredInt("Config", "StartUp"), 0);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<missing>");
}

TEST_F(SettingsSheetTest, UserAgentListKeepsItsLength) {
    // Nothing stored: one entry, which a new text replaces.
    Run(ID_SETTINGS_DOWNLOAD, {[&](ModalScript&, HWND s) {
            EXPECT_EQ(Listed(s, IDC_USER_AGENT), std::vector<std::string>{"Archivon/1.10"});
            EXPECT_TRUE(Checked(s, IDC_SILENT_MODE));
            Type(s, IDC_USER_AGENT, "Mozilla/5.0");
            PropSheet_PressButton(s, PSBTN_APPLYNOW);
        },
        [&](ModalScript&, HWND s) {
            EXPECT_EQ(StoredText("Download", "Agents"), "Mozilla/5.0|||");
            EXPECT_EQ(StoredInt("Download", "AgentsNum"), 1);
            EXPECT_EQ(StoredInt("Download", "AgentSel"), 0);
            EXPECT_EQ(StoredInt("Download", "Silent Mode"), 1);
            EXPECT_EQ(Listed(s, IDC_USER_AGENT), std::vector<std::string>{"Mozilla/5.0"});
            PropSheet_PressButton(s, PSBTN_CANCEL);
        }});

    // A selection beyond the list: jobs take the default, the page the first.
    ArchivonSettings().SetText("Download", "Agents", "A|||B|||C|||");
    ArchivonSettings().SetInt("Download", "AgentSel", 7);
    DownloadJob job;
    LoadUserAgent(job);
    EXPECT_EQ(job.userAgent, "Archivon/1.10");
    Run(ID_SETTINGS_DOWNLOAD, {[&](ModalScript&, HWND s) {
            HWND combo = Control(s, IDC_USER_AGENT);
            EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
            EXPECT_EQ(DlgText(Page(s), IDC_USER_AGENT), "A");
            // The second of three chosen moves to the top.
            SendMessageA(combo, CB_SETCURSEL, 1, 0);
            SendMessageA(Page(s), WM_COMMAND, MAKEWPARAM(IDC_USER_AGENT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
            Click(s, IDC_SILENT_MODE);
            PropSheet_PressButton(s, PSBTN_OK);
        }});
    EXPECT_EQ(StoredText("Download", "Agents"), "B|||A|||C|||");
    EXPECT_EQ(StoredInt("Download", "AgentSel"), 0);
    EXPECT_EQ(StoredInt("Download", "AgentsNum"), 3);
    EXPECT_EQ(StoredInt("Download", "Silent Mode"), 0);
}

TEST_F(SettingsSheetTest, AgentsWithoutSeparatorsAndTextsThatWouldBreakTheList) {
    ArchivonSettings().SetText("Download", "Agents", "Mozilla/4.0");
    Run(ID_SETTINGS_DOWNLOAD, {[&](ModalScript&, HWND s) {
                                   EXPECT_EQ(Listed(s, IDC_USER_AGENT), std::vector<std::string>{"Archivon/1.10"});
                                   Click(s, IDC_SILENT_MODE);
                                   Type(s, IDC_USER_AGENT, "A|||B");
                                   PropSheet_PressButton(s, PSBTN_OK);
                               },
                               [&](ModalScript&, HWND s) {
                                   EXPECT_EQ(boxes.boxes.size(), 1u);
                                   EXPECT_EQ(StoredText("Download", "Agents"), "Mozilla/4.0");
                                   EXPECT_EQ(StoredInt("Download", "Silent Mode"), kMissing)
                                       << "a refused page stores nothing of its section";
                                   Type(s, IDC_USER_AGENT, "Opera/9");
                                   PropSheet_PressButton(s, PSBTN_OK);
                               }});
    EXPECT_EQ(StoredText("Download", "Agents"), "Opera/9|||");
    EXPECT_EQ(StoredInt("Download", "Silent Mode"), 0);
}

TEST_F(SettingsSheetTest, ProxyCredentialsTypesAndPort) {
    SettingsStore& st = ArchivonSettings();
    st.SetInt("Proxy", "Type", 5);
    st.SetText("Proxy", "User", "u");
    st.SetText("Proxy", "Password", "p");
    st.SetInt("Proxy", "UsingLogon", 0);
    Run(ID_SETTINGS_PROXY,
        {[&](ModalScript&, HWND s) {
             // Off: stored and shown, but read-only.
             EXPECT_EQ(DlgText(Page(s), IDC_PROXY_USER), "u");
             for (int id : {IDC_PROXY_USER, IDC_PROXY_PASSWORD, IDC_PROXY_DOMAIN}) EXPECT_TRUE(ReadOnly(s, id));
             Click(s, IDC_PROXY_LOGON);
             for (int id : {IDC_PROXY_USER, IDC_PROXY_PASSWORD, IDC_PROXY_DOMAIN}) EXPECT_FALSE(ReadOnly(s, id));
             Click(s, IDC_PROXY_LOGON);
             EXPECT_TRUE(ReadOnly(s, IDC_PROXY_USER));
             // The hidden sixth type stands checked alone.
             EXPECT_TRUE(Checked(s, IDC_PROXY_ISA));
             EXPECT_FALSE(IsWindowVisible(Control(s, IDC_PROXY_ISA)));
             for (int id = IDC_PROXY_NONE; id <= IDC_PROXY_SOCKS5; ++id) EXPECT_FALSE(Checked(s, id));
             EXPECT_EQ(Address(s), 0x7F000001u);
             EXPECT_EQ(DlgText(Page(s), IDC_PROXY_PORT), "80");
             // An address typed into the port field, then a port too large.
             Type(s, IDC_PROXY_PORT, "192.168.0.10");
             PropSheet_PressButton(s, PSBTN_APPLYNOW);
         },
         [&](ModalScript&, HWND s) {
             Type(s, IDC_PROXY_PORT, "70000");
             PropSheet_SetCurSel(s, nullptr, CArchivonPropSheet::kGeneral);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(Texts(boxes.boxes), (std::vector<std::string>{"Please enter an integer.",
                                                                      "Please enter an integer between 0 and 65535."}));
             EXPECT_EQ(PageIndex(s), CArchivonPropSheet::kProxy) << "the port keeps its page";
             EXPECT_EQ(GetFocus(), Control(s, IDC_PROXY_PORT));
             EXPECT_EQ(StoredInt("Proxy", "Port"), kMissing);
             Type(s, IDC_PROXY_PORT, "8080");
             PropSheet_PressButton(s, PSBTN_APPLYNOW);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(StoredInt("Proxy", "Type"), 5) << "saved back unchanged";
             EXPECT_EQ(StoredInt("Proxy", "Port"), 8080);
             EXPECT_EQ(StoredInt("Proxy", "UsingLogon"), 0);
             EXPECT_EQ(StoredText("Proxy", "User"), "u");
             EXPECT_EQ(static_cast<DWORD>(StoredInt("Proxy", "IPAddress")), 0x7F000001u);
             Click(s, IDC_PROXY_SOCKS5);
             EXPECT_FALSE(Checked(s, IDC_PROXY_ISA));
             PropSheet_PressButton(s, PSBTN_OK);
         }});
    EXPECT_EQ(StoredInt("Proxy", "Type"), 4);
}

TEST_F(SettingsSheetTest, AnIncompleteAddressIsRefusedWithABeepAndKeepsItsPage) {
    const int beeps = frame->beepCount();
    Run(ID_SETTINGS_PROXY, {[&](ModalScript&, HWND s) {
                                SendMessageA(Control(s, IDC_PROXY_ADDRESS), IPM_SETADDRESS, 0,
                                             MAKEIPADDRESS(10, 1, 2, 3));
                                const auto parts = AddressParts(s);
                                ASSERT_EQ(parts.size(), 4u);
                                SetWindowTextA(parts[3], "");
                                PropSheet_PressButton(s, PSBTN_APPLYNOW);
                            },
                            [&](ModalScript&, HWND s) {
                                EXPECT_EQ(frame->beepCount(), beeps + 1);
                                EXPECT_TRUE(boxes.boxes.empty()) << "a beep only";
                                EXPECT_EQ(StoredInt("Proxy", "IPAddress"), kMissing);
                                EXPECT_EQ(StoredInt("Proxy", "Type"), kMissing) << "nothing of the section";
                                // Closed from another page, the refusing page comes back.
                                PropSheet_SetCurSel(s, nullptr, CArchivonPropSheet::kGeneral);
                            },
                            [&](ModalScript&, HWND s) {
                                EXPECT_EQ(PageIndex(s), CArchivonPropSheet::kGeneral);
                                PropSheet_PressButton(s, PSBTN_OK);
                            },
                            [&](ModalScript&, HWND s) {
                                ASSERT_EQ(PageIndex(s), CArchivonPropSheet::kProxy);
                                EXPECT_EQ(frame->beepCount(), beeps + 2);
                                const auto parts = AddressParts(s);
                                ASSERT_EQ(parts.size(), 4u);
                                SetWindowTextA(parts[3], "4");
                                PropSheet_PressButton(s, PSBTN_OK);
                            }});
    EXPECT_EQ(static_cast<DWORD>(StoredInt("Proxy", "IPAddress")), MAKEIPADDRESS(10, 1, 2, 4));
}

TEST_F(SettingsSheetTest, MaxHopsTakesIntegersFromZeroTo999) {
    Run(ID_SETTINGS_PICKER, {[&](ModalScript&, HWND s) {
            EXPECT_EQ(DlgText(Page(s), IDC_MAX_HOPS), "0");
            Type(s, IDC_MAX_HOPS, "1000");
            Click(s, IDC_CASCADING);
            PropSheet_PressButton(s, PSBTN_APPLYNOW);
        },
        [&](ModalScript&, HWND s) {
            Type(s, IDC_MAX_HOPS, "10.0.0.1");
            PropSheet_PressButton(s, PSBTN_APPLYNOW);
        },
        [&](ModalScript&, HWND s) {
            EXPECT_EQ(Texts(boxes.boxes), (std::vector<std::string>{"Please enter an integer between 0 and 999.",
                                                                     "Please enter an integer."}));
            EXPECT_EQ(StoredInt("Web Picker", "MaxHops"), kMissing);
            EXPECT_EQ(StoredInt("Web Picker", "Cascading"), kMissing);
            Type(s, IDC_MAX_HOPS, " 999 ");
            PropSheet_PressButton(s, PSBTN_OK);
        }});
    EXPECT_EQ(StoredInt("Web Picker", "MaxHops"), 999);
    EXPECT_EQ(StoredInt("Web Picker", "Cascading"), 1);
}

TEST_F(SettingsSheetTest, StoredValuesOfTheWrongTypeOrRangeShowDefaults) {
    SettingsStore& st = ArchivonSettings();
    st.SetInt("Config", "BaseDir", 5);
    st.SetText("Config", "DisplaySplash", "0");
    st.SetInt("Download", "Agents", 3);
    st.SetText("Download", "AgentSel", "1");
    st.SetText("Proxy", "Port", "8080");
    st.SetText("Proxy", "IPAddress", "10.0.0.1");
    st.SetInt("Proxy", "Type", 9);
    st.SetInt("Web Picker", "MaxHops", 5000);
    st.SetText("Web Picker", "Cascading", "1");
    Run(ID_SETTINGS_GENERAL,
        {[&](ModalScript&, HWND s) {
             EXPECT_TRUE(Checked(s, IDC_DISPLAY_SPLASH));
             PropSheet_SetCurSel(s, nullptr, CArchivonPropSheet::kSystem);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(DlgText(Page(s), IDC_BASE_DIRECTORY), win::ModuleDirectory() + "\\Root");
             // The default root is stored as a name only when the user
             // changes it: keep the page from creating it here.
             Type(s, IDC_BASE_DIRECTORY, vault);
             PropSheet_SetCurSel(s, nullptr, CArchivonPropSheet::kDownload);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(Listed(s, IDC_USER_AGENT), std::vector<std::string>{"Archivon/1.10"});
             PropSheet_SetCurSel(s, nullptr, CArchivonPropSheet::kPicker);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(DlgText(Page(s), IDC_MAX_HOPS), "0");
             EXPECT_FALSE(Checked(s, IDC_CASCADING));
             PropSheet_SetCurSel(s, nullptr, CArchivonPropSheet::kProxy);
         },
         [&](ModalScript&, HWND s) {
             EXPECT_EQ(DlgText(Page(s), IDC_PROXY_PORT), "80");
             EXPECT_EQ(Address(s), 0x7F000001u);
             EXPECT_TRUE(Checked(s, IDC_PROXY_NONE));
             PropSheet_PressButton(s, PSBTN_OK);
         }});
    // Every section is whole again, each value of its own type.
    EXPECT_EQ(StoredText("Config", "BaseDir"), vault);
    EXPECT_EQ(StoredInt("Config", "DisplaySplash"), 1);
    EXPECT_EQ(StoredText("Download", "Agents"), "Archivon/1.10|||");
    EXPECT_EQ(StoredInt("Download", "AgentSel"), 0);
    EXPECT_EQ(StoredInt("Web Picker", "MaxHops"), 0);
    EXPECT_EQ(StoredInt("Web Picker", "Cascading"), 0);
    EXPECT_EQ(StoredInt("Proxy", "Port"), 80);
    EXPECT_EQ(StoredInt("Proxy", "Type"), 0);
    EXPECT_EQ(static_cast<DWORD>(StoredInt("Proxy", "IPAddress")), 0x7F000001u);
    for (const char* name : {"User", "Password", "Domain"}) EXPECT_EQ(StoredText("Proxy", name), "") << name;
}

namespace {
// A one-connection HTTP proxy on loopback: it grants the CONNECT and keeps
// the request head that comes through the tunnel.
class TunnelProxy {
public:
    TunnelProxy() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listener_, 1);
        int size = sizeof a;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size);
        port = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~TunnelProxy() {
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }
    int port = 0;
    std::string connectHead, tunnelledHead;
    std::atomic<bool> done{false};

private:
    static std::string Head(SOCKET s) {
        std::string head;
        char buf[1024];
        while (head.find("\r\n\r\n") == std::string::npos) {
            const int n = recv(s, buf, sizeof buf, 0);
            if (n <= 0) break;
            head.append(buf, static_cast<std::size_t>(n));
        }
        return head;
    }
    void Serve() {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(listener_, &set);
        timeval wait{20, 0};
        if (select(0, &set, nullptr, nullptr, &wait) == 1) {
            SOCKET s = accept(listener_, nullptr, nullptr);
            if (s != INVALID_SOCKET) {
                connectHead = Head(s);
                const char granted[] = "HTTP/1.0 200 Connection established\r\n\r\n";
                send(s, granted, sizeof granted - 1, 0);
                tunnelledHead = Head(s);
                closesocket(s);
            }
        }
        done = true;
    }
    SOCKET listener_;
    std::thread thread_;
};
}  // namespace

TEST_F(SettingsSheetTest, AJobStartedAfterTheChangeUsesTheNewProxyAndUserAgent) {
    TunnelProxy proxy;
    Run(ID_SETTINGS_PROXY, {[&](ModalScript&, HWND s) {
                                SendMessageA(Control(s, IDC_PROXY_ADDRESS), IPM_SETADDRESS, 0,
                                             MAKEIPADDRESS(127, 0, 0, 1));
                                Type(s, IDC_PROXY_PORT, std::to_string(proxy.port));
                                Click(s, IDC_PROXY_HTTP);
                                PropSheet_SetCurSel(s, nullptr, CArchivonPropSheet::kDownload);
                            },
                            [&](ModalScript&, HWND s) {
                                Type(s, IDC_USER_AGENT, "SheetAgent/2.0");
                                PropSheet_PressButton(s, PSBTN_OK);
                            }});
    DownloadJob job;
    job.url = "http://files.example/report.txt";
    job.downloadFolder = dir.path();
    ASSERT_TRUE(StartDownload(job, nullptr));
    EXPECT_TRUE(PumpUntil([&] { return proxy.done.load(); }, 20000));
    StopDownload(job);
    ASSERT_TRUE(PumpUntil([&] { return WorkerHasEnded(job); }, 20000));
    JoinStoppedWorker(job);
    EXPECT_EQ(job.proxy.Type, 1);
    EXPECT_EQ(job.proxy.Port, proxy.port);
    EXPECT_EQ(proxy.connectHead.rfind("CONNECT files.example:80 ", 0), 0u) << proxy.connectHead;
    EXPECT_NE(proxy.tunnelledHead.find("\r\nUser-Agent: SheetAgent/2.0\r\n"), std::string::npos)
        << proxy.tunnelledHead;
}
