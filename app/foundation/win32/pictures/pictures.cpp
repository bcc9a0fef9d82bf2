#include "app/foundation/win32/pictures/pictures.h"

#include <windows.h>

#include <vector>

#include "libs/common/com/picture.h"

namespace corvella {

namespace {

// The background that becomes transparent.
constexpr COLORREF kClear = RGB(255, 0, 255);

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kYellow = RGB(255, 216, 64);
constexpr COLORREF kBrown = RGB(160, 112, 0);
constexpr COLORREF kBlue = RGB(0, 80, 192);
constexpr COLORREF kGreen = RGB(0, 144, 48);
constexpr COLORREF kRed = RGB(200, 0, 0);

// GDI objects made for one drawing and deleted with it.
class Paint {
public:
    explicit Paint(HDC dc) : dc_(dc) {}
    ~Paint() {
        SelectObject(dc_, GetStockObject(BLACK_PEN));
        SelectObject(dc_, GetStockObject(WHITE_BRUSH));
        for (HGDIOBJ o : made_) DeleteObject(o);
    }
    Paint(const Paint&) = delete;
    Paint& operator=(const Paint&) = delete;

    // Pen and brush for the next shapes.
    Paint& Use(COLORREF line, COLORREF fill, int width = 1) {
        made_.push_back(CreatePen(PS_SOLID, width, line));
        SelectObject(dc_, made_.back());
        made_.push_back(CreateSolidBrush(fill));
        SelectObject(dc_, made_.back());
        return *this;
    }
    void Box(int l, int t, int r, int b) { Rectangle(dc_, l, t, r, b); }
    void Round(int l, int t, int r, int b) { Ellipse(dc_, l, t, r, b); }
    // An outline only: what lies inside stays as drawn.
    void Ring(int l, int t, int r, int b, COLORREF line) {
        made_.push_back(CreatePen(PS_SOLID, 1, line));
        SelectObject(dc_, made_.back());
        SelectObject(dc_, GetStockObject(NULL_BRUSH));
        Ellipse(dc_, l, t, r, b);
    }
    void Shape(std::vector<POINT> points) { Polygon(dc_, points.data(), static_cast<int>(points.size())); }
    void Line(int x1, int y1, int x2, int y2) {
        MoveToEx(dc_, x1, y1, nullptr);
        LineTo(dc_, x2, y2);
    }
    // A slice of the ellipse in the box, counter-clockwise from the ray
    // towards (x1, y1) to the ray towards (x2, y2).
    void Wedge(int l, int t, int r, int b, int x1, int y1, int x2, int y2) { Pie(dc_, l, t, r, b, x1, y1, x2, y2); }
    // Bold text centred in `where`; `crisp` draws it without smoothing, so
    // that no edge blends into the clear colour.
    void Text(const char* text, COLORREF colour, int height, RECT where, bool crisp = false) {
        made_.push_back(CreateFontA(-height, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                    crisp ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY, 0, "Arial"));
        SelectObject(dc_, made_.back());
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, colour);
        DrawTextA(dc_, text, -1, &where, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

private:
    HDC dc_;
    std::vector<HGDIOBJ> made_;
};

void Page(Paint& p) {
    p.Use(kBlack, kWhite).Box(2, 1, 12, 15);
    p.Use(kSilver, kSilver);
    for (int y = 4; y <= 11; y += 3) p.Line(4, y, 10, y);
}

void DrawFolder(HDC dc, int) {
    Paint p(dc);
    p.Use(kBrown, kYellow).Shape({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}});
    p.Use(kBrown, kBrown).Line(1, 6, 14, 6);
}

void DrawRename(HDC dc, int) {
    Paint p(dc);
    Page(p);
    p.Use(kRed, kRed, 2).Line(7, 13, 14, 6);  // the pen
    p.Use(kBlack, kBlack).Line(6, 14, 8, 12);
}

// A globe: sea, two land masses, a meridian and the equator.
void DrawLookup(HDC dc, int) {
    Paint p(dc);
    p.Use(kBlue, RGB(72, 144, 232)).Round(1, 1, 16, 16);
    p.Use(kGreen, RGB(64, 176, 64)).Shape({{4, 3}, {8, 3}, {9, 6}, {7, 9}, {4, 8}, {3, 5}});
    p.Use(kGreen, RGB(64, 176, 64)).Shape({{9, 9}, {13, 8}, {14, 11}, {11, 14}, {9, 12}});
    p.Ring(5, 1, 12, 16, RGB(176, 216, 255));
    p.Use(RGB(176, 216, 255), kWhite).Line(2, 8, 15, 8);
    p.Ring(1, 1, 16, 16, kBlue);
}

void DrawSort(HDC dc, int size) {
    DrawFolder(dc, size);
    Paint p(dc);
    p.Use(kBlue, kBlue).Shape({{9, 7}, {13, 7}, {13, 10}, {15, 10}, {11, 15}, {7, 10}, {9, 10}});
}

void DrawCase(HDC dc, int size) {
    Paint p(dc);
    p.Text("Aa", kBlue, size - 3, {0, 0, size, size});
}

void DrawExport(HDC dc, int) {
    Paint p(dc);
    Page(p);
    p.Use(kGreen, kGreen).Shape({{6, 7}, {10, 7}, {10, 4}, {15, 9}, {10, 14}, {10, 11}, {6, 11}});
}

// A compact disc: the silver face with its sheen, the clear ring and hole.
void DrawDisc(HDC dc, int) {
    Paint p(dc);
    p.Use(kGrey, kSilver).Round(1, 1, 16, 16);
    p.Use(RGB(224, 224, 232), RGB(224, 224, 232)).Shape({{8, 8}, {3, 4}, {6, 2}});
    p.Use(RGB(240, 240, 248), RGB(240, 240, 248)).Shape({{8, 8}, {13, 12}, {10, 14}});
    p.Use(kGrey, kWhite).Round(5, 5, 12, 12);
    p.Use(kGrey, kClear).Round(7, 7, 10, 10);
}

// The ripper's "General" tab: a disc going into the slot of a drive with
// its lit busy light.
void DrawDiscDrive(HDC dc, int size) {
    DrawDisc(dc, size);
    Paint p(dc);
    p.Use(kBlack, RGB(224, 224, 224)).Box(0, 9, 16, 16);
    p.Use(kGrey, kGrey).Line(2, 11, 14, 11);
    p.Use(kGreen, RGB(64, 224, 64)).Box(11, 13, 14, 15);
}

// The "Encoding" tab: the sound wave an encoder takes in, on a dark screen.
void DrawWave(HDC dc, int) {
    Paint p(dc);
    p.Use(kBlack, RGB(0, 32, 96)).Box(0, 1, 16, 15);
    constexpr int kHeights[] = {8, 5, 3, 5, 8, 11, 13, 11, 8, 6, 5, 6, 8, 10, 11};
    p.Use(RGB(64, 255, 128), kBlack);
    for (int x = 1; x + 1 < 16; ++x) p.Line(x, kHeights[x - 1], x + 1, kHeights[x]);
}

// The "Output" tab: the folder the tracks are written to, with a note.
void DrawMusicFolder(HDC dc, int size) {
    DrawFolder(dc, size);
    Paint p(dc);
    p.Use(kBlue, kBlue).Round(6, 9, 10, 13);
    p.Line(9, 10, 9, 2);
    p.Line(9, 2, 13, 5);
    p.Line(10, 3, 13, 6);
}

void DrawHelp(HDC dc, int size) {
    Paint p(dc);
    p.Use(kBlue, kBlue).Round(0, 0, size, size);
    p.Text("?", kWhite, size - 3, {0, 0, size, size});
}

void DrawArrow(HDC dc, bool up) {
    Paint p(dc);
    p.Use(kGrey, kGrey);
    if (up)
        p.Shape({{8, 5}, {12, 10}, {4, 10}});
    else
        p.Shape({{4, 6}, {12, 6}, {8, 11}});
}

void DrawBox(HDC dc, bool ticked) {
    Paint p(dc);
    p.Use(kGrey, kWhite).Box(2, 2, 15, 15);
    if (ticked) {
        p.Use(kBlack, kBlack, 2);
        p.Line(5, 8, 7, 11);
        p.Line(7, 11, 12, 5);
    }
}

// A compact disc of diameter `d` at (l, t), for the larger pictures: the
// silver face with two tinted sheens, the clear ring and its hole.
void LargeDisc(Paint& p, int l, int t, int d) {
    const int cx = l + d / 2, cy = t + d / 2;
    p.Use(kGrey, kSilver).Round(l, t, l + d, t + d);
    p.Use(RGB(200, 228, 255), RGB(200, 228, 255)).Wedge(l + 1, t + 1, l + d - 1, t + d - 1, l + d / 3, t, l, t + d / 3);
    p.Use(RGB(255, 224, 240), RGB(255, 224, 240))
        .Wedge(l + 1, t + 1, l + d - 1, t + d - 1, l + d * 2 / 3, t + d, l + d, t + d * 2 / 3);
    const int ring = d * 7 / 32, hole = d / 10;
    p.Use(kGrey, kWhite).Round(cx - ring, cy - ring, cx + ring, cy + ring);
    p.Use(kGrey, kClear).Round(cx - hole, cy - hole, cx + hole, cy + hole);
}

// A folder of the toolbar's kind in the box (l, t, r, b), its tab at the
// top left.
void LargeFolder(Paint& p, int l, int t, int r, int b, COLORREF fill) {
    const int tab = (b - t) / 6;
    p.Use(kBrown, fill).Shape({{l, t}, {l + (r - l) * 2 / 5, t}, {l + (r - l) * 2 / 5 + tab, t + tab},
                               {r, t + tab}, {r, b}, {l, b}});
}

// The album lookup's logo: a disc beside the lookup service's name.
void DrawLookupLogo(HDC dc, int) {
    Paint p(dc);
    LargeDisc(p, 1, 1, 35);
    p.Text("freedb", kBlue, 21, {38, 0, 120, 37}, true);
}

// The wizards' splash band: a disc going into an open folder, a second
// folder behind it.
void DrawWizardSplash(HDC dc, int) {
    Paint p(dc);
    LargeFolder(p, 44, 84, 152, 172, RGB(232, 184, 48));
    LargeFolder(p, 20, 104, 132, 200, kYellow);
    LargeDisc(p, 36, 40, 96);
    p.Use(kBrown, RGB(255, 232, 128)).Shape({{12, 142}, {140, 142}, {132, 210}, {20, 210}});
}

void DrawAscending(HDC dc, int) { DrawArrow(dc, true); }
void DrawDescending(HDC dc, int) { DrawArrow(dc, false); }
void DrawUnchecked(HDC dc, int) { DrawBox(dc, false); }
void DrawChecked(HDC dc, int) { DrawBox(dc, true); }

void DrawClose(HDC dc, int size) {
    Paint p(dc);
    p.Use(kBlack, kBlack, 2);
    p.Line(2, 2, size - 2, size - 2);
    p.Line(size - 2, 2, 2, size - 2);
}

struct Picture {
    const char* key;
    void (*draw)(HDC dc, int size);
};

constexpr Picture kToolbar[] = {{"Rename", DrawRename}, {"CDDB", DrawLookup}, {"Sort", DrawSort},
                                {"Case", DrawCase},     {"Export", DrawExport}, {"CDRip", DrawDisc},
                                {"Folder", DrawFolder}, {"Help", DrawHelp}};
constexpr Picture kHeader[] = {{"Ascending", DrawAscending}, {"Descending", DrawDescending},
                               {"Unchecked", DrawUnchecked}, {"Checked", DrawChecked}};
constexpr Picture kBoxes[] = {{"Unchecked", DrawUnchecked}, {"Checked", DrawChecked}};
constexpr Picture kClosing[] = {{"Close", DrawClose}};
constexpr Picture kMenuPictures[] = {{"Help", DrawHelp}};
constexpr Picture kRipperTabPictures[] = {{"General", DrawDiscDrive}, {"Encoding", DrawWave}, {"Output", DrawMusicFolder}};

struct SetEntry {
    PictureSet set;
    const Picture* pictures;
    int count;
    int size;
    bool grey;
};

constexpr SetEntry kSets[] = {
    {PictureSet::kToolbarHot, kToolbar, 8, 16, false},
    {PictureSet::kToolbarNormal, kToolbar, 8, 16, true},
    {PictureSet::kHeader, kHeader, 4, 16, false},
    {PictureSet::kCheckBoxes, kBoxes, 2, 16, false},
    {PictureSet::kClose, kClosing, 1, 10, false},
    {PictureSet::kMenu, kMenuPictures, 1, 16, false},
    {PictureSet::kRipperTabs, kRipperTabPictures, 3, 16, false},
};

// Draws one picture on the clear colour and makes an icon of it; greyed
// pictures lose their colour and are lightened, as a toolbar shows the
// buttons the pointer is not on.
HICON MakeIcon(const Picture& picture, int width, int height, bool grey) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (dc == nullptr || colour == nullptr || bits == nullptr) {
        if (colour != nullptr) DeleteObject(colour);
        if (dc != nullptr) DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, colour);
    HBRUSH clear = CreateSolidBrush(kClear);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, clear);
    DeleteObject(clear);
    picture.draw(dc, width);
    GdiFlush();
    // The mask: set where the clear colour is; the colour bitmap black there.
    const int wordsPerRow = (width + 15) / 16;
    std::vector<WORD> maskRows(static_cast<size_t>(wordsPerRow) * static_cast<size_t>(height), 0);
    auto* pixel = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            DWORD& p = pixel[y * width + x];
            const DWORD rgb = p & 0xFFFFFF;
            if (rgb == 0xFF00FF) {  // kClear as a DIB stores it
                p = 0;
                auto& word = maskRows[static_cast<size_t>(y * wordsPerRow + x / 16)];
                // Monochrome rows are big-endian bit order within bytes.
                const int bit = x % 16;
                const int byteInWord = bit / 8;
                word = static_cast<WORD>(word | (0x80 >> (bit % 8)) << (8 * byteInWord));
            } else if (grey) {
                const DWORD r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
                const DWORD l = 72 + (r * 30 + g * 59 + b * 11) * 7 / 1000;
                p = (l << 16) | (l << 8) | l;
            }
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, maskRows.data());
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = colour;
    icon.hbmMask = mask;
    HICON made = mask != nullptr ? CreateIconIndirect(&icon) : nullptr;
    if (mask != nullptr) DeleteObject(mask);
    DeleteObject(colour);
    return made;
}

}  // namespace

