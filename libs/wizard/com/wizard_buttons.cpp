// WizardButtons: the bar along the bottom of a wizard form. It keeps the
// pages, shows one at a time, asks the form before a move and reports after
// it; Back, Next, Cancel and Help are real buttons, so Tab, Enter on the
// focused one and their mnemonics reach them through the form's dialog
// keys. Enter elsewhere on the form and Esc come as the bar's mnemonics.
#include <array>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "libs/common/com/enumerator.h"
#include "libs/wizard/com/pagerelle_internal.h"
#include "libs/wizard/core/wizard_logic.h"

namespace corvella::wizard {
namespace {

using com::ComPtr;
using com::Variant;

const char kSource[] = "Pagerelle.WizardButtons";
const int kButtonIdBase = 100;
// Posted after a move: the focus is placed once the form is up and active.
const UINT kPlaceFocus = WM_APP + 1;

enum Prop { kEnabled, kVisible, kDescription, kFont, kHelpPosition, kPageInfo };
const com::PersistedProperty kProps[] = {
    {kEnabled, "ButtonEnabled", VT_BOOL},
    {kVisible, "ButtonVisible", VT_BOOL},
    {kDescription, "DescriptionText", VT_BSTR},
    {kFont, "Font", VT_DISPATCH},
    {kHelpPosition, "HelpPosition", VT_I4},
    {kPageInfo, "DisplayPageInfo", VT_BOOL},
};

const char* const kDesignCaptions[4] = {"&Next >", "< &Back", "Cancel", "&Help"};

std::string TextOf(const VARIANT& v) {
    std::string out;
    return SUCCEEDED(com::VariantToAnsi(v, out)) ? out : std::string();
}

Variant Short(short n) {
    Variant v;
    V_VT(v.Put()) = VT_I2;
    V_I2(v.Get()) = n;
    return v;
}
Variant ShortRef(short* n) {
    Variant v;
    V_VT(v.Put()) = VT_BYREF | VT_I2;
    V_I2REF(v.Get()) = n;
    return v;
}

PageIndex IndexOf(const VARIANT& index) {
    const VARIANT* v = &index;
    while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    if (V_VT(v) == VT_BSTR || V_VT(v) == (VT_BYREF | VT_BSTR))
        return PageIndex::Key(TextOf(*v));
    Variant n;
    if (FAILED(VariantChangeType(n.Put(), const_cast<VARIANT*>(v), 0, VT_I4))) return PageIndex::At(0);
    return PageIndex::At(V_I4(n.Get()));
}

// The pages for a For Each.
void HandPage(const ComPtr<IDispatch>& page, VARIANT& out) {
    VariantInit(&out);
    V_VT(&out) = VT_DISPATCH;
    V_DISPATCH(&out) = page.Get();
    if (page) page->AddRef();
}
using PageEnum = com::Enumerator<IEnumVARIANT, ComPtr<IDispatch>, VARIANT, &HandPage>;

class WizardButtonsControl
    : public com::Control<WizardButtonsControl, _WizardButtons, &CLSID_WizardButtons, &DIID___WizardButtons> {
public:
    static com::InterfaceTable Interfaces() { return ControlInterfaces(); }

    // ---- persistence ----
    com::PropertyTable Persisted() const override { return kProps; }
    std::vector<int> LoadOrder() const override {
        return {kEnabled, kVisible, kHelpPosition, kDescription, kFont, kPageInfo};
    }
    Variant DefaultOf(int id) const override {
        switch (id) {
        case kDescription: return Variant(std::string());
        case kFont: {
            ComPtr<IFontDisp> f = AmbientFont();
            if (!f) f = DesignFont();
            return Variant(static_cast<IDispatch*>(f.Get()));
        }
        case kHelpPosition: return Variant(0L);
        default: return Variant(false);
        }
    }
    Variant GetPersisted(int id) const override {
        switch (id) {
        case kEnabled: return Variant(rememberedEnabled_);
        case kVisible: return Variant(rememberedVisible_);
        case kDescription: return Variant(description_);
        case kFont: return Variant(static_cast<IDispatch*>(font_.Get()));
        case kHelpPosition: return Variant(static_cast<long>(helpPosition_));
        default: return Variant(pageInfo_);
        }
    }
    void SetPersisted(int id, const Variant& v) override {
        switch (id) {
        case kEnabled: rememberedEnabled_ = AsBool(v); break;
        case kVisible: rememberedVisible_ = AsBool(v); break;
        case kDescription: description_ = v.Ansi(); break;
        case kFont: SetFontFrom(v); break;
        case kHelpPosition: helpPosition_ = std::atol(v.Ansi().c_str()); break;
        default: pageInfo_ = AsBool(v); break;
        }
    }
    void OnInitNew() override {
        rememberedEnabled_ = rememberedVisible_ = pageInfo_ = false;
        helpPosition_ = 0;
        SetFontFrom(DefaultOf(kFont));
    }

    // ---- window ----
    void OnCreated() override {
        if (!font_) SetFontFrom(DefaultOf(kFont));
        // Tab order: Cancel, Back, Next, then Help.
        static const int kTabOrder[4] = {ButtonCancel, ButtonBack, ButtonNext, ButtonHelp};
        for (int i : kTabOrder) {
            DWORD style = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;
            if (buttonVisible_[i]) style |= WS_VISIBLE;
            if (!buttonEnabled_[i]) style |= WS_DISABLED;
            buttons_[i] = CreateWindowExA(0, "BUTTON", captions_[i].c_str(), style, 0, PixelsY(150),
                                          PixelsX(kButtonWidth), PixelsY(kButtonHeight), Window(),
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonIdBase + i)),
                                          com::ThisModule(), nullptr);
            SendMessageA(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_.Get())), FALSE);
        }
        Layout();
    }
    void OnClosing() override { buttons_ = {}; }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) >= kButtonIdBase && LOWORD(wp) < kButtonIdBase + 4 && HIWORD(wp) == BN_CLICKED) {
                Clicked(LOWORD(wp) - kButtonIdBase);
                return 0;
            }
            break;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_SHOWWINDOW:
            if (wp) Layout();
            break;
        case kPlaceFocus:
            PlaceFocus();
            return 0;
        default:
            break;
        }
        return ControlBase::OnMessage(msg, wp, lp);
    }

    void Paint(HDC dc, const RECT& r) override {
        FillColour(dc, r, 0x8000000F);
        const int start = PixelsX(ruleStart_);
        LineColour(dc, start, 0, r.right, 0x80000010);
        LineColour(dc, start, PixelsY(15), r.right, 0x80000014);
        HGDIOBJ old = SelectObject(dc, FontHandle(font_.Get()));
        SetBkMode(dc, TRANSPARENT);
        if (!description_.empty()) {
            SetTextColor(dc, GdiColour(0x8000000E));
            TextOutA(dc, PixelsX(75), PixelsY(15), description_.c_str(), static_cast<int>(description_.size()));
            SetTextColor(dc, GdiColour(0x80000010));
            TextOutA(dc, PixelsX(60), 0, description_.c_str(), static_cast<int>(description_.size()));
        }
        if (label1Visible_ && !label1_.empty()) {
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            RECT l = {PixelsX(180), PixelsY(240), PixelsX(180 + 1635), PixelsY(240 + 255)};
            DrawTextA(dc, label1_.c_str(), -1, &l, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        }
        SelectObject(dc, old);
    }

    // Enter on the form (with the focus on no button) presses Next, Esc the
    // button in Cancel's place, whatever their captions say.
    std::vector<ACCEL> Mnemonics() const override {
        return {{FVIRTKEY, VK_RETURN, 0}, {FVIRTKEY, VK_ESCAPE, 0}};
    }
    void OnMnemonicKey(const MSG& key) override {
        const int button = key.wParam == VK_RETURN ? ButtonNext : key.wParam == VK_ESCAPE ? ButtonCancel : -1;
        if (button >= 0 && buttonEnabled_[button] && buttonVisible_[button]) Clicked(button);
    }

    // The bar's own ResizeBorder: the form it sits on changed its size.
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
        Layout();
        return S_OK;
    }

    // ---- _WizardButtons ----
    STDMETHODIMP Add(IDispatch* item, VARIANT key) override {
        const bool keyed = V_VT(&key) != VT_ERROR && V_VT(&key) != VT_EMPTY;
        const std::string text = keyed ? TextOf(key) : std::string();
        if (pages_.Add(ComPtr<IDispatch>(item), keyed ? &text : nullptr) != pages_.kOk)
            return Fail(kKeyInUse, kSource, "This key is already associated with an element of this collection",
                        IID__WizardButtons);
        return S_OK;
    }
    STDMETHODIMP Remove(VARIANT index) override {
        const auto e = pages_.Remove(IndexOf(index));
        if (e == pages_.kOk) return S_OK;
        return Fail(e, kSource, e == pages_.kSubscript ? "Subscript out of range" : "Invalid procedure call or argument",
                    IID__WizardButtons);
    }
    STDMETHODIMP Item(VARIANT index, IDispatch** page) override {
        if (!page) return E_POINTER;
        const ComPtr<IDispatch>* found = pages_.Item(IndexOf(index));
        *page = found ? found->Get() : nullptr;
        if (*page) (*page)->AddRef();
        return S_OK;
    }
    STDMETHODIMP Exists(VARIANT index, VARIANT_BOOL* found) override {
        return com::BoolResult(pages_.Exists(IndexOf(index)), found);
    }
    STDMETHODIMP get_Count(long* value) override {
        if (!value) return E_POINTER;
        *value = pages_.Count();
        return S_OK;
    }
    STDMETHODIMP Clear() override {
        pages_.Clear();
        return S_OK;
    }
    STDMETHODIMP NewEnum(IUnknown** out) override {
        if (!out) return E_POINTER;
        std::vector<ComPtr<IDispatch>> all;
        pages_.ForEach([&](const ComPtr<IDispatch>& p) { all.push_back(p); });
        IEnumVARIANT* pages = nullptr;
        const HRESULT hr = PageEnum::Make(std::move(all), &pages);
        *out = pages;
        return hr;
    }
    STDMETHODIMP ShowPage(short number) override {
        ShowPageNumber(number);
        return S_OK;
    }
    STDMETHODIMP get_ButtonVisible(::EButtons, VARIANT_BOOL* value) override {
        return com::BoolResult(rememberedVisible_, value);
    }
    STDMETHODIMP put_ButtonVisible(::EButtons button, VARIANT_BOOL value) override {
        return SetButtonFlag(button, value != VARIANT_FALSE, buttonVisible_, rememberedVisible_, 0x68030007);
    }
    STDMETHODIMP get_ButtonCaption(::EButtons button, BSTR* value) override {
        if (!value) return E_POINTER;
        if (!ValidButton(button)) return BadButton();
        *value = com::AnsiToBstr(captions_[button]);
        return S_OK;
    }
    STDMETHODIMP put_ButtonCaption(::EButtons button, BSTR value) override {
        if (!ValidButton(button)) return BadButton();
        captions_[button] = com::BstrToAnsi(value);
        if (buttons_[button]) SetWindowTextA(buttons_[button], captions_[button].c_str());
        NotifyChanged(0x68030006);
        return S_OK;
    }
    STDMETHODIMP get_ButtonEnabled(::EButtons, VARIANT_BOOL* value) override {
        return com::BoolResult(rememberedEnabled_, value);
    }
    STDMETHODIMP put_ButtonEnabled(::EButtons button, VARIANT_BOOL value) override {
        return SetButtonFlag(button, value != VARIANT_FALSE, buttonEnabled_, rememberedEnabled_, 0x68030005);
    }
    STDMETHODIMP get_PageNumber(short* value) override {
        if (!value) return E_POINTER;
        *value = current_;
        return S_OK;
    }
    STDMETHODIMP get_PageCount(short* value) override {
        if (!value) return E_POINTER;
        *value = static_cast<short>(pages_.Count());
        return S_OK;
    }
    STDMETHODIMP get_DescriptionText(BSTR* value) override {
        if (!value) return E_POINTER;
        *value = com::AnsiToBstr(description_);
        return S_OK;
    }
    STDMETHODIMP put_DescriptionText(BSTR value) override {
        description_ = com::BstrToAnsi(value);
        Layout();
        NotifyChanged(0x68030002);
        return S_OK;
    }
    // The container's ambient font, as the bar has always answered.
    STDMETHODIMP get_Font(IDispatch** value) override {
        if (!value) return E_POINTER;
        ComPtr<IFontDisp> f = AmbientFont();
        if (!f) f = font_;
        *value = f.Detach();
        return S_OK;
    }
    STDMETHODIMP putref_Font(IDispatch* value) override {
        SetFontFrom(Variant(value));
        for (HWND b : buttons_)
            if (b) SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_.Get())), TRUE);
        Layout();
        NotifyChanged(DISPID_FONT);
        return S_OK;
    }
    STDMETHODIMP get_HelpPosition(::EHelpPosition* value) override {
        if (!value) return E_POINTER;
        *value = static_cast<::EHelpPosition>(helpPosition_);
        return S_OK;
    }
    STDMETHODIMP put_HelpPosition(::EHelpPosition value) override {
        helpPosition_ = value;
        Layout();
        return S_OK;
    }
    STDMETHODIMP get_DisplayPageInfo(VARIANT_BOOL* value) override { return com::BoolResult(pageInfo_, value); }
    STDMETHODIMP put_DisplayPageInfo(VARIANT_BOOL value) override {
        pageInfo_ = value != VARIANT_FALSE;
        label1Visible_ = pageInfo_;
        if (Window()) InvalidateRect(Window(), nullptr, TRUE);
        NotifyChanged(0x68030000);
        return S_OK;
    }
    STDMETHODIMP ResetButtons() override {
        for (int i = 0; i < 4; ++i) {
            buttonEnabled_[i] = buttonVisible_[i] = true;
            if (buttons_[i]) {
                EnableWindow(buttons_[i], TRUE);
                ShowWindow(buttons_[i], SW_SHOW);
            }
        }
        return S_OK;
    }

