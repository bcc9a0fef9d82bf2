// The case run on fake tag objects: what is written and in which order,
// what is left alone, failures named, Cancel, and the stored choices.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/foundation/text_helpers.h"
#include "app/tools/case/core/case_run.h"

namespace corvella {
namespace tagcase {
namespace {

using Fields = std::map<int, std::string>;

// One version's tags of some files; a file missing from `files` is gone.
class FakeTag : public tags::TagObject {
public:
    FakeTag(std::string name, int count, std::vector<std::string>& log) : name_(name), count_(count), log_(log) {}
    std::map<std::string, Fields> files;
    std::set<std::string> failWrite;
    bool genreByName = false;

    std::optional<std::string> FieldText(int i) override {
        if (i >= count_) return std::nullopt;
        return held_.count(i) != 0 ? held_[i] : "";
    }
    bool ReadTag(const std::string& path) override {
        held_ = files.count(path) != 0 ? files[path] : Fields();
        return files.count(path) != 0;
    }
    bool SetField(int i, const std::string& v) override {
        // The genre by its name in a list, as ID3v1 keeps it.
        if (genreByName && i == 5 && EqualsNoCase(held_[i], v)) return true;
        return held_[i] = v, true;
    }
    bool WriteTag(const std::string& path) override {
        log_.push_back(name_ + " " + path);
        if (failWrite.count(path) != 0 || files.count(path) == 0) return false;
        return files[path] = held_, true;
    }
    bool RemoveTag(const std::string&) override { return false; }

private:
    std::string name_;
    int count_;
    std::vector<std::string>& log_;
    Fields held_;
};

// The progress window: what it showed; Cancel pressed during item `stopAfter`.
struct View : batch::BatchView {
    explicit View(int stop = 0) : stopAfter(stop) {}
    int stopAfter, shows = 0;
    std::vector<std::string> shown;
    void Show(const std::string& count, const std::string& name, int, const std::string& caption) override {
        ++shows;
        if (shown.size() < 10) shown.push_back(count + " " + name + " " + caption);
    }
    bool Cancelled() override { return shows == stopAfter; }
};

// The run as the window starts it.
batch::BatchOutcome RunCase(const CaseChoice& choice, const FileSet& files, FakeTag& v1, FakeTag& v2, View& view,
                        int* written = nullptr) {
    return ConvertFiles(choice, FilesToConvert(choice, files), {&v1, &v2}, view, written);
}

FileSet List(int n, int selected = -1) {
    FileSet set;
    for (int i = 1; i <= n; ++i) set.rows.push_back({"C:\\" + std::to_string(i) + ".mp3", false, {}});
    set.selected = selected;
    return set;
}

CaseChoice Choice(int mode, int version, std::initializer_list<int> ticked, int applyTo = 1) {
    CaseChoice c{mode, version, applyTo, {}};
    for (int f : ticked) c.fields[static_cast<size_t>(f)] = true;
    return c;
}

TEST(CaseRun, WritesOnlyChangedTagsID3v1FirstAndNamesFailures) {
    const std::string f1 = "C:\\1.mp3", f2 = "C:\\2.mp3", f3 = "C:\\3.mp3";
    const Fields v1 = {{0, "MORNING HUSH"}, {6, "01"}}, v2 = {{0, "MORNING HUSH"}, {7, "j. berg"}, {6, "01/12"}};
    struct Case {
        CaseChoice choice;
        bool failSecond;
        std::vector<std::string> writes;
        Fields v1of1, v2of1;
        std::vector<std::string> unwritten;
    } const cases[] = {
        // The untagged third file gets no tag.
        {Choice(0, 2, {0, 7}), false, {"v1 " + f1, "v2 " + f1, "v1 " + f2},
         {{0, "Morning Hush"}, {6, "01"}}, {{0, "Morning Hush"}, {7, "J. Berg"}, {6, "01/12"}}, {}},
        {Choice(1, 0, {7}), false, {}, v1, v2, {}},  // ID3v1 has no Composer: no rewrite
        {Choice(1, 1, {7}), false, {"v2 " + f1}, v1, {{0, "MORNING HUSH"}, {7, "J. BERG"}, {6, "01/12"}}, {}},
        {Choice(-1, 2, {0, 7}), false, {}, v1, v2, {}},  // a mode outside the list blanks nothing
        {Choice(3, 2, {0}), false, {}, v1, v2, {}},
        // A failed write and a vanished file are named; the run goes on.
        {Choice(2, 2, {0}), true, {"v1 " + f1, "v2 " + f1, "v1 " + f2},
         {{0, "morning hush"}, {6, "01"}}, {{0, "morning hush"}, {7, "j. berg"}, {6, "01/12"}}, {f2, f3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        std::vector<std::string> log;
        View view;
        FakeTag id3v1("v1", tags::kV1FieldCount, log), id3v2("v2", tags::kFieldCount, log);
        id3v1.files = {{f1, v1}, {f2, {{0, "SECOND"}}}};
        id3v2.files = {{f1, v2}, {f2, {}}};
        if (c.failSecond) id3v1.failWrite.insert(f2);
        else id3v1.files[f3] = id3v2.files[f3] = {};
        const batch::BatchOutcome out = RunCase(c.choice, List(3), id3v1, id3v2, view);
        EXPECT_EQ(log, c.writes);
        EXPECT_EQ(id3v1.files[f1], c.v1of1);
        EXPECT_EQ(id3v2.files[f1], c.v2of1);
        EXPECT_EQ(out.failed, c.unwritten);
        EXPECT_EQ(view.shown.front(), "1 of 3 1.mp3 Updating Tag Information...");
    }
}

// A genre kept by name comes back as it was: no change, no write.
TEST(CaseRun, AValueTheTagKeepsAsItWasIsNoChange) {
    const struct {
        int mode;
        std::vector<int> ticked;
        bool wrote;
    } cases[] = {{1, {5}, false}, {2, {5}, false}, {1, {0, 5}, true}};
    for (const auto& c : cases) {
        std::vector<std::string> log;
        FakeTag v1("v1", tags::kV1FieldCount, log);
        v1.genreByName = true;
        v1.files = {{"C:\\1.mp3", {{0, "Intro"}, {5, "Rock"}}}};
        CaseChoice choice = Choice(c.mode, 0, {});
        for (int f : c.ticked) choice.fields[static_cast<size_t>(f)] = true;
        bool wrote = true;
        EXPECT_TRUE(ConvertTag(v1, tags::kV1FieldCount, "C:\\1.mp3", choice, wrote));
        EXPECT_EQ(wrote, c.wrote) << c.mode << " " << c.ticked.size();
        EXPECT_EQ(log.size(), c.wrote ? 1u : 0u);
    }
}

TEST(CaseRun, SelectedFileCancelAndLongLists) {
    struct Case {
        CaseChoice choice;
        FileSet files;
        int stopAfter, done;
        bool cancelled;
        std::vector<std::string> writes;
    } const cases[] = {
        {Choice(1, 1, {0}, 0), List(5, 3), 0, 1, false, {"v2 C:\\4.mp3"}},  // only the selected row
        {Choice(1, 1, {0}, 0), List(5), 0, 0, false, {}},                  // no selection: nothing runs
        {Choice(1, 1, {0}), List(0), 0, 0, false, {}},
        {Choice(1, 1, {0}), List(5), 2, 2, true, {"v2 C:\\1.mp3", "v2 C:\\2.mp3"}},  // Cancel after file 2
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        FakeTag id3v1("v1", tags::kV1FieldCount, log), id3v2("v2", tags::kFieldCount, log);
        for (const FileRow& r : List(5).rows) id3v2.files[r.path] = {{0, "loud"}};
        View view(c.stopAfter);
        const batch::BatchOutcome out = RunCase(c.choice, c.files, id3v1, id3v2, view);
        EXPECT_EQ(view.shows, c.done) << "no window shows an empty run";
        EXPECT_EQ(out.done, c.done);
        EXPECT_EQ(out.cancelled, c.cancelled);
        EXPECT_EQ(log, c.writes);
    }
    // More rows than a 16-bit count holds: every one is done.
    std::vector<std::string> log;
    FakeTag id3v1("v1", tags::kV1FieldCount, log), id3v2("v2", tags::kFieldCount, log);
    const FileSet many = List(40000);
    for (const FileRow& r : many.rows) id3v1.files[r.path] = {{0, "x"}};
    View view;
    int written = 0;
    EXPECT_EQ(RunCase(Choice(1, 0, {0}), many, id3v1, id3v2, view, &written).done, 40000);
    EXPECT_EQ(written, 40000);
}

TEST(CaseRun, StoredChoicesOutsideTheirListsGiveTheDefaults) {
    MemoryStore store;
    const std::string section = "Software\\Corvella\\Options\\Case";
    const CaseChoice fresh = ReadCaseSettings(store);
    EXPECT_EQ(fresh.newCase * 100 + fresh.applyVersion * 10 + fresh.applyTo, 21);
    EXPECT_FALSE(AnyFieldTicked(fresh.fields));
    struct Case {
        const char *value, *stored;
        int CaseChoice::*member;
        int expected;
    } const cases[] = {
        {"New Case", "-1", &CaseChoice::newCase, 0},          {"New Case", "3", &CaseChoice::newCase, 0},
        {"New Case", "2", &CaseChoice::newCase, 2},           {"Apply Version", "7", &CaseChoice::applyVersion, 2},
        {"Apply Version", "0", &CaseChoice::applyVersion, 0}, {"Apply To", "abc", &CaseChoice::applyTo, 1},
        {"Apply To", "0", &CaseChoice::applyTo, 0},
    };
    for (const Case& c : cases) {
        SaveSettingText(store, section, c.value, c.stored);
        EXPECT_EQ(ReadCaseSettings(store).*c.member, c.expected) << c.value << "=" << c.stored;
    }
    SaveSettingText(store, section, "3", "1");  // Year: kept, though not shown
    SaveSettingLong(store, section, "4", 2);    // no check value
    SaveSettingText(store, section, "6", "1");  // Track is never read
    CaseChoice read = ReadCaseSettings(store);
    EXPECT_TRUE(read.fields[3]);
    EXPECT_FALSE(read.fields[4] || read.fields[6]);
    read.fields[10] = true;
    SaveCaseSettings(store, read);
    EXPECT_EQ(GetSettingText(store, section, "10", ""), "1");
}

}  // namespace
}  // namespace tagcase
}  // namespace corvella
