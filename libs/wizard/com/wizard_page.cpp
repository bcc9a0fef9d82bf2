// WizardPage: one step of a wizard. It draws a banner (white band, bold
// title, description, etched rule), a splash band or nothing, fills its form
// above the form's bars, holds the form's controls of the step, and reports
// when the bar shows or hides it.
#include <string>
#include <vector>

#include "libs/common/com/picture.h"
#include "libs/wizard/com/pagerelle_internal.h"
#include "libs/wizard/core/wizard_logic.h"

namespace corvella::wizard {
namespace {

using com::ComPtr;
using com::Variant;

const char kDefaultTitle[] = "Enter New Title";
const char kDefaultDescription[] = "Enter New Title or Description of Action";
const OLE_COLOR kPageColour = 0x8000000F;
const OLE_COLOR kSplashFill = 0x775B3E;
const OLE_COLOR kWhite = 0xFFFFFF;
const OLE_COLOR kTextColour = 0x80000012;
const OLE_COLOR kSplashBack = 0x80000002;
const int kBannerHeight = 885;
const LONG kTileVerb = 100;

enum Prop {
    kStyle, kState, kTop, kLeft, kBackColor, kSplashFillProp, kBannerFillProp, kTextColourProp, kDescription,
    kTitle, kBannerBack, kSplashBackProp, kSmallImage, kLargeImage, kFont, kBannerPicture, kSplashPicture
};
// In the order a save writes them.
const com::PersistedProperty kProps[] = {
    {kStyle, "Style", VT_I4},
    {kState, "State", VT_I4},
    {kTop, "Top", VT_I4},
    {kLeft, "Left", VT_I4},
    {kBackColor, "BackColor", VT_I4},
    {kSplashFillProp, "BackColorSplash", VT_I4},
    {kBannerFillProp, "BackColorBanner", VT_I4},
    {kTextColourProp, "BannerTextColor", VT_I4},
    {kDescription, "BannerDescription", VT_BSTR},
    {kTitle, "BannerTitle", VT_BSTR},
    {kBannerBack, "BannerBackColor", VT_I4},
    {kSplashBackProp, "SplashBackColor", VT_I4},
    {kSmallImage, "SmallImage", VT_VARIANT},
    {kLargeImage, "LargeImage", VT_VARIANT},
    {kFont, "Font", VT_DISPATCH},
    {kBannerPicture, "BannerPicture", VT_DISPATCH},
    {kSplashPicture, "SplashPicture", VT_DISPATCH},
};

long AsLong(const Variant& v) {
    Variant n;
    if (FAILED(VariantChangeType(n.Put(), const_cast<VARIANT*>(v.Get()), 0, VT_I4))) return 0;
    return V_I4(n.Get());
}

Variant Colour(OLE_COLOR c) { return Variant(static_cast<long>(c)); }

Variant ShortZero() {
    Variant v;
    V_VT(v.Put()) = VT_I2;
    V_I2(v.Get()) = 0;
    return v;
}

ComPtr<IDispatch> ObjectOf(const Variant& v) {
    ComPtr<IDispatch> d;
    if ((v.Type() == VT_DISPATCH || v.Type() == VT_UNKNOWN) && V_UNKNOWN(v.Get()))
        V_UNKNOWN(v.Get())->QueryInterface(IID_IDispatch, d.PutVoid());
    return d;
}

class WizardPageControl
    : public com::Control<WizardPageControl, _WizardPage, &CLSID_WizardPage, &DIID___WizardPage> {
public:
    static com::InterfaceTable Interfaces() { return ControlInterfaces(); }

    // ---- persistence ----
    com::PropertyTable Persisted() const override { return kProps; }
    std::vector<int> LoadOrder() const override {
        return {kStyle, kState, kTop, kLeft, kSmallImage, kLargeImage, kSplashFillProp, kBannerFillProp,
                kTextColourProp, kDescription, kTitle, kBannerBack, kSplashBackProp, kDescription,
                kBackColor, kFont, kBannerPicture, kSplashPicture};
    }
    Variant DefaultOf(int id) const override {
        switch (id) {
        case kBackColor: return Colour(kPageColour);
        case kSplashFillProp: return Colour(kSplashFill);
        case kBannerFillProp:
        case kBannerBack: return Colour(kWhite);
        case kTextColourProp: return Colour(kTextColour);
        case kDescription: return Variant(std::string(kDefaultDescription));
        case kTitle: return Variant(std::string(kDefaultTitle));
        case kSplashBackProp: return Colour(kSplashBack);
        case kSmallImage:
        case kLargeImage: return ShortZero();
        case kFont: {
            ComPtr<IFontDisp> f = AmbientFont();
            if (!f) f = DesignFont();
            return Variant(static_cast<IDispatch*>(f.Get()));
        }
        case kBannerPicture:
        case kSplashPicture: return Variant(static_cast<IDispatch*>(nullptr));
        default: return Variant(0L);
        }
    }
    Variant GetPersisted(int id) const override {
        switch (id) {
        case kStyle: return Variant(style_);
        case kState: return Variant(state_);
        case kTop: return Variant(minTop_);
        case kLeft: return Variant(minLeft_);
        case kBackColor: return Colour(pageColour_);
        case kSplashFillProp: return Colour(splashFill_);
        case kBannerFillProp: return Colour(bannerFill_);
        case kTextColourProp: return Colour(textColour_);
        case kDescription: return Variant(description_);
        case kTitle: return Variant(title_);
        case kBannerBack: return Colour(bannerBack_);
        case kSplashBackProp: return Colour(splashBack_);
        case kSmallImage: return smallImage_;
        case kLargeImage: return largeImage_;
        case kFont: return Variant(static_cast<IDispatch*>(font_.Get()));
        case kBannerPicture: return Variant(bannerPicture_.Get());
        default: return Variant(splashPicture_.Get());
        }
    }
    void SetPersisted(int id, const Variant& v) override {
        switch (id) {
        case kStyle: style_ = AsLong(v); break;
        case kState: state_ = AsLong(v); break;
        case kTop: minTop_ = AsLong(v); break;
        case kLeft: minLeft_ = AsLong(v); break;
        case kBackColor: pageColour_ = static_cast<OLE_COLOR>(AsLong(v)); break;
        case kSplashFillProp: splashFill_ = static_cast<OLE_COLOR>(AsLong(v)); break;
        case kBannerFillProp: bannerFill_ = static_cast<OLE_COLOR>(AsLong(v)); break;
        case kTextColourProp: textColour_ = static_cast<OLE_COLOR>(AsLong(v)); break;
        case kDescription: description_ = v.Ansi(); break;
        case kTitle: title_ = v.Ansi(); break;
        case kBannerBack: bannerBack_ = static_cast<OLE_COLOR>(AsLong(v)); break;
        case kSplashBackProp: splashBack_ = static_cast<OLE_COLOR>(AsLong(v)); break;
        case kSmallImage: smallImage_ = v; break;
        case kLargeImage: largeImage_ = v; break;
        case kFont: {
            ComPtr<IDispatch> d = ObjectOf(v);
            if (d) d.As(font_, IID_IFontDisp);
            break;
        }
        case kBannerPicture: bannerPicture_ = ObjectOf(v); break;
        default: splashPicture_ = ObjectOf(v); break;
        }
    }
    void OnInitNew() override {
        style_ = Banner;
        state_ = 0;
        pageColour_ = kPageColour;
        smallImage_ = largeImage_ = ShortZero();
        SetPersisted(kFont, DefaultOf(kFont));
    }

    // ---- window ----
    void OnCreated() override {
        if (!font_) SetPersisted(kFont, DefaultOf(kFont));
        shown_ = (GetWindowLongA(Window(), GWL_STYLE) & WS_VISIBLE) != 0;
        if (UserMode()) state_ = 1;
        Layout();
    }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_SIZE:
            Layout();
            InvalidateRect(Window(), nullptr, TRUE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SHOWWINDOW:
            // Only a change asked for once the page is active counts: a page
            // created visible raises nothing while its form loads.
            if (lp == 0 && Active() && (wp != 0) != shown_) {
                shown_ = wp != 0;
                Shown(shown_);
            }
            break;
        default:
            break;
        }
        return ControlBase::OnMessage(msg, wp, lp);
    }