int LoadPictures(forms::ImageList& list, PictureSet set) {
    for (const SetEntry& entry : kSets) {
        if (entry.set != set) continue;
        if (list.Count() == 0) list.imageWidth = list.imageHeight = entry.size;
        int added = 0;
        for (int i = 0; i < entry.count; ++i) {
            HICON icon = MakeIcon(entry.pictures[i], entry.size, entry.size, entry.grey);
            if (icon == nullptr) continue;
            if (list.AddIcon(icon, entry.pictures[i].key) != 0) ++added;
            DestroyIcon(icon);
        }
        return added;
    }
    return 0;
}

com::ComPtr<IPictureDisp> MakePicture(Drawing which) {
    constexpr struct {
        Drawing drawing;
        Picture picture;
        int width, height;
    } kDrawings[] = {{Drawing::kLookupLogo, {"LookupLogo", DrawLookupLogo}, 120, 37},
                     {Drawing::kWizardSplash, {"WizardSplash", DrawWizardSplash}, 169, 240}};
    for (const auto& d : kDrawings) {
        if (d.drawing != which) continue;
        HICON icon = MakeIcon(d.picture, d.width, d.height, false);
        if (icon == nullptr) break;
        com::ComPtr<IPictureDisp> picture = com::PictureOfIcon(icon);
        DestroyIcon(icon);
        return picture;
    }
    return {};
}

}  // namespace corvella
