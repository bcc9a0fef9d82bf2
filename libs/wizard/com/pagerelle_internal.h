// What the two wizard controls share: twips and pixels of the screen, OLE
// colours, fonts and the library's error numbers.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "libs/common/com/com_ptr.h"
#include "libs/common/com/ole_control.h"
#include "libs/wizard/com/pagerelle.h"

namespace corvella::wizard {

int PixelsX(int twips);
int PixelsY(int twips);
int TwipsX(int pixels);
int TwipsY(int pixels);

// An OLE colour (&H800000xx = system colour xx) as a GDI colour.
COLORREF GdiColour(OLE_COLOR colour);
void FillColour(HDC dc, const RECT& r, OLE_COLOR colour);
void LineColour(HDC dc, int x1, int y, int x2, OLE_COLOR colour);

// Tahoma 8.25 pt, the controls' design font.
com::ComPtr<IFontDisp> DesignFont(bool bold = false);
// The font's handle, owned by the font object; the GUI font without one.
HFONT FontHandle(IFontDisp* font);
// A bold copy of a font's handle, owned by the caller.
HFONT BoldCopy(HFONT font);

// The automation errors the collection and the lookups raise.
HRESULT Fail(long number, const char* source, const char* description, REFIID iid);
constexpr long kInvalidCall = 5;
constexpr long kSubscript = 9;
constexpr long kKeyInUse = 457;

// The height (twips) of the WizardButtons bars among a control's container objects.
long BarsHeight(const com::ControlBase& control);

}  // namespace corvella::wizard
