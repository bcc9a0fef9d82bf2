#include "app/mainwindow/apply/tag_apply.h"

#include <algorithm>
#include <optional>

#include "app/foundation/paths.h"
#include "app/foundation/settings.h"
#include "app/foundation/text_helpers.h"
#include "libs/tags/ID3v1/core/id3v1_tag.h"

namespace corvella {
namespace apply {
namespace {

class Run {
public:
    Run(const ApplyRequest& request, TagObject& id3v1, TagObject& id3v2, ApplyProgress& progress)
        : r_(request), v1_(id3v1), v2_(id3v2), progress_(progress) {}

    // One file: removes its tag(s), or writes the panel into them. `full`:
    // every field of the shown version from the panel, else the pressed ones.
    // False when a tag could not be read, written or removed.
    bool DoFile(const std::string& key, int order, int total, bool removing, bool full) {
        const bool doV1 = r_.updateBoth || r_.tagVersion == 0;
        const bool doV2 = r_.updateBoth || r_.tagVersion != 0;
        bool ok = true;
        if (removing) {
            if (doV1) ok = v1_.RemoveTag(key) && ok;
            if (doV2) ok = v2_.RemoveTag(key) && ok;
            return ok;
        }
        if (doV1) ok = WriteVersion(0, key, order, total, full) && ok;
        if (doV2) ok = WriteVersion(1, key, order, total, full) && ok;
        return ok;
    }

private:
    // Reads the file's tag of `version`, sets the panel's fields into it and
    // writes it once. A field that is not taken, or whose mask fails for this
    // file, keeps the file's own value. An unreadable tag is not written: its
    // kept fields would be lost.
    bool WriteVersion(int version, const std::string& key, int order, int total, bool full) {
        TagObject& tag = version == 0 ? v1_ : v2_;
        if (!tag.ReadTag(key)) return false;
        const int fields = version == 0 ? kV1FieldCount : kFieldCount;
        // From the ID3v1 view the panel has no ID3v2-only fields to give.
        const int shown = r_.tagVersion == 0 ? kV1FieldCount : kFieldCount;
        for (int i = 0; i < fields && i < shown; ++i) {
            if (!full && !r_.pressed[i]) continue;
            const foundation::MaskExpansion value =
                foundation::ExpandTagMask(key, version, i, r_.masks[i], order, total, v1_, v2_);
            if (!value.ok()) {
                if (value.status == foundation::MaskStatus::ParseError && !parserErrorShown_) {
                    parserErrorShown_ = true;
                    progress_.ParserError();
                }
                continue;
            }
            if (version == 1 && KeepsOwnID3v2Value(tag, i, value.value)) continue;
            tag.SetField(i, version == 0 ? ShortenForID3v1(i, value.value, r_.ellipsis) : value.value);
        }
        return tag.WriteTag(key);
    }

    // From the ID3v1 view the panel holds what the ID3v1 tag holds. Where that
    // only stands for this file's own ID3v2 value (a title cut to 30 bytes, a
    // track "1" of "1/12"), the file keeps its value; a typed text, or one a
    // mask made, is written as it stands. `v2` holds the file's tag, field i
    // not set yet.
    bool KeepsOwnID3v2Value(TagObject& v2, int i, const std::string& value) const {
        if (r_.tagVersion != 0 || value != r_.masks[i]) return false;
        const std::optional<std::string> own = v2.FieldText(i);
        return own && StandsForID3v2Value(i, value, *own);
    }

