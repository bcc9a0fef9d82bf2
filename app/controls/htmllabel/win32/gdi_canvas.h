// The HTML view's page on GDI: a memory bitmap the size of the page that
// the engine draws on; the visible window copies from it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

#include "app/controls/htmllabel/core/html_layout.h"

namespace corvella::htmllabel {

// A colour as it goes to GDI: the top bit names a system colour.
COLORREF ToColorRef(uint32_t colour);

class GdiCanvas : public Canvas {
public:
    GdiCanvas();
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    // A new page of that size, filled with the back colour.
    bool Resize(int width, int height);
    void SetBackColour(uint32_t colour);
    HDC Dc() const { return dc_; }

    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }
    void Clear() override;
    bool SetFont(const PageFont& font) override;
    void SetForeColour(uint32_t colour) override { fore_ = colour; }
    uint32_t ForeColour() const override { return fore_; }
    uint32_t BackColourRgb() const override { return ToColorRef(back_); }
    double TextWidth(const std::string& text) override;
    double TextHeight(const std::string& text) override;
    void DrawText(int x, int y, const std::string& text) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void Flush() override;

private:
    using FontKey = std::tuple<std::string, int, bool, bool, bool>;
    HFONT FontFor(const FontKey& key);
    void DropFonts();

    // Pieces printed one after another on a line in one font and colour go
    // to GDI as one call; widths add up, so the glyphs land where they would.
    struct Run {
        int x = 0, y = 0, width = 0;
        std::string text;
        COLORREF colour = 0;
        bool pending = false;
    };
    Run run_;
    HFONT current_ = nullptr;
    int lineHeight_ = 0;
    // Widths measured in the current font (the layout and paint passes
    // measure the same pieces).
    std::map<HFONT, std::unordered_map<std::string, int>> widths_;
    std::unordered_map<std::string, int>* currentWidths_ = nullptr;

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ firstBitmap_ = nullptr;
    HGDIOBJ firstFont_ = nullptr;
    int width_ = 0, height_ = 0;
    int dpi_ = 96;
    uint32_t back_ = 0x8000000Fu;
    uint32_t fore_ = 0;
    // Fonts made once per face, height and style for the life of the page.
    std::map<FontKey, HFONT> fonts_;
};

}  // namespace corvella::htmllabel
