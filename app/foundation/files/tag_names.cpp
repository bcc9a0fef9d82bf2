#include "app/foundation/files/tag_names.h"

#include "app/foundation/files/name_cleaner.h"
#include "app/foundation/paths.h"
#include "app/foundation/text_helpers.h"

namespace corvella {
namespace files {

namespace {

constexpr int kTrackCell = 6;
const char kExtension[] = ".mp3";
const char kNoName[] = "no name can be made from its tags";
const char kPathTooLong[] = "its folder's path leaves no room for the name";

bool OnlyBlanksAndDots(const std::string& text) {
    return text.find_first_not_of(" .") == std::string::npos;
}

}  // namespace

int IndexOrDefault(int stored, int count, int fallback) { return stored >= 0 && stored < count ? stored : fallback; }

std::string NamePartText(int field, const std::string& value) {
    if (field != kTrackCell) return value;
    return value.substr(0, value.find('/'));
}

TagName BuildTagName(const std::string& path, const std::vector<std::string>& cells, const NameRecipe& recipe) {
    std::string text;
    bool first = true, anyText = false;
    for (int field : recipe.fields) {
        if (field < 0) continue;
        if (!first) text += recipe.separator;
        first = false;
        const std::string part = field < static_cast<int>(cells.size()) ? NamePartText(field, cells[field]) : "";
        anyText = anyText || !OnlyBlanksAndDots(part);
        text += part;
    }
    if (recipe.caseMode >= kCaseInitialCaps && recipe.caseMode <= kCaseLower) text = ChangeCase(text, recipe.caseMode);

    TagName out;
    // Cleaned with its extension on, so that blanks before ".mp3" stay and a
    // device name is caught in front of the first ".".
    std::string name = CleanName(text + kExtension);
    const size_t ext = sizeof(kExtension) - 1;
    // Separators alone are no name either.
    if (!anyText || name.size() < ext || OnlyBlanksAndDots(name.substr(0, name.size() - ext))) {
        out.reason = kNoName;
        return out;
    }
    const std::string folder = AddBackslash(GetFolderPath(path));
    if (folder.size() + name.size() > kMaxPath) {
        name = FitName(folder, name.substr(0, name.size() - ext), kExtension);
        if (name.empty()) {
            out.reason = kPathTooLong;
            return out;
        }
    }
    out.name = name;
    return out;
}

RenameOutcome RenameToTagNames(FileService& service, const std::vector<RenameItem>& items) {
    RenameOutcome outcome;
    std::vector<std::pair<std::string, std::string>> moves;
    std::vector<size_t> itemOfMove;
    std::vector<std::string> reasons(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const RenameItem& item = items[i];
        if (item.name.name.empty()) {
            reasons[i] = item.name.reason.empty() ? kNoName : item.name.reason;
            continue;
        }
        const std::string target = AddBackslash(GetFolderPath(item.path)) + item.name.name;
        if (target == item.path) continue;
        moves.emplace_back(item.path, target);
        itemOfMove.push_back(i);
    }
    const std::vector<MoveResult> results = service.MoveAll(moves);
    for (size_t m = 0; m < moves.size(); ++m) {
        const MoveResult r = m < results.size() ? results[m] : MoveResult::Failed;
        if (r == MoveResult::Done)
            outcome.renamed.push_back(moves[m]);
        else if (r != MoveResult::Unchanged)
            reasons[itemOfMove[m]] = ReasonText(r);
    }
    for (size_t i = 0; i < items.size(); ++i)
        if (!reasons[i].empty()) outcome.notRenamed.push_back(GetFileTitle(items[i].path, true) + ": " + reasons[i]);
    return outcome;
}

std::vector<MessagePart> NotRenamedParts(const std::vector<std::string>& notRenamed) {
    if (notRenamed.empty()) return {};
    return {{"These files were not renamed:\r\n", notRenamed}};
}

std::string NotRenamedMessage(const std::vector<std::string>& notRenamed) {
    return FitMessage(NotRenamedParts(notRenamed));
}

}  // namespace files
}  // namespace corvella
