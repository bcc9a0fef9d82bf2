// The folder search over a real tree whose links lead back up the tree and
// into a sibling folder a second time.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/foundation/folder_search.h"
#include "app/foundation/win32/shell/directory_lister.h"
#include "platform/forms/runtime.h"
#include "app/foundation/win32/shell/tests/test_support.h"

namespace corvella {
namespace shell {
namespace {

using foundation::CFileSystem;
using testing_support::DataFolder;

class Recorder : public PumpingSearchEvents {
public:
    Recorder() : PumpingSearchEvents([] { forms::DoEvents(); }) {}
    void SearchingDir(const std::string& folder, bool& cancel) override {
        (void)cancel;
        folders.push_back(folder);
    }
    void FoundFile(const std::string& file, bool& skip, bool& cancel) override {
        (void)skip;
        (void)cancel;
        found.push_back(file);
    }
    std::vector<std::string> folders, found;
};

// Both ways of listing must give the same walk.
class DirectoryListerTest : public ::testing::TestWithParam<ListingMethod> {
protected:
    DirectoryListerTest() : lister_(GetParam()) {}
    void SetUp() override {
        const std::string data = DataFolder();
        ASSERT_FALSE(data.empty()) << "CORVELLA_SHELL_DATA is not set";
        tree_ = data + "tree\\";
        ASSERT_TRUE(lister_.Exists(tree_)) << tree_;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    }
    std::string tree_;
    Win32DirectoryLister lister_;
};

TEST_P(DirectoryListerTest, LinksBackUpTheTreeDoNotMakeTheSearchLoop) {
    ASSERT_TRUE(lister_.CanIdentify());
    CFileSystem search(lister_);
    Recorder events;
    search.SetEvents(&events);
    search.SetFileExtenstions("*.mp3");
    search.SetSearchPaths(tree_);
    std::vector<std::string> files;
    search.Search(files);

    // Every real folder once: a\b\up is the tree itself, c\again is a\.
    EXPECT_EQ(Sorted(events.folders),
              Sorted({tree_, tree_ + "a\\", tree_ + "c\\", tree_ + "empty\\", tree_ + "with blanks\\",
                      tree_ + "a\\b\\"}));
    EXPECT_EQ(Sorted(files), Sorted({tree_ + "root1.mp3", tree_ + "Root2.MP3", tree_ + "a\\a1.mp3",
                                     tree_ + "a\\b\\b1.mp3", tree_ + "c\\c1.mp3",
                                     tree_ + "with blanks\\song one.mp3"}));
    EXPECT_EQ(files, events.found);
    // Breadth-first: the tree, then its folders, then a\b.
    ASSERT_FALSE(events.folders.empty());
    EXPECT_EQ(events.folders.front(), tree_);
    EXPECT_EQ(events.folders.back(), tree_ + "a\\b\\");
}

TEST_P(DirectoryListerTest, SearchThroughALinkStartsAtTheLinkedFolder) {
    CFileSystem search(lister_);
    search.SetFileExtenstions("*.*");
    search.SetSearchPaths(tree_ + "c\\again");
    std::vector<std::string> files;
    search.Search(files);
    const std::string a = tree_ + "c\\again\\";
    // up leads to the tree, which is then searched once, below the link.
    EXPECT_NE(std::find(files.begin(), files.end(), a + "a1.mp3"), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), a + "b\\b1.mp3"), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), a + "b\\up\\notes.txt"), files.end());
    EXPECT_EQ(std::count(files.begin(), files.end(), a + "b\\up\\a\\a1.mp3"), 0);
    EXPECT_LT(files.size(), 20u);
}

TEST_P(DirectoryListerTest, IdentityFollowsTheFolderNotThePath) {
    const auto a = lister_.Identify(tree_ + "a\\");
    const auto again = lister_.Identify(tree_ + "c\\again\\");
    const auto up = lister_.Identify(tree_ + "a\\b\\up\\");
    const auto tree = lister_.Identify(tree_);
    const auto c = lister_.Identify(tree_ + "c\\");
    ASSERT_TRUE(a && again && up && tree && c);
    EXPECT_EQ(*a, *again);
    EXPECT_EQ(*tree, *up);
    EXPECT_FALSE(*a == *c);
    EXPECT_FALSE(lister_.Identify(tree_ + "no such folder\\").has_value());
}

