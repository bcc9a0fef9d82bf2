#include "libs/common/com/picture.h"

#include <olectl.h>

namespace corvella::com {

ComPtr<IPictureDisp> PictureOfIcon(HICON icon) {
    ComPtr<IPictureDisp> picture;
    HICON copy = icon != nullptr ? CopyIcon(icon) : nullptr;
    if (copy == nullptr) return picture;
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = copy;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.PutVoid()))) {
        DestroyIcon(copy);
        picture.Reset();
    }
    return picture;
}

void RenderPicture(HDC dc, IUnknown* picture, int x, int y) {
    ComPtr<IPicture> pic;
    if (!picture || FAILED(picture->QueryInterface(IID_IPicture, pic.PutVoid()))) return;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    pic->get_Width(&w);
    pic->get_Height(&h);
    const int cx = MulDiv(w, GetDeviceCaps(dc, LOGPIXELSX), 2540);
    const int cy = MulDiv(h, GetDeviceCaps(dc, LOGPIXELSY), 2540);
    pic->Render(dc, x, y, cx, cy, 0, h, w, -h, nullptr);
}

}  // namespace corvella::com
