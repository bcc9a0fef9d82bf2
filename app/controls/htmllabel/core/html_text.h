// The text side of the HTML view: normalising the mark-up, cutting it into
// tokens, tag names, tag attributes and numeric character references. All
// text is ANSI bytes in length-counted strings: a reference may yield NUL.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corvella::htmllabel {

// Token indices, parents and child lists are 16-bit in the stored layout;
// a document stops being tokenised once it has this many tokens.
constexpr int kMaxTokens = 32767;

struct Attribute {
    std::string name;   // upper case, trimmed, tabs removed
    std::string value;  // case kept, trimmed, opening quote dropped
};

// Line breaks to blanks, the known named entities to numeric references,
// tabs to blanks and blank runs collapsed by three halving passes: the text
// that DocumentHTML reads back.
std::string NormaliseDocument(const std::string& markup);

// The raw token texts of a normalised document, in order: whole tags
// (comments from "<!--" through "-->") and runs of text between tags.
// Text before the first tag and after the last one is not a token, nor is a
// run of blanks. An unclosed tag or comment ends the list.
std::vector<std::string> Tokenize(const std::string& document);

// True when the text begins with "<" and ends with ">".
bool IsTagText(const std::string& text);

// The upper-case tag name: <b> gives B, </Font> gives /FONT, <br/> BR/.
std::string TagId(const std::string& tagText);

// The NAME=value pairs of a tag; an attribute without "=" runs into the
// next name, as it always has.
std::vector<Attribute> ExtractTagAttributes(const std::string& tagText);

// Decimal references "&#nnn;" to characters (codes above 255 give nothing),
// then line breaks and tabs to blanks.
std::string DecodeCharRefs(const std::string& text);

// Small string helpers shared by the engine.
std::string TrimBlanks(const std::string& s);
std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to);
std::string UpperAscii(std::string s);
std::string LowerAscii(std::string s);

// A number as the attributes write it: blanks, a sign, digits and one
// decimal point. False for anything else, so a bad value can be ignored.
bool ParseNumber(const std::string& text, double& out);
// The value as a 16-bit integer (rounded half to even); false outside it.
bool ParseInt16(const std::string& text, int& out);

}  // namespace corvella::htmllabel
