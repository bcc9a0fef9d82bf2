// Ossivane through COM on real dialogs under Wine. Each dialog is driven
// from its own events (or a timer the dialog's thread runs), never by
// waiting a fixed time.
#include "libs/commondialog/com/ossivane.h"

#include <gtest/gtest.h>

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "libs/common/com/event_sink.h"
#include "libs/common/tests/com_test_util.h"

namespace {

using corvella::com::Bstr;
using corvella::com::ComPtr;
using corvella::com::EventArgs;
using corvella::com::EventConnection;
using corvella::com::EventSink;
using namespace corvella::testing;

enum : DISPID { kInitDialog = 1, kFileChange, kFolderChange, kDialogOK, kTypeChange, kDialogClose };

// A form as the library sees it: any object with a "hwnd" property.
struct FormObject : IDispatch {
    explicit FormObject(HWND w) : window(w) {}
    HWND window;
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) ? this : nullptr;
        if (*ppv) AddRef();
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        if (lstrcmpiW(names[0], L"hwnd") != 0) return DISP_E_UNKNOWNNAME;
        ids[0] = 1;
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (id != 1 || !result) return DISP_E_MEMBERNOTFOUND;
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window));
        return S_OK;
    }
};

POINT Centre(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct ClassSearch {
    const char* cls;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<ClassSearch*>(p);
    char name[64];
    GetClassNameA(w, name, sizeof name);
    if (lstrcmpiA(name, s->cls) != 0) return TRUE;
    s->found = w;
    return FALSE;
}

HWND FindChild(HWND parent, const char* cls) {
    ClassSearch s = {cls, nullptr};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HRESULT ErrorOf(HRESULT hr, std::string* description, std::string* source) {
    IErrorInfo* ei = nullptr;
    if (GetErrorInfo(0, &ei) == S_OK && ei) {
        BSTR d = nullptr, s = nullptr;
        ei->GetDescription(&d);
        ei->GetSource(&s);
        *description = Ansi(d);
        *source = Ansi(s);
        SysFreeString(d);
        SysFreeString(s);
        ei->Release();
    }
    return hr;
}

class Ossivane : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 120, 700,
                                 500, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(owner_);
        ASSERT_HRESULT_SUCCEEDED(dlg_.Create(CLSID_cCommonDialog));
        dlg_->put_hwnd(static_cast<LONG>(reinterpret_cast<LONG_PTR>(owner_)));
        sink_ = EventSink::Create(DIID___cCommonDialog);
        ASSERT_HRESULT_SUCCEEDED(connection_.Advise(dlg_.Get(), sink_.Get()));
    }
    void TearDown() override {
        connection_.Unadvise();
        dlg_.Reset();
        if (owner_) DestroyWindow(owner_);
    }
    void Set(HRESULT (STDMETHODCALLTYPE _cCommonDialog::*put)(BSTR), const std::string& text) {
        Bstr b(text);
        ((*dlg_.Get()).*put)(b.Get());
    }
    std::string Text(HRESULT (STDMETHODCALLTYPE _cCommonDialog::*get)(BSTR*)) {
        Bstr b;
        ((*dlg_.Get()).*get)(b.Put());
        return b.Ansi();
    }
    LONG Long(HRESULT (STDMETHODCALLTYPE _cCommonDialog::*get)(LONG*)) {
        LONG n = 0;
        ((*dlg_.Get()).*get)(&n);
        return n;
    }

    ComApartment com_;
    TempFolder folder_;
    HWND owner_ = nullptr;
    ComPtr<_cCommonDialog> dlg_;
    ComPtr<EventSink> sink_;
    EventConnection connection_;
};

