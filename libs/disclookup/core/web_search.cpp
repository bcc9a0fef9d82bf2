#include "libs/disclookup/core/web_search.h"

#include "libs/common/text/text_primitives.h"

#include <algorithm>
#include <utility>

namespace corvella::disclookup {

namespace {

constexpr size_t kMaxPageBytes = 4 * 1024 * 1024;  // the rest of a larger page is dropped

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// `what` (lower case) in `text` from `from`, ignoring letter case.
size_t FindNoCase(std::string_view text, std::string_view what, size_t from) {
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < what.size() && corvella::LowerAscii(text[i + k]) == what[k]) ++k;
        if (k == what.size()) return i;
    }
    return std::string_view::npos;
}

// The value of the query parameter `name` ("id", "cat") in a link's opening
// tag: it must start the query or follow an "&", and runs to the next "&",
// quote, blank, "#" or ">".
std::string ParamValue(std::string_view tag, std::string_view name) {
    for (size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        const size_t eq = at + name.size();
        if (at == 0 || (tag[at - 1] != '?' && tag[at - 1] != '&') || eq >= tag.size() || tag[eq] != '=')
            continue;
        size_t end = eq + 1;
        while (end < tag.size() && std::string_view("&\"' \t\r\n#>").find(tag[end]) == std::string_view::npos)
            ++end;
        return std::string(tag.substr(eq + 1, end - eq - 1));
    }
    return std::string();
}

std::string StripTags(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t lt = text.find('<', i);
        const size_t gt = lt == std::string_view::npos ? lt : text.find('>', lt);
        if (gt == std::string_view::npos) {  // no further complete tag
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, lt - i));
        i = gt + 1;
    }
    return out;
}

bool IsBlankOrEnd(std::string_view text, size_t at) {
    return at >= text.size() || text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n';
}

}  // namespace

std::string EncodeSearchWords(std::string_view words) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : words) {
        if (IsLetterOrDigit(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else if (c == ' ') {
            out += '+';
        } else {
            const unsigned char b = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

std::string SearchPath(std::string_view words) {
    return "/freedb_search.php?words=" + EncodeSearchWords(words) +
           "&allfields=NO&fields=artist&fields=title&allcats=YES&grouping=none";
}

std::string SearchRequest(std::string_view host, uint16_t port, std::string_view words) {
    std::string hostField(host);
    if (port != 80) hostField += ":" + std::to_string(port);
    return "GET " + SearchPath(words) + " HTTP/1.0\r\nHost: " + hostField + "\r\nAccept: */*\r\n\r\n";
}

std::string DecodeEntities(std::string_view text) {
    static const struct {
        std::string_view name;
        char c;
    } kNamed[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        bool done = false;
        for (const auto& e : kNamed)
            if (text.substr(i, e.name.size()) == e.name) {
                out += e.c;
                i += e.name.size();
                done = true;
                break;
            }
        if (done) continue;
        // "&#" digits ";" (up to seven digits, so the code cannot overflow).
        size_t k = i + 2;
        int code = 0;
        while (k < text.size() && k < i + 9 && IsDigit(text[k])) code = code * 10 + (text[k++] - '0');
        if (text.substr(i, 2) == "&#" && k > i + 2 && k < text.size() && text[k] == ';' && code > 0) {
            out += code <= 255 ? char(code) : '?';
            i = k + 1;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::vector<DiscID> ParseSearchPage(std::string_view page) {
    std::vector<DiscID> discs;
    size_t pos = 0;
    for (;;) {
        size_t open = FindNoCase(page, "<a", pos);
        while (open != std::string_view::npos && !IsBlankOrEnd(page, open + 2))  // "<abbr", "<area"
            open = FindNoCase(page, "<a", open + 2);
        if (open == std::string_view::npos) break;
        const size_t gt = page.find('>', open);
        const size_t close = gt == std::string_view::npos ? gt : FindNoCase(page, "</a>", gt + 1);
        if (close == std::string_view::npos) break;  // cut off by the end of the page
        pos = close + 4;  // always forward

        const std::string tag = DecodeEntities(page.substr(open, gt - open));
        DiscID disc;
        disc.DiscID = ParamValue(tag, "id");
        disc.Catagory = ParamValue(tag, "cat");
        if (!IsDiscId(disc.DiscID) || !IsCategory(disc.Catagory)) continue;
        const std::string text = DecodeEntities(StripTags(page.substr(gt + 1, close - gt - 1)));
        if (!SplitArtistTitle(text, disc.Artist, disc.Album)) disc.Artist = Trim(text);
        discs.push_back(std::move(disc));
    }
    return discs;
}

void WebSearch::Fail(FailureKind kind, std::string_view why) {
    part_ = Part::kFailed;
    failure_ = MakeFailure(kind, why);
    page_.clear();
}

void WebSearch::Receive(std::string_view bytes) {
    if (part_ == Part::kPage) {
        page_.append(bytes.substr(0, kMaxPageBytes - std::min(kMaxPageBytes, page_.size())));
        return;
    }
    if (part_ != Part::kStatus && part_ != Part::kHeaders) return;
    head_.Append(bytes);
    std::string line;
    while (part_ != Part::kPage && head_.Next(line)) {
        if (part_ == Part::kStatus) {
            // "HTTP/1.x NNN reason"
            const size_t blank = line.find(' ');
            const bool ok = line.compare(0, 5, "HTTP/") == 0 && blank != std::string::npos &&
                            line.size() >= blank + 4 && line[blank + 1] == '2' && IsDigit(line[blank + 2]) &&
                            IsDigit(line[blank + 3]) && IsBlankOrEnd(line, blank + 4);
            if (!ok) return Fail(FailureKind::kServerError, line);
            part_ = Part::kHeaders;
        } else if (line.empty()) {
            part_ = Part::kPage;
            Receive(head_.TakeRest());
        }
    }
    if (head_.Overflowed() && part_ != Part::kPage) Fail(FailureKind::kServerError, "a header line without an end");
}

void WebSearch::Closed() {
    if (part_ == Part::kPage) {
        discs_ = ParseSearchPage(page_);
        page_.clear();
        part_ = Part::kDone;
    } else if (part_ != Part::kDone && part_ != Part::kFailed) {
        Fail(FailureKind::kClosedEarly, "the server closed the connection before the page");
    }
}

std::vector<DiscID> WebSearch::Gathered() const {
    return part_ == Part::kPage ? ParseSearchPage(page_) : discs_;
}

Outcome WebSearch::Result() const {
    switch (part_) {
    case Part::kDone: return Outcome::kComplete;
    case Part::kFailed: return Outcome::kFailed;
    default: return Outcome::kRunning;
    }
}

}  // namespace corvella::disclookup
