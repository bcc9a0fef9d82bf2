// The HTML view on real windows under Wine: the tip pane's document drawn
// with its exact colours and horizontal geometry, link clicks through the
// 250 ms timer, in-document anchors, the scroll keys, the hover cursor and
// tool tip, and a document set under a redraw lock.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/controls/htmllabel/win32/html_label.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella::htmllabel {
namespace {

// The main window's wrapper around one tip.
std::string WrapTipHtml(const std::string& tip) {
    return "<html><head></head><body bgcolor=\"#FFFFFF\" text=\"#494949\"><font face=\"Tahoma\" size=\"2.5\">" + tip +
           "</font></body></html>";
}

const char kTip[] = "Use <b>bold</b> words and <a href=\"http://corvella.example/tips\">this link</a> here.";

using forms::Screen;
using forms::testing::PumpUntil;

// The page is 400 x 80 pixels: the control has no border.
constexpr int kPageWidth = 400;
constexpr int kPageHeight = 80;

struct TipForm : forms::Form {
    HtmlLabel label;
    TipForm() {
        name = "frmTip";
        width = 9000;
        height = 4000;
        label.name = "HTMLLabel";
        label.width = Screen.ToTwipsX(kPageWidth);
        label.height = Screen.ToTwipsY(kPageHeight);
        label.borderStyle = 0;
        label.enableAnchors = true;
        CreateControls = [this] { ASSERT_TRUE(label.Create(*this)); };
    }
};

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class HtmlLabelTest : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form.label.HyperlinkClick = [this](int, std::string& href) {
            clicks.push_back(href);
            clickTick = GetTickCount();
        };
    }
    void TearDown() override {
        form.Unload();
        FormsTest::TearDown();
    }

    void Load() {
        ASSERT_TRUE(form.Load());
        form.Show();
    }
    void Show(const std::string& markup) {
        Load();
        label.SetDocumentHTML(markup);
        label.Refresh(true);
    }

    const HtmlToken& FirstLink() const {
        return label.Document().Tokens()[static_cast<size_t>(label.Document().Anchors().at(0))];
    }

    // The columns of the page where pixels of exactly this colour lie.
    std::vector<int> Columns(COLORREF colour) const {
        std::vector<int> xs;
        for (int x = 0; x < kPageWidth; ++x)
            for (int y = 0; y < kPageHeight; ++y)
                if (GetPixel(label.PageDc(), x, y) == colour) {
                    xs.push_back(x);
                    break;
                }
        return xs;
    }

    unsigned PageSum() const {
        unsigned sum = 0;
        for (int x = 0; x < kPageWidth; x += 2)
            for (int y = 0; y < kPageHeight; ++y) sum = sum * 31 + GetPixel(label.PageDc(), x, y);
        return sum;
    }

    TipForm form;
    HtmlLabel& label = form.label;
    std::vector<std::string> clicks;
    DWORD clickTick = 0;
};

TEST_F(HtmlLabelTest, TipDocumentColoursAndGeometry) {
    Show(WrapTipHtml(kTip));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(label.PageDc(), 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(label.PageDc(), 399, 79));
    const std::vector<int> text = Columns(RGB(0x49, 0x49, 0x49));
    const std::vector<int> link = Columns(RGB(0, 0, 255));
    ASSERT_FALSE(text.empty());
    ASSERT_FALSE(link.empty());
    // Text starts at the left margin of 4; the link's pixels lie inside its
    // hit rectangle, and the rest of the text follows it in the text colour.
    EXPECT_GE(text.front(), 4);
    EXPECT_LE(text.front(), 6);
    const HtmlToken& a = FirstLink();
    EXPECT_EQ("http://corvella.example/tips", a.Href);
    EXPECT_GE(link.front(), a.Left);
    EXPECT_LE(link.back(), a.Right);
    EXPECT_GT(text.back(), a.Right);
    EXPECT_LT(a.Left, a.Right);
    // The viewport shows the page.
    HDC screen = GetDC(label.Viewport());
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(screen, 1, 1));
    ReleaseDC(label.Viewport(), screen);
}