    const ApplyRequest& r_;
    TagObject& v1_;
    TagObject& v2_;
    ApplyProgress& progress_;
    bool parserErrorShown_ = false;
};

// What an ID3v1 tag shows for `value` set into its field `slot`: the tag
// library's own cut, trimming, tracks and genres.
std::string HeldByID3v1(int slot, const std::string& value) {
    id3v1::CID3v1Tag tag;
    tag.SetFieldValue(slot, id3v1::FieldValue::Str(value));
    return tag.GetFieldValue(slot).value_or("");
}

// `shown` is `held`, what the tag holds of `value`, or `held` whose last
// character the cut split: a double-byte character's lead byte left alone,
// which the code page conversions on the way to the panel drop or turn
// into one replacement character (one or two bytes).
bool ShowsHeldText(const std::string& shown, const std::string& held, const std::string& value) {
    if (shown == held) return true;
    const bool cutAtEnd = value.size() > held.size() && value.compare(0, held.size(), held) == 0;
    if (!cutAtEnd || held.empty() || static_cast<unsigned char>(held.back()) < 0x80) return false;
    const size_t whole = held.size() - 1;
    return shown.size() >= whole && shown.size() <= whole + 2 && shown.compare(0, whole, held, 0, whole) == 0;
}

bool Ticked(const ApplyRequest& r, size_t row) { return row < r.ticked.size() && r.ticked[row]; }

}  // namespace

void ReadApplySettings(SettingsStore& store, ApplyRequest& request) {
    const std::string section = std::string(kSettingsRoot) + "\\Options";
    request.updateBoth = GetSettingBool(store, section, "Update Both", false);
    request.ellipsis = GetSettingLong(store, section, "Ellipsis", 0) == 1;
}

bool AllFieldsEmpty(const std::array<std::string, kFieldCount>& masks) {
    for (const std::string& m : masks)
        if (!m.empty()) return false;
    return true;
}

bool NoFieldSelected(int tagVersion, const std::array<bool, kFieldCount>& pressed) {
    const int shown = tagVersion == 0 ? kV1FieldCount : kFieldCount;
    for (int i = 0; i < shown; ++i)
        if (pressed[i]) return false;
    return true;
}

std::string ShortenForID3v1(int field, const std::string& value, bool on) {
    if (!on || field == kGenreField || value.size() < 30) return value;
    std::string out = value;
    out.replace(27, 3, "...");
    return out;
}

bool StandsForID3v2Value(int field, const std::string& shown, const std::string& v2) {
    if (field == kGenreField || field == tags::kTrackField) {
        // The same number in the tag: "1" and "01" for "1/12", "Rock" and
        // "17" for "(17)Rock"; "" for what it cannot hold. A text the tag
        // cannot hold itself ("Chillwave", "A1") was typed.
        const std::string held = HeldByID3v1(field, shown);
        return (!held.empty() || shown.empty()) && held == HeldByID3v1(field, v2);
    }
    if (field < 0 || field >= kV1FieldCount) return false;
    // An ID3v1.0 tag has no track and gives its comment 30 bytes, as long
    // as the title's.
    const int slots[] = {field, field == id3v1::Comment ? static_cast<int>(id3v1::Title) : field};
    for (int slot : slots)
        for (const std::string& value : {v2, ShortenForID3v1(field, v2, true)})
            if (ShowsHeldText(shown, HeldByID3v1(slot, value), value)) return true;
    return false;
}

std::vector<MessagePart> UnwrittenFilesParts(const std::vector<std::string>& paths) {
    if (paths.empty()) return {};
    return {{paths.size() == 1 ? "The tag of this file could not be written:"
                               : "The tags of these files could not be written:",
             paths},
            {"\r\n\r\nThe files may be read-only, in use by another program or gone. They are unchanged; "
             "every other file was written.",
             {}}};
}

std::string UnwrittenFilesMessage(const std::vector<std::string>& paths) {
    return FitMessage(UnwrittenFilesParts(paths));
}

ApplyOutcome ApplyID3Update(const ApplyRequest& request, TagObject& id3v1, TagObject& id3v2,
                            ApplyProgress& progress) {
    ApplyOutcome out;
    // Without a selected row there is no file for the panel's values.
    if (request.selectedRow < 0 || static_cast<size_t>(request.selectedRow) >= request.rowKeys.size())
        return out;
    out.ran = true;

    // The ticked rows and their places in the whole list.
    std::vector<std::string> paths;
    std::vector<size_t> rows;
    for (size_t i = 0; i < request.rowKeys.size(); ++i) {
        if (!Ticked(request, i)) continue;
        paths.push_back(request.rowKeys[i]);
        rows.push_back(i);
    }
    const int total = static_cast<int>(paths.size());
    out.batch = total > 0 && !NoFieldSelected(request.tagVersion, request.pressed);
    out.removing = AllFieldsEmpty(request.masks);
    const std::string caption = out.removing ? kCaptionRemoving : kCaptionUpdating;
    const std::string& selectedKey = request.rowKeys[request.selectedRow];

    Run run(request, id3v1, id3v2, progress);
    if (!out.batch) {
        progress.Show("1 of 1", GetFileTitle(selectedKey, true), 100, caption);
        out.filesDone = 1;
        if (!run.DoFile(selectedKey, request.selectedRow + 1, total, out.removing, true))
            out.unwritten.push_back(selectedKey);
        else if (!out.removing)
            out.written.push_back(selectedKey);
        return out;
    }

    const batch::BatchOutcome batchRun = batch::RunItems(progress, caption, paths, [&](size_t k) {
        // Order is the row's place in the whole list, not its place among
        // the ticked rows; the selected row takes every field.
        const std::string& key = paths[k];
        return run.DoFile(key, static_cast<int>(rows[k]) + 1, total, out.removing, key == selectedKey);
    });
    out.filesDone = batchRun.done;
    out.cancelled = batchRun.cancelled;
    out.unwritten = batchRun.failed;
    if (!out.removing) {
        // The items done, but for those that failed (a path fails once).
        for (size_t k = 0; k < static_cast<size_t>(batchRun.done) && k < paths.size(); ++k)
            if (std::find(out.unwritten.begin(), out.unwritten.end(), paths[k]) == out.unwritten.end())
                out.written.push_back(paths[k]);
    }
    return out;
}

}  // namespace apply
}  // namespace corvella
