// Every form of the program as a user opens it: the splash and the main
// window of the start, each dialog and tool from the main window's keys,
// each wizard page reached with Next, each tab of the ripper with a click
// on it, the lookups against local servers and the progress windows while
// their work runs. On the screen, every shown control that has something
// to draw shows more than one colour; one that a neighbour paints over
// shows the neighbour's one colour. Every shown label holds its caption in
// its own font and lies over no neighbour; a wizard's splash page shows a
// picture on its band. Each form carries the program's icon.
#include <winsock.h>

#include <windows.h>
#include <ole2.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/cdrip/lookup/frm_cddb.h"
#include "app/cdrip/lookup/tests/cddb_server.h"
#include "app/cdrip/ripper/frm_mp3.h"
#include "app/controls/hosted/wizard_controls.h"
#include "app/foundation/settings.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/mainwindow/frm_loading.h"
#include "app/mainwindow/frm_main.h"
#include "app/startup/tool_connections.h"
#include "app/tools/comments/frm_wiz_comments.h"
#include "app/tools/sorting/frm_wiz_file_sorting.h"
#include "libs/common/tcpclient/tests/peer.h"
#include "libs/wizard/core/wizard_logic.h"
#include "platform/cdaudio/tests/test_paths.h"
#include "platform/forms/tests/screen_probe.h"

