#include "app/cdrip/lookup/core/ripper_lookup.h"

#include <utility>

#include "app/cdrip/core/cd_toc.h"
#include "app/cdrip/core/disc_id.h"
#include "libs/disclookup/core/cddb_dialogue.h"
#include "libs/disclookup/core/query_failure.h"
#include "libs/disclookup/core/xmcd.h"

namespace corvella::cdrip {

namespace {

using Step = RipperLookup::Step;

constexpr size_t kMaxEntryBytes = 1024 * 1024;  // real entries stay far below
constexpr size_t kMaxListLines = 1000;

// The words of a line split at blanks.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t end = std::min(line.find(' ', at), line.size());
        if (end > at) words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// A step that waits for one status line: the codes it takes and where each leads.
struct StatusRule {
    Step at;
    int code;
    Step next;
};

constexpr StatusRule kRules[] = {
    {Step::kBanner, 200, Step::kHello}, {Step::kBanner, 201, Step::kHello},  // posting allowed or not
    {Step::kHello, 200, Step::kProto},  {Step::kHello, 402, Step::kProto},   // hello taken, or given before
    // The new level, the current one, or one the server lacks: the query works at any.
    {Step::kProto, 200, Step::kQuery},  {Step::kProto, 201, Step::kQuery},
    {Step::kProto, 501, Step::kQuery},  {Step::kProto, 502, Step::kQuery},
    {Step::kQuery, 200, Step::kRead},   {Step::kQuery, 210, Step::kMatchList},
    {Step::kQuery, 211, Step::kMatchList}, {Step::kQuery, 202, Step::kNoMatch},
    {Step::kRead, 210, Step::kEntry},
};

}  // namespace

std::optional<LookupQuery> QueryOfDrive(uint32_t handle, const cdaudio::TOC& toc, std::string* why) {
    auto fail = [&](const char* text) {
        if (why) *why = text;
        return std::nullopt;
    };
    if (handle == 0) return fail("No CD-Rom drive is open.");
    const int count = TocTrackCount(toc);
    bool audio = false;
    for (int k = 0; k < count && k < 99; ++k) audio = audio || !(toc.tracks[k].ADR & cdaudio::kDataTrackBit);
    if (!audio) return fail("The CD-Rom in the drive holds no audio tracks.");
    const std::optional<FreedbDisc> disc = FreedbDiscId(toc);
    if (!disc) return fail("The CD-Rom's table of contents cannot be read.");
    return LookupQuery{disc->hex, disc->query};
}

RipperLookup::RipperLookup(LookupQuery query, std::string_view user, std::string_view host)
    : query_(std::move(query)),
      user_(disclookup::HelloWord(user, "anonymous")),
      host_(disclookup::HelloWord(host, "localhost")) {}

void RipperLookup::Fail(disclookup::FailureKind kind, std::string_view detail) {
    step_ = Step::kFailed;
    failure_ = disclookup::MakeFailure(kind, detail);
}

std::string RipperLookup::Receive(std::string_view bytes) {
    std::string send;
    if (Ended()) return send;
    lines_.Append(bytes);
    std::string line;
    while (!Ended() && lines_.Next(line)) send += Line(line);
    if (lines_.Overflowed() && !Ended()) Fail(disclookup::FailureKind::kServerError, "a reply line without an end");
    return send;
}

void RipperLookup::Closed(const disclookup::QueryFailure& why) {
    if (Ended()) return;
    step_ = Step::kFailed;
    failure_ = why;
}

// "cddb read" for a match line "<category> <id> <title>"; a line that
// names no category and id ends the lookup.
std::string RipperLookup::Read(const std::string& listed) {
    const std::vector<std::string> words = Words(listed);
    if (words.size() < 2 || !disclookup::IsCategory(words[0]) || !disclookup::IsDiscId(words[1])) {
        Fail(disclookup::FailureKind::kServerError, listed);
        return std::string();
    }
    step_ = Step::kRead;
    return disclookup::ReadCommand(words[0], words[1]);
}

std::string RipperLookup::Line(const std::string& line) {
    if (step_ == Step::kEntry) {
        if (line == ".") {
            step_ = Step::kComplete;
            return std::string();
        }
        entryBytes_ += line.size() + 1;
        if (entryBytes_ > kMaxEntryBytes) Fail(disclookup::FailureKind::kServerError, "an entry without an end");
        else entry_.push_back(line);
        return std::string();
    }
    if (step_ == Step::kMatchList) {
        if (line != ".") {
            if (!listed_++) firstMatch_ = line;
            if (listed_ > kMaxListLines) Fail(disclookup::FailureKind::kServerError, "a match list without an end");
            return std::string();
        }
        if (!listed_) {
            Fail(disclookup::FailureKind::kServerError, "the server listed no disc");
            return std::string();
        }
        return Read(firstMatch_);
    }
    const int code = disclookup::ReplyCode(line);
    for (const StatusRule& rule : kRules) {
        if (rule.at != step_ || rule.code != code) continue;
        step_ = rule.next;
        switch (step_) {
        case Step::kHello:
            return "cddb hello " + user_ + " " + host_ + " " + kLookupClient + "\r\n";
        case Step::kProto: return disclookup::ProtoCommand();
        case Step::kQuery: return "cddb query " + query_.text + "\r\n";
        case Step::kRead: return Read(line.size() > 4 ? line.substr(4) : std::string());
        default: return std::string();
        }
    }
    Fail(disclookup::FailureKind::kServerError, line);
    return std::string();
}

std::string SearchFailedMessage(const disclookup::QueryFailure& failure) {
    return disclookup::FailureMessage("The search for the CD-Rom's titles failed.", failure);
}

DiscData ParseEntry(const std::vector<std::string>& lines, bool mixed) {
    const disclookup::DiscInfo info = disclookup::ParseXmcd(lines);
    // The values go into tags and file names: no control byte, no blank at an end.
    using disclookup::CleanText;
    DiscData disc;
    disc.Artist = CleanText(info.Artist);
    disc.Album = CleanText(info.Title);
    disc.Genre = CleanText(info.Genre);
    disc.Year = CleanText(info.Year);
    disc.Mixed = mixed;
    for (const disclookup::TrackInfo& track : info.Tracks) {
        const std::string whole = CleanText(track.Title);
        std::string artist, title;
        if (mixed && disclookup::SplitArtistTitle(whole, artist, title)) {
            disc.Artists.push_back(artist);
            disc.Titles.push_back(title);
        } else {
            if (mixed) disc.Artists.push_back(disc.Artist);
            disc.Titles.push_back(whole);
        }
    }
    return disc;
}

}  // namespace corvella::cdrip
