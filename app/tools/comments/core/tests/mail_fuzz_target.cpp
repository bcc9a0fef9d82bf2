// Fuzz target of the comments mail as the user fills it in: NUL-separated
// texts for the name, the address, the comment and the subject's date.
// Whatever they hold, the address check gives a reason exactly when it
// refuses and passes no address over the limit, and the message built is
// lines ending in CR LF of at most 998 bytes, the same seven header fields
// (or their folded lines), and one closing "." at its very end.
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "app/tools/comments/core/address_check.h"
#include "app/tools/comments/core/mail_message.h"
#include "libs/common/tests/fuzz_corpus.h"

namespace {

using namespace corvella::comments;
using corvella::fuzz::Check;

// A quoted name is closed, and each '"' and '\' inside it is escaped.
bool WellQuoted(const std::string& shown) {
    if (shown.empty() || shown[0] != '"') return true;
    if (shown.size() < 2 || shown.back() != '"') return false;
    for (size_t i = 1; i + 1 < shown.size(); ++i) {
        if (shown[i] == '"') return false;
        if (shown[i] == '\\' && ++i + 1 >= shown.size()) return false;  // the pair runs into the closing quote
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> texts(4);
    for (size_t i = 0, k = 0; i < size; ++i) {
        if (data[i] == 0 && k + 1 < texts.size()) ++k;
        else texts[k] += static_cast<char>(data[i]);
    }
    std::string address = texts[1], reason;
    const bool accepted = IsEMailAddress(address, reason);
    Check(accepted == reason.empty(), "a reason exactly when refused");
    Check(!accepted || address.size() <= kMaxAddress, "no accepted address over the limit");

    const std::string shown = DisplayName(texts[0]);
    Check(WellQuoted(shown), "a quoted name stays well quoted");

    const std::string message = BuildMessage({texts[0], address, "Velmora Support", "support@velmora.com",
                                              SupportSubject("Corvella", texts[3]), "Wed, 09 Dec 2026 19:29:03 +0000",
                                              CommentBody(texts[2], "1.2.0")});
    static const char* const kFields[] = {"FROM: ", "TO: ", "SUBJECT: ", "Date: ", "MIME-Version: ", "Content-Type: ",
                                          "Content-Transfer-Encoding: "};
    size_t field = 0;
    bool inHeader = true;
    size_t start = 0;
    for (size_t end; (end = message.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = message.substr(start, end - start);
        Check(line.size() <= kMaxLine, "no line over 998 bytes");
        Check(line.find_first_of("\r\n") == std::string::npos, "no lone CR or LF");
        Check(line != "." || end + 2 == message.size(), "the data ends only at its end");
        if (!inHeader) continue;
        if (line.empty()) {
            inHeader = false;
        } else if (line[0] != ' ') {
            Check(field < std::size(kFields) && line.compare(0, std::string(kFields[field]).size(), kFields[field]) == 0,
                  "the header fields are the seven, in order");
            ++field;
        }
    }
    Check(start == message.size() && field == std::size(kFields) && !inHeader, "whole lines, the whole header");
    return 0;
}