namespace corvella {
namespace {

using forms::WizardButtons;
using forms::testing::PumpUntil;
using tcp::testing::Peer;

// A state of a form to look at, and what the user does to reach it from
// the state before (nothing for the state the form opens in).
struct View {
    const char* name;
    std::function<void()> go;
};

// A form: what the user does to open it (the call returns once the form has
// closed), its states in the order the user walks them, and what the user
// does to close it (nothing: the walk's end closes it). A window whose work
// runs inside its own show, with no message between two steps that a test
// can count on, is walked while that work's message box `box` is up.
struct FormWalk {
    const char* form;  // the run-time's name
    std::function<void()> open;
    std::vector<View> views;
    std::function<void()> close;
    const char* box = nullptr;
};

// The form the user has in front of them, when it is `name`: the one
// activated last, shown and not under a modal one.
forms::Form* Shown(const char* name) {
    forms::Form* f = forms::Screen.ActiveForm();
    if (f == nullptr || f->name != name || !IsWindowVisible(f->hWnd()) || !IsWindowEnabled(f->hWnd())) return nullptr;
    return f;
}

template <class T>
T& Active() {
    return static_cast<T&>(*forms::Screen.ActiveForm());
}

// The Tab order of a form's own controls against the screen: Tab goes on
// in reading order, left to right along a row and top to bottom down a
// column (a next column may start higher), so that it goes back, up or to
// the left once in the round, where it wraps from the last stop to the
// first. Each stop lies in the form's client area, where the user sees
// what has the focus. The buttons of the wizard bar keep the bar's own
// order. What breaks either rule.
std::vector<std::string> TabOrderFaults(forms::Form& form) {
    std::map<HWND, std::string> names;
    forms::testing::ControlNames(form, names);
    for (forms::OleControlSite* site : forms::HostedControls(form)) forms::testing::ControlNames(site->Inside(), names);
    std::vector<HWND> round;
    const HWND first = GetNextDlgTabItem(form.hWnd(), nullptr, FALSE);
    HWND w = first;
    for (int steps = 0; w != nullptr && steps < 500; ++steps) {
        if (names.count(w) > 0) round.push_back(w);
        if ((w = GetNextDlgTabItem(form.hWnd(), w, FALSE)) == first) break;
    }
    RECT client{};
    GetClientRect(form.hWnd(), &client);
    MapWindowPoints(form.hWnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::vector<std::string> faults;
    std::string order;
    int back = 0;
    for (size_t i = 0; i < round.size(); ++i) {
        RECT a{}, b{}, seen{};
        GetWindowRect(round[i], &a);
        GetWindowRect(round[(i + 1) % round.size()], &b);
        order += (i == 0 ? "" : ", ") + names[round[i]];
        if (!IntersectRect(&seen, &a, &client)) faults.push_back(names[round[i]] + " takes the focus outside the window");
        const bool sameRow = a.top < b.bottom && b.top < a.bottom;
        if (sameRow ? b.right <= a.left : b.bottom <= a.top && b.left < a.right) ++back;
    }
    if (back > 1) faults.push_back("Tab goes back " + std::to_string(back) + " times in the round " + order);
    return faults;
}

// A click on the active form's button with this caption; a form whose
// button is not there is unloaded, so that the walk goes on.
void Press(const std::string& caption) {
    forms::Form& f = *forms::Screen.ActiveForm();
    std::vector<HWND> all;
    EnumChildWindows(f.hWnd(), &forms::testing::CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND w : all) {
        char cls[16] = {}, text[64] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, text, sizeof text);
        if (lstrcmpiA(cls, "Button") == 0 && caption == text && IsWindowVisible(w) && IsWindowEnabled(w)) {
            SendMessageA(w, BM_CLICK, 0, 0);
            return;
        }
    }
    ADD_FAILURE() << f.name << ": no button \"" << caption << "\" to press";
    f.Unload();
}

forms::WizardButtons* Bar() {
    for (forms::Control* c : forms::Screen.ActiveForm()->Children())
        if (auto* bar = dynamic_cast<forms::WizardButtons*>(c)) return bar;
    return nullptr;
}

// A click on a button of the active wizard's bar; Next waits for the page.
void PressBar(int which) {
    forms::WizardButtons* bar = Bar();
    ASSERT_NE(bar, nullptr);
    SendMessageA(GetDlgItem(bar->ControlWindow(), 100 + which), BM_CLICK, 0, 0);
}
void NextTo(int page) {
    PressBar(WizardButtons::ButtonNext);
    ASSERT_TRUE(PumpUntil([&] { return Bar() != nullptr && Bar()->PageNumber() == page; }, 20000)) << page;
}

// A click on one of the ripper's tabs, from 1.
void ClickTab(int tab) {
    FrmMP3& ripper = frmMP3();
    RECT r{};
    SendMessageA(ripper.TabStrip1.hWnd(), TCM_GETITEMRECT, WPARAM(tab - 1), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(ripper.TabStrip1.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(ripper.TabStrip1.hWnd(), WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(PumpUntil([&] { return ripper.TabStrip1.SelectedTab() == tab; })) << tab;
}

// Takes every mail once `go` is set; until then the sending waits.
Peer::Serve MailServer(HANDLE go) {
    return [go](Peer&, SOCKET s) {
        WaitForSingleObject(go, 30000);
        Peer::Send(s, "220 ready\r\n");
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) {
            if (line.compare(0, 4, "QUIT") == 0) {
                Peer::Send(s, "221 bye\r\n");
                return;
            }
            if (line.compare(0, 4, "DATA") != 0) {
                Peer::Send(s, "250 fine\r\n");
                continue;
            }
            Peer::Send(s, "354 go on\r\n");
            std::string body;
            for (char c; body.size() < 5 || body.compare(body.size() - 5, 5, "\r\n.\r\n") != 0;) {
                if (recv(s, &c, 1, 0) != 1) return;
                body += c;
            }
            Peer::Send(s, "250 taken\r\n");
        }
    };
}

void RemoveFolder(const std::string& path) {
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = d.cFileName, full = path + "\\" + name;
            if (name == "." || name == "..") continue;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolder(full);
            else DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &d));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

// The walks under way, the innermost last; each runs once its form is shown.
struct Waiting {
    const FormWalk* walk;
    std::function<void()> run;
    bool ran = false;
};
std::vector<Waiting*> gWaiting;

void RunWhenShown(Waiting& w) {
    if (w.ran || Shown(w.walk->form) == nullptr) return;
    w.ran = true;
    w.run();
}

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
    if (!gWaiting.empty() && gWaiting.back()->walk->box == nullptr) RunWhenShown(*gWaiting.back());
}

class EveryForm : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        forms::SetMsgBoxHook([this](const std::string& prompt, unsigned buttons, const std::string& title) {
            boxes.push_back({prompt, buttons, title});
            if (!gWaiting.empty() && gWaiting.back()->walk->box != nullptr && title == gWaiting.back()->walk->box)
                RunWhenShown(*gWaiting.back());
            return IDOK;
        });
        OleInitialize(nullptr);
        DeleteRegistryTree(store_, kSettingsRootFullPath);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + "corvella_forms_" + std::to_string(GetCurrentProcessId());
        for (const char* sub : {"", "\\list", "\\sort_in", "\\sort_out", "\\rip"})
            CreateDirectoryA((root_ + sub).c_str(), nullptr);
        std::string music = std::string("Z:") + std::getenv("CORVELLA_MAIN_DATA") + "/three/";
        std::replace(music.begin(), music.end(), '/', '\\');
        for (const char* sub : {"\\list\\", "\\sort_in\\"})
            for (const char* name : {"01 - Track 1.mp3", "02 - Track 2.mp3", "03 - Track 3.mp3"})
                ASSERT_TRUE(CopyFileA((music + name).c_str(), (root_ + sub + name).c_str(), FALSE)) << name;
        ASSERT_HRESULT_SUCCEEDED(tags_.Create());
        const std::string options = std::string(kSettingsRoot) + "\\Options";
        SaveSettingText(store_, std::string(kSettingsRoot) + "\\Layout\\Main", "Folder", root_ + "\\list");
        SaveSettingText(store_, options + "\\MP3", "MP3 Output Path", root_ + "\\rip\\");
        SaveSettingText(store_, options + "\\Support", "Mail Host", "127.0.0.1");
        SaveSettingLong(store_, options + "\\Support", "Mail Port", mail_.port);
        lookupAt_.emplace(cddb_.port);
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", cdaudio::testing::ImagePath("tones.cue").c_str());
        // Away from every form, so that no tip comes up over a control.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        timer_ = SetTimer(nullptr, 0, 20, Poll);
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        SetEvent(mailGo_.h);
        SetEvent(cddbGo_.h);
        frmMain().Unload();
        tags_.Release();
        RemoveFolder(root_);
        lookupAt_.reset();
        DeleteRegistryTree(store_, kSettingsRootFullPath);
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", nullptr);
        OleUninitialize();
        FormsTest::TearDown();
    }

