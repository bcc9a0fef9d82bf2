#include "app/controls/htmllabel/core/html_text.h"

#include <cmath>

namespace corvella::htmllabel {

namespace {

// 1-based search as the token positions are counted: the position of `pat`
// at or after `start`, 0 when there is none.
size_t InStr(size_t start, const std::string& s, const std::string& pat) {
    if (start < 1) start = 1;
    if (start > s.size()) return 0;
    const size_t at = s.find(pat, start - 1);
    return at == std::string::npos ? 0 : at + 1;
}

// 1-based substring that never reads past the text.
std::string Mid(const std::string& s, size_t start, long long length) {
    if (start < 1 || start > s.size() || length <= 0) return std::string();
    return s.substr(start - 1, static_cast<size_t>(length));
}

char CharAt(const std::string& s, size_t pos1) { return pos1 >= 1 && pos1 <= s.size() ? s[pos1 - 1] : '\0'; }

struct Entity {
    const char* named;
    const char* numeric;
};

// Order matters: each replacement runs over the whole text before the next.
constexpr Entity kEntities[] = {
    {"&lt;", "&#060;"},   {"&gt;", "&#062;"},  {"&quot;", "&#034;"}, {"&nbsp;", "&#032;"},
    {"&copy;", "&#169;"}, {"&deg;", "&#176;"}, {"&amp;", "&#038;"},  {"&middot;", "&#183;"},
};

}  // namespace

std::string TrimBlanks(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && s[a] == ' ') ++a;
    while (b > a && s[b - 1] == ' ') --b;
    return s.substr(a, b - a);
}

std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string out;
    out.reserve(s.size());
    size_t pos = 0;
    for (size_t at; (at = s.find(from, pos)) != std::string::npos; pos = at + from.size()) {
        out.append(s, pos, at - pos);
        out += to;
    }
    out.append(s, pos, std::string::npos);
    return out;
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool ParseNumber(const std::string& text, double& out) {
    const std::string t = TrimBlanks(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    double value = 0, scale = 0;
    bool digits = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                value += (c - '0') * scale;
                scale /= 10;
            }
        } else if (c == '.' && scale == 0) {
            scale = 0.1;
        } else {
            return false;
        }
        if (value > 1e9) return false;
    }
    if (!digits) return false;
    out = negative ? -value : value;
    return true;
}

bool ParseInt16(const std::string& text, int& out) {
    double v = 0;
    if (!ParseNumber(text, v)) return false;
    v = std::nearbyint(v);
    if (v < -32768 || v > 32767) return false;
    out = static_cast<int>(v);
    return true;
}

std::string NormaliseDocument(const std::string& markup) {
    std::string doc = markup;
    for (char& c : doc)
        if (c == '\n' || c == '\r') c = ' ';
    for (const Entity& e : kEntities) doc = ReplaceAll(doc, e.named, e.numeric);
    for (char& c : doc)
        if (c == '\t') c = ' ';
    // Three halving passes: a run of up to eight blanks becomes one.
    for (int pass = 0; pass < 3; ++pass) doc = ReplaceAll(doc, "  ", " ");
    return doc;
}

std::vector<std::string> Tokenize(const std::string& doc) {
    std::vector<std::string> tokens;
    const size_t len = doc.size();
    size_t start = 1, stop = 0;
    auto add = [&tokens](std::string text) {
        if (TrimBlanks(text).empty()) return;
        tokens.push_back(std::move(text));
    };
    while (stop < len && tokens.size() < static_cast<size_t>(kMaxTokens)) {
        start = InStr(start, doc, "<");
        if (start == 0) break;  // no tag at all: nothing to cut
        if (doc.compare(start - 1, 4, "<!--") == 0) {
            const size_t end = InStr(start, doc, "-->");
            if (end == 0) break;  // an unclosed comment hides the rest
            stop = end + 2;
        } else {
            stop = InStr(start, doc, ">");
            if (stop == 0) break;  // an unclosed tag ends the document
        }
        add(Mid(doc, start, static_cast<long long>(stop - start + 1)));
        start = ++stop;
        if (tokens.size() >= static_cast<size_t>(kMaxTokens)) break;
        stop = InStr(start, doc, "<");
        if (stop >= 1 && stop > start) {
            add(Mid(doc, start, static_cast<long long>(stop - start)));
            start = stop;
        } else if (stop == 0) {
            stop = len;  // text after the last tag is not a token
        }
    }
    return tokens;
}

bool IsTagText(const std::string& text) { return !text.empty() && text.front() == '<' && text.back() == '>'; }

std::string TagId(const std::string& tagText) {
    const size_t blank = InStr(1, tagText, " ");
    std::string name;
    if (blank == 0) {
        const std::string t = TrimBlanks(tagText);
        name = Mid(t, 2, static_cast<long long>(t.size()) - 2);
    } else {
        name = Mid(tagText, 2, static_cast<long long>(blank) - 1);
    }
    return UpperAscii(TrimBlanks(name));
}

std::vector<Attribute> ExtractTagAttributes(const std::string& tag) {
    std::vector<Attribute> attrs;
    size_t p = InStr(1, tag, " ");
    if (p == 0) return attrs;
    const size_t len = tag.size();
    while (attrs.size() < 32767) {
        if (InStr(p, tag, "=") == 0) break;
        size_t e = InStr(p + 1, tag, "=");
        if (e == 0) break;  // the only "=" left stands where the last value ended
        Attribute a;
        a.name = ReplaceAll(TrimBlanks(UpperAscii(Mid(tag, p, static_cast<long long>(e - p)))), "\t", "");
        char quote = ' ';
        p = e + 1;
        while (CharAt(tag, p) == ' ') ++p;
        const size_t s = p;
        const char at = CharAt(tag, p);
        if (at == '"' || at == '\'') quote = at;
        const size_t close = InStr(p + 1, tag, std::string(1, quote));
        e = close > 0 ? close : len;
        a.value = TrimBlanks(Mid(tag, s, static_cast<long long>(e) - static_cast<long long>(p)));
        if (!a.value.empty() && a.value.front() == quote) a.value.erase(0, 1);
        attrs.push_back(std::move(a));
        p = e + 1;
    }
    return attrs;
}

std::string DecodeCharRefs(const std::string& text) {
    std::string out;
    if (text.find("&#") == std::string::npos) {
        out = text;
    } else {
        out.reserve(text.size());
        const size_t len = text.size();
        size_t i = 0;
        while (i < len) {
            if (text.compare(i, 2, "&#") == 0 && text.find(';', i) != std::string::npos) {
                size_t j = i + 2;
                long code = 0;
                for (; j < len && text[j] >= '0' && text[j] <= '9'; ++j)
                    if (code < 100000) code = code * 10 + (text[j] - '0');  // long references saturate
                if (code <= 255) out += static_cast<char>(code);
                i = j + 1;  // the character after the digits, normally ";", is consumed
            } else {
                out += text[i++];
            }
        }
    }
    out = ReplaceAll(out, "\r\n", " ");
    for (char& c : out)
        if (c == '\n' || c == '\t') c = ' ';
    return out;
}

}  // namespace corvella::htmllabel
