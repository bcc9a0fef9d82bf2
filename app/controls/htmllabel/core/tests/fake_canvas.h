// A page with fixed metrics for the engine's tests: every character is 6
// pixels wide, a line is 1.5 times the point size high, and everything drawn
// is recorded.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "app/controls/htmllabel/core/html_layout.h"

namespace corvella::htmllabel::testing {

struct Drawn {
    int x, y;
    std::string text;
    uint32_t colour;
    PageFont font;
};

struct Line {
    int x1, y1, x2, y2;
    uint32_t colour;
};

class FakeCanvas : public Canvas {
public:
    FakeCanvas(int width = 300, int height = 200) : width_(width), height_(height) {}
    int PageWidth() const override { return width_; }
    int PageHeight() const override { return height_; }
    void Clear() override {
        drawn.clear();
        lines.clear();
        ++clears;
    }
    bool SetFont(const PageFont& font) override {
        font_ = font;
        return true;
    }
    void SetForeColour(uint32_t colour) override { fore_ = colour; }
    uint32_t ForeColour() const override { return fore_; }
    uint32_t BackColourRgb() const override { return back; }
    double TextWidth(const std::string& text) override { return 6.0 * static_cast<double>(text.size()); }
    double TextHeight(const std::string&) override { return std::round(font_.points * 1.5); }
    void DrawText(int x, int y, const std::string& text) override { drawn.push_back({x, y, text, fore_, font_}); }
    void DrawLine(int x1, int y1, int x2, int y2) override { lines.push_back({x1, y1, x2, y2, fore_}); }

    // The recorded texts joined by "|".
    std::string Texts() const {
        std::string s;
        for (const Drawn& d : drawn) s += (s.empty() ? "" : "|") + d.text;
        return s;
    }

    std::vector<Drawn> drawn;
    std::vector<Line> lines;
    uint32_t back = 0xFFFFFF;
    int clears = 0;

private:
    int width_, height_;
    PageFont font_;
    uint32_t fore_ = 0;
};

// A document assigned and laid out on a fake page.
struct Laid {
    explicit Laid(const std::string& markup, int width = 300, bool anchors = true) : canvas(width) {
        doc.enableAnchors = anchors;
        doc.Assign(markup);
        options.enableAnchors = anchors;
        RenderDocument(doc, canvas, true, options);
    }
    const HtmlToken& Token(int i) const { return doc.Tokens()[static_cast<size_t>(i)]; }
    HtmlDocument doc;
    FakeCanvas canvas;
    RenderOptions options;
};

}  // namespace corvella::htmllabel::testing