TEST_F(Ossivane, HookedOpenRaisesItsEventsCentresAndHonoursACancelledOK) {
    WriteBytes(folder_.File("a.mp3"), FakeAudio(64));
    Set(&_cCommonDialog::put_InitDir, folder_.path());
    Set(&_cCommonDialog::put_Filter, "MP3 files (*.mp3)|*.mp3|All files|*.*");
    dlg_->put_FilterIndex(0);
    dlg_->put_flags(0x1804);
    dlg_->put_HookDialog(VARIANT_TRUE);
    FormObject form(owner_);

    std::vector<std::string> events;
    long centre_off = -1;
    int oks = 0;
    HWND dialog = nullptr;
    sink_->On(kInitDialog, "InitDialog", [&](EventArgs& e) {
        events.push_back("InitDialog");
        dlg_->CentreDialog(e.Long(0), &form);
    });
    sink_->On(kFolderChange, "FolderChange", [&](EventArgs& e) {
        events.push_back("FolderChange");
        // Pick the one file in the list, as a user's click does.
        HWND list = FindChild(GetParent(reinterpret_cast<HWND>(static_cast<LONG_PTR>(e.Long(0)))),
                              "SysListView32");
        ASSERT_TRUE(list);
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    });
    sink_->On(kFileChange, "FileChange", [&](EventArgs& e) {
        if (std::find(events.begin(), events.end(), "FileChange") != events.end()) return;
        events.push_back("FileChange");
        dialog = GetParent(reinterpret_cast<HWND>(static_cast<LONG_PTR>(e.Long(0))));
        const POINT a = Centre(dialog), b = Centre(owner_);
        centre_off = std::max(std::labs(a.x - b.x), std::labs(a.y - b.y));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    sink_->On(kDialogOK, "DialogOK", [&](EventArgs& e) {
        events.push_back("DialogOK");
        if (++oks == 1) {
            e.SetBool(0, true);  // keeps the dialog open; OK is pressed again
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
    });

    ASSERT_HRESULT_SUCCEEDED(dlg_->ShowOpen());
    EXPECT_EQ(events, (std::vector<std::string>{"InitDialog", "FolderChange", "FileChange",
                                                "DialogOK", "DialogOK"}));
    EXPECT_GE(centre_off, 0);
    EXPECT_LE(centre_off, 20) << "the dialog is centred on its owner";
    EXPECT_EQ(Text(&_cCommonDialog::get_Filename), folder_.File("a.mp3"));
    EXPECT_EQ(Text(&_cCommonDialog::get_FileTitle), "a.mp3");
    EXPECT_EQ(Text(&_cCommonDialog::get_Filter), std::string("MP3 files (*.mp3)\0*.mp3", 23));
    EXPECT_EQ(Long(&_cCommonDialog::get_FilterIndex), 1) << "index 0 is taken as 1";

    Bstr dir;
    SAFEARRAY* files = nullptr;
    LONG count = 0;
    ASSERT_HRESULT_SUCCEEDED(dlg_->ParseMultiFileName(dir.InOut(), &files, &count));
    EXPECT_EQ(dir.Ansi(), folder_.path());
    EXPECT_EQ(count, 1);
    SafeArrayDestroy(files);
}

TEST_F(Ossivane, ACancelWithCancelErrorRaises20001AndClearsTheFileProperties) {
    Set(&_cCommonDialog::put_Filename, "old.mp3");
    Set(&_cCommonDialog::put_Filter, "All|*.*");
    dlg_->put_flags(0x4);
    dlg_->put_CancelError(VARIANT_TRUE);
    dlg_->put_HookDialog(VARIANT_TRUE);
    bool closed = false;
    sink_->On(kInitDialog, "InitDialog", [&](EventArgs& e) {
        PostMessageA(GetParent(reinterpret_cast<HWND>(static_cast<LONG_PTR>(e.Long(0)))), WM_COMMAND,
                     IDCANCEL, 0);
    });
    sink_->On(kDialogClose, "DialogClose", [&](EventArgs&) { closed = true; });
    std::string description, source;
    EXPECT_EQ(ErrorOf(dlg_->ShowOpen(), &description, &source), static_cast<HRESULT>(0x800A4E21));
    EXPECT_EQ(description, "User selected cancel.");
    EXPECT_EQ(source, "Ossivane.cCommonDialog");
    EXPECT_TRUE(closed);
    EXPECT_EQ(Text(&_cCommonDialog::get_Filename), "");
    EXPECT_EQ(Text(&_cCommonDialog::get_Filter), "");
    EXPECT_EQ(Long(&_cCommonDialog::get_FilterIndex), -1);
    EXPECT_EQ(Long(&_cCommonDialog::get_flags), 0);
}

// A message box the dialog shows, answered Yes from a timer of the dialog's
// thread (timers run in the box's own modal loop too).
std::string g_prompt;
// A message box: a visible dialog with a Yes or an OK button and the
// message text (id 0xFFFF).
BOOL CALLBACK MatchMessageBox(HWND w, LPARAM p) {
    char cls[16];
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(w) || !GetDlgItem(w, 0xFFFF) ||
        !(GetDlgItem(w, IDYES) || GetDlgItem(w, IDOK)))
        return TRUE;
    *reinterpret_cast<HWND*>(p) = w;
    return FALSE;
}

// Answers every box while its timer runs; the test kills the timer.
void CALLBACK AnswerPrompt(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), MatchMessageBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    g_prompt += text;
    PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDOK, 0);
}

