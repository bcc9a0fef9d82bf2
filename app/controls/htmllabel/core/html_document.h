// The document model of the HTML view: one token record per tag or text
// run, the element kinds, the attribute values the layout reads, the link
// list and the element tree. Rebuilt from scratch on every assignment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/controls/htmllabel/core/html_text.h"

namespace corvella::htmllabel {

// Colours are 0x00BBGGRR; the top bit names a system colour.
constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonShadow = 0x80000010u;
constexpr uint32_t kWhite = 0x00FFFFFFu;
constexpr uint32_t kBlue = 0x00FF0000u;

constexpr uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           (static_cast<uint32_t>(b & 0xFF) << 16);
}

// Element kinds; the numbers are stored in tokens and never change.
enum Kind : int {
    kText = 0, kUnknown = 1, kHead = 2, kHeadEnd, kTitle, kTitleEnd, kBody, kBodyEnd, kComment, kCommentEnd,
    kBold, kBoldEnd, kItalic, kItalicEnd, kUnderline, kUnderlineEnd, kPara, kParaEnd, kBreak, kRule,
    kUList, kUListEnd, kOList, kOListEnd, kItem, kTable, kTableEnd, kTHead, kTHeadEnd, kTBody, kTBodyEnd,
    kTFoot, kTFootEnd, kRow, kRowEnd, kCell, kCellEnd, kFont, kFontEnd, kAnchor, kAnchorEnd, kImage,
    kQuote, kQuoteEnd, kHeading, kHeadingEnd, kBig, kBigEnd, kSmall, kSmallEnd, kCenter, kCenterEnd,
    kSub, kSubEnd, kSup, kSupEnd, kForm, kFormEnd, kScript, kScriptEnd, kStyle, kStyleEnd,
};

// The kind of an upper-case tag name (kUnknown for any other).
int KindOfTag(const std::string& name);
bool OpensElement(int kind);
bool ClosesElement(int kind);

// Table attributes are clamped to these when read (a negative one to 0): a
// tip has no use for more, and the layout's sums stay small.
constexpr int kMaxBorder = 100;
constexpr int kMaxCellGap = 1000;  // CELLPADDING, CELLSPACING
constexpr float kMaxWidth = 32767;  // WIDTH of TABLE and TD, in pixels

struct HtmlToken {
    std::string Text;
    bool IsTag = false;
    int Kind = kText;
    std::string AnchorName;
    std::vector<std::string> Words;
    std::string FontFace;
    float FontSize = 0;
    uint32_t FontColor = 0;
    std::string Href;
    int32_t Top = 0, Left = 0, Bottom = 0, Right = 0;
    int32_t Indent = 0;
    bool Centered = false;
    std::string ImageSource;
    std::string AltText;
    bool Numbered = false;
    int ItemNumber = 0;
    float TableWidth = 0;
    int32_t TablePixelWidth = 0;
    float CellWidth = 0;
    int CellPixelWidth = 0;
    int Border = 0;
    int CellPadding = 0;
    int CellSpacing = 0;
    int ColSpan = 0;
    int ChildCount = 0;
    std::vector<int> Children;
    int Parent = 0;
    int ChildIndex = 0;
    int Index = 0;
};

// The colour of an attribute value: hex digits with or without "#" (missing
// digits read as 0), else a colour name, else black.
uint32_t ParseColour(const std::string& value);
uint32_t ColorNameToHex(const std::string& name);

class HtmlDocument {
public:
    // Properties the pipeline reads (set by the control).
    std::string defaultFontName = "Arial";
    float defaultFontSize = 10;
    bool enableAnchors = false;

    // Control-wide state a document sets: reset on every assignment, then
    // changed by a BODY tag.
    uint32_t backColor = kButtonFace;
    uint32_t textColor = 0;
    uint32_t linkColor = kBlue;

    // Normalises, tokenises, interprets and links the tokens; no layout.
    void Assign(const std::string& markup);
    const std::string& Normalised() const { return document_; }

    std::vector<HtmlToken>& Tokens() { return tokens_; }
    const std::vector<HtmlToken>& Tokens() const { return tokens_; }
    int TokenCount() const { return static_cast<int>(tokens_.size()); }
    const std::vector<int>& Anchors() const { return anchors_; }

    // "Unknown" without tokens or TITLE; else the decoded text after TITLE.
    std::string DocumentTitle() const;

    // Links every token into the tree below token 0, without recursion.
    void BuildHierarchy();
    // Tree navigation; -1 when there is no such token.
    int ParentOf(int index) const;
    int FirstChildOf(int index) const;
    int NextSiblingOf(int index) const;

    // The first listed link (with a target) whose hit rectangle, shifted up
    // by the scroll offset, holds the point; -1 for none.
    int HitTest(int x, int y, int scrollOffset) const;

private:
    void InterpretAll();
    void InterpretTag(HtmlToken& t);

    std::string document_;
    std::vector<HtmlToken> tokens_;
    std::vector<int> anchors_;
};

}  // namespace corvella::htmllabel
