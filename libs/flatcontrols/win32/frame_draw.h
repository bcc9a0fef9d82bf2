// One-pixel frames in the flat look, shared by the painter of the library and
// the program's image button.
#pragma once

#include <windows.h>

#include <cstdint>

namespace corvella::flat {

// System colours in their OLE form: high bit set, low byte the GetSysColor index.
constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonShadow = 0x80000010u;
constexpr uint32_t kButtonHighlight = 0x80000014u;

// An OLE colour as RGB (OleTranslateColor with no palette); CLR_INVALID
// (-1) when it cannot be translated.
COLORREF TranslateColor(uint32_t colour);

// Left and top edges in `topLeft`, right and bottom in `bottomRight`, each
// line drawn as MoveToEx/LineTo draw it (the end point left out): from
// (left, bottom-1) up to (left, top), on to (right-1, top); unless the
// rectangle has no width, down to (right-1, bottom-1) and back to
// (left, bottom-1). Colours are OLE colours.
void Draw3DRect(HDC dc, const RECT& rect, uint32_t topLeft, uint32_t bottomRight);

}  // namespace corvella::flat