TEST_F(Ossivane, SavingOverAnExistingFileAsksFirst) {
    const std::string existing = folder_.File("list.m3u");
    WriteBytes(existing, "#EXTM3U\r\n");
    Set(&_cCommonDialog::put_Filename, existing);
    Set(&_cCommonDialog::put_Filter, "Music Playlist (*.M3U)|*.m3u|All Files (*.*)|*.*");
    dlg_->put_flags(0x1806);
    dlg_->put_HookDialog(VARIANT_TRUE);
    g_prompt.clear();
    UINT_PTR timer = 0;
    sink_->On(kInitDialog, "InitDialog", [&](EventArgs& e) {
        timer = SetTimer(nullptr, 0, 20, AnswerPrompt);
        PostMessageA(GetParent(reinterpret_cast<HWND>(static_cast<LONG_PTR>(e.Long(0)))), WM_COMMAND,
                     IDOK, 0);
    });
    ASSERT_HRESULT_SUCCEEDED(dlg_->ShowSave());
    KillTimer(nullptr, timer);
    EXPECT_NE(g_prompt, "") << "the overwrite prompt was shown";
    EXPECT_EQ(Text(&_cCommonDialog::get_Filename), existing);
    EXPECT_TRUE(Long(&_cCommonDialog::get_flags) & 0x4) << "the read-only box stays hidden";
}