TEST_F(HtmlLabelTest, ReleasingALinkRaisesHyperlinkClickFromTheTimer) {
    Show(WrapTipHtml(kTip));
    const HtmlToken& a = FirstLink();
    const DWORD released = GetTickCount();
    SendMessageA(label.Viewport(), WM_LBUTTONUP, 0, At((a.Left + a.Right) / 2, (a.Top + a.Bottom) / 2));
    EXPECT_TRUE(clicks.empty());  // not from the mouse handler
    ASSERT_TRUE(PumpUntil([this] { return !clicks.empty(); }));
    EXPECT_EQ((std::vector<std::string>{"http://corvella.example/tips"}), clicks);
    EXPECT_GE(clickTick - released, 200u);

    // Off the link, or with links off: nothing.
    clicks.clear();
    SendMessageA(label.Viewport(), WM_LBUTTONUP, 0, At(a.Right + 40, (a.Top + a.Bottom) / 2));
    label.SetEnableAnchors(false);
    SendMessageA(label.Viewport(), WM_LBUTTONUP, 0, At((a.Left + a.Right) / 2, (a.Top + a.Bottom) / 2));
    SendMessageA(label.Viewport(), WM_TIMER, 1, 0);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(HtmlLabelTest, HoverShowsTheHandAndTheTarget) {
    Show(WrapTipHtml(kTip));
    const HtmlToken& a = FirstLink();
    SendMessageA(label.Viewport(), WM_MOUSEMOVE, 0, At(a.Left + 2, a.Top + 2));
    EXPECT_TRUE(label.OverLink());
    EXPECT_EQ("http://corvella.example/tips", label.ToolTipText());
    SendMessageA(label.Viewport(), WM_MOUSEMOVE, 0, At(a.Right + 40, a.Top + 2));
    EXPECT_FALSE(label.OverLink());
    EXPECT_EQ("", label.ToolTipText());
    ASSERT_NE(nullptr, label.ToolTip());
    char cls[64] = {};
    GetClassNameA(label.ToolTip(), cls, sizeof cls);
    EXPECT_STREQ("tooltips_class32", cls);
}

std::string LongDocument(const char* linkTarget) {
    std::string body = std::string("<a href=\"") + linkTarget + "\">jump</a><br>";
    for (int i = 0; i < 40; ++i) body += "line " + std::to_string(i) + "<br>";
    return "<html><body>" + body + "<a name=\"end\">End</a> of it<br>" + "more<br>more<br>more</body></html>";
}

TEST_F(HtmlLabelTest, InDocumentAnchorScrolls) {
    label.enableScroll = true;
    Show(LongDocument("#end"));
    ASSERT_TRUE(IsWindowVisible(label.ScrollBar()));
    ASSERT_GT(label.ScrollMax(), 0);
    const HtmlToken& a = FirstLink();
    int target = 0;
    for (const HtmlToken& t : label.Document().Tokens())
        if (t.AnchorName == "end") target = t.Top / 10;
    SendMessageA(label.Viewport(), WM_LBUTTONUP, 0, At(a.Left + 2, a.Top + 2));
    EXPECT_EQ(std::min(target, label.ScrollMax()), label.ScrollValue());
    EXPECT_EQ(label.ScrollValue(), GetScrollPos(label.ScrollBar(), SB_CTL));
    SendMessageA(label.Viewport(), WM_TIMER, 1, 0);
    EXPECT_TRUE(clicks.empty());  // nothing was pending

    // Without scrolling the same target is reported whole, and the links are
    // hit where they are drawn although the bar's value stayed.
    label.SetEnableScroll(false);
    label.SetDocumentHTML(LongDocument("#end"));
    label.Refresh(true);
    ASSERT_GT(label.ScrollValue(), 0);
    const HtmlToken& b = FirstLink();
    SendMessageA(label.Viewport(), WM_LBUTTONUP, 0, At(b.Left + 2, b.Top + 2));
    ASSERT_TRUE(PumpUntil([this] { return !clicks.empty(); }));
    EXPECT_EQ("#end", clicks.front());
    EXPECT_FALSE(IsWindowVisible(label.ScrollBar()));
}

TEST_F(HtmlLabelTest, ScrollKeys) {
    label.enableScroll = true;
    Show(LongDocument("x"));
    const int max = label.ScrollMax(), large = label.LargeChange();
    ASSERT_GT(max, large + 2);
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    auto press = [this](int key) { SendMessageA(label.Viewport(), WM_KEYDOWN, static_cast<WPARAM>(key), 0); };
    const struct {
        int key;
        bool ctrl;
        int expected;
    } steps[] = {
        {VK_UP, false, 0},          {VK_DOWN, false, 1},       {VK_NEXT, false, 1 + large},
        {VK_PRIOR, false, 1},       {VK_PRIOR, false, 0},      {VK_END, false, 0},
        {VK_END, true, max},        {VK_DOWN, false, max},     {VK_HOME, false, max},
        {VK_HOME, true, 0},
    };
    for (const auto& s : steps) {
        keys[VK_CONTROL] = s.ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        press(s.key);
        EXPECT_EQ(s.expected, label.ScrollValue()) << s.key;
        EXPECT_EQ(s.expected, GetScrollPos(label.ScrollBar(), SB_CTL)) << s.key;
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    // A repaint after scrolling brings bar and page back to the top together.
    const unsigned top = PageSum();
    press(VK_NEXT);
    EXPECT_NE(top, PageSum());
    label.Refresh(true);
    EXPECT_EQ(0, label.ScrollValue());
    EXPECT_EQ(top, PageSum());

    // Page Down near the end lands exactly on the maximum.
    press(VK_END);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    press(VK_END);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    press(VK_UP);
    press(VK_NEXT);
    EXPECT_EQ(max, label.ScrollValue());
}

TEST_F(HtmlLabelTest, DocumentSetUnderARedrawLockIsLaidOut) {
    Load();
    SendMessageA(label.hWnd(), WM_SETREDRAW, FALSE, 0);
    label.SetDocumentHTML(WrapTipHtml(kTip));
    SendMessageA(label.hWnd(), WM_SETREDRAW, TRUE, 0);
    label.Refresh(true);
    EXPECT_GT(FirstLink().Right, FirstLink().Left);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(label.PageDc(), 399, 79));
    // The viewport shows the laid-out page, text pixels included.
    const COLORREF text = RGB(0x49, 0x49, 0x49);
    const std::vector<int> columns = Columns(text);
    ASSERT_FALSE(columns.empty());
    int y = 0;
    while (y < kPageHeight && GetPixel(label.PageDc(), columns.front(), y) != text) ++y;
    HDC screen = GetDC(label.Viewport());
    EXPECT_EQ(text, GetPixel(screen, columns.front(), y));
    ReleaseDC(label.Viewport(), screen);
}

TEST_F(HtmlLabelTest, MembersAndDefaults) {
    Load();
    EXPECT_STREQ("0.1.0", HtmlLabel::Version());
    EXPECT_EQ("Arial", label.DefaultFontName());
    EXPECT_FLOAT_EQ(10, label.DefaultFontSize());
    label.SetDocumentHTML("<html>\r\n<title>A &amp; B</title>  x</html>");
    EXPECT_EQ("<html> <title>A &#038; B</title> x</html>", label.DocumentHTML());
    EXPECT_EQ("A & B", label.DocumentTitle());
    EXPECT_EQ(2, label.mintExtractTagAttributes("<font size=3 color=red>"));
    EXPECT_EQ((std::vector<std::string>{"SIZE", "COLOR"}), label.AttrNames());
    EXPECT_EQ("/FONT", label.mstrTagID("</Font>"));
    label.SetDocumentHTML("<html><body bgcolor=navy>x</body></html>");
    EXPECT_EQ(RGB(0, 0, 128), label.BackColor());
    char cls[64] = {};
    GetClassNameA(label.hWnd(), cls, sizeof cls);
    EXPECT_STREQ("Corvella.HTMLLabel", cls);
    // A handler's error goes through the forms' error rule, named after the event.
    label.HyperlinkClick = [](int, std::string&) { throw std::runtime_error("handler failed"); };
    label.SetDocumentHTML(WrapTipHtml(kTip));
    const HtmlToken& a = FirstLink();
    SendMessageA(label.Viewport(), WM_LBUTTONUP, 0, At(a.Left + 2, a.Top + 2));
    ASSERT_TRUE(PumpUntil([this] { return !boxes.empty(); }));
    EXPECT_NE(std::string::npos, boxes.front().prompt.find("HTMLLabel_HyperlinkClick")) << boxes.front().prompt;
    boxes.clear();
}

}  // namespace
}  // namespace corvella::htmllabel
