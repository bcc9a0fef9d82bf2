#include "app/controls/htmllabel/core/html_layout.h"

#include <algorithm>
#include <array>
#include <vector>

#include "libs/common/numeric/rounding.h"

namespace corvella::htmllabel {

namespace {

// Fixed tables of the layout: deeper lists share the last level, and extra
// tables, cells and columns are ignored (their text flows where it is).
constexpr int kListLevels = 17;
constexpr int kMaxTables = 17;
constexpr int kMaxCells = 17;
constexpr int kMaxColumns = 17;

// Every position and size of the layout is kept within this many pixels
// of the origin, far past any page: a sum of a few of them then fits 32
// bits whatever the document holds (a huge border, thousands of rows).
constexpr double kMaxCoord = 1 << 28;

// To the nearest integer, a half to the even neighbour, within kMaxCoord.
int32_t Round(double v) { return RoundHalfEven(std::clamp(v, -kMaxCoord, kMaxCoord)); }

// Adds in the layout's range: the sum saturates at kMaxCoord.
void Add(int32_t& v, double by) { v = Round(v + by); }
int32_t Sum(double a, double b) { return Round(a + b); }

// Integer division as the layout counts it: both sides rounded first, the
// quotient truncated; nothing to divide by gives 0.
int32_t IDiv(double a, double b) {
    const long long x = Round(a), y = Round(b);
    return y == 0 ? 0 : static_cast<int32_t>(x / y);
}

int SpanOf(const HtmlToken& cell) { return cell.ColSpan < 1 ? 1 : cell.ColSpan; }

struct TableEntry {
    bool centred = false;
    int border = 0, padding = 0, spacing = 0, token = 0;
    int32_t left = 0, top = 0, width = 0, height = 0;
    int32_t rowTop = 0, rowHeight = 0, nextCellX = 0, cellRight = 0;
    int cells = 0;
    std::array<int32_t, kMaxCells> outerLeft{}, outerRight{};
};

class Renderer {
public:
    Renderer(HtmlDocument& doc, Canvas& canvas, bool layout, const RenderOptions& options)
        : doc_(doc), tokens_(doc.Tokens()), canvas_(canvas), layout_(layout), options_(options) {}

    void Run();

private:
    using Handler = void (Renderer::*)(HtmlToken&);
    static const std::array<Handler, kStyleEnd + 1>& Handlers();

    // ---- page state ----
    double TW(const std::string& s) { return canvas_.TextWidth(s); }
    double TH(const std::string& s) { return canvas_.TextHeight(s); }
    void ApplyFont(PageFont font);
    void ResetTextStyle();
    void Fore(uint32_t colour) { canvas_.SetForeColour(colour); }
    void Recompute(double extra) {
        lineHeight_ = Round(TH("X") + extra);
        indentStep_ = Round(2 * TW("W"));
    }
    // The print-position rule of the page: printing draws at (x, y); then
    // the print position moves to x 0 and down by the text's height. So a
    // heading adds a line only when something was printed before it, and a
    // table row grows to the bottom of its cell's last printed line. Lines
    // and frames leave the print position alone.
    void Print(double x, double y, const std::string& text) {
        canvas_.DrawText(Round(x), Round(y), text);
        printY_ = y + TH(text);
    }
    void PrintPiece(std::string piece);
    void NewLine() {
        penX_ = Sum(leftMargin_, indent_);
        Add(penY_, lineHeight_);
    }
    void StoreItemIndent(HtmlToken& t) {
        if (layout_) t.Indent = itemIndent_;
    }
    void BlankLineRule() {
        if (!blankPending_) Add(penY_, lineHeight_);
        blankPending_ = !blankPending_;
    }
    HtmlToken* OpenLink() { return openLink_ >= 0 ? &tokens_[static_cast<size_t>(openLink_)] : nullptr; }
    TableEntry* OpenTable() { return tables_.empty() || ignoredTables_ > 0 ? nullptr : &tables_.back(); }
    void Draw3DFrame(bool sunken, int32_t l, int32_t t, int32_t r, int32_t b);

