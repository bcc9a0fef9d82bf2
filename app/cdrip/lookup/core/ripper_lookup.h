// The ripper's own disc lookup: the query text of the open drive's table of
// contents, the CDDB dialogue that finds and reads the disc's entry, and the
// entry turned into the ripper's disc data.
//
// The dialogue reads whole lines and classifies each by its code and the
// step it arrives in, so a reply split anywhere reads the same:
//   banner 200/201      -> cddb hello <user> <host> Test_APP 1.0.0
//   hello 200/402       -> proto 5
//   proto 200/201/501/502 -> cddb query <id> <n> <offsets...> <seconds>
//   query 200 <cat> <id> <title>        -> cddb read <cat> <id>
//   query 210/211, a list up to "."     -> cddb read (the first listed)
//   query 202                           -> no match
//   read 210, the entry up to "."       -> complete
// Any other code ends the lookup as the server's error, with its line (one
// with nothing readable is named so); a close before the entry is complete
// ends it as closed early. Nothing is sent after the entry: the connection
// stays until the window closes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cdrip/naming/core/output_naming.h"
#include "libs/common/text/line_buffer.h"
#include "libs/disclookup/core/query_failure.h"
#include "libs/disclookup/core/text.h"
#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdrip {

constexpr char kLookupClient[] = "Test_APP 1.0.0";

struct LookupQuery {
    std::string discId;  // 8 lower-case hex digits
    std::string text;    // what follows "cddb query "
};

// The query of the open drive's TOC; nothing, with `why` set, when no drive
// is open (handle 0) or the disc holds no audio track.
std::optional<LookupQuery> QueryOfDrive(uint32_t handle, const cdaudio::TOC& toc, std::string* why);

class RipperLookup {
public:
    enum class Step { kBanner, kHello, kProto, kQuery, kMatchList, kRead, kEntry, kComplete, kNoMatch, kFailed };

    // `user` and `host` go into the hello as single words.
    RipperLookup(LookupQuery query, std::string_view user, std::string_view host);

    // A received piece; returns what to send now (often nothing).
    std::string Receive(std::string_view bytes);
    // The connection ended: the server closed it, or the network's error
    // (`why`) ended or refused it.
    void Closed(const disclookup::QueryFailure& why = disclookup::MakeFailure(disclookup::FailureKind::kClosedEarly));

    Step CurrentStep() const { return step_; }
    bool Complete() const { return step_ == Step::kComplete; }
    bool Ended() const { return step_ == Step::kComplete || step_ == Step::kNoMatch || step_ == Step::kFailed; }
    // Why the lookup failed; kNone unless it did. The caller names the server.
    const disclookup::QueryFailure& Failure() const { return failure_; }
    // The entry's lines (after the read's status line), once complete.
    const std::vector<std::string>& EntryLines() const { return entry_; }

private:
    std::string Line(const std::string& line);
    std::string Read(const std::string& listed);
    void Fail(disclookup::FailureKind kind, std::string_view detail = {});

    LookupQuery query_;
    std::string user_, host_;
    Step step_ = Step::kBanner;
    LineBuffer lines_;
    std::string firstMatch_;  // the first line of a 210/211 list
    std::vector<std::string> entry_;
    size_t entryBytes_ = 0;
    size_t listed_ = 0;  // lines of the match list
    disclookup::QueryFailure failure_;
};

// What the window says of a lookup that ended without an entry or a "no
// match", as the album lookup says it: the server asked (`failure` carries
// it) and the reason.
std::string SearchFailedMessage(const disclookup::QueryFailure& failure);

// The entry read by key: DTITLE split into artist and album, DYEAR, DGENRE,
// TTITLEn as track n + 1 (missing ones empty). With `mixed` each track value
// is split into artist and title; one without a separator keeps the disc
// artist and is all title. Every value as CleanText makes it.
DiscData ParseEntry(const std::vector<std::string>& lines, bool mixed);

}  // namespace corvella::cdrip
