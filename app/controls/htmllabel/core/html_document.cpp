#include "app/controls/htmllabel/core/html_document.h"

#include <algorithm>

namespace corvella::htmllabel {

static_assert(kTable == 25 && kRow == 33 && kFont == 37 && kAnchor == 39 && kHeading == 44 && kStyleEnd == 61,
              "element kinds are stored numbers");

namespace {

struct TagName {
    const char* name;
    int kind;
};

// Compared in this order; the first match decides.
constexpr TagName kTagNames[] = {
    {"HEAD", kHead}, {"/HEAD", kHeadEnd}, {"TITLE", kTitle}, {"/TITLE", kTitleEnd}, {"BODY", kBody},
    {"NOFRAMES", kBody}, {"/BODY", kBodyEnd}, {"/NOFRAMES", kBodyEnd}, {"!--", kComment}, {"--", kCommentEnd},
    {"STRONG", kBold}, {"B", kBold}, {"/STRONG", kBoldEnd}, {"/B", kBoldEnd}, {"EM", kItalic}, {"I", kItalic},
    {"/EM", kItalicEnd}, {"/I", kItalicEnd}, {"U", kUnderline}, {"/U", kUnderlineEnd}, {"P", kPara},
    {"/P", kParaEnd}, {"BR", kBreak}, {"HR", kRule}, {"UL", kUList}, {"/UL", kUListEnd}, {"OL", kOList},
    {"/OL", kOListEnd}, {"LI", kItem}, {"TABLE", kTable}, {"/TABLE", kTableEnd}, {"THEAD", kTHead},
    {"/THEAD", kTHeadEnd}, {"TBODY", kTBody}, {"/TBODY", kTBodyEnd}, {"TFOOT", kTFoot}, {"/TFOOT", kTFootEnd},
    {"TR", kRow}, {"/TR", kRowEnd}, {"TD", kCell}, {"TH", kCell}, {"/TD", kCellEnd}, {"/TH", kCellEnd},
    {"FONT", kFont}, {"/FONT", kFontEnd}, {"A", kAnchor}, {"/A", kAnchorEnd}, {"IMG", kImage},
    {"BLOCKQUOTE", kQuote}, {"/BLOCKQUOTE", kQuoteEnd}, {"H1", kHeading}, {"H2", kHeading}, {"H3", kHeading},
    {"H4", kHeading}, {"H5", kHeading}, {"H6", kHeading}, {"/H1", kHeadingEnd}, {"/H2", kHeadingEnd},
    {"/H3", kHeadingEnd}, {"/H4", kHeadingEnd}, {"/H5", kHeadingEnd}, {"/H6", kHeadingEnd}, {"BIG", kBig},
    {"/BIG", kBigEnd}, {"SMALL", kSmall}, {"/SMALL", kSmallEnd}, {"CENTER", kCenter}, {"/CENTER", kCenterEnd},
    {"SUB", kSub}, {"/SUB", kSubEnd}, {"SUP", kSup}, {"/SUP", kSupEnd}, {"FORM", kForm}, {"/FORM", kFormEnd},
    {"SCRIPT", kScript}, {"/SCRIPT", kScriptEnd}, {"STYLE", kStyle}, {"/STYLE", kStyleEnd},
};

constexpr int kOpening[] = {kHead, kTitle, kBody, kBold, kItalic, kUnderline, kPara, kUList, kOList, kTable,
                            kRow, kCell, kFont, kAnchor, kQuote, kHeading, kBig, kSmall, kCenter};

struct NamedColour {
    const char* name;
    const char* hex;
};

constexpr NamedColour kColourNames[] = {
    {"black", "000000"},  {"green", "008000"},  {"silver", "C0C0C0"}, {"lime", "00FF00"},
    {"gray", "808080"},   {"olive", "808000"},  {"white", "FFFFFF"},  {"fuchsia", "FF00FF"},
    {"yellow", "FFFF00"}, {"maroon", "800000"}, {"navy", "000080"},   {"red", "FF0000"},
    {"blue", "0000FF"},   {"purple", "800080"}, {"teal", "008080"},   {"aqua", "00FFFF"},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Up to two hex digits; an empty piece reads as 0.
int HexByte(const std::string& piece) {
    int v = 0;
    for (char c : piece) v = v * 16 + HexDigit(c);
    return v;
}

// RRGGBB read as the first two, the third and fourth, and the last two
// characters, however many there are.
uint32_t HexToColour(const std::string& s) {
    const std::string red = s.substr(0, 2);
    const std::string green = s.size() > 2 ? s.substr(2, 2) : std::string();
    const std::string blue = s.size() >= 2 ? s.substr(s.size() - 2) : s;
    return Rgb(HexByte(red), HexByte(green), HexByte(blue));
}

// A width as TABLE and TD write it: "50%" is the fraction 0.5. Clamped to
// 0 .. kMaxWidth.
bool ParseWidth(const std::string& value, bool dropPx, float& out) {
    double v = 0;
    if (value.find('%') != std::string::npos) {
        if (!ParseNumber(ReplaceAll(value, "%", ""), v)) return false;
        v /= 100;
    } else if (!ParseNumber(dropPx ? ReplaceAll(value, "px", "") : value, v)) {
        return false;
    }
    out = static_cast<float>(std::clamp(v, 0.0, static_cast<double>(kMaxWidth)));
    return true;
}

// A table measure in pixels, clamped to 0 .. `most`.
bool ParseMeasure(const std::string& value, int most, int& out) {
    int whole = 0;
    if (!ParseInt16(value, whole)) return false;
    out = std::clamp(whole, 0, most);
    return true;
}

}  // namespace

int KindOfTag(const std::string& name) {
    for (const TagName& t : kTagNames)
        if (name == t.name) return t.kind;
    return kUnknown;
}

bool OpensElement(int kind) { return std::find(std::begin(kOpening), std::end(kOpening), kind) != std::end(kOpening); }

bool ClosesElement(int kind) {
    return std::find(std::begin(kOpening), std::end(kOpening), kind - 1) != std::end(kOpening);
}

uint32_t ColorNameToHex(const std::string& name) {
    const std::string lower = LowerAscii(name);
    for (const NamedColour& c : kColourNames)
        if (lower == c.name) return HexToColour(c.hex);
    return 0;
}

uint32_t ParseColour(const std::string& value) {
    const std::string s = ReplaceAll(value, "#", "");
    const bool hex = !s.empty() && s.size() <= 8 &&
                     std::all_of(s.begin(), s.end(), [](char c) { return HexDigit(c) >= 0; });
    return hex ? HexToColour(s) : ColorNameToHex(value);
}

void HtmlDocument::Assign(const std::string& markup) {
    backColor = kButtonFace;
    textColor = 0;
    linkColor = kBlue;
    document_ = NormaliseDocument(markup);
    tokens_.clear();
    std::vector<std::string> texts = Tokenize(document_);
    tokens_.resize(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        tokens_[i].Text = std::move(texts[i]);
        tokens_[i].Index = static_cast<int>(i);
    }
    InterpretAll();
    BuildHierarchy();
}

void HtmlDocument::InterpretAll() {
    anchors_.clear();
    for (HtmlToken& t : tokens_) {
        InterpretTag(t);
        if (enableAnchors && t.Kind == kAnchor) anchors_.push_back(t.Index);
    }
}

void HtmlDocument::InterpretTag(HtmlToken& t) {
    if (!IsTagText(t.Text)) {
        t.Kind = kText;
        const std::string d = DecodeCharRefs(t.Text);
        t.Words.clear();
        size_t pos = 0;
        for (size_t at; (at = d.find(' ', pos)) != std::string::npos; pos = at + 1) t.Words.push_back(d.substr(pos, at - pos));
        t.Words.push_back(d.substr(pos));
        return;
    }
    t.IsTag = true;
    const std::string name = TagId(t.Text);
    t.Kind = KindOfTag(name);
    switch (t.Kind) {
    case kFont:
        t.FontFace = defaultFontName;
        t.FontColor = textColor;
        t.FontSize = defaultFontSize;
        break;
    case kHeading:
        t.FontSize = defaultFontSize + static_cast<float>(7 - (name[1] - '0')) * 1.2f;
        break;
    case kBig:
        t.FontSize = defaultFontSize + 1;
        break;
    case kSmall:
        t.FontSize = defaultFontSize - 1;
        break;
    case kTable:
        t.CellSpacing = 2;
        t.CellPadding = 2;
        t.TableWidth = 1.0f;
        break;
    case kCell:
        t.ColSpan = 1;
        t.CellWidth = 1.0f;
        break;
    default:
        break;
    }
    static constexpr int kWithAttributes[] = {kBody, kTable, kCell, kFont, kAnchor, kImage};
    if (std::find(std::begin(kWithAttributes), std::end(kWithAttributes), t.Kind) == std::end(kWithAttributes))
        return;
    // A value that is not a number where one is read leaves the field as it was.
    for (const Attribute& a : ExtractTagAttributes(t.Text)) {
        const std::string& n = a.name;
        const std::string& v = a.value;
        double number = 0;
        int whole = 0;
        switch (t.Kind) {
        case kBody:
            if (n == "BGCOLOR") backColor = ParseColour(v);
            else if (n == "TEXT") textColor = ParseColour(v);
            else if (n == "LINK") linkColor = ParseColour(v);
            break;
        case kFont:
            if (n == "FACE") {
                const size_t comma = v.find(',', 1);
                t.FontFace = comma != std::string::npos ? v.substr(0, v.find(',')) : v;
            } else if (n == "COLOR") {
                t.FontColor = ParseColour(v);
            } else if (n == "SIZE" && ParseNumber(v, number)) {
                const bool relative = !v.empty() && (v[0] == '-' || v[0] == '+');
                t.FontSize = defaultFontSize + static_cast<float>((relative ? number : number - 3) * 1.2);
            }
            break;
        case kTable:
            if (n == "WIDTH") ParseWidth(v, false, t.TableWidth);
            else if (n == "BORDER") ParseMeasure(v, kMaxBorder, t.Border);
            else if (n == "CELLPADDING") ParseMeasure(v, kMaxCellGap, t.CellPadding);
            else if (n == "CELLSPACING") ParseMeasure(v, kMaxCellGap, t.CellSpacing);
            else if (n == "ALIGN" && UpperAscii(v) == "CENTER") t.Centered = true;
            break;
        case kCell:
            if (n == "WIDTH") ParseWidth(v, true, t.CellWidth);
            else if (n == "COLSPAN" && ParseInt16(v, whole)) t.ColSpan = whole;
            else if (n == "ALIGN" && UpperAscii(v) == "CENTER") t.Centered = true;
            break;
        case kAnchor:
            if (n == "HREF") t.Href = DecodeCharRefs(v);
            else if (n == "ID" || n == "NAME") t.AnchorName = v;
            break;
        case kImage:
            if (n == "SRC") t.ImageSource = DecodeCharRefs(v);
            else if (n == "ALT") t.AltText = DecodeCharRefs(v);
            break;
        default:
            break;
        }
    }
    if (t.Kind == kAnchor) t.Top = t.Left = t.Bottom = t.Right = -1;
}

void HtmlDocument::BuildHierarchy() {
    const int count = TokenCount();
    if (count == 0) return;
    // One frame per open element: the element and the number of its counted
    // children. An explicit stack, so thousands of unclosed tags nest safely.
    struct Open {
        int element;
        int n;
    };
    std::vector<Open> open{{0, 0}};
    int pos = 0;
    while (!open.empty()) {
        Open& top = open.back();
        if (++pos >= count) break;
        HtmlToken& t = tokens_[static_cast<size_t>(pos)];
        HtmlToken& parent = tokens_[static_cast<size_t>(top.element)];
        parent.Children.push_back(pos);
        t.Parent = parent.Index;
        t.ChildIndex = top.n;
        if (t.IsTag && OpensElement(t.Kind)) {
            open.push_back({pos, 0});
        } else if (t.IsTag && ClosesElement(t.Kind)) {
            // Closes the innermost open element, whatever its name; at the
            // top level it ends the tree.
            tokens_[static_cast<size_t>(top.element)].ChildCount = top.n;
            open.pop_back();
            if (!open.empty()) ++open.back().n;
        } else {
            ++top.n;
        }
    }
    while (!open.empty()) {
        tokens_[static_cast<size_t>(open.back().element)].ChildCount = open.back().n;
        open.pop_back();
        if (!open.empty()) ++open.back().n;
    }
}

int HtmlDocument::ParentOf(int index) const {
    if (index < 0 || index >= TokenCount()) return -1;
    const int p = tokens_[static_cast<size_t>(index)].Parent;
    return p >= 1 && p < TokenCount() ? p : -1;
}

int HtmlDocument::FirstChildOf(int index) const {
    if (index < 0 || index >= TokenCount()) return -1;
    const HtmlToken& t = tokens_[static_cast<size_t>(index)];
    return t.ChildCount >= 1 && !t.Children.empty() ? t.Children[0] : -1;
}

int HtmlDocument::NextSiblingOf(int index) const {
    const int p = ParentOf(index);
    if (p < 0) return -1;
    const HtmlToken& parent = tokens_[static_cast<size_t>(p)];
    const int next = tokens_[static_cast<size_t>(index)].ChildIndex + 1;
    if (next >= parent.ChildCount || next >= static_cast<int>(parent.Children.size())) return -1;
    return parent.Children[static_cast<size_t>(next)];
}

std::string HtmlDocument::DocumentTitle() const {
    for (int i = 0; i + 1 < TokenCount(); ++i)
        if (tokens_[static_cast<size_t>(i)].Kind == kTitle) {
            // An empty title element is followed by its closing tag, not by text.
            const HtmlToken& next = tokens_[static_cast<size_t>(i) + 1];
            return next.IsTag ? std::string() : DecodeCharRefs(next.Text);
        }
    return "Unknown";
}

int HtmlDocument::HitTest(int x, int y, int scrollOffset) const {
    for (int index : anchors_) {
        const HtmlToken& t = tokens_[static_cast<size_t>(index)];
        if (t.Href.empty()) continue;
        const long long top = static_cast<long long>(t.Top) - scrollOffset;
        const long long bottom = static_cast<long long>(t.Bottom) - scrollOffset;
        if (t.Left <= x && x <= t.Right && top <= y && y <= bottom) return index;
    }
    return -1;
}

}  // namespace corvella::htmllabel