    // ---- token handlers ----
    void Nothing(HtmlToken&) {}
    void Hide(HtmlToken&) { hidden_ = true; }
    void Show(HtmlToken&) { hidden_ = false; }
    void BoldOn(HtmlToken&) { Style(&PageFont::bold, true); }
    void BoldOff(HtmlToken&) { Style(&PageFont::bold, false); }
    void ItalicOn(HtmlToken&) { Style(&PageFont::italic, true); }
    void ItalicOff(HtmlToken&) { Style(&PageFont::italic, false); }
    void UnderlineOn(HtmlToken&) { Style(&PageFont::underline, true); }
    void UnderlineOff(HtmlToken&) { Style(&PageFont::underline, false); }
    void Style(bool PageFont::*flag, bool on) {
        PageFont f = font_;
        f.*flag = on;
        ApplyFont(f);
    }
    void Para(HtmlToken& t);
    void ParaEnd(HtmlToken& t);
    void Break(HtmlToken& t);
    void Rule(HtmlToken& t);
    void ListOpen(HtmlToken& t);
    void ListClose(HtmlToken& t);
    void Item(HtmlToken& t);
    void Font(HtmlToken& t);
    void FontEnd(HtmlToken& t);
    void Anchor(HtmlToken& t);
    void AnchorEnd(HtmlToken& t);
    void Image(HtmlToken& t);
    void Quote(HtmlToken& t);
    void QuoteEnd(HtmlToken& t);
    void Heading(HtmlToken& t);
    void SizeOnly(HtmlToken& t);
    void SizeEnd(HtmlToken& t);
    void Center(HtmlToken& t);
    void CenterEnd(HtmlToken& t);
    void Text(HtmlToken& t);
    void CentredRun(HtmlToken& t);
    void WordRun(HtmlToken& t);
    void Table(HtmlToken& t);
    void Row(HtmlToken& t);
    void Cell(HtmlToken& t);
    void CellEnd(HtmlToken& t);
    void RowEnd(HtmlToken& t);
    void TableEnd(HtmlToken& t);

    HtmlDocument& doc_;
    std::vector<HtmlToken>& tokens_;
    Canvas& canvas_;
    const bool layout_;
    const RenderOptions options_;

