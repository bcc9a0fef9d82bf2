#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/foundation/folder_search.h"

namespace corvella {
namespace foundation {
namespace {

// A folder graph: a sub-folder entry may point anywhere, including back up
// the tree, the way a junction or link does.
struct Node {
    FolderId id;
    struct Entry {
        std::string name;
        Node* dir = nullptr;  // nullptr: a file
        bool opens = true;    // false: the code page cannot hold the name
        std::string short_name;
    };
    std::vector<Entry> entries;
    bool locked = false;  // cannot be listed
};

class FakeLister : public DirectoryLister {
public:
    Node* Folder() {
        nodes_.push_back(std::make_unique<Node>());
        nodes_.back()->id = FolderId{7, nodes_.size()};
        return nodes_.back().get();
    }
    void Drive(const std::string& drive, Node* node) { drives_[drive] = node; }
    static void Files(Node* n, std::initializer_list<const char*> names) {
        for (const char* name : names) n->entries.push_back({name, nullptr});
    }
    static void Sub(Node* n, const std::string& name, Node* child) { n->entries.push_back({name, child}); }

    bool Exists(const std::string& path) override { return Resolve(path) != nullptr || IsFile(path); }
    std::optional<FolderId> Identify(const std::string& path) override {
        ++identify_calls;
        Node* n = Resolve(path);
        if (!n || !ids_known) return std::nullopt;
        return n->id;
    }
    bool List(const std::string& path, std::vector<DirEntry>& out) override {
        ++lists[path];
        Node* n = Resolve(path);
        if (!n || n->locked) return false;
        out.clear();
        out.push_back({".", true, std::nullopt});
        out.push_back({"..", true, std::nullopt});
        for (const Node::Entry& e : n->entries) {
            DirEntry d;
            d.name = e.name;
            d.is_directory = e.dir != nullptr;
            d.name_opens = e.opens;
            d.short_name = e.short_name;
            if (e.dir && ids_in_entries && ids_known) d.folder_id = e.dir->id;
            out.push_back(d);
        }
        return true;
    }

