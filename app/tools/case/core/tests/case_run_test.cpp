// The case run on fake tag objects: what is written, what is left alone,
// failures named, Cancel, and the settings with their types and defaults.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/tools/case/core/case_run.h"

namespace corvella {
namespace tagcase {
namespace {

using Fields = std::map<int, std::string>;

// One version's tags of a set of files; a file missing from `files` does not exist.
class FakeTag : public tags::TagObject {
public:
    FakeTag(std::string name, int count, std::vector<std::string>* log) : name_(std::move(name)), count_(count), log_(log) {}
    std::map<std::string, Fields> files;
    std::set<std::string> failWrite;

    std::optional<std::string> FieldText(int i) override {
        if (i < 0 || i >= count_) return std::nullopt;
        auto it = held_.find(i);
        return it == held_.end() ? std::string() : it->second;
    }
    bool ReadTag(const std::string& path) override {
        held_.clear();
        auto it = files.find(path);
        if (it == files.end()) return false;
        held_ = it->second;
        return true;
    }
    bool SetField(int i, const std::string& v) override {
        if (i < 0 || i >= count_) return true;
        if (v.empty()) held_.erase(i);
        else held_[i] = v;
        return true;
    }
    bool WriteTag(const std::string& path) override {
        log_->push_back(name_ + " " + path);
        if (failWrite.count(path) != 0 || files.count(path) == 0) return false;
        files[path] = held_;
        return true;
    }
    bool RemoveTag(const std::string&) override { return false; }

private:
    std::string name_;
    int count_;
    std::vector<std::string>* log_;
    Fields held_;
};

// The batch runner as RunBatch behaves, cancelled after item `stopAfter`.
struct Runner {
    int stopAfter = 1 << 30;
    std::vector<std::string> shown;
    BatchRunner Get() {
        return [this](const std::string& caption, int count, const std::function<std::string(int)>& name,
                      const std::function<void(int)>& work) {
            int done = 0;
            for (int i = 1; i <= count; ++i) {
                if (count < 100) shown.push_back(std::to_string(i) + " of " + std::to_string(count) + " " + name(i) + " " + caption);
                work(i);
                ++done;
                if (i >= stopAfter) break;
            }
            return done;
        };
    }
};

FileSet List(int n, int selected = -1) {
    FileSet set;
    for (int i = 1; i <= n; ++i) {
        FileRow r;
        r.path = "C:\\M\\" + std::to_string(i) + ".mp3";
        set.rows.push_back(r);
    }
    set.selected = selected;
    return set;
}

CaseChoice Choice(int mode, int version, std::initializer_list<int> ticked, int applyTo = 1) {
    CaseChoice c;
    c.newCase = mode;
    c.applyVersion = version;
    c.applyTo = applyTo;
    for (int f : ticked) c.fields[static_cast<size_t>(f)] = true;
    return c;
}

TEST(CaseRun, WritesOnlyWhatChangedInOrderAndNamesFailures) {
    struct Case {
        const char* what;
        CaseChoice choice;
        std::vector<std::string> writes;  // in order
        Fields v1of1, v2of1;              // file 1 afterwards
        std::vector<std::string> unwritten;
    };
    const std::string f1 = "C:\\M\\1.mp3", f2 = "C:\\M\\2.mp3", f3 = "C:\\M\\3.mp3";
    const Fields v1 = {{0, "MORNING HUSH"}, {1, "the quiet ones"}, {6, "01"}};
    const Fields v2 = {{0, "MORNING HUSH"}, {7, "j. berg"}, {6, "01/12"}};
    const Case cases[] = {
        {"initial case, both versions, ID3v1 first; an untagged file gets no tag",
         Choice(0, 2, {0, 1, 7}),
         {"v1 " + f1, "v2 " + f1, "v1 " + f2},
         {{0, "Morning Hush"}, {1, "The Quiet Ones"}, {6, "01"}},
         {{0, "Morning Hush"}, {7, "J. Berg"}, {6, "01/12"}},
         {}},
        {"ID3v1 with only Composer: nothing to change, nothing written", Choice(1, 0, {7}), {}, v1, v2, {}},
        {"upper case of ID3v2 only", Choice(1, 1, {1, 7}), {"v2 " + f1}, v1, {{0, "MORNING HUSH"}, {7, "J. BERG"}, {6, "01/12"}}, {}},
        {"a mode outside the list changes nothing", Choice(-1, 2, {0, 1, 7}), {}, v1, v2, {}},
        {"a mode outside the list changes nothing (3)", Choice(3, 2, {0}), {}, v1, v2, {}},
        {"a failed write and a vanished file are named, the run goes on",
         Choice(2, 2, {0}),
         {"v1 " + f1, "v2 " + f1, "v1 " + f2},
         {{0, "morning hush"}, {1, "the quiet ones"}, {6, "01"}},
         {{0, "morning hush"}, {7, "j. berg"}, {6, "01/12"}},
         {f2, f3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> log;
        FakeTag id3v1("v1", tags::kV1FieldCount, &log), id3v2("v2", tags::kFieldCount, &log);
        id3v1.files = {{f1, v1}, {f2, {{0, "SECOND"}}}};
        id3v2.files = {{f1, v2}, {f2, {}}};
        if (c.unwritten.size() == 2) {
            id3v1.failWrite.insert(f2);
        } else {  // untagged, present
            id3v1.files[f3] = {};
            id3v2.files[f3] = {};
        }
        Runner runner;
        const CaseOutcome out = ApplyCaseToFiles(c.choice, List(3), {&id3v1, &id3v2}, runner.Get());
        EXPECT_TRUE(out.ran);
        EXPECT_EQ(out.filesDone, 3);
        EXPECT_FALSE(out.cancelled);
        EXPECT_EQ(log, c.writes);
        EXPECT_EQ(id3v1.files[f1], c.v1of1);
        EXPECT_EQ(id3v2.files[f1], c.v2of1);
        EXPECT_EQ(out.unwritten, c.unwritten);
        EXPECT_EQ(runner.shown.front(), "1 of 3 1.mp3 Updating Tag Information...");
    }
}

TEST(CaseRun, SelectionCancelAndLongLists) {
    std::vector<std::string> log;
    FakeTag id3v1("v1", tags::kV1FieldCount, &log), id3v2("v2", tags::kFieldCount, &log);
    const FileSet five = List(5, 3);
    for (const FileRow& r : five.rows) id3v2.files[r.path] = {{0, "loud"}};
    struct Case {
        const char* what;
        CaseChoice choice;
        FileSet files;
        int stopAfter;
        bool ran;
        int done;
        std::vector<std::string> writes;
    } const cases[] = {
        {"selected file: only its row, shown as 1 of 1", Choice(1, 1, {0}, 0), five, 99, true, 1, {"v2 C:\\M\\4.mp3"}},
        {"selected file without a selection: nothing", Choice(1, 1, {0}, 0), List(5, -1), 99, false, 0, {}},
        {"an empty list: nothing", Choice(1, 1, {0}), List(0), 99, false, 0, {}},
        {"cancel after file 2 of 5", Choice(1, 1, {0}), five, 2, true, 2, {"v2 C:\\M\\1.mp3", "v2 C:\\M\\2.mp3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        for (const FileRow& r : five.rows) id3v2.files[r.path] = {{0, "loud"}};
        Runner runner;
        runner.stopAfter = c.stopAfter;
        const CaseOutcome out = ApplyCaseToFiles(c.choice, c.files, {&id3v1, &id3v2}, runner.Get());
        EXPECT_EQ(out.ran, c.ran);
        EXPECT_EQ(out.filesDone, c.done);
        EXPECT_EQ(log, c.writes);
        EXPECT_EQ(out.cancelled, c.ran && c.done < static_cast<int>(c.choice.applyTo == 0 ? 1 : c.files.rows.size()));
        if (c.choice.applyTo == 0 && c.ran) {
            EXPECT_EQ(runner.shown, std::vector<std::string>{"1 of 1 4.mp3 Updating Tag Information..."});
        }
    }
    // More rows than a 16-bit count holds: every one is done.
    const FileSet many = List(40000);
    for (const FileRow& r : many.rows) id3v1.files[r.path] = {{0, "x"}};
    log.clear();
    Runner runner;
    const CaseOutcome out = ApplyCaseToFiles(Choice(1, 0, {0}), many, {&id3v1, &id3v2}, runner.Get());
    EXPECT_EQ(out.filesDone, 40000);
    EXPECT_EQ(out.tagsWritten, 40000);
    EXPECT_EQ(id3v1.files[many.rows.back().path], (Fields{{0, "X"}}));
}

TEST(CaseRun, SettingsDefaultsTypesAndStoredIndexesOutsideTheirList) {
    MemoryStore store;
    const std::string section = "Software\\Corvella\\Options\\Case";
    CaseChoice fresh = ReadCaseSettings(store);
    EXPECT_EQ(fresh.newCase, 0);
    EXPECT_EQ(fresh.applyVersion, 2);
    EXPECT_EQ(fresh.applyTo, 1);
    EXPECT_FALSE(AnyFieldTicked(fresh.fields));
    // Written on first read: the lists as text, the boxes as DWORDs; no "6".
    auto type = [&](const std::string& name) {
        int32_t t = 0;
        std::vector<uint8_t> d;
        return store.QueryValue(kHkeyCurrentUser, section, name, t, d) ? t : -1;
    };
    for (const char* name : {"New Case", "Apply Version", "Apply To"}) EXPECT_EQ(type(name), 1) << name;
    for (const char* name : {"0", "3", "5", "11"}) EXPECT_EQ(type(name), 4) << name;
    EXPECT_EQ(type("6"), -1);

    struct Case {
        const char* value;
        const char* stored;
        int CaseChoice::*member;
        int expected;
    } const cases[] = {
        {"New Case", "-1", &CaseChoice::newCase, 0},     {"New Case", "2", &CaseChoice::newCase, 2},
        {"New Case", "3", &CaseChoice::newCase, 0},      {"Apply Version", "7", &CaseChoice::applyVersion, 2},
        {"Apply Version", "0", &CaseChoice::applyVersion, 0}, {"Apply To", "-5", &CaseChoice::applyTo, 1},
        {"Apply To", "abc", &CaseChoice::applyTo, 1},    {"Apply To", "0", &CaseChoice::applyTo, 0},
    };
    for (const Case& c : cases) {
        SaveSettingText(store, section, c.value, c.stored);
        EXPECT_EQ(ReadCaseSettings(store).*c.member, c.expected) << c.value << "=" << c.stored;
    }
    SaveSettingText(store, section, "3", "1");   // Year, outside the visible area, kept
    SaveSettingLong(store, section, "4", 2);     // no check value
    SaveSettingText(store, section, "6", "1");   // Track is never read
    CaseChoice read = ReadCaseSettings(store);
    EXPECT_TRUE(read.fields[3]);
    EXPECT_FALSE(read.fields[4]);
    EXPECT_FALSE(read.fields[6]);
    read.fields[10] = true;
    SaveCaseSettings(store, read);
    EXPECT_EQ(type("10"), 1);
    EXPECT_EQ(GetSettingText(store, section, "10", ""), "1");
    EXPECT_TRUE(ReadCaseSettings(store).fields[10]);
}

}  // namespace
}  // namespace tagcase
}  // namespace corvella