    // Looks at the active form on the screen.
    void Look(const char* form, const char* view, bool settle = true) {
        forms::Form* f = Shown(form);
        ASSERT_NE(f, nullptr) << form << ", " << view << ": not in front";
        const forms::testing::ScreenPixels screen =
            settle ? forms::testing::SettledScreen(f->hWnd()) : forms::testing::PaintedScreen(f->hWnd());
        ASSERT_TRUE(screen.Read()) << form << ": the screen cannot be read";
        const forms::testing::ControlLook look = forms::testing::LookAtControls(*f, screen);
        const std::string where = std::string(form) + " \"" + f->Caption() + "\", " + view;
        EXPECT_GT(look.looked, 0) << where << ": no control to look at";
        for (const std::string& blank : look.blank) ADD_FAILURE() << where << ": " << blank;
        for (const std::string& cut : look.cut) ADD_FAILURE() << where << ": " << cut;
        for (const std::string& fault : TabOrderFaults(*f)) ADD_FAILURE() << where << ": " << fault;
        // In its title bar and the task bar, the program's icon.
        EXPECT_NE(forms::App.Icon(false), nullptr);
        for (bool small : {false, true})
            EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(f->hWnd(), WM_GETICON, small ? ICON_SMALL : ICON_BIG, 0)),
                      forms::App.Icon(small))
                << where << (small ? ": small icon" : ": large icon");
        // A wizard's splash page shows its picture on the band.
        for (forms::OleControlSite* site : forms::HostedControls(*f)) {
            auto* page = dynamic_cast<forms::WizardPage*>(site);
            if (page == nullptr || !IsWindowVisible(page->ControlWindow()) ||
                page->PageStyle() != forms::WizardPage::Splash)
                continue;
            RECT band{};
            GetClientRect(page->ControlWindow(), &band);
            band.right = forms::Screen.ToPixelsX(wizard::kSplashWidth);
            MapWindowPoints(page->ControlWindow(), nullptr, reinterpret_cast<POINT*>(&band), 2);
            if (screen.Colours(band) < 2) ADD_FAILURE() << where << ": " << page->name << "'s band shows no picture";
        }
        looked_.push_back(where);
    }

    // Opens the form, looks at each of its states and closes it.
    void Walk(const FormWalk& walk) {
        Waiting w{&walk, [&] {
                      for (const View& v : walk.views) {
                          if (v.go) v.go();
                          Look(walk.form, v.name);
                      }
                      if (walk.close) walk.close();
                  }};
        gWaiting.push_back(&w);
        walk.open();
        gWaiting.pop_back();
        EXPECT_TRUE(w.ran) << walk.form << " did not come up";
    }

    static std::function<void()> Key(const char* key) {
        return [key] { frmMain().RunCommand(key); };
    }

    Win32SettingsStore store_;
    tags::testing::TagObjects tags_;
    std::vector<std::string> genres_{"Blues", "Classic Rock", "Country"};
    std::string root_;
    UINT_PTR timer_ = 0;
    // The servers hold their first reply until the form has been looked at.
    // Kept until the servers' threads have ended.
    struct Event {
        HANDLE h = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ~Event() { CloseHandle(h); }
    } mailGo_, cddbGo_;
    Peer mail_{MailServer(mailGo_.h)};
    Peer cddb_{[go = cddbGo_.h](Peer& p, SOCKET s) {
        WaitForSingleObject(go, 30000);
        cdrip::testing::Server()(p, s);
    }};
    std::optional<cdrip::testing::LocalServer> lookupAt_;
    std::vector<std::string> looked_;
};

