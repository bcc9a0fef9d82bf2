// The freedb text search over HTTP: the request, the reply read as status
// line, headers and page, and the scan of the page's result links.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "libs/disclookup/core/cddb_dialogue.h"
#include "libs/disclookup/core/query_failure.h"
#include "libs/disclookup/core/records.h"
#include "libs/disclookup/core/text.h"

namespace corvella::disclookup {

// Form encoding of the search words: letters, digits and "-_.~" stay, a
// blank becomes "+", every other byte "%XX", so "&" or "#" in the words
// cannot cut the query.
std::string EncodeSearchWords(std::string_view words);

// "/freedb_search.php?words=...&allfields=NO&fields=artist&fields=title&allcats=YES&grouping=none"
std::string SearchPath(std::string_view words);

// The whole request: "GET <path> HTTP/1.0", "Host: <host>" (with ":port"
// when the port is not 80), "Accept: */*" and the empty line, each ending
// in CR LF.
std::string SearchRequest(std::string_view host, uint16_t port, std::string_view words);

// &amp; &lt; &gt; &quot; and &#NN; (a decimal code 1 to 255; a larger one
// gives "?"); anything else stays as it is.
std::string DecodeEntities(std::string_view text);

// The result links of a search page, in page order: every "<a ...>" whose
// address carries an "id=" of 8 hex digits and a "cat=" of lower-case
// letters; other links are skipped. The link text, tags removed and entities
// decoded, is "artist / album"; without a separator the album stays empty.
// A link cut off by the end of the page ends the scan.
std::vector<DiscID> ParseSearchPage(std::string_view page);

// The reply to the search request. The status line is checked as soon as it
// is in (anything but 2xx ends the query at once), the headers are skipped,
// and the page is gathered until the server closes the connection.
class WebSearch {
public:
    void Receive(std::string_view bytes);
    void Closed();

    Outcome Result() const;
    // The result links, once complete; none otherwise.
    const std::vector<DiscID>& Discs() const { return discs_; }
    // What a query ended early (cancelled, timed out) hands back: the
    // complete result links of the page so far. A link cut off by the end of
    // what came is left out, so nothing half-read reaches the host.
    std::vector<DiscID> Gathered() const;
    const QueryFailure& Failure() const { return failure_; }

private:
    enum class Part { kStatus, kHeaders, kPage, kDone, kFailed };
    void Fail(FailureKind kind, std::string_view why);

    Part part_ = Part::kStatus;
    LineBuffer head_{8 * 1024};
    std::string page_;
    std::vector<DiscID> discs_;
    QueryFailure failure_;
};

}  // namespace corvella::disclookup
