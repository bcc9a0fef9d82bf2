// The drawn pictures: keys and order as the main window uses them, sizes,
// a clear background and something drawn on it, and the greyed toolbar set;
// the single pictures as picture objects of their sizes.
#include "app/foundation/win32/pictures/pictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "libs/common/com/picture.h"

namespace corvella {
namespace {

// What `draw` paints over `background` in a bitmap of its own: the pixels
// as 0x00BBGGRR.
std::vector<COLORREF> Drawn(int width, int height, COLORREF background, const std::function<void(HDC)>& draw) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    draw(dc);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// The icon drawn on white.
std::vector<COLORREF> Render(const forms::ImageList& list, int index) {
    const int size = list.imageWidth;
    return Drawn(size, size, RGB(255, 255, 255), [&](HDC dc) {
        HICON icon = list.ExtractIcon(index);
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    });
}

bool Coloured(COLORREF c) { return GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c); }

TEST(Pictures, EachSetHasItsKeysInOrderDrawnOnAClearBackground) {
    struct Case {
        PictureSet set;
        int size;
        std::vector<std::string> keys;
    } cases[] = {
        {PictureSet::kToolbarHot, 16, {"Rename", "CDDB", "Sort", "Case", "Export", "CDRip", "Folder", "Help"}},
        {PictureSet::kToolbarNormal, 16, {"Rename", "CDDB", "Sort", "Case", "Export", "CDRip", "Folder", "Help"}},
        {PictureSet::kHeader, 16, {"Ascending", "Descending", "Unchecked", "Checked"}},
        {PictureSet::kCheckBoxes, 16, {"Unchecked", "Checked"}},
        {PictureSet::kClose, 10, {"Close"}},
        {PictureSet::kMenu, 16, {"Help"}},
        {PictureSet::kRipperTabs, 16, {"General", "Encoding", "Output"}},
    };
    for (const Case& c : cases) {
        forms::ImageList list;
        ASSERT_EQ(LoadPictures(list, c.set), static_cast<int>(c.keys.size()));
        EXPECT_EQ(list.imageWidth, c.size);
        for (size_t i = 0; i < c.keys.size(); ++i) {
            const int index = static_cast<int>(i) + 1;
            EXPECT_EQ(list.IndexOf(c.keys[i]), index) << c.keys[i];
            const std::vector<COLORREF> pixels = Render(list, index);
            EXPECT_EQ(pixels.front(), RGB(255, 255, 255)) << c.keys[i] << ": the corner is clear";
            int drawn = 0, coloured = 0;
            for (COLORREF p : pixels) {
                if (p != RGB(255, 255, 255)) ++drawn;
                if (Coloured(p)) ++coloured;
            }
            EXPECT_GT(drawn, 8) << c.keys[i];
            if (c.set == PictureSet::kToolbarNormal) EXPECT_EQ(coloured, 0) << c.keys[i] << " is greyed";
            if ((c.set == PictureSet::kToolbarHot && c.keys[i] != "CDRip") || c.set == PictureSet::kRipperTabs)
                EXPECT_GT(coloured, 0) << c.keys[i];
        }
    }
    // The unchecked and checked boxes differ.
    forms::ImageList boxes;
    LoadPictures(boxes, PictureSet::kCheckBoxes);
    EXPECT_NE(Render(boxes, 1), Render(boxes, 2));
}

TEST(Pictures, EachDrawingIsAPictureOfItsSizeClearAroundWhatIsDrawn) {
    const struct {
        Drawing drawing;
        int width, height;
    } cases[] = {{Drawing::kLookupLogo, 120, 37}, {Drawing::kWizardSplash, 169, 240}};
    for (const auto& c : cases) {
        const int at = static_cast<int>(c.drawing);
        com::ComPtr<IPictureDisp> picture = MakePicture(c.drawing);
        ASSERT_TRUE(picture) << at;
        com::ComPtr<IPicture> pic;
        ASSERT_HRESULT_SUCCEEDED(picture.As(pic, IID_IPicture));
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        pic->get_Width(&w);
        pic->get_Height(&h);
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(MulDiv(w, GetDeviceCaps(screen, LOGPIXELSX), 2540), c.width) << at;
        EXPECT_EQ(MulDiv(h, GetDeviceCaps(screen, LOGPIXELSY), 2540), c.height) << at;
        ReleaseDC(nullptr, screen);
        // Drawn where both renderings agree; clear where each keeps its own
        // background, the corners among them.
        auto render = [&](HDC dc) { com::RenderPicture(dc, picture.Get()); };
        const std::vector<COLORREF> onWhite = Drawn(c.width, c.height, RGB(255, 255, 255), render);
        const std::vector<COLORREF> onBlack = Drawn(c.width, c.height, RGB(0, 0, 0), render);
        int drawn = 0, coloured = 0, clear = 0;
        for (size_t i = 0; i < onWhite.size(); ++i) {
            if (onWhite[i] == onBlack[i]) ++drawn, coloured += Coloured(onWhite[i]) ? 1 : 0;
            else if (onWhite[i] == RGB(255, 255, 255) && onBlack[i] == RGB(0, 0, 0)) ++clear;
        }
        EXPECT_EQ(onWhite.front(), RGB(255, 255, 255)) << at;
        EXPECT_EQ(onBlack.back(), RGB(0, 0, 0)) << at;
        EXPECT_EQ(drawn + clear, c.width * c.height) << at << ": no pixel blends into the clear colour";
        EXPECT_GT(drawn, c.width * c.height / 5) << at;
        EXPECT_GT(coloured, drawn / 4) << at;
    }
}

}  // namespace
}  // namespace corvella