TEST_F(Ossivane, HookedColourAndFontDialogsRaiseTheirEvents) {
    struct Case {
        const char* name;
        HRESULT (STDMETHODCALLTYPE _cCommonDialog::*show)();
    };
    const Case cases[] = {{"colour", &_cCommonDialog::ShowColor}, {"font", &_cCommonDialog::ShowFont}};
    for (const auto& c : cases) {
        int inits = 0;
        dlg_->put_HookDialog(VARIANT_TRUE);
        dlg_->put_flags(0x10 | 0x8);  // the caller's hook bits must not matter
        sink_->On(kInitDialog, "InitDialog", [&](EventArgs& e) {
            ++inits;
            PostMessageA(reinterpret_cast<HWND>(static_cast<LONG_PTR>(e.Long(0))), WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_HRESULT_SUCCEEDED(((*dlg_.Get()).*c.show)()) << c.name << ": a cancel without CancelError";
        EXPECT_EQ(inits, 1) << c.name;
    }
}

TEST_F(Ossivane, MembersThatShowNoDialog) {
    // A name as long as the file buffer cannot be passed on terminated.
    Set(&_cCommonDialog::put_Filename, std::string(260, 'x'));
    std::string description, source;
    EXPECT_EQ(ErrorOf(dlg_->ShowOpen(), &description, &source), static_cast<HRESULT>(0x800A0005));

    // A template the module does not have: the dialog fails before it
    // shows, with 13450 Or the extended error.
    Bstr name("comdlg32.dll");
    dlg_->cdLoadLibrary(name.Get());
    EXPECT_NE(Long(&_cCommonDialog::get_hInstance), 0);
    Set(&_cCommonDialog::put_Filename, "");
    dlg_->put_flags(0x40);
    dlg_->put_TemplateName(31999);
    EXPECT_EQ(ErrorOf(dlg_->ShowOpen(), &description, &source),
              static_cast<HRESULT>(0x800A0000 | (13450 | CDERR_FINDRESFAILURE)));
    EXPECT_EQ(source, "Ossivane.cCommonDialog");
    dlg_->cdFreeLibrary();
    EXPECT_EQ(Long(&_cCommonDialog::get_hInstance), 0);
    dlg_->cdFreeLibrary();
    EXPECT_EQ(Long(&_cCommonDialog::get_hInstance), 0) << "a second free frees nothing";

    // ShowHelp is no file dialog: CentreDialog below moves the window itself.
    dlg_->put_HelpCommand(0x201);
    EXPECT_EQ(ErrorOf(dlg_->ShowHelp(), &description, &source), static_cast<HRESULT>(0x800A3589));
    EXPECT_EQ(description, "Invalid WinHelp Command Passed to ShowHelp function.");

    LONG colour = 0;
    EXPECT_HRESULT_SUCCEEDED(dlg_->get_CustomColor(16, &colour));
    EXPECT_EQ(colour, -1);
    dlg_->put_CustomColor(3, 0x123456);
    dlg_->get_CustomColor(3, &colour);
    EXPECT_EQ(colour, 0x123456);

    // A multi-selection continues the caller's list of names.
    Set(&_cCommonDialog::put_Filename, std::string("C:\\Music\0a.mp3\0b.mp3\0\0", 22));
    SAFEARRAYBOUND one = {1, 1};
    SAFEARRAY* files = SafeArrayCreate(VT_BSTR, 1, &one);
    LONG index = 1, count = 1;
    Bstr earlier("earlier.mp3"), dir;
    SafeArrayPutElement(files, &index, earlier.Get());
    ASSERT_HRESULT_SUCCEEDED(dlg_->ParseMultiFileName(dir.InOut(), &files, &count));
    EXPECT_EQ(dir.Ansi(), "C:\\Music");
    ASSERT_EQ(count, 3);
    std::vector<std::string> names;
    for (LONG i = 1; i <= 3; ++i) {
        Bstr name;
        SafeArrayGetElement(files, &i, name.Put());
        names.push_back(name.Ansi());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"earlier.mp3", "a.mp3", "b.mp3"}));
    SafeArrayDestroy(files);

    // CentreDialog with an object that has no "hwnd": the work area.
    HWND box = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, nullptr, nullptr,
                               nullptr, nullptr);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    IDispatch* nothing = nullptr;
    dlg_->CentreDialog(static_cast<LONG>(reinterpret_cast<LONG_PTR>(box)), nothing);
    const POINT c = Centre(box);
    EXPECT_LE(std::labs(c.x - (work.left + work.right) / 2), 1);
    EXPECT_LE(std::labs(c.y - (work.top + work.bottom) / 2), 1);
    DestroyWindow(box);
}

// A module named with a character the code page lacks (A with a macron)
// is not the module of its look-alike: with no such file, none is loaded.
TEST_F(Ossivane, ALibraryNameTheCodePageLacksLoadsNoOtherModule) {
    const std::string lookalike = folder_.File("libA.dll");
    ASSERT_TRUE(CopyFileA(BesideExe("Ossivane.dll").c_str(), lookalike.c_str(), FALSE));
    const std::wstring beyond = std::wstring(folder_.path().begin(), folder_.path().end()) + L"\\lib\u0100.dll";
    Bstr name = Bstr::Attach(SysAllocString(beyond.c_str()));
    dlg_->cdLoadLibrary(name.Get());
    EXPECT_EQ(Long(&_cCommonDialog::get_hInstance), 0);
    dlg_->cdFreeLibrary();
}

