// Planomir on a real form under Wine: the facade is created by class id from
// the registered library and handed the form's automation face; edges,
// heights and the painters' pixels are read back from the windows and the
// screen and compared with the system colours.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/controls/progressbar/progress_bar.h"
#include "libs/common/subclass/subclass.h"
#include "libs/flatcontrols/com/planomir.h"
#include "libs/flatcontrols/tests/window_probe.h"
#include "libs/flatcontrols/tests/xp_child.h"
#include "libs/flatcontrols/win32/os_version_win32.h"
#include "platform/forms/automation.h"
#include "platform/forms/tests/forms_test_util.h"

namespace {

using corvella::testing::RepaintedPixel;
using corvella::testing::SysColour;
using namespace corvella::forms;
using corvella::controls::ProgressBar;

const char kXpChild[] = "CORVELLA_PLANOMIR_XP_CHILD";

struct TestForm : Form {
    TextBox txt;
    ListBox lst;
    ComboBox cbo;
    CheckBox chk;
    OptionButton opt;
    ProgressBar pb;
    PictureBox pic;
    CheckBox nestedChk;  // inside pic

    TestForm() {
        width = 6000;
        height = 5000;
        lst.left = 3000;
        lst.height = pic.height = 1000;
        pic.width = 2500;
        cbo.style = 2;
        cbo.items = {"One", "Two"};
        chk.caption = "Check";
        opt.caption = "Option";
        chk.height = opt.height = 400;
        int top = 500;
        for (Control* c : std::initializer_list<Control*>{&cbo, &chk, &opt, &pb, &pic}) {
            c->top = top;
            top += 500;
        }
        CreateControls = [this] {
            txt.Create(*this);
            lst.Create(*this);
            cbo.Create(*this);
            chk.Create(*this);
            opt.Create(*this);
            pb.Create(*this);
            pic.Create(*this);
            nestedChk.Create(pic);
        };
    }
};

LONG ExStyle(HWND h) { return GetWindowLongA(h, GWL_EXSTYLE); }
int PixelHeight(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return r.bottom - r.top;
}

class FlatLook : public corvella::forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        CoInitialize(nullptr);
        static bool registered = false;
        if (!registered) {
            RegisterAutomationType({"ProgressBar", [](const Control& c) {
                                        return dynamic_cast<const ProgressBar*>(&c) != nullptr;
                                    },
                                    [](const Control& c) { return static_cast<const ProgressBar&>(c).hWnd(); }});
            registered = true;
        }
        ASSERT_TRUE(form.Load());
        form.Show();
        face = AutomationFace(form);
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(planomir::CLSID_FlatControls, nullptr, CLSCTX_INPROC_SERVER,
                                                  __uuidof(_FlatControls), reinterpret_cast<void**>(&flat)));
    }
    void TearDown() override {
        if (flat) flat->Release();
        if (face) face->Release();
        form.Unload();
        CoUninitialize();
        FormsTest::TearDown();
    }
    void Create() {
        VARIANT_BOOL r = VARIANT_TRUE;
        ASSERT_HRESULT_SUCCEEDED(flat->CreateFlatControls(&face, &r));
        EXPECT_EQ(r, VARIANT_FALSE);
    }
    void Destroy() {
        VARIANT_BOOL r = VARIANT_TRUE;
        ASSERT_HRESULT_SUCCEEDED(flat->DestroyFlatControls(&r));
        EXPECT_EQ(r, VARIANT_FALSE);
    }
    int DropButtonLeft() const {
        RECT r;
        GetClientRect(form.cbo.hWnd(), &r);
        return r.right - 3 - GetSystemMetrics(SM_CXHTHUMB);
    }

    TestForm form;
    IDispatch* face = nullptr;
    _FlatControls* flat = nullptr;
};

