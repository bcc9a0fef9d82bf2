#include "app/controls/htmllabel/win32/gdi_canvas.h"

#include <cmath>

namespace corvella::htmllabel {

COLORREF ToColorRef(uint32_t colour) {
    if ((colour & 0x80000000u) != 0) return GetSysColor(static_cast<int>(colour & 0xFFu));
    return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

GdiCanvas::GdiCanvas() {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi_ <= 0) dpi_ = 96;
    SetBkMode(dc_, TRANSPARENT);
    firstFont_ = GetCurrentObject(dc_, OBJ_FONT);
    Resize(1, 1);
}

GdiCanvas::~GdiCanvas() {
    if (firstBitmap_ != nullptr) SelectObject(dc_, firstBitmap_);
    if (firstFont_ != nullptr) SelectObject(dc_, firstFont_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    for (auto& f : fonts_) DeleteObject(f.second);
    DeleteDC(dc_);
}

bool GdiCanvas::Resize(int width, int height) {
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    if (bitmap_ != nullptr && width == width_ && height == height_) return true;
    HDC screen = GetDC(nullptr);
    HBITMAP fresh = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (fresh == nullptr) return false;
    HGDIOBJ old = SelectObject(dc_, fresh);
    if (firstBitmap_ == nullptr) firstBitmap_ = old;
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    bitmap_ = fresh;
    width_ = width;
    height_ = height;
    Clear();
    return true;
}

void GdiCanvas::SetBackColour(uint32_t colour) {
    back_ = colour;
    Clear();
}

void GdiCanvas::Clear() {
    HBRUSH brush = CreateSolidBrush(ToColorRef(back_));
    RECT rc{0, 0, width_, height_};
    FillRect(dc_, &rc, brush);
    DeleteObject(brush);
}

HFONT GdiCanvas::FontFor(const FontKey& key) {
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    if (fonts_.size() >= 32) {
        // A document of many faces and sizes must not use up GDI handles.
        SelectObject(dc_, firstFont_);
        for (auto& f : fonts_) DeleteObject(f.second);
        fonts_.clear();
    }
    const auto& [face, height, bold, italic, underline] = key;
    HFONT font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             face.c_str());
    if (font != nullptr) fonts_.emplace(key, font);
    return font;
}

bool GdiCanvas::SetFont(const PageFont& font) {
    if (!(font.points >= kMinPoints && font.points <= kMaxPoints)) return false;
    // A face name longer than GDI keeps is cut, as the font mapper would.
    const std::string face = font.face.substr(0, LF_FACESIZE - 1).c_str();
    const int height = -static_cast<int>(std::lround(font.points * static_cast<float>(dpi_) / 72.0f));
    HFONT f = FontFor(FontKey{face, height, font.bold, font.italic, font.underline});
    if (f == nullptr) return false;
    SelectObject(dc_, f);
    return true;
}

double GdiCanvas::TextWidth(const std::string& text) {
    SIZE size{};
    if (text.empty()) return 0;
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

double GdiCanvas::TextHeight(const std::string& text) {
    TEXTMETRICA tm{};
    (void)text;  // one line whatever it holds
    GetTextMetricsA(dc_, &tm);
    return tm.tmHeight;
}

void GdiCanvas::DrawText(int x, int y, const std::string& text) {
    if (text.empty()) return;
    SetTextColor(dc_, ToColorRef(fore_));
    TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void GdiCanvas::DrawLine(int x1, int y1, int x2, int y2) {
    HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(fore_));
    HGDIOBJ old = SelectObject(dc_, pen);
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
    SelectObject(dc_, old);
    DeleteObject(pen);
}

}  // namespace corvella::htmllabel
