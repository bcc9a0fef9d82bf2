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
    DropFonts();
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void GdiCanvas::DropFonts() {
    SelectObject(dc_, firstFont_);
    current_ = nullptr;
    currentWidths_ = nullptr;
    for (auto& f : fonts_) DeleteObject(f.second);
    fonts_.clear();
    widths_.clear();
}

bool GdiCanvas::Resize(int width, int height) {
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    if (bitmap_ != nullptr && width == width_ && height == height_) return true;
    // A device-independent page: drawn on in-process, never on the display.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP fresh = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
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
    run_.pending = false;
    HBRUSH brush = CreateSolidBrush(ToColorRef(back_));
    RECT rc{0, 0, width_, height_};
    FillRect(dc_, &rc, brush);
    DeleteObject(brush);
}

HFONT GdiCanvas::FontFor(const FontKey& key) {
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    // A document of many faces and sizes must not use up GDI handles.
    if (fonts_.size() >= 32) {
        Flush();
        DropFonts();
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
    if (f != current_) {
        Flush();
        SelectObject(dc_, f);
        current_ = f;
        currentWidths_ = &widths_[f];
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        lineHeight_ = tm.tmHeight;
    }
    return true;
}

double GdiCanvas::TextWidth(const std::string& text) {
    if (text.empty()) return 0;
    if (currentWidths_ != nullptr) {
        auto it = currentWidths_->find(text);
        if (it != currentWidths_->end()) return it->second;
    }
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    if (currentWidths_ != nullptr) {
        if (currentWidths_->size() >= 4096) currentWidths_->clear();
        currentWidths_->emplace(text, size.cx);
    }
    return size.cx;
}

double GdiCanvas::TextHeight(const std::string&) {
    if (current_ == nullptr) {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        return tm.tmHeight;
    }
    return lineHeight_;  // one line whatever it holds
}

void GdiCanvas::DrawText(int x, int y, const std::string& text) {
    if (text.empty()) return;
    const COLORREF colour = ToColorRef(fore_);
    const int width = static_cast<int>(TextWidth(text));
    if (run_.pending && y == run_.y && colour == run_.colour && x == run_.x + run_.width) {
        run_.text += text;
        run_.width += width;
        return;
    }
    Flush();
    run_.x = x;
    run_.y = y;
    run_.width = width;
    run_.text = text;
    run_.colour = colour;
    run_.pending = true;
}

void GdiCanvas::Flush() {
    if (!run_.pending) return;
    run_.pending = false;
    SetTextColor(dc_, run_.colour);
    TextOutA(dc_, run_.x, run_.y, run_.text.data(), static_cast<int>(run_.text.size()));
}

void GdiCanvas::DrawLine(int x1, int y1, int x2, int y2) {
    Flush();
    HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(fore_));
    HGDIOBJ old = SelectObject(dc_, pen);
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
    SelectObject(dc_, old);
    DeleteObject(pen);
}

}  // namespace corvella::htmllabel