TEST_F(FlatLook, StylesHeightsAndEdgesAsTheLookSetsThem) {
    ASSERT_NE(ExStyle(form.txt.hWnd()) & WS_EX_CLIENTEDGE, 0);
    const LONG comboBefore = ExStyle(form.cbo.hWnd());
    Create();
    struct Row { const char* what; HWND h; LONG has, hasNot; };
    const Row rows[] = {
        {"text box", form.txt.hWnd(), WS_EX_STATICEDGE, WS_EX_CLIENTEDGE},
        {"list box", form.lst.hWnd(), WS_EX_STATICEDGE, WS_EX_CLIENTEDGE},
        {"progress bar", form.pb.hWnd(), WS_EX_STATICEDGE, 0},
        {"combo", form.cbo.hWnd(), 0, WS_EX_STATICEDGE},
        {"check box", form.chk.hWnd(), 0, WS_EX_STATICEDGE},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ExStyle(r.h) & r.has, r.has) << r.what;
        EXPECT_EQ(ExStyle(r.h) & r.hasNot, 0) << r.what;
    }
    EXPECT_EQ(ExStyle(form.cbo.hWnd()), comboBefore);
    // 255 twips: 17 pixels at 96 dots per inch, nested boxes included.
    for (HWND h : {form.chk.hWnd(), form.opt.hWnd(), form.nestedChk.hWnd()}) EXPECT_EQ(PixelHeight(h), 17);
    EXPECT_EQ(form.txt.Height(), 375);  // only check and option boxes change height

    // A soft border is only ever added to.
    VARIANT_BOOL r;
    IDispatch* txt = AutomationFace(form.txt);
    ASSERT_HRESULT_SUCCEEDED(flat->CreateSoftBorder(txt, VARIANT_FALSE, &r));
    EXPECT_EQ(ExStyle(form.txt.hWnd()) & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), WS_EX_STATICEDGE | WS_EX_CLIENTEDGE);
    txt->Release();
    Destroy();
}