    PageFont font_;
    double printY_ = 0;
    int current_ = 0;
    int32_t leftMargin_ = 4, pageWidth_ = 0, penX_ = 0, penY_ = 0, indent_ = 0, itemIndent_ = 0;
    int32_t lineHeight_ = 0, indentStep_ = 0, scrollOffset_ = 0, linkRight_ = 0;
    float currentSize_ = 0;
    bool blankPending_ = false, hidden_ = false, centre_ = false, inTable_ = false, underlinePending_ = false;
    int listDepth_ = 0;
    std::array<bool, kListLevels> ordered_{};
    std::array<int, kListLevels> counter_{};
    std::vector<TableEntry> tables_;
    int ignoredTables_ = 0;
    int openLink_ = -1;
};

const std::array<Renderer::Handler, kStyleEnd + 1>& Renderer::Handlers() {
    static const std::array<Handler, kStyleEnd + 1> table = [] {
        std::array<Handler, kStyleEnd + 1> h{};
        h.fill(&Renderer::Nothing);
        h[kText] = &Renderer::Text;
        h[kBold] = &Renderer::BoldOn;
        h[kBoldEnd] = &Renderer::BoldOff;
        h[kItalic] = &Renderer::ItalicOn;
        h[kItalicEnd] = &Renderer::ItalicOff;
        h[kUnderline] = &Renderer::UnderlineOn;
        h[kUnderlineEnd] = &Renderer::UnderlineOff;
        h[kPara] = &Renderer::Para;
        h[kParaEnd] = &Renderer::ParaEnd;
        h[kBreak] = &Renderer::Break;
        h[kRule] = &Renderer::Rule;
        h[kUList] = h[kOList] = &Renderer::ListOpen;
        h[kUListEnd] = h[kOListEnd] = &Renderer::ListClose;
        h[kItem] = &Renderer::Item;
        h[kTable] = &Renderer::Table;
        h[kTableEnd] = &Renderer::TableEnd;
        h[kRow] = &Renderer::Row;
        h[kRowEnd] = &Renderer::RowEnd;
        h[kCell] = &Renderer::Cell;
        h[kCellEnd] = &Renderer::CellEnd;
        h[kFont] = &Renderer::Font;
        h[kFontEnd] = &Renderer::FontEnd;
        h[kAnchor] = &Renderer::Anchor;
        h[kAnchorEnd] = &Renderer::AnchorEnd;
        h[kImage] = &Renderer::Image;
        h[kQuote] = &Renderer::Quote;
        h[kQuoteEnd] = &Renderer::QuoteEnd;
        h[kHeading] = &Renderer::Heading;
        h[kBig] = h[kSmall] = &Renderer::SizeOnly;
        h[kHeadingEnd] = h[kBigEnd] = h[kSmallEnd] = &Renderer::SizeEnd;
        h[kCenter] = &Renderer::Center;
        h[kCenterEnd] = &Renderer::CenterEnd;
        h[kForm] = h[kScript] = h[kStyle] = &Renderer::Hide;
        h[kFormEnd] = h[kScriptEnd] = h[kStyleEnd] = &Renderer::Show;
        return h;
    }();
    return table;
}

void Renderer::ApplyFont(PageFont font) {
    if (!(font.points >= kMinPoints && font.points <= kMaxPoints)) font.points = font_.points;
    if (canvas_.SetFont(font)) font_ = font;
}

void Renderer::ResetTextStyle() {
    PageFont f;
    f.face = doc_.defaultFontName;
    f.points = doc_.defaultFontSize;
    ApplyFont(f);
    Fore(doc_.textColor);
}

void Renderer::Run() {
    canvas_.Clear();
    printY_ = 0;
    ResetTextStyle();
    currentSize_ = doc_.defaultFontSize;
    Recompute(-1);
    if (!layout_ && options_.enableScroll) scrollOffset_ = Round(static_cast<double>(options_.scrollValue) * 10);
    leftMargin_ = 4;
    pageWidth_ = Round(canvas_.PageWidth());
    penX_ = leftMargin_;
    penY_ = -scrollOffset_;
    const int count = doc_.TokenCount();
    int i = 1;
    while (i < count && tokens_[static_cast<size_t>(i)].Kind != kBody) ++i;
    if (i >= count) return;  // nothing is drawn without a body
    if (!layout_) {
        for (; i < count && tokens_[static_cast<size_t>(i)].Bottom < scrollOffset_; ++i) {
            const HtmlToken& t = tokens_[static_cast<size_t>(i)];
            if (t.Kind == kFont) {
                ApplyFont(PageFont{t.FontFace, t.FontSize, font_.bold, font_.italic, font_.underline});
                Fore(t.FontColor);
                currentSize_ = t.FontSize;
                Recompute(4);
            } else if (t.Kind == kFontEnd) {
                ResetTextStyle();
                currentSize_ = doc_.defaultFontSize;
            }
        }
        if (i >= count) return;
        const HtmlToken& first = tokens_[static_cast<size_t>(i)];
        penX_ = Round(first.Left);
        indent_ = Sum(first.Left, -4);
        penY_ = Sum(first.Top, -scrollOffset_);
    }
    const auto& handlers = Handlers();
    for (; i < count; ++i) {
        HtmlToken& t = tokens_[static_cast<size_t>(i)];
        if (layout_) {
            t.Top = penY_;
            t.Indent = 0;
            t.Left = penX_;
            if (centre_) t.Centered = true;
        } else {
            if (canvas_.PageHeight() < penY_ && tables_.empty()) break;
            penY_ = Sum(t.Top, -scrollOffset_);
            penX_ = Round(t.Left);
        }
        current_ = i;
        if (t.Kind >= 0 && t.Kind <= kStyleEnd) (this->*handlers[static_cast<size_t>(t.Kind)])(t);
        if (layout_ && t.Kind != kComment) {
            t.Bottom = Sum(penY_, lineHeight_ + 4);
            t.Right = linkRight_;
        }
    }
}

void Renderer::Para(HtmlToken& t) {
    if (!layout_) return;
    NewLine();
    itemIndent_ = Sum(penX_, -leftMargin_);
    StoreItemIndent(t);
}

void Renderer::ParaEnd(HtmlToken& t) {
    if (!layout_) return;
    penX_ = Sum(leftMargin_, indent_);
    itemIndent_ = Sum(penX_, -leftMargin_);
    StoreItemIndent(t);
    BlankLineRule();
}

void Renderer::Break(HtmlToken& t) {
    if (!layout_) return;
    NewLine();
    itemIndent_ = Sum(penX_, -leftMargin_);
    StoreItemIndent(t);
    blankPending_ = false;
}

void Renderer::Rule(HtmlToken& t) {
    if (layout_) {
        penX_ = leftMargin_;
        t.Top = penY_;
    }
    canvas_.DrawLine(leftMargin_, penY_, pageWidth_ - 4, penY_);
    if (layout_) Add(penY_, 5);
}

void Renderer::ListOpen(HtmlToken& t) {
    if (!layout_) return;
    if (listDepth_ < 32767) ++listDepth_;
    const size_t level = static_cast<size_t>(std::min(listDepth_, kListLevels - 1));
    ordered_[level] = t.Kind == kOList;
    if (t.Kind == kOList) counter_[level] = 0;
    Add(indent_, indentStep_);
    itemIndent_ = Sum(indent_, indentStep_);
    StoreItemIndent(t);
    if (listDepth_ == 1) BlankLineRule();
}

void Renderer::ListClose(HtmlToken& t) {
    if (!layout_) return;
    ordered_[static_cast<size_t>(std::min(listDepth_, kListLevels - 1))] = false;
    const bool wasOpen = listDepth_ > 0;  // a stray closing tag keeps the depth at 0
    if (wasOpen) --listDepth_;
    indent_ = std::max(0, Sum(indent_, -indentStep_));
    itemIndent_ = indent_;
    StoreItemIndent(t);
    if (wasOpen && listDepth_ == 0) BlankLineRule();
}

void Renderer::Item(HtmlToken& t) {
    if (layout_) {
        NewLine();
        t.Top = penY_;
        t.Indent = indent_;
        const size_t level = static_cast<size_t>(std::min(listDepth_, kListLevels - 1));
        if (ordered_[level]) {
            if (counter_[level] < 32767) ++counter_[level];
            t.Numbered = true;
            t.ItemNumber = counter_[level];
        }
    }
    // A fixed advance after the number, whatever its digits.
    const std::string mark = t.Numbered ? std::to_string(t.ItemNumber) + ". " : std::string("\x95  ");
    Print(static_cast<double>(leftMargin_) + t.Indent, penY_, mark);
    penX_ = Sum(static_cast<double>(leftMargin_) + t.Indent, Round(TW(t.Numbered ? std::string("W. ") : mark)));
    if (layout_) itemIndent_ = penX_;
}

void Renderer::Font(HtmlToken& t) {
    ApplyFont(PageFont{t.FontFace, t.FontSize, font_.bold, font_.italic, font_.underline});
    Fore(t.FontColor);
    currentSize_ = t.FontSize;
}

void Renderer::FontEnd(HtmlToken&) {
    ResetTextStyle();
    currentSize_ = doc_.defaultFontSize;
    Recompute(4);
}

void Renderer::Anchor(HtmlToken& t) {
    if (!options_.enableAnchors) return;
    if (!t.Href.empty()) {
        Fore(doc_.linkColor);
        underlinePending_ = true;
    }
    openLink_ = current_;
    linkRight_ = penX_;
}

void Renderer::AnchorEnd(HtmlToken&) {
    if (!options_.enableAnchors) return;
    Style(&PageFont::underline, false);
    underlinePending_ = false;
    Fore(doc_.textColor);
    if (HtmlToken* link = OpenLink()) {
        if (layout_) {
            link->Bottom = Sum(penY_, lineHeight_ - 4);
            link->Right = linkRight_;
        }
        openLink_ = -1;
    }
}

void Renderer::Image(HtmlToken& t) {
    if (t.AltText.empty()) return;  // the picture itself is never loaded
    Print(penX_, penY_, "[" + t.AltText + "]");
    penX_ = Round(penX_ + TW("[" + t.AltText + "] "));
    linkRight_ = penX_;
}

void Renderer::Quote(HtmlToken& t) {
    if (!layout_) return;
    Add(penY_, lineHeight_);
    if (!blankPending_) Add(penY_, lineHeight_);
    penX_ = Sum(leftMargin_, indentStep_);
    Add(indent_, indentStep_);
    itemIndent_ = indent_;
    StoreItemIndent(t);
}

void Renderer::QuoteEnd(HtmlToken& t) {
    if (!layout_) return;
    Add(penY_, lineHeight_);
    Add(penX_, -indentStep_);
    Add(indent_, -indentStep_);
    itemIndent_ = indent_;
    StoreItemIndent(t);
}

void Renderer::Heading(HtmlToken& t) {
    if (layout_) penX_ = Sum(leftMargin_, indent_);
    ApplyFont(PageFont{font_.face, t.FontSize, true, font_.italic, font_.underline});
    Recompute(4);
    if (layout_ && printY_ > 4) Add(penY_, lineHeight_);
}

void Renderer::SizeOnly(HtmlToken& t) {
    PageFont f = font_;
    f.points = t.FontSize;
    ApplyFont(f);
}

void Renderer::SizeEnd(HtmlToken&) {
    if (layout_) NewLine();
    ApplyFont(PageFont{font_.face, currentSize_, false, font_.italic, font_.underline});
    Recompute(4);
}

void Renderer::Center(HtmlToken& t) {
    centre_ = true;
    if (!layout_) return;
    penX_ = Sum(leftMargin_, indent_);
    t.Centered = true;
}

void Renderer::CenterEnd(HtmlToken& t) {
    centre_ = false;
    if (!layout_) return;
    penX_ = Sum(leftMargin_, indent_);
    t.Centered = false;
}

void Renderer::PrintPiece(std::string piece) {
    if (underlinePending_) {
        // The blank before a link's first word is not underlined.
        if (!piece.empty() && piece[0] == ' ') {
            Print(penX_, penY_, " ");
            penX_ = Round(penX_ + TW(" "));
            piece.erase(0, 1);
        }
        Style(&PageFont::underline, true);
        underlinePending_ = false;
    }
    if (!piece.empty()) Print(penX_, penY_, piece);
    penX_ = Round(penX_ + TW(piece));
}

void Renderer::Text(HtmlToken& t) {
    if (hidden_) return;
    if (layout_) {
        t.Left = penX_;
        t.Indent = itemIndent_;
    }
    if (t.Centered)
        CentredRun(t);
    else
        WordRun(t);
}

void Renderer::CentredRun(HtmlToken& t) {
    const std::vector<std::string>& words = t.Words;
    const double room = pageWidth_ - 8;
    for (size_t w = 0; w < words.size();) {
        // Widths add up word by word, so a long run is measured once.
        std::string line = words[w];
        double width = TW(line);
        for (++w; w < words.size(); ++w) {
            const double more = TW(" " + words[w]);
            if (width + more > room) break;
            line += " " + words[w];
            width += more;
        }
        Print((pageWidth_ - leftMargin_ - 8 - width) / 2 + leftMargin_, penY_, line);
        penX_ = 0;  // the print position after printing
        if (HtmlToken* link = OpenLink()) {
            if (layout_) link->Top = penY_;
            linkRight_ = Round(penX_ + width);
        }
        blankPending_ = false;
        Add(penY_, lineHeight_);
    }
}

void Renderer::WordRun(HtmlToken& t) {
    const std::vector<std::string>& words = t.Words;
    for (size_t w = 0; w < words.size(); ++w) {
        const std::string& word = words[w];
        const bool noBlank = penX_ == leftMargin_ + t.Indent || word.empty() || word[0] == '.' || word[0] == ',' ||
                             penX_ == leftMargin_ + 4;
        std::string piece = noBlank ? word : " " + word;
        if (penX_ + TW(piece) >= pageWidth_ - 4) {
            if (!piece.empty() && piece[0] == ' ') piece.erase(0, 1);
            linkRight_ = Sum(pageWidth_, -4);
            penX_ = Sum(leftMargin_, t.Indent);
            Add(penY_, lineHeight_);
            HtmlToken* link = OpenLink();
            if (link != nullptr && w == 0) {
                if (layout_) link->Top = penY_;
                link->Left = penX_;
            }
            PrintPiece(piece);
            if (link != nullptr && w == 0) linkRight_ = penX_;
        } else if (!piece.empty()) {
            PrintPiece(piece);
            linkRight_ = std::max(linkRight_, penX_);
        }
        blankPending_ = false;
    }
}

void Renderer::Table(HtmlToken& t) {
    if (static_cast<int>(tables_.size()) >= kMaxTables || ignoredTables_ > 0) {
        ++ignoredTables_;
        return;
    }
    if (!inTable_) {
        Add(penY_, lineHeight_);
        inTable_ = true;
    }
    const int32_t width = t.TableWidth <= 1
                              ? Round(t.TableWidth * (static_cast<double>(pageWidth_) - 8 - leftMargin_ -
                                                      2.0 * t.Border - t.CellSpacing))
                              : Round(t.TableWidth);
    t.TablePixelWidth = width;
    ComputeTableColumns(doc_, current_);
    TableEntry e;
    e.top = penY_;
    e.height = t.Border;
    e.rowTop = Sum(penY_, t.Border);
    e.border = t.Border;
    e.padding = t.CellPadding;
    e.spacing = t.CellSpacing;
    e.token = current_;
    e.width = width;
    const int32_t minLeft = tables_.empty() ? leftMargin_ : Sum(leftMargin_, t.CellPadding);
    e.left = t.Centered
                 ? std::max(Sum(IDiv(static_cast<double>(pageWidth_) - leftMargin_ - width, 2), leftMargin_), minLeft)
                 : minLeft;
    e.centred = t.Centered;
    centre_ = false;
    tables_.push_back(e);
}

void Renderer::Row(HtmlToken& t) {
    TableEntry* e = OpenTable();
    if (e == nullptr) return;  // no open table: the tag means nothing
    penX_ = Sum(leftMargin_, indent_);
    if (layout_) t.Indent = indent_;
    Add(e->rowTop, e->rowHeight);
    e->rowHeight = Round(e->spacing / 2.0);
    e->nextCellX = Round(2.0 * e->border + e->spacing / 2.0);
    e->cells = 0;
}

void Renderer::Cell(HtmlToken& t) {
    TableEntry* e = OpenTable();
    if (e == nullptr || e->cells >= kMaxCells) return;
    centre_ = t.Centered;
    const int32_t outerLeft = Sum(e->left, e->nextCellX);
    leftMargin_ = Sum(outerLeft, e->padding);
    pageWidth_ = Round(static_cast<double>(t.CellPixelWidth) + outerLeft - e->padding);
    e->cellRight = pageWidth_;
    penX_ = leftMargin_;
    const size_t c = static_cast<size_t>(e->cells);
    e->outerLeft[c] = outerLeft;
    e->outerRight[c] = Sum(pageWidth_, e->padding);
    const int32_t reach = Round(static_cast<double>(e->outerRight[c]) + IDiv(e->spacing, 2) + e->border - e->left);
    if (reach > e->width) e->width = reach;
    ++e->cells;
    penY_ = Round(e->rowTop + e->spacing / 2.0 + e->border + e->padding);
}

void Renderer::CellEnd(HtmlToken&) {
    TableEntry* e = OpenTable();
    if (e == nullptr) return;
    const double used = printY_ + e->padding / 2.0 + e->border - e->rowTop;
    if (used > e->rowHeight) e->rowHeight = Round(used);
    if (e->cells > 0)
        e->nextCellX = Round(static_cast<double>(e->outerRight[static_cast<size_t>(e->cells - 1)]) + e->spacing +
                             e->border - e->left);
    centre_ = false;
}

void Renderer::RowEnd(HtmlToken&) {
    TableEntry* e = OpenTable();
    if (e == nullptr) return;
    penX_ = Sum(leftMargin_, indent_);
    if (e->rowHeight > 0) Add(e->height, static_cast<double>(e->rowHeight) + IDiv(e->spacing, 2) + e->border);
    if (e->border > 0)
        for (size_t k = 0; k < static_cast<size_t>(e->cells); ++k)
            Draw3DFrame(true, e->outerLeft[k], Round(e->rowTop + e->spacing / 2.0), e->outerRight[k],
                        Sum(e->rowTop, e->rowHeight));
    Add(e->rowHeight, Round(e->spacing / 2.0 + e->border));
}

void Renderer::TableEnd(HtmlToken&) {
    if (ignoredTables_ > 0) {
        --ignoredTables_;
        return;
    }
    if (tables_.empty()) return;
    const TableEntry e = tables_.back();
    if (e.border > 0) Draw3DFrame(false, e.left, e.top, Sum(e.left, e.width), Sum(e.top, e.height));
    if (layout_)
        tokens_[static_cast<size_t>(e.token)].Bottom = Round(static_cast<double>(e.top) + e.height - 1 + lineHeight_ + 4);
    tables_.pop_back();
    if (tables_.empty()) {
        leftMargin_ = 4;
        pageWidth_ = Round(canvas_.PageWidth());
        inTable_ = false;
    } else {
        leftMargin_ = tables_.back().left;
    }
    centre_ = e.centred;
    penY_ = Sum(e.top, e.height);
}

void Renderer::Draw3DFrame(bool sunken, int32_t l, int32_t t, int32_t r, int32_t b) {
    const uint32_t saved = canvas_.ForeColour();
    const uint32_t light = canvas_.BackColourRgb() == kWhite ? kButtonFace : kWhite;
    Fore(sunken ? kButtonShadow : light);
    canvas_.DrawLine(l, t, r, t);
    canvas_.DrawLine(l, t, l, b);
    Fore(sunken ? light : kButtonShadow);
    canvas_.DrawLine(r, t, r, b);
    canvas_.DrawLine(l, b, r + 1, b);
    Fore(saved);
}

std::vector<int> ChildrenOfKind(const HtmlDocument& doc, int parent, int kind) {
    std::vector<int> found;
    for (int c = doc.FirstChildOf(parent); c >= 0; c = doc.NextSiblingOf(c))
        if (doc.Tokens()[static_cast<size_t>(c)].Kind == kind) found.push_back(c);
    return found;
}

}  // namespace

void RenderDocument(HtmlDocument& doc, Canvas& canvas, bool relayout, const RenderOptions& options) {
    Renderer(doc, canvas, relayout, options).Run();
    canvas.Flush();
}

void ComputeTableColumns(HtmlDocument& doc, int tableIndex) {
    std::vector<HtmlToken>& tokens = doc.Tokens();
    HtmlToken& table = tokens[static_cast<size_t>(tableIndex)];
    const std::vector<int> rows = ChildrenOfKind(doc, tableIndex, kRow);
    std::vector<std::vector<int>> cells;
    for (int row : rows) cells.push_back(ChildrenOfKind(doc, row, kCell));

    long long n = 0;
    if (!cells.empty())
        for (int c : cells[0]) n += SpanOf(tokens[static_cast<size_t>(c)]);
    n = std::min<long long>(n, kMaxColumns);
    const double b = table.Border, cs = table.CellSpacing;
    const double a = table.TablePixelWidth - 2 * b - cs - 2 * b * static_cast<double>(n) - static_cast<double>(n - 1) * cs;

    std::array<double, kMaxColumns> widths{};
    const std::vector<int>* plain = nullptr;  // the first row of single cells
    for (const std::vector<int>& row : cells) {
        const bool single = std::all_of(row.begin(), row.end(),
                                        [&tokens](int c) { return SpanOf(tokens[static_cast<size_t>(c)]) == 1; });
        if (!row.empty() && single) {
            plain = &row;
            break;
        }
    }
    if (plain == nullptr) {
        for (long long k = 0; k < n; ++k) widths[static_cast<size_t>(k)] = a / static_cast<double>(n);
    } else {
        double fixed = 0;
        std::array<bool, kMaxColumns> isFree{};
        int frees = 0;
        for (size_t k = 0; k < plain->size() && k < widths.size(); ++k) {
            const float w = tokens[static_cast<size_t>((*plain)[k])].CellWidth;
            if (w < 1) {
                widths[k] = w * a;  // a fraction
            } else if (w == 1) {
                isFree[k] = true;  // shares what is left
                ++frees;
                continue;
            } else {
                widths[k] = w;  // pixels
            }
            fixed += widths[k];
        }
        if (frees > 0) {
            const double share = IDiv(a - fixed, frees);
            for (size_t k = 0; k < widths.size(); ++k)
                if (isFree[k]) widths[k] = share;
        }
    }
    double s = 0;
    for (double w : widths) s += w;
    if (s > 1 && table.TableWidth > 1 && s > table.TablePixelWidth) {
        table.TablePixelWidth = Round(s);
    } else if (s > 0 && s < table.TablePixelWidth) {
        for (double& w : widths) w *= a / s;
    }
    for (const std::vector<int>& row : cells) {
        long long col = 0;
        for (int c : row) {
            HtmlToken& cell = tokens[static_cast<size_t>(c)];
            const int span = SpanOf(cell);
            double w = (2 * b + cs) * (span - 1);
            for (long long k = col; k < col + span && k < kMaxColumns; ++k) w += widths[static_cast<size_t>(k)];
            cell.CellPixelWidth = std::clamp(Round(w), -32768, 32767);
            col += span;
        }
    }
}

ScrollRange ComputeScrollRange(const HtmlDocument& doc, int viewportHeight) {
    ScrollRange r;
    r.largeChange = std::max(1, IDiv(viewportHeight, 10));
    if (doc.TokenCount() > 0)
        r.max = IDiv(static_cast<double>(doc.Tokens().back().Bottom) + 20 - viewportHeight, 10);
    r.enabled = r.max > 0;
    if (!r.enabled) r.max = 0;
    return r;
}

int ScrollForKey(int key, bool ctrl, int value, int minimum, int maximum, int smallChange, int largeChange) {
    // In 64 bits: any step from any value stays a comparison, never an overflow.
    const long long v = value, small = smallChange, large = largeChange;
    switch (key) {
    case 38:  // Up: a value below the minimum is rejected, not clamped
        return v > minimum && v - small >= minimum ? static_cast<int>(v - small) : -1;
    case 40:
        return v < maximum && v + small <= maximum ? static_cast<int>(v + small) : -1;
    case 33:
        return v > minimum ? static_cast<int>(std::max<long long>(v - large, minimum)) : -1;
    case 34:
        return v < maximum ? static_cast<int>(std::min<long long>(v + large, maximum)) : -1;
    case 36:
        return ctrl ? minimum : -1;
    case 35:
        return ctrl ? maximum : -1;
    default:
        return -1;
    }
}

int ScrollForAnchor(const HtmlDocument& doc, const std::string& href, int maximum) {
    if (href.size() < 2 || href[0] != '#') return -1;  // "#" alone names nothing
    const std::string name = href.substr(1);
    int value = -1;
    for (const HtmlToken& t : doc.Tokens())
        if (t.AnchorName == name) value = std::min(t.Top / 10, maximum);
    return value;
}

}  // namespace corvella::htmllabel