TEST_F(EveryForm, EachShownControlIsDrawnOnTheScreen) {
    // The start as the program makes it: the splash, which loads the main
    // window and hands over to it. The splash's clock runs while messages
    // do, so it is read as it is painted.
    ConnectTools();
    frmMain().SetShared({tags_.Pair(), &genres_});
    frmLoading().Show(forms::kModeless);
    Look("frmLoading", "at the start", false);
    ASSERT_TRUE(PumpUntil([] {
        return !frmLoading().Loaded() && frmMain().Visible() && !frmMain().ListingRunning() &&
               frmMain().lvFiles.ListItems.Count() == 3;
    }, 30000));
    Look("frmMain", "with its folder listed");

    const FormWalk lookup{"frmCDDB",
                          [] { Press("&Internet CDDB..."); },
                          {{"while the server is silent", nullptr},
                           {"with the disc found",
                            [this] {
                                SetEvent(cddbGo_.h);
                                ASSERT_TRUE(PumpUntil([] { return frmCDDB().Lookup() && frmCDDB().Lookup()->Ended(); },
                                                      20000));
                            }}},
                          [] { Press("&OK"); }};
    const FormWalk encoding{"frmMP3EncodingInfo",
                            [] {
                                frmMP3().lstTracks.SetSelected(0, true);
                                Press("&Convert");
                            },
                            {{"as its run ends", nullptr}},
                            nullptr,
                            "Encoding Complete"};
    const FormWalk progress{"frmProgressUpdate",
                            [] {
                                FrmMain& m = frmMain();
                                m.lvFiles.SetSelectedItem(m.lvFiles.ListItems(1));
                                m.UpdateDisplay(m.cboVersion.ListIndex());
                                m.txtField(0).SetText("#Map#9:-#");  // no ninth piece: a parser error
                                SendMessageA(m.Command2(0).hWnd(), BM_CLICK, 0, 0);
                            },
                            {{"while the apply runs", nullptr}},
                            nullptr,
                            "Parser Error"};
    auto next = [](int page) { return [page] { NextTo(page); }; };
    const FormWalk walks[] = {
        {"frmOptions", Key("mnuOptions"), {{"as opened", nullptr}}, [] { Press("&Close"); }},
        {"frmAbout", Key("mnuAbout"), {{"as opened", nullptr}}, [] { Press("&Ok"); }},
        {"frmRenameFiles", Key("mnuRename"), {{"as opened", nullptr}}, [] { Press("&Close"); }},
        {"frmQuickExtract",
         [] {
             FrmMain& m = frmMain();
             m.lvFiles.SetSelectedItem(m.lvFiles.ListItems(1));
             m.CurrentField = 0;
             m.UpdateFieldMenu();
             const int32_t parse = m.m_FieldPopupMenu.IndexForKey("mnuParseFile");
             m.m_FieldPopupMenu.DispatchCommand(platform::PopupMenu::CommandId(parse));
         },
         {{"as opened", nullptr}},
         [] { Press("&Cancel"); }},
        {"frmUserFields", Key("mnuAddMore"), {{"as opened", nullptr}}, [] { Press("Close"); }},
        {"frmCSV", Key("mnuComma"), {{"as opened", nullptr}}, [] { Press("&Cancel"); }},
        {"frmCase", Key("btnCase"), {{"as opened", nullptr}}, [] { Press("&Cancel"); }},
        {"frmWizFileSorting",
         Key("mnuSort"),
         {{"page 1", nullptr},
          {"page 2", next(2)},
          {"page 3",
           [this] {
               auto& f = Active<FrmWizFileSorting>();
               f.Text1.SetText(root_ + "\\sort_out\\");
               f.Text2.SetText(root_ + "\\sort_in\\");
               NextTo(3);
           }},
          {"page 4, the preview", next(4)},
          {"page 5, the results", next(5)},
          {"page 6", next(6)}},
         [] { PressBar(WizardButtons::ButtonCancel); }},
        {"frmWizDuplicateFiles",
         Key("mnuDupe"),
         {{"page 1", nullptr}, {"page 2", next(2)}, {"page 3", next(3)}, {"page 4", next(4)}, {"page 5", next(5)},
          {"page 6", next(6)}},
         [] { PressBar(WizardButtons::ButtonCancel); }},
        {"frmWizFileExport",
         Key("mnuExportWiz"),
         {{"page 1", nullptr}, {"page 2", next(2)}, {"page 3", next(3)}},
         [] { PressBar(WizardButtons::ButtonCancel); }},
        {"frmWizComments",
         Key("mnuContact"),
         {{"page 1", nullptr},
          {"page 2, while the server is silent",
           [] {
               auto& f = Active<FrmWizComments>();
               f.txtEmail.SetText("ann@example.com");
               f.txtSupport.SetText("Fine program.");
               NextTo(2);
           }},
          {"page 3, sent",
           [this] {
               SetEvent(mailGo_.h);
               ASSERT_TRUE(PumpUntil([] { return Bar()->PageNumber() == 3; }, 20000));
           }}},
         [] { PressBar(WizardButtons::ButtonNext); }},
        {"frmCDDBCDChoice", Key("mnuCDDB"), {{"as opened", nullptr}}, [] { Press("&Cancel"); }},
        {"frmMP3",
         Key("mnuMP3"),
         {{"tab General", nullptr},
          {"tab Encoding", [] { ClickTab(2); }},
          {"tab Output", [] { ClickTab(3); }},
          {"tab Output after a lookup", [&] { Walk(lookup); }},
          {"tab General with the disc's titles", [] { ClickTab(1); }}},
         [&] {
             // A run that ends closes the ripper.
             Walk(encoding);
             EXPECT_FALSE(frmMP3().Loaded());
             if (frmMP3().Loaded()) frmMP3().Unload();
         }},
        progress,
    };
    for (const FormWalk& walk : walks) Walk(walk);

    EXPECT_EQ(looked_.size(), 37u);
    std::vector<std::string> titles;
    for (const auto& b : boxes) titles.push_back(b.title + ": " + b.prompt);
    ASSERT_EQ(titles.size(), 2u) << ::testing::PrintToString(titles);
    EXPECT_EQ(boxes[0].title, "Encoding Complete");
    EXPECT_EQ(boxes[1].title, "Parser Error");
}

}  // namespace
}  // namespace corvella