TEST_F(FlatLook, PaintersDrawInSystemColoursAndStopWhenUndone) {
    const HWND cbo = form.cbo.hWnd(), chk = form.chk.hWnd(), opt = form.opt.hWnd();
    ASSERT_NE(RepaintedPixel(cbo, 1, 1), SysColour(COLOR_BTNHIGHLIGHT));
    Create();
    RECT rc;
    GetClientRect(cbo, &rc);
    const int mid = rc.bottom / 2, left = DropButtonLeft(), right = rc.right - 2;
    EXPECT_EQ(RepaintedPixel(cbo, 1, 1), SysColour(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(RepaintedPixel(cbo, left, mid), SysColour(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(RepaintedPixel(cbo, right, mid), SysColour(COLOR_BTNSHADOW));

    SendMessageA(cbo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_NE(SendMessageA(cbo, CB_GETDROPPEDSTATE, 0, 0), 0);
    EXPECT_EQ(RepaintedPixel(cbo, left, mid), SysColour(COLOR_BTNSHADOW)) << "dropped: the button looks pressed";
    EXPECT_EQ(RepaintedPixel(cbo, right, mid), SysColour(COLOR_BTNFACE));
    SendMessageA(cbo, CB_SHOWDROPDOWN, FALSE, 0);

    struct Glyph { int x, y; COLORREF c; };
    for (const Glyph& g : {Glyph{3, 4, RGB(150, 150, 150)}, Glyph{11, 7, RGB(200, 200, 200)},
                           Glyph{2, 9, RGB(150, 150, 150)}, Glyph{8, 12, RGB(200, 200, 200)}})
        EXPECT_EQ(RepaintedPixel(opt, g.x, g.y), g.c) << g.x << "," << g.y;

    GetClientRect(chk, &rc);
    const int row = rc.bottom / 2;
    EXPECT_EQ(RepaintedPixel(chk, 1, row), SysColour(COLOR_BTNHIGHLIGHT)) << "enabled: the highlight frame last";
    form.chk.SetEnabled(false);
    EXPECT_EQ(RepaintedPixel(chk, 0, row), SysColour(COLOR_BTNSHADOW)) << "disabled: one pixel larger, sunken";
    EXPECT_EQ(RepaintedPixel(chk, 13, row), SysColour(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(RepaintedPixel(chk, 1, row), SysColour(COLOR_BTNFACE));

    Destroy();
    EXPECT_NE(RepaintedPixel(cbo, 1, 1), SysColour(COLOR_BTNHIGHLIGHT)) << "undone: the combo draws itself again";
}

TEST_F(FlatLook, ASecondPassReleasesTheFirstPainters) {
    const LONG_PTR formProc = GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC);
    const LONG_PTR comboProc = GetWindowLongPtrA(form.cbo.hWnd(), GWLP_WNDPROC);
    Create();
    EXPECT_NE(GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC), formProc);
    Create();  // a form loaded again calls it again on the same object
    Destroy();
    EXPECT_EQ(GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC), formProc) << "no painter of the first pass hooked";
    EXPECT_EQ(GetWindowLongPtrA(form.cbo.hWnd(), GWLP_WNDPROC), comboProc);
}

struct PassThrough : corvella::platform::ISubclass {
    void put_MsgResponse(long) override {}
    long get_MsgResponse() override { return corvella::platform::kMsgResponseAlongside; }
    LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override { return 0; }
};

TEST_F(FlatLook, LibraryStaysLoadedWhileAWindowCarriesItsLayer) {
    Create();
    // The program hooks its own window above the library's layer.
    corvella::platform::SubclassManager program;
    PassThrough client;
    ASSERT_TRUE(program.HookMessage(&client, form.hWnd(), WM_GETMINMAXINFO));
    Destroy();
    flat->Release();
    flat = nullptr;
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_NE(GetModuleHandleA("Planomir.dll"), nullptr);
    SendMessageA(form.hWnd(), WM_COMMAND, 0, 0);  // goes through the library's layer
    form.SetWidth(6100);

    program.UnhookMessage(&client, form.hWnd(), WM_GETMINMAXINFO);
    SendMessageA(form.hWnd(), WM_NULL, 0, 0);  // the idle layer takes itself out
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(planomir::CLSID_FlatControls, nullptr, CLSCTX_INPROC_SERVER,
                                              __uuidof(_FlatControls), reinterpret_cast<void**>(&flat)));
    flat->Release();
    flat = nullptr;
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleA("Planomir.dll"), nullptr) << "free again once no window carries it";
}

TEST_F(FlatLook, GoneFormsAndObjectsWithoutAWindowFailCleanly) {
    IDispatch* collection = nullptr;
    {
        DISPID id;
        LPOLESTR name = const_cast<LPOLESTR>(L"controls");
        ASSERT_HRESULT_SUCCEEDED(face->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        VARIANT v;
        VariantInit(&v);
        ASSERT_HRESULT_SUCCEEDED(face->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr));
        collection = V_DISPATCH(&v);
    }
    VARIANT_BOOL r;
    EXPECT_HRESULT_FAILED(flat->CreateSoftBorder(collection, VARIANT_TRUE, &r));
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    BSTR source = nullptr;
    info->GetSource(&source);
    EXPECT_STREQ(source, L"Planomir.FlatControls");
    SysFreeString(source);
    info->Release();

    // The form goes while its painters are still attached.
    Create();
    form.Unload();
    ITypeInfo* ti = nullptr;
    EXPECT_HRESULT_SUCCEEDED(face->GetTypeInfo(0, 0, &ti));
    if (ti) ti->Release();
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(face->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr), RPC_E_DISCONNECTED);
    EXPECT_EQ(collection->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr),
              RPC_E_DISCONNECTED);
    collection->Release();
    Destroy();
    Create();  // nothing to walk, nothing fails
    Destroy();
}

// The XP run: the same form in a child process that Wine tells it is XP.
TEST_F(FlatLook, WindowsXpLeavesEveryControlAsItIs) {
    if (!corvella::testing::InXpChild(kXpChild)) GTEST_SKIP() << "runs in the child of XpRunChangesNothing";
    ASSERT_TRUE(corvella::ReadOSVersion().IsWinXP());
    const LONG txtBefore = ExStyle(form.txt.hWnd());
    const int chkBefore = PixelHeight(form.chk.hWnd());
    const COLORREF comboBefore = RepaintedPixel(form.cbo.hWnd(), 1, 1);
    Create();
    EXPECT_EQ(ExStyle(form.txt.hWnd()), txtBefore);
    EXPECT_EQ(PixelHeight(form.chk.hWnd()), chkBefore);
    EXPECT_EQ(RepaintedPixel(form.cbo.hWnd(), 1, 1), comboBefore);
    Destroy();
}

TEST(FlatLookXp, XpRunChangesNothing) {
    if (corvella::testing::InXpChild(kXpChild)) GTEST_SKIP();
    EXPECT_EQ(corvella::testing::RunUnderWindowsXp(kXpChild, "FlatLook.WindowsXpLeavesEveryControlAsItIs"), 0);
}

}  // namespace
