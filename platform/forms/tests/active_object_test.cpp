// The loop hook for an in-place active ActiveX control: it sees key messages
// before the form and keeps its reference only while it is set.
#include <ole2.h>

#include <string>
#include <vector>

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::forms::testing {
namespace {

using ActiveObjectHook = FormsTest;

// A control's in-place object that takes one key as its accelerator.
class KeyTaker : public IOleInPlaceActiveObject {
public:
    explicit KeyTaker(WPARAM key) : key_(key) {}
    LONG refs = 1;
    std::vector<WPARAM> seen;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceActiveObject) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override {
        if (msg->message != WM_KEYDOWN) return S_FALSE;
        seen.push_back(msg->wParam);
        return msg->wParam == key_ ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

private:
    WPARAM key_;
};

TEST_F(ActiveObjectHook, TheActiveControlSeesKeysBeforeTheForm) {
    Form form;
    form.name = "frmTest";
    std::vector<std::string> clicks;
    form.Form_KeyDown = [&](int& key, int) {
        if (key == VK_F5) clicks.push_back("Refresh");
        if (key == VK_F6) clicks.push_back("Stop");
    };
    form.Show();

    KeyTaker control(VK_F5);
    SetActiveObject(&control);
    EXPECT_EQ(control.refs, 2);
    PostMessageA(form.hWnd(), WM_KEYDOWN, VK_F5, 0);
    PostMessageA(form.hWnd(), WM_KEYDOWN, VK_F6, 0);
    ASSERT_TRUE(PumpUntil([&] { return !clicks.empty(); }));
    EXPECT_EQ(control.seen, (std::vector<WPARAM>{VK_F5, VK_F6}));
    EXPECT_EQ(clicks, std::vector<std::string>{"Stop"}) << "F5 was the control's";

    SetActiveObject(nullptr);
    EXPECT_EQ(control.refs, 1);
    PostMessageA(form.hWnd(), WM_KEYDOWN, VK_F5, 0);
    ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 2; }));
    EXPECT_EQ(clicks.back(), "Refresh");
    form.Unload();
}

}  // namespace
}  // namespace corvella::forms::testing