    void Paint(HDC dc, const RECT& r) override {
        if (state_ == 0 && !UserMode()) {
            // The designer's tile: name and an etched edge.
            FillColour(dc, r, kPageColour);
            RECT edge = r;
            DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
            const std::string name = AmbientDisplayName();
            SetBkMode(dc, TRANSPARENT);
            TextOutA(dc, PixelsX(420), PixelsY(75), name.c_str(), static_cast<int>(name.size()));
            return;
        }
        FillColour(dc, r, pageColour_);
        const StyleParts parts = PartsOf(style_);
        SetBkMode(dc, TRANSPARENT);
        if (parts.banner) {
            RECT band = {0, 0, r.right, PixelsY(kBannerHeight)};
            FillColour(dc, band, bannerBack_);
            com::RenderPicture(dc, bannerPicture_.Get());
        }
        if (parts.splash) {
            RECT band = {0, 0, PixelsX(kSplashWidth), r.bottom + PixelsY(120)};
            FillColour(dc, band, splashBack_);
            com::RenderPicture(dc, splashPicture_.Get());
        }
        if (parts.lines) {
            LineColour(dc, 0, PixelsY(kBannerHeight), r.right, 0x80000010);
            LineColour(dc, 0, PixelsY(900), r.right, 0x80000014);
        }
        if (parts.labels) {
            SetTextColor(dc, GdiColour(textColour_));
            HFONT bold = BoldCopy(FontHandle(DesignFont().Get()));
            HGDIOBJ old = SelectObject(dc, bold);
            RECT title = {PixelsX(300), PixelsY(180), PixelsX(300 + 6915), PixelsY(180 + 255)};
            DrawTextA(dc, title_.c_str(), -1, &title, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, FontHandle(font_.Get()));
            RECT sub = {PixelsX(600), PixelsY(420), PixelsX(600 + 6615), PixelsY(420 + 255)};
            DrawTextA(dc, description_.c_str(), -1, &sub, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
            DeleteObject(bold);
        }
    }

    // The designer's way between the full page and its tile.
    std::vector<Verb> Verbs() const override {
        return {{kTileVerb, state_ == 1 ? "Minimise Control" : "Restore Control"}};
    }
    HRESULT OnVerb(LONG verb) override {
        if (verb != kTileVerb) return OLEOBJ_S_INVALIDVERB;
        if (state_ == 1) {
            Minimise();
        } else {
            Variant left, top;
            if (SUCCEEDED(ExtenderGet(L"Left", left)) && SUCCEEDED(ExtenderGet(L"Top", top))) {
                minLeft_ = AsLong(left);
                minTop_ = AsLong(top);
                NotifyChanged(DISPID_UNKNOWN);
            }
            if (HWND site = Window() ? GetParent(Window()) : nullptr)
                SetWindowPos(site, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            state_ = 1;
            FillParent();
        }
        if (Window()) InvalidateRect(Window(), nullptr, TRUE);
        return S_OK;
    }

    // The designer's tile shows the control's name.
    void OnAmbientChanged(DISPID) override {
        if (Window()) InvalidateRect(Window(), nullptr, TRUE);
    }

    // The form it sits on changed its size.
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
        Layout();
        return S_OK;
    }

    // ---- _WizardPage ----
    STDMETHODIMP get_Style(::EPageStyle* v) override { return Out(v, static_cast<::EPageStyle>(style_)); }
    STDMETHODIMP put_Style(::EPageStyle v) override { return Changed(style_, static_cast<long>(v), 0x68030009); }
    STDMETHODIMP get_BannerTextColor(long* v) override { return Out(v, static_cast<long>(textColour_)); }
    STDMETHODIMP put_BannerTextColor(long v) override { return Changed(textColour_, static_cast<OLE_COLOR>(v), 0x68030008); }
    STDMETHODIMP get_BannerTitle(BSTR* v) override { return Out(v, com::AnsiToBstr(title_)); }
    STDMETHODIMP put_BannerTitle(BSTR v) override { return Changed(title_, com::BstrToAnsi(v), 0x68030006); }
    STDMETHODIMP get_BannerBackColor(long* v) override { return Out(v, static_cast<long>(bannerBack_)); }
    STDMETHODIMP put_BannerBackColor(long v) override { return Changed(bannerBack_, static_cast<OLE_COLOR>(v), 0x68030005); }
    STDMETHODIMP get_BannerPicture(IDispatch** v) override { return OutObject(v, bannerPicture_); }
    STDMETHODIMP putref_BannerPicture(IDispatch* v) override {
        return Changed(bannerPicture_, ComPtr<IDispatch>(v), 0x68030004);
    }
    STDMETHODIMP get_SplashBackColor(long* v) override { return Out(v, static_cast<long>(splashBack_)); }
    STDMETHODIMP put_SplashBackColor(long v) override { return Changed(splashBack_, static_cast<OLE_COLOR>(v), 0x68030003); }
    STDMETHODIMP get_SplashPicture(IDispatch** v) override { return OutObject(v, splashPicture_); }
    STDMETHODIMP putref_SplashPicture(IDispatch* v) override {
        return Changed(splashPicture_, ComPtr<IDispatch>(v), 0x68030002);
    }
    STDMETHODIMP get_BannerDescription(BSTR* v) override { return Out(v, com::AnsiToBstr(description_)); }
    STDMETHODIMP put_BannerDescription(BSTR v) override {
        return Changed(description_, com::BstrToAnsi(v), 0x68030001);
    }
    STDMETHODIMP get_BackColor(long* v) override { return Out(v, static_cast<long>(pageColour_)); }
    STDMETHODIMP put_BackColor(long v) override { return Changed(pageColour_, static_cast<OLE_COLOR>(v), 0x68030000); }
    // The container's ambient font, as the page has always answered.
    STDMETHODIMP get_Font(IDispatch** v) override {
        if (!v) return E_POINTER;
        ComPtr<IFontDisp> f = AmbientFont();
        if (!f) f = font_;
        *v = f.Detach();
        return S_OK;
    }
    STDMETHODIMP putref_Font(IDispatch* v) override {
        ComPtr<IFontDisp> f;
        if (v) v->QueryInterface(IID_IFontDisp, f.PutVoid());
        return Changed(font_, f, DISPID_FONT);
    }

private:
    template <class T, class U>
    static HRESULT Out(T* out, U value) {
        if (!out) return E_POINTER;
        *out = static_cast<T>(value);
        return S_OK;
    }
    static HRESULT OutObject(IDispatch** out, const ComPtr<IDispatch>& value) {
        if (!out) return E_POINTER;
        *out = value.Get();
        if (*out) (*out)->AddRef();
        return S_OK;
    }
    template <class T>
    HRESULT Changed(T& member, T value, DISPID id) {
        member = std::move(value);
        if (Window()) InvalidateRect(Window(), nullptr, TRUE);
        NotifyChanged(id);
        return S_OK;
    }

    void Shown(bool on) {
        ComPtr<IUnknown> self = KeepAlive();
        if (on) {
            if (UserMode()) state_ = 1;
            Layout();
            InvalidateRect(Window(), nullptr, TRUE);
            RaiseEvent(1);
        } else {
            RaiseEvent(2);
        }
    }

    // The tile: 2000 x 375 twips at its remembered place.
    void Minimise() {
        state_ = 0;
        pageColour_ = kPageColour;
        laying_out_ = true;
        ExtenderCall(L"Move", {Variant(minLeft_), Variant(minTop_), Variant(2000L), Variant(375L)});
        laying_out_ = false;
    }

    // Run time, or a restored page in the designer: fill the parent above
    // its bars. A tile in the designer keeps where it was put. A failing
    // step is skipped.
    void Layout() {
        if (laying_out_ || !Window()) return;
        if (UserMode() || state_ == 1) {
            FillParent();
            return;
        }
        Variant left, top;
        if (SUCCEEDED(ExtenderGet(L"Left", left)) && SUCCEEDED(ExtenderGet(L"Top", top))) {
            minLeft_ = AsLong(left);
            minTop_ = AsLong(top);
        }
        Minimise();
    }

    void FillParent() {
        if (laying_out_ || !Window()) return;
        laying_out_ = true;
        Variant parent;
        if (SUCCEEDED(ExtenderGet(L"Parent", parent)) && parent.Type() == VT_DISPATCH && V_DISPATCH(parent.Get())) {
            IDispatch* p = V_DISPATCH(parent.Get());
            long pw = 0, ph = 0;
            if (ScaleOf(p, L"ScaleWidth", pw) && ScaleOf(p, L"ScaleHeight", ph))
                ExtenderCall(L"Move", {Variant(0L), Variant(0L), Variant(pw),
                                       Variant(static_cast<long>(PageHeight(ph, BarsHeight(*this))))});
        }
        laying_out_ = false;
    }
    static bool ScaleOf(IDispatch* d, const wchar_t* name, long& out) {
        Variant v;
        if (FAILED(com::GetByName(d, name, v))) return false;
        out = AsLong(v);
        return true;
    }

    long style_ = Banner;
    long state_ = 0;
    long minTop_ = 0, minLeft_ = 0;
    OLE_COLOR pageColour_ = kPageColour;
    OLE_COLOR splashFill_ = kSplashFill, bannerFill_ = kWhite;
    OLE_COLOR textColour_ = kTextColour;
    OLE_COLOR bannerBack_ = kWhite, splashBack_ = kSplashBack;
    std::string title_ = kDefaultTitle, description_ = kDefaultDescription;
    Variant smallImage_ = ShortZero(), largeImage_ = ShortZero();
    ComPtr<IFontDisp> font_;
    ComPtr<IDispatch> bannerPicture_, splashPicture_;
    bool shown_ = false;
    bool laying_out_ = false;
};

}  // namespace

HRESULT CreateWizardPage(REFIID riid, void** ppv) { return com::CreateInstance<WizardPageControl>(riid, ppv); }

}  // namespace corvella::wizard
