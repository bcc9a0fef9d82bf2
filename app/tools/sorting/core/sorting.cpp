#include "app/tools/sorting/core/sorting.h"

#include <algorithm>

#include "app/foundation/files/name_cleaner.h"
#include "app/foundation/paths.h"
#include "libs/common/text/text_primitives.h"
#include "libs/tags/ID3v1/core/genres.h"

namespace corvella {
namespace sorting {

const std::vector<FieldChoice>& FolderChoices() {
    static const std::vector<FieldChoice> choices = {
        {"Their Artist Tag-Field", 1}, {"Their Album Tag-Field", 2}, {"Their Genre Tag-Field", tags::kGenreField}};
    return choices;
}

const std::vector<FieldChoice>& SubFolderChoices() {
    static const std::vector<FieldChoice> choices = [] {
        std::vector<FieldChoice> c = FolderChoices();
        c.push_back({"Do Not Use Sub Folders", 0});
        return c;
    }();
    return choices;
}

int FieldOf(const std::vector<FieldChoice>& choices, int listIndex) {
    return listIndex >= 0 && listIndex < static_cast<int>(choices.size()) ? choices[listIndex].field : 0;
}

std::string FolderName(const std::string& value, int field) {
    files::NameRules rules;
    rules.maxLength = kFolderNameMax;
    rules.clockDevice = true;
    std::string name = files::CleanName(field == tags::kGenreField ? GenreText(value) : value, rules);
    return name.empty() ? std::string(kUnknown) : name;
}

namespace {

std::string FieldValue(tags::TagObject& tag, bool read, int field) {
    if (!read) return std::string();
    std::optional<std::string> text = tag.FieldText(field);
    return text ? *text : std::string();
}

}  // namespace

FolderNames ReadFolderNames(tags::TagObject& tag, const std::string& path, const SortOptions& options) {
    const bool read = tag.ReadTag(path);
    FolderNames names;
    names.first = FolderName(FieldValue(tag, read, options.folderField), options.folderField);
    if (options.subFolderField != 0 && names.first != kUnknown)
        names.second = FolderName(FieldValue(tag, read, options.subFolderField), options.subFolderField);
    return names;
}

std::string NewPath(const SortOptions& options, const FolderNames& names, const std::string& path) {
    std::string out = AddBackslash(options.destination) + names.first + '\\';
    if (!names.second.empty()) out += names.second + '\\';
    return out + GetFileTitle(path, true);
}

std::vector<PlanItem> BuildPlan(const std::vector<std::string>& files, tags::TagObject& tag,
                                const SortOptions& options, const std::function<void(const std::string&)>& progress) {
    std::vector<PlanItem> plan;
    plan.reserve(files.size());
    for (const std::string& path : files) {
        if (progress) progress(path);
        plan.push_back({path, NewPath(options, ReadFolderNames(tag, path, options), path)});
    }
    return plan;
}

MoveReport Mover::Move(const PlanItem& item) {
    const std::string folder = LowerAscii(GetFolderPath(item.to));
    MoveReport report;
    report.result = service_.Move(item.from, item.to, folders_.count(folder) == 0);
    report.ok = report.result == files::MoveResult::Done || report.result == files::MoveResult::Unchanged;
    if (report.ok) folders_.insert(folder);
    report.word = report.ok ? kSucsess : kFailed;
    if (!report.ok) report.reason = files::ReasonText(report.result);
    return report;
}

std::string WithoutBackslash(const std::string& path) {
    std::string out = path;
    while (!out.empty() && out.back() == '\\' && !(out.size() == 3 && out[1] == ':')) out.pop_back();
    return out;
}

namespace {

std::string ParentOf(const std::string& folder) {
    const size_t slash = folder.find_last_of('\\');
    if (slash == std::string::npos || slash == 0) return std::string();
    // "C:\x" has the root "C:\" as its parent.
    return slash == 2 && folder[1] == ':' ? folder.substr(0, 3) : folder.substr(0, slash);
}

}  // namespace

bool InsideOrSame(const std::string& folder, const std::string& top) {
    const std::string f = LowerAscii(WithoutBackslash(folder));
    std::string t = LowerAscii(WithoutBackslash(top));
    if (f.empty() || t.empty()) return false;
    if (f == t) return true;
    if (t.back() != '\\') t += '\\';
    return f.size() > t.size() && f.compare(0, t.size(), t) == 0;
}

std::vector<std::string> RemoveEmptiedFolders(FolderOps& ops, const std::vector<std::string>& startFolders,
                                              const std::string& source) {
    std::vector<std::string> starts;
    std::set<std::string> seen;
    for (const std::string& s : startFolders) {
        const std::string folder = WithoutBackslash(s);
        if (seen.insert(LowerAscii(folder)).second) starts.push_back(folder);
    }
    // Deepest first, so a parent is looked at after its emptied children.
    std::stable_sort(starts.begin(), starts.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    const std::string top = LowerAscii(WithoutBackslash(source));
    std::vector<std::string> removed;
    for (std::string folder : starts) {
        while (!folder.empty() && InsideOrSame(folder, source)) {
            const uint32_t attributes = ops.Attributes(folder);
            if (attributes == kInvalidAttributes || (attributes & kAttributeDirectory) == 0) break;
            if (ops.HasEntries(folder)) break;
            const uint32_t held = attributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem);
            if (held != 0) ops.SetAttributes(folder, kAttributeNormal);
            if (!ops.RemoveFolder(folder)) {
                if (held != 0) ops.SetAttributes(folder, attributes);
                break;
            }
            removed.push_back(folder);
            if (LowerAscii(folder) == top) break;
            folder = ParentOf(folder);
        }
    }
    return removed;
}

}  // namespace sorting
}  // namespace corvella
