// Pagerelle's classes, helpers both controls share, and the registration.
#include "libs/wizard/com/pagerelle_internal.h"

#include "libs/common/com/com_server.h"

namespace corvella::wizard {

HRESULT CreateWizardButtons(REFIID riid, void** ppv);
HRESULT CreateWizardPage(REFIID riid, void** ppv);

namespace {
int Dpi(bool horizontal) {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, horizontal ? LOGPIXELSX : LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}
}  // namespace

int PixelsX(int twips) { return MulDiv(twips, Dpi(true), 1440); }
int PixelsY(int twips) { return MulDiv(twips, Dpi(false), 1440); }
int TwipsX(int pixels) { return MulDiv(pixels, 1440, Dpi(true)); }
int TwipsY(int pixels) { return MulDiv(pixels, 1440, Dpi(false)); }

COLORREF GdiColour(OLE_COLOR colour) {
    if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
    return static_cast<COLORREF>(colour & 0xFFFFFF);
}

void FillColour(HDC dc, const RECT& r, OLE_COLOR colour) {
    HBRUSH b = CreateSolidBrush(GdiColour(colour));
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void LineColour(HDC dc, int x1, int y, int x2, OLE_COLOR colour) {
    if (x2 <= x1) return;
    RECT r = {x1, y, x2, y + 1};
    FillColour(dc, r, colour);
}

com::ComPtr<IFontDisp> DesignFont(bool bold) {
    FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Tahoma"), {}, static_cast<SHORT>(bold ? FW_BOLD : FW_NORMAL),
                   ANSI_CHARSET, FALSE, FALSE, FALSE};
    fd.cySize.int64 = 82500;  // 8.25 pt
    com::ComPtr<IFontDisp> font;
    OleCreateFontIndirect(&fd, IID_IFontDisp, font.PutVoid());
    return font;
}

HFONT FontHandle(IFontDisp* font) {
    com::ComPtr<IFont> f;
    HFONT h = nullptr;
    if (font && SUCCEEDED(font->QueryInterface(IID_IFont, f.PutVoid()))) f->get_hFont(&h);
    return h ? h : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT BoldCopy(HFONT font) {
    LOGFONTA lf = {};
    GetObjectA(font, sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&lf);
}

HRESULT Fail(long number, const char* source, const char* description, REFIID iid) {
    return com::RaiseError(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number), source, description, iid);
}

long BarsHeight(const com::ControlBase& control) {
    long sum = 0;
    for (const auto& object : control.ContainerObjects()) {
        com::ComPtr<_WizardButtons> bar;
        com::ComPtr<IOleObject> ole;
        com::ComPtr<IOleClientSite> site;
        com::ComPtr<IOleControlSite> control_site;
        com::ComPtr<IDispatch> extender;
        if (FAILED(object.As(bar, IID__WizardButtons)) || FAILED(object.As(ole, IID_IOleObject)) ||
            FAILED(ole->GetClientSite(site.Put())) || !site ||
            FAILED(site.As(control_site, IID_IOleControlSite)) ||
            FAILED(control_site->GetExtendedControl(extender.Put())))
            continue;
        com::Variant height;
        if (SUCCEEDED(com::GetByName(extender.Get(), L"Height", height))) sum += std::atol(height.Ansi().c_str());
    }
    return sum;
}

namespace {
const com::ClassEntry kClasses[] = {
    {&CLSID_WizardButtons, "WizardButtons", "Pagerelle.WizardButtons", &CreateWizardButtons,
     &com::kStandardControl},
    {&CLSID_WizardPage, "WizardPage", "Pagerelle.WizardPage", &CreateWizardPage, &com::kStandardControl},
};
const com::ServerInfo kServer = {&LIBID_Pagerelle, 1, 0, kClasses, 2};
}  // namespace

}  // namespace corvella::wizard

const corvella::com::ServerInfo& corvella::com::Server() { return corvella::wizard::kServer; }