TEST(OssivanePrinting, WithoutAPrinterPrintIsACancelAndPageSetupAnError) {
    ComApartment com;
    ComPtr<_GCommonDialog> g;
    ASSERT_HRESULT_SUCCEEDED(g.Create(CLSID_GCommonDialog));
    g_prompt.clear();
    // Whatever box the system shows about the missing printer is closed.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerPrompt);
    LONG dc = 0, range = 0, from = 1, to = 1, owner = 0, flags = 0, ext = -1;
    SHORT copies = 1;
    VARIANT_BOOL f = VARIANT_FALSE, t = VARIANT_TRUE, ok = VARIANT_TRUE;
    IDispatch* none = nullptr;
    ASSERT_HRESULT_SUCCEEDED(g->VBPrintDlg(&dc, &range, &f, &from, &to, &f, &copies, &t, &f, &f, &f, &f,
                                           &owner, &none, &flags, &f, &none, &ok));
    EXPECT_EQ(ok, VARIANT_FALSE);
    g->get_ExtendedError(&ext);
    EXPECT_EQ(ext, 0) << "reported as a cancel";
    const std::string print_box = g_prompt;

    float m[8] = {1, 0, 1, 0, 1, 0, 1, 0};
    LONG paper = 0, orientation = 0, quality = 0, units = 0;
    ok = VARIANT_TRUE;
    ASSERT_HRESULT_SUCCEEDED(g->VBPageSetupDlg2(&owner, &f, &f, &f, &f, &m[0], &m[1], &m[2], &m[3], &m[4],
                                                &m[5], &m[6], &m[7], &paper, &orientation, &quality,
                                                &units, &none, &flags, &f, &none, &ok));
    EXPECT_EQ(ok, VARIANT_FALSE);
    g->get_ExtendedError(&ext);
    EXPECT_EQ(ext, PDERR_NODEFAULTPRN);
    KillTimer(nullptr, timer);
    EXPECT_NE(g_prompt, print_box) << "the page setup told the user of the missing printer";

    // The hook dispatcher outside a dialog call has no sink and answers nothing.
    LONG zero = 0, msg = WM_INITDIALOG;
    VARIANT answer;
    ASSERT_HRESULT_SUCCEEDED(g->DialogHook(&zero, &msg, &zero, &zero, &answer));
    EXPECT_EQ(V_VT(&answer), VT_EMPTY);
}

TEST(OssivaneMemory, ABlockThroughItsStates) {
    ComApartment com;
    ComPtr<_cMemory> mem;
    ASSERT_HRESULT_SUCCEEDED(mem.Create(CLSID_cMemory));
    LONG handle = 0, pointer = 0, again = 0, size = 0;
    VARIANT_BOOL ok = VARIANT_FALSE;
    mem->get_Pointer(&pointer);
    EXPECT_EQ(pointer, 0) << "no block";
    ASSERT_HRESULT_SUCCEEDED(mem->AllocateMemory(26, GMEM_MOVEABLE, &ok));
    EXPECT_EQ(ok, VARIANT_TRUE);
    mem->get_Handle(&handle);
    mem->get_Size(&size);
    EXPECT_GE(size, 26);
    mem->get_Pointer(&pointer);
    mem->get_Pointer(&again);
    EXPECT_NE(pointer, 0);
    EXPECT_EQ(pointer, again) << "locked once";
    mem->LockMemory(&ok);
    EXPECT_EQ(ok, VARIANT_FALSE) << "already locked";
    mem->UnlockMemory();
    EXPECT_EQ(GlobalFlags(reinterpret_cast<HGLOBAL>(static_cast<LONG_PTR>(handle))) & GMEM_LOCKCOUNT, 0u);
    mem->LockMemory(&ok);
    EXPECT_EQ(ok, VARIANT_TRUE);

    const LONG first = handle;
    mem->AllocateMemory(8, GMEM_MOVEABLE, &ok);
    mem->get_Handle(&handle);
    // A live handle is never handed out again: reused means freed.
    EXPECT_TRUE(handle == first || GlobalSize(reinterpret_cast<HGLOBAL>(static_cast<LONG_PTR>(first))) == 0)
        << "a second allocation frees the first block";
    mem->ReleaseDontFreeMemory();
    mem.Reset();
    HGLOBAL kept = reinterpret_cast<HGLOBAL>(static_cast<LONG_PTR>(handle));
    EXPECT_EQ(GlobalSize(kept), 8u) << "a released block outlives the object";
    GlobalFree(kept);
}

}  // namespace