private:
    static bool AsBool(const Variant& v) {
        Variant b;
        if (FAILED(VariantChangeType(b.Put(), const_cast<VARIANT*>(v.Get()), 0, VT_BOOL))) return false;
        return V_BOOL(b.Get()) != VARIANT_FALSE;
    }
    static bool ValidButton(int b) { return b >= 0 && b <= 3; }
    static HRESULT BadButton() {
        return Fail(kSubscript, kSource, "Subscript out of range", IID__WizardButtons);
    }
    // Enabled or visible of one button; the value is also the remembered flag.
    HRESULT SetButtonFlag(int button, bool on, std::array<bool, 4>& flags, bool& remembered, DISPID id) {
        if (!ValidButton(button)) return BadButton();
        flags[button] = on;
        if (HWND b = buttons_[button]) {
            if (&flags == &buttonVisible_) ShowWindow(b, on ? SW_SHOW : SW_HIDE);
            else EnableWindow(b, on);
        }
        remembered = on;
        NotifyChanged(id);
        return S_OK;
    }
    void SetFontFrom(const Variant& v) {
        ComPtr<IFontDisp> f;
        if ((v.Type() == VT_DISPATCH || v.Type() == VT_UNKNOWN) && V_UNKNOWN(v.Get()))
            V_UNKNOWN(v.Get())->QueryInterface(IID_IFontDisp, f.PutVoid());
        if (f) font_ = f;
    }

    void Clicked(int button) {
        ComPtr<IUnknown> self = KeepAlive();
        switch (button) {
        case ButtonNext:
            if (current_ == pages_.Count()) RaiseEvent(2);
            else ShowPageNumber(static_cast<short>(current_ + 1));
            break;
        case ButtonBack: ShowPageNumber(static_cast<short>(current_ - 1)); break;
        case ButtonCancel: RaiseEvent(1); break;
        default: RaiseEvent(3, {Short(current_)}); break;
        }
    }

    // A page that cannot be shown or hidden does not stop the move; it is
    // reported in the debug output.
    static void SetPageVisible(const ComPtr<IDispatch>& page, bool on) {
        if (!page) return;
        const HRESULT hr = com::PutByName(page.Get(), L"Visible", Variant(on));
        if (FAILED(hr)) {
            char text[96];
            std::snprintf(text, sizeof text, "%s: a page's Visible could not be set to %s (0x%08lX)\n", kSource,
                          on ? "True" : "False", static_cast<unsigned long>(hr));
            OutputDebugStringA(text);
        }
    }

    void ShowPageNumber(short number) {
        if (!pages_.Exists(PageIndex::At(number))) return;
        // Held throughout: a handler may unload the form that hosts the bar.
        ComPtr<IUnknown> self = KeepAlive();
        const EMoveDirection direction = DirectionOf(number, current_);
        short to = number;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        RaiseEvent(4, {Variant(static_cast<long>(direction)), Short(current_), ShortRef(&to), Variant::ByRef(&cancel)});
        if (Closed() || cancel != VARIANT_FALSE) return;
        // A redirect to a page that does not exist counts as a cancel, not
        // as "hide every page".
        if (!pages_.Exists(PageIndex::At(to))) return;
        std::vector<ComPtr<IDispatch>> all;
        pages_.ForEach([&](const ComPtr<IDispatch>& p) { all.push_back(p); });
        for (const auto& p : all) SetPageVisible(p, false);
        if (const ComPtr<IDispatch>* shown = pages_.Item(PageIndex::At(to))) SetPageVisible(*shown, true);
        const short old = current_;
        current_ = to;
        if (pageInfo_) {
            label1_ = PageInfoText(to, static_cast<int>(pages_.Count()));
            if (Window()) InvalidateRect(Window(), nullptr, TRUE);
        }
        RaiseEvent(5, {Variant(static_cast<long>(DirectionOf(to, old))), Short(old), ShortRef(&to)});
        if (!Closed() && Window()) PostMessageA(Window(), kPlaceFocus, 0, 0);
    }

    // As a wizard does after a move: the focus goes to the first control of
    // the shown page, or to Next on a page without one, so that Enter goes
    // on. It stays where it is when it already lies on a shown control of
    // a page (a handler may have put it there).
    void PlaceFocus() {
        HWND form = Window();
        while ((GetWindowLongA(form, GWL_STYLE) & WS_CHILD) != 0 && GetParent(form) != nullptr) form = GetParent(form);
        if (GetActiveWindow() != form) return;
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(form, focus) && !IsChild(Window(), focus) && IsWindowVisible(focus)) return;
        HWND first = GetNextDlgTabItem(form, nullptr, FALSE);
        HWND target = first != nullptr && !IsChild(Window(), first) ? first : buttons_[ButtonNext];
        if (target != nullptr && IsWindowVisible(target) && IsWindowEnabled(target))
            SendMessageA(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    }

    // Every step runs even when an earlier one fails.
    void Layout() {
        if (laying_out_ || !Window()) return;
        laying_out_ = true;
        RECT client;
        GetClientRect(Window(), &client);
        int labelWidth = 0;
        if (!description_.empty()) {
            HDC dc = GetDC(Window());
            HGDIOBJ old = SelectObject(dc, FontHandle(font_.Get()));
            SIZE size = {};
            GetTextExtentPoint32A(dc, description_.c_str(), static_cast<int>(description_.size()), &size);
            SelectObject(dc, old);
            ReleaseDC(Window(), dc);
            labelWidth = TwipsX(size.cx);
        }
        ruleStart_ = RuleStart(description_, labelWidth, 60);
        Variant parent, width, height;
        if (SUCCEEDED(ExtenderGet(L"Parent", parent)) && parent.Type() == VT_DISPATCH && V_DISPATCH(parent.Get())) {
            IDispatch* p = V_DISPATCH(parent.Get());
            if (SUCCEEDED(com::GetByName(p, L"ScaleWidth", width)) &&
                SUCCEEDED(com::GetByName(p, L"ScaleHeight", height))) {
                const long pw = std::atol(width.Ansi().c_str()), ph = std::atol(height.Ansi().c_str());
                ExtenderCall(L"Move", {Variant(0L), Variant(ph - kBarHeight), Variant(pw), Variant(static_cast<long>(kBarHeight))});
                GetClientRect(Window(), &client);
            }
        }
        std::array<int, 4> lefts{};
        const int top = 12;  // pixels, the buttons' top in every layout
        const bool move = ButtonLefts(helpPosition_, TwipsX(client.right), kButtonWidth, lefts);
        static const int kOrder[4] = {ButtonNext, ButtonBack, ButtonCancel, ButtonHelp};
        for (int i : kOrder) {
            if (!buttons_[i]) continue;
            RECT r;
            GetWindowRect(buttons_[i], &r);
            POINT at = {r.left, r.top};
            ScreenToClient(Window(), &at);
            MoveWindow(buttons_[i], move ? PixelsX(lefts[i]) : at.x, top, r.right - r.left, r.bottom - r.top, TRUE);
        }
        InvalidateRect(Window(), nullptr, TRUE);
        laying_out_ = false;
    }
    PageCollection<ComPtr<IDispatch>> pages_;
    short current_ = 1;
    bool rememberedEnabled_ = false, rememberedVisible_ = false;
    long helpPosition_ = 0;
    bool pageInfo_ = false;
    bool label1Visible_ = true;
    std::string label1_;
    std::string description_;
    ComPtr<IFontDisp> font_;
    std::array<std::string, 4> captions_ = {kDesignCaptions[0], kDesignCaptions[1], kDesignCaptions[2],
                                            kDesignCaptions[3]};
    std::array<bool, 4> buttonEnabled_ = {true, true, true, true};
    std::array<bool, 4> buttonVisible_ = {true, true, true, true};
    std::array<HWND, 4> buttons_ = {};
    int ruleStart_ = 0;
    bool laying_out_ = false;
};

}  // namespace

HRESULT CreateWizardButtons(REFIID riid, void** ppv) { return com::CreateInstance<WizardButtonsControl>(riid, ppv); }

}  // namespace corvella::wizard