    bool ids_known = true;
    bool ids_in_entries = true;
    int identify_calls = 0;
    std::map<std::string, int> lists;

private:
    static std::vector<std::string> Parts(const std::string& path) {
        std::vector<std::string> parts;
        size_t pos = 0;
        for (size_t bs; (bs = path.find('\\', pos)) != std::string::npos; pos = bs + 1)
            parts.push_back(path.substr(pos, bs - pos));
        if (pos < path.size()) parts.push_back(path.substr(pos));
        return parts;
    }
    Node* Resolve(const std::string& path) {
        const std::vector<std::string> parts = Parts(path);
        if (parts.empty()) return nullptr;
        auto d = drives_.find(parts[0]);
        if (d == drives_.end()) return nullptr;
        Node* n = d->second;
        for (size_t i = 1; i < parts.size() && n; ++i) {
            Node* next = nullptr;
            for (const Node::Entry& e : n->entries)
                if (e.dir && ((e.opens && e.name == parts[i]) || e.short_name == parts[i])) next = e.dir;
            n = next;
        }
        return n;
    }
    bool IsFile(const std::string& path) {
        const size_t bs = path.find_last_of('\\', path.size() >= 2 ? path.size() - 2 : 0);
        if (bs == std::string::npos) return false;
        Node* n = Resolve(path.substr(0, bs + 1));
        std::string name = path.substr(bs + 1);
        if (!name.empty() && name.back() == '\\') name.pop_back();
        if (!n) return false;
        for (const Node::Entry& e : n->entries)
            if (!e.dir && e.name == name) return true;
        return false;
    }
    std::vector<std::unique_ptr<Node>> nodes_;
    std::map<std::string, Node*> drives_;
};

class Recorder : public FileSearchEvents {
public:
    void SearchingDir(const std::string& folder, bool& cancel) override {
        EXPECT_FALSE(cancel);
        folders.push_back(folder);
    }
    void FoundFile(const std::string& file, bool& skip, bool&) override {
        found.push_back(file);
        if (skip_matching && file.find(skip_matching) != std::string::npos) skip = true;
        if (unskip_matching && file.find(unskip_matching) != std::string::npos) skip = false;
    }
    void YieldToMessages() override { ++yields; }
    std::vector<std::string> folders, found;
    const char* skip_matching = nullptr;
    const char* unskip_matching = nullptr;
    int yields = 0;
};

using Paths = std::vector<std::string>;

class FolderSearch : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs.Folder();
        a = fs.Folder();
        b = fs.Folder();
        a1 = fs.Folder();
        a2 = fs.Folder();
        b1 = fs.Folder();
        fs.Drive("C:", root);
        FakeLister::Files(root, {"boot.ini"});
        FakeLister::Sub(root, "A", a);
        FakeLister::Sub(root, "B", b);
        FakeLister::Files(a, {"one.mp3", "Two.MP3", "notes.txt"});
        FakeLister::Sub(a, "A1", a1);
        FakeLister::Sub(a, "A2", a2);
        FakeLister::Files(b, {"three.mp3"});
        FakeLister::Sub(b, "B1", b1);
        FakeLister::Files(a1, {"four.mp3"});
        FakeLister::Files(a2, {"README"});
        FakeLister::Files(b1, {"five.wav", "six.mp3"});
        search.SetEvents(&events);
    }
    Paths Run() {
        Paths files;
        search.Search(files);
        return files;
    }
    FakeLister fs;
    Node *root, *a, *b, *a1, *a2, *b1;
    CFileSystem search{fs};
    Recorder events;
};

TEST_F(FolderSearch, DefaultsScanTheWholeOfDriveC) {
    EXPECT_TRUE(search.RecursiveSubDirs());
    EXPECT_EQ(search.FileExtenstions(), "*.*");
    EXPECT_EQ(search.SearchPaths(), "C:\\");
    EXPECT_EQ(Run(), (Paths{"C:\\boot.ini", "C:\\A\\one.mp3", "C:\\A\\Two.MP3", "C:\\A\\notes.txt",
                            "C:\\B\\three.mp3", "C:\\A\\A1\\four.mp3", "C:\\A\\A2\\README",
                            "C:\\B\\B1\\five.wav", "C:\\B\\B1\\six.mp3"}));
}

TEST_F(FolderSearch, BreadthFirstOverSeveralSearchPaths) {
    search.SetSearchPaths("C:\\A|C:\\B");
    search.SetFileExtenstions("*.mp3");
    EXPECT_EQ(Run(), (Paths{"C:\\A\\one.mp3", "C:\\A\\Two.MP3", "C:\\B\\three.mp3", "C:\\A\\A1\\four.mp3",
                            "C:\\B\\B1\\six.mp3"}));
    EXPECT_EQ(events.folders, (Paths{"C:\\A\\", "C:\\B\\", "C:\\A\\A1\\", "C:\\A\\A2\\", "C:\\B\\B1\\"}));
}

TEST_F(FolderSearch, NotRecursiveScansOnlyTheFolderGiven) {
    search.SetRecursiveSubDirs(false);
    search.SetSearchPaths("  C:\\A ");
    EXPECT_EQ(Run(), (Paths{"C:\\A\\one.mp3", "C:\\A\\Two.MP3", "C:\\A\\notes.txt"}));
    EXPECT_EQ(events.folders, (Paths{"C:\\A\\"}));
    EXPECT_EQ(search.SearchPaths(), "  C:\\A ");
    EXPECT_EQ(search.PathList(), (Paths{"C:\\A\\"}));
}

TEST_F(FolderSearch, PatternsCompareOnlyTheExtensionIgnoringCase) {
    search.SetSearchPaths("C:\\A\\");
    search.SetRecursiveSubDirs(false);
    for (const char* pattern : {"*.MP3", "*.mp3", "abc*.mp3", " x.Mp3 "}) {
        search.SetFileExtenstions(pattern);
        EXPECT_EQ(Run(), (Paths{"C:\\A\\one.mp3", "C:\\A\\Two.MP3"})) << pattern;
    }
    search.SetFileExtenstions("*.mp3|*.*");  // each file once
    EXPECT_EQ(Run().size(), 3u);
    search.SetFileExtenstions("");
    EXPECT_TRUE(Run().empty());
}

TEST_F(FolderSearch, AFileWithoutExtension) {
    search.SetSearchPaths("C:\\A\\A2");
    for (const char* pattern : {"*.*", "txt", "*.txt"}) {
        search.SetFileExtenstions(pattern);
        const bool expected = std::string(pattern) != "*.txt";
        EXPECT_EQ(Run() == Paths{"C:\\A\\A2\\README"}, expected) << pattern;
    }
}

TEST_F(FolderSearch, SkipKeepsFilesOutButFoldersAreStillReported) {
    events.skip_matching = "";  // every file
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(events.folders.size(), 6u);
    EXPECT_EQ(events.found.size(), 9u);
}

TEST_F(FolderSearch, SkipHoldsForTheRestOfItsFolderOnly) {
    search.SetFileExtenstions("*.mp3|*.txt");
    events.skip_matching = "one.mp3";
    events.unskip_matching = "notes";
    EXPECT_EQ(Run(), (Paths{"C:\\A\\notes.txt", "C:\\B\\three.mp3", "C:\\A\\A1\\four.mp3", "C:\\B\\B1\\six.mp3"}));
}

TEST_F(FolderSearch, MissingSearchPathIsSkipped) {
    search.SetSearchPaths("C:\\Nowhere|C:\\B");
    EXPECT_EQ(Run(), (Paths{"C:\\B\\three.mp3", "C:\\B\\B1\\five.wav", "C:\\B\\B1\\six.mp3"}));
    EXPECT_EQ(events.folders, (Paths{"C:\\B\\", "C:\\B\\B1\\"}));
}

TEST_F(FolderSearch, FolderThatCannotBeOpenedYieldsNothing) {
    a->locked = true;
    search.SetSearchPaths("C:\\A");
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(events.folders, (Paths{"C:\\A\\"}));
}

TEST_F(FolderSearch, ResultsOfTheLastSearchAreDropped) {
    search.SetSearchPaths("C:\\A\\A1");
    EXPECT_EQ(Run().size(), 1u);
    search.SetSearchPaths("C:\\Nowhere");
    EXPECT_TRUE(Run().empty());
}

TEST_F(FolderSearch, YieldsOncePerEntryAndPerRecursiveFolder) {
    search.SetSearchPaths("C:\\A\\A1");
    Run();
    // ".", "..", "four.mp3"; the search path itself is not a recursive-pass folder.
    EXPECT_EQ(events.yields, 3);
}

TEST_F(FolderSearch, LinksBackUpTheTreeDoNotLoop) {
    FakeLister::Sub(a1, "up", root);   // junction to the drive's root
    FakeLister::Sub(b1, "self", b1);   // a folder linked into itself
    FakeLister::Sub(a2, "again", a);
    EXPECT_EQ(Run().size(), 9u);
    EXPECT_EQ(events.folders.size(), 6u);
    for (const auto& listed : fs.lists) EXPECT_EQ(listed.second, 1) << listed.first;
}

TEST_F(FolderSearch, LoopGuardAlsoWorksWhenOnlyIdentifyKnowsTheIdentity) {
    fs.ids_in_entries = false;
    FakeLister::Sub(a1, "up", a);
    EXPECT_EQ(Run().size(), 9u);
    EXPECT_EQ(events.folders.size(), 6u);
}

TEST_F(FolderSearch, SameFolderGivenTwiceIsScannedOnce) {
    search.SetSearchPaths("C:\\B|C:\\B\\|C:\\B\\B1");
    EXPECT_EQ(Run(), (Paths{"C:\\B\\three.mp3", "C:\\B\\B1\\five.wav", "C:\\B\\B1\\six.mp3"}));
    EXPECT_EQ(events.folders, (Paths{"C:\\B\\", "C:\\B\\B1\\"}));
}

TEST_F(FolderSearch, WithoutIdentitiesFoldersAreToldApartByPath) {
    fs.ids_known = false;
    search.SetSearchPaths("C:\\B|c:\\b");
    EXPECT_EQ(Run().size(), 3u);
    EXPECT_EQ(events.folders.size(), 2u);
}

TEST_F(FolderSearch, FolderNamesAreKeptAsFound) {
    Node* live = fs.Folder();
    FakeLister::Sub(b, " Live", live);
    FakeLister::Files(live, {"track.mp3"});
    search.SetSearchPaths("C:\\B");
    search.SetFileExtenstions("*.mp3");
    const Paths files = Run();
    EXPECT_EQ(files.back(), "C:\\B\\ Live\\track.mp3");
}

// Names the code page cannot hold go by their short names; those without
// one are left out and named in one message.
TEST_F(FolderSearch, NamesTheCodePageCannotHoldGoByTheirShortNames) {
    Node* reached = fs.Folder();
    Node* lost = fs.Folder();
    FakeLister::Files(reached, {"x.mp3"});
    FakeLister::Files(lost, {"y.mp3"});
    b->entries.push_back({"Dvor?k", reached, false, "DVOR_~1"});
    b->entries.push_back({"Dvor?k - Largo.mp3", nullptr, false, "DVOR_~2.MP3"});
    b->entries.push_back({"Sm?tana.mp3", nullptr, false, ""});
    b->entries.push_back({"Sm?tana", lost, false, ""});
    b->entries.push_back({"Jan?cek.txt", nullptr, false, ""});  // no match: not named
    search.SetSearchPaths("C:\\B");
    search.SetFileExtenstions("*.mp3");
    EXPECT_EQ(Run(), (Paths{"C:\\B\\three.mp3", "C:\\B\\DVOR_~2.MP3", "C:\\B\\B1\\six.mp3", "C:\\B\\DVOR_~1\\x.mp3"}));
    EXPECT_EQ(search.Unreachable(), (Paths{"C:\\B\\Sm?tana.mp3", "C:\\B\\Sm?tana"}));
    EXPECT_EQ(UnreachableNamesMessage(search.Unreachable()),
              "These names hold characters that this system cannot open, so they are left out:"
              "\r\nC:\\B\\Sm?tana.mp3\r\nC:\\B\\Sm?tana");
    search.SetRecursiveSubDirs(false);  // a folder not entered is not named
    Run();
    EXPECT_EQ(search.Unreachable(), (Paths{"C:\\B\\Sm?tana.mp3"}));
    EXPECT_EQ(UnreachableNamesMessage({}), "");
}

TEST(FolderSearchHelpers, ExtensionsAndBars) {
    EXPECT_EQ(MatchExtension("song.Mp3"), "mp3");
    EXPECT_EQ(MatchExtension("a.b.TXT "), "txt");
    EXPECT_EQ(MatchExtension("README"), "");
    EXPECT_EQ(MatchExtension("*.*"), "*");
    EXPECT_EQ(MatchExtension("name."), "");
    EXPECT_EQ(SplitBars("a||b|"), (Paths{"a", "", "b", ""}));
    EXPECT_TRUE(SplitBars("").empty());
}

}  // namespace
}  // namespace foundation
}  // namespace corvella
