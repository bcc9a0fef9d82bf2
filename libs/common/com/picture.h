// Picture objects, as controls take and draw them: one made from an icon,
// and one drawn in its own size.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "libs/common/com/com_ptr.h"

namespace corvella::com {

// A picture of a copy of the icon (the caller keeps its own); the picture
// destroys its copy. Empty when either cannot be made.
ComPtr<IPictureDisp> PictureOfIcon(HICON icon);

// Draws a picture object (any interface of one) in its own size with its
// top-left corner at (x, y); nothing for null or for another object.
void RenderPicture(HDC dc, IUnknown* picture, int x = 0, int y = 0);

}  // namespace corvella::com
