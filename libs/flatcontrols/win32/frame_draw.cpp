#include "libs/flatcontrols/win32/frame_draw.h"

#include <ole2.h>
#include <olectl.h>

namespace corvella::flat {

COLORREF TranslateColor(uint32_t colour) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(static_cast<OLE_COLOR>(colour), nullptr, &rgb))) return CLR_INVALID;
    return rgb;
}

void Draw3DRect(HDC dc, const RECT& r, uint32_t topLeft, uint32_t bottomRight) {
    HPEN pen = CreatePen(PS_SOLID, 1, TranslateColor(topLeft));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right - 1, r.top);
    SelectObject(dc, old);
    DeleteObject(pen);
    if (r.left == r.right) return;
    pen = CreatePen(PS_SOLID, 1, TranslateColor(bottomRight));
    old = SelectObject(dc, pen);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left, r.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace corvella::flat
