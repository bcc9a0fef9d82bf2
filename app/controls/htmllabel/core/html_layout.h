// Layout and drawing of an interpreted document on an abstract page. One
// walk over the tokens in document order, in two modes: the layout pass
// stores every token's position (and the link hit rectangles) while it
// draws; the paint pass draws again from the stored positions, shifted up
// by the scroll offset.
#pragma once

#include <cstdint>
#include <string>

#include "app/controls/htmllabel/core/html_document.h"

namespace corvella::htmllabel {

struct PageFont {
    std::string face;
    float points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The page the document is drawn on, in pixels, y growing downwards.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    // Fills the page with its back colour.
    virtual void Clear() = 0;
    // False when the font cannot be made (the old one stays).
    virtual bool SetFont(const PageFont& font) = 0;
    // Colours may name system colours (top bit set).
    virtual void SetForeColour(uint32_t colour) = 0;
    virtual uint32_t ForeColour() const = 0;
    // The back colour as an RGB value.
    virtual uint32_t BackColourRgb() const = 0;
    virtual double TextWidth(const std::string& text) = 0;
    virtual double TextHeight(const std::string& text) = 0;
    // Text in the current font and fore colour, its top-left at (x, y).
    virtual void DrawText(int x, int y, const std::string& text) = 0;
    // A one-pixel line in the current fore colour.
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
    // Everything drawn so far reaches the page (a page may hold text back to
    // draw a line's pieces in one call).
    virtual void Flush() {}
};

// The font sizes a page accepts; others are not applied.
constexpr float kMinPoints = 1;
constexpr float kMaxPoints = 2160;

struct RenderOptions {
    bool enableAnchors = false;
    bool enableScroll = false;
    int scrollValue = 0;  // in steps of 10 pixels; used by the paint pass
};

// `relayout` true: the layout pass; false: the paint pass.
void RenderDocument(HtmlDocument& doc, Canvas& canvas, bool relayout, const RenderOptions& options);

// Gives every cell of the table at `tableIndex` its pixel width.
void ComputeTableColumns(HtmlDocument& doc, int tableIndex);

// The vertical scroll bar that Refresh sets up.
struct ScrollRange {
    int max = 0;
    int largeChange = 1;
    bool enabled = false;
};
ScrollRange ComputeScrollRange(const HtmlDocument& doc, int viewportHeight);

// The scroll value a key asks for (Up 38, Down 40, Page Up 33, Page Down 34,
// Ctrl+Home 36, Ctrl+End 35); -1 when the value stays as it is. A value
// outside the range is rejected rather than clamped, except by the page keys.
int ScrollForKey(int key, bool ctrl, int value, int minimum, int maximum, int smallChange, int largeChange);

// The scroll value that brings the anchor named by `href` ("#name") to the
// top: the last token of that exact name decides; -1 when none has it.
int ScrollForAnchor(const HtmlDocument& doc, const std::string& href, int maximum);

}  // namespace corvella::htmllabel
