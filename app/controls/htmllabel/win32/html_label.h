// The HTML view control ("Corvella.HTMLLabel"): shows a short document in a
// small subset of HTML, the tip pane of the main window. A forms control
// whose window holds the viewport (which copies the off-screen page), a
// vertical scroll bar and a tool tip; a released link raises HyperlinkClick
// 250 ms later. Geometry is in twips like every control's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/controls/htmllabel/core/html_document.h"
#include "app/controls/htmllabel/win32/gdi_canvas.h"
#include "platform/forms/forms.h"

namespace corvella::htmllabel {

extern const char kHtmlLabelClass[];  // "Corvella.HTMLLabel"

class HtmlLabel : public forms::Control {
public:
    // ---- design: set before Create() ----
    int appearance = 1;   // 0 flat, 1 three-dimensional
    int borderStyle = 1;  // 0 none, 1 single
    uint32_t backColor = kButtonFace;
    bool enableScroll = false;
    bool enableAnchors = false;
    std::string defaultFontName = "Arial";
    float defaultFontSize = 10;

    // Raised from the click timer with the link's target; a handler may
    // change it.
    std::function<void(int index, std::string& href)> HyperlinkClick;

    HtmlLabel() = default;
    ~HtmlLabel() override;

    bool Create(forms::Container& parent) override;

    // ---- public members (hWnd, Move and the geometry come with the base) ----
    static const char* Version() { return "0.1.0"; }
    const std::string& DefaultFontName() const { return defaultFontName; }
    void SetDefaultFontName(const std::string& name) { defaultFontName = name; }
    float DefaultFontSize() const { return defaultFontSize; }
    void SetDefaultFontSize(float points) { defaultFontSize = points; }
    uint32_t BackColor() const { return backColor; }
    // Gives the page the colour (clearing it) and repaints the viewport.
    void SetBackColor(uint32_t colour);
    int Appearance() const { return appearance; }
    void SetAppearance(int value);
    int BorderStyle() const { return borderStyle; }
    void SetBorderStyle(int value);
    const std::string& DocumentHTML() const { return doc_.Normalised(); }
    // Replaces the document; lays it out at once while the control is
    // visible in its host (its own flag: a redraw lock hides the window).
    void SetDocumentHTML(const std::string& markup);
    bool EnableScroll() const { return enableScroll; }
    void SetEnableScroll(bool on) { enableScroll = on; }
    bool EnableAnchors() const { return enableAnchors; }
    void SetEnableAnchors(bool on) { enableAnchors = on; }
    std::string DocumentTitle() const { return doc_.DocumentTitle(); }
    // Lays out (unless paintOnly), draws and sets up the scroll bar.
    void Refresh(bool paintOnly);
    std::string mstrTagID(const std::string& tagText) const { return TagId(tagText); }
    // Fills AttrNames() and AttrValues(); the number of pairs.
    int mintExtractTagAttributes(const std::string& tagText);
    void mBuildHierarchy() { doc_.BuildHierarchy(); }
    const std::vector<std::string>& AttrNames() const { return attrNames_; }
    const std::vector<std::string>& AttrValues() const { return attrValues_; }

    // The control's own visibility flag: a redraw lock clears the window's
    // visible style under some systems, yet the control stays visible.
    bool Visible() const override { return Created() ? shown_ : visible; }
    void SetVisible(bool on) override;

    // ---- state the host and the tests read ----
    const HtmlDocument& Document() const { return doc_; }
    HWND Viewport() const { return viewport_; }
    HWND ScrollBar() const { return scroll_; }
    HWND ToolTip() const { return tip_; }
    int ScrollValue() const { return scrollValue_; }
    int ScrollMax() const { return scrollMax_; }
    int LargeChange() const { return largeChange_; }
    HDC PageDc() const { return page_.Dc(); }
    bool OverLink() const { return overLink_; }
    const std::string& ToolTipText() const { return tipText_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDetach() override;

private:
    static LRESULT CALLBACK ViewportProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnViewport(UINT msg, WPARAM wp, LPARAM lp);

    void OnResize();
    void OnViewportPaint();
    void OnMouseMove(int x, int y);
    void OnMouseUp(int x, int y);
    void OnKeyDown(int key);
    void OnClickTimer();
    void OnScroll(int code);
    // Takes a scroll value inside the range (others are rejected) and shows
    // the page at it.
    bool SetScrollValue(int value);
    void ScrollChanged();
    void CopyPage();
    void CopyPageTo(HDC dc);
    void ApplyBorder();
    void SyncScrollBar();
    RenderOptions Options() const;
    int ScrollOffset() const;

    // The hourglass over the viewport while a document is worked on.
    struct Busy {
        explicit Busy(HtmlLabel& l) : label(l) { ++label.busy_; }
        ~Busy() { --label.busy_; }
        HtmlLabel& label;
    };
    int busy_ = 0;

    bool shown_ = true;
    HWND viewport_ = nullptr;
    HWND scroll_ = nullptr;
    HWND tip_ = nullptr;
    HCURSOR hand_ = nullptr;
    bool ownHand_ = false;
    HtmlDocument doc_;
    GdiCanvas page_;
    std::vector<std::string> attrNames_, attrValues_;
    std::string pendingHref_;
    std::string tipText_;
    bool overLink_ = false;
    bool scrollShown_ = false;
    bool scrollEnabled_ = false;
    int scrollValue_ = 0;
    int scrollMax_ = 0;
    int largeChange_ = 1;
    static constexpr int kSmallChange = 1;
    struct SyncedBar {
        int max, value;
        bool enabled, shown;
    };
    std::optional<SyncedBar> synced_;
    // What the page shows since the last drawing pass: a paint pass with the
    // same inputs would draw it again pixel for pixel.
    struct Drawn {
        RenderOptions options;
        std::string fontName;
        float fontSize;
        uint32_t backColor;
    };
    std::optional<Drawn> drawn_;
    Drawn Inputs() const;
    bool PageIsCurrent() const;
    void Render(bool layout);
};

}  // namespace corvella::htmllabel