TEST_P(DirectoryListerTest, ListingGivesNamesAndKinds) {
    std::vector<foundation::DirEntry> entries;
    ASSERT_TRUE(lister_.List(tree_ + "with blanks\\", entries));
    std::vector<std::string> names;
    for (const auto& e : entries) {
        if (e.name == "." || e.name == "..") {
            EXPECT_TRUE(e.is_directory);
            continue;
        }
        names.push_back(e.name);
        EXPECT_FALSE(e.is_directory);
        EXPECT_FALSE(e.folder_id.has_value());
    }
    EXPECT_EQ(names, std::vector<std::string>{"song one.mp3"});

    ASSERT_TRUE(lister_.List(tree_ + "c\\", entries));
    const auto link = std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e.name == "again"; });
    ASSERT_NE(link, entries.end());
    EXPECT_TRUE(link->is_directory);

    EXPECT_FALSE(lister_.List(tree_ + "no such folder\\", entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_TRUE(lister_.Exists(tree_ + "README"));
    EXPECT_FALSE(lister_.Exists(tree_ + "no such file"));
}

TEST_P(DirectoryListerTest, NonRecursiveSearchOfAFolderWithoutBackslash) {
    CFileSystem search(lister_);
    Recorder events;
    search.SetEvents(&events);
    search.SetRecursiveSubDirs(false);
    search.SetFileExtenstions("*.MP3|txt");
    search.SetSearchPaths(tree_.substr(0, tree_.size() - 1));
    std::vector<std::string> files;
    search.Search(files);
    EXPECT_EQ(events.folders, std::vector<std::string>{tree_});
    // "txt" without a point matches names without an extension.
    EXPECT_EQ(Sorted(files), Sorted({tree_ + "root1.mp3", tree_ + "Root2.MP3", tree_ + "README"}));
}

TEST_P(DirectoryListerTest, SubFoldersComeWithTheirIdentityWhenListedWithIds) {
    std::vector<foundation::DirEntry> entries;
    ASSERT_TRUE(lister_.List(tree_, entries));
    const auto a = std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e.name == "a"; });
    ASSERT_NE(a, entries.end());
    if (GetParam() == ListingMethod::FindFunctions) {
        EXPECT_FALSE(a->folder_id.has_value());
        return;
    }
    ASSERT_TRUE(lister_.ListsWithIds());
    ASSERT_TRUE(a->folder_id.has_value());
    // The same identity as opening the folder gives, and as its link.
    Win32DirectoryLister other(ListingMethod::FindFunctions);
    EXPECT_EQ(*a->folder_id, *other.Identify(tree_ + "a\\"));
    EXPECT_EQ(*a->folder_id, *other.Identify(tree_ + "c\\again\\"));
}

INSTANTIATE_TEST_SUITE_P(Methods, DirectoryListerTest,
                         ::testing::Values(ListingMethod::Automatic, ListingMethod::FindFunctions),
                         [](const ::testing::TestParamInfo<ListingMethod>& info) {
                             return info.param == ListingMethod::Automatic ? "WithIds" : "FindFunctions";
                         });

TEST(PumpingSearchEventsTest, YieldRunsPendingMessagesAtMostOncePerInterval) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread gets its queue
    int yields = 0;
    auto pump = [&] {
        ++yields;
        forms::DoEvents();
    };
    PumpingSearchEvents events(pump, 60000);
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP + 7, 0, 0));
    events.YieldToMessages();  // the first yield pumps
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_APP + 7, WM_APP + 7, PM_NOREMOVE));
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP + 7, 0, 0));
    events.YieldToMessages();  // too soon
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_APP + 7, WM_APP + 7, PM_REMOVE));

    EXPECT_EQ(yields, 1);
    PumpingSearchEvents every(pump, 0);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_APP + 7, 0, 0));
        every.YieldToMessages();
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_APP + 7, WM_APP + 7, PM_NOREMOVE));
    }
}

}  // namespace
}  // namespace shell
}  // namespace corvella
