// The folder tree on a real window and the real file system under Wine.
#include "platform/foldertree/folder_tree.h"

#include <string>
#include <vector>

#include "libs/common/scope/scope_exit.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella::platform {
namespace {

using forms::testing::FormsTest;

struct TestForm : forms::Form {
    FolderTree tree;
    std::vector<std::string> picked;
    TestForm() {
        name = "frmTest";
        width = 6000;
        height = 6000;
        tree.name = "FTVWFiles";
        tree.width = 5500;
        tree.height = 5000;
        tree.FolderSelected = [this](const FolderItem& folder) { picked.push_back(folder.Path()); };
        CreateControls = [this] { tree.Create(*this); };
        Show();
    }
    ~TestForm() override { Unload(); }
};

struct Folders {
    std::string root, deep;
    Folders() {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        char longTemp[MAX_PATH] = {};
        GetLongPathNameA(temp, longTemp, sizeof longTemp);
        root = std::string(longTemp) + "ftvw " + std::to_string(GetCurrentProcessId());
        deep = root + "\\Sub Folder\\Deeper";
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA((root + "\\Sub Folder").c_str(), nullptr);
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    ~Folders() {
        RemoveDirectoryA(deep.c_str());
        RemoveDirectoryA((root + "\\Sub Folder").c_str());
        RemoveDirectoryA(root.c_str());
    }
};

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

using FolderTreeTest = FormsTest;

TEST_F(FolderTreeTest, SettingThePathRaisesOneEventLikeAPickWithoutPumping) {
    Folders folders;
    TestForm form;
    EXPECT_TRUE(form.picked.empty()) << "filling the tree is no pick";

    // A message waiting in the queue stays there: the event comes without
    // any message being handled on the way.
    PostMessageA(form.hWnd(), WM_APP + 5, 0, 0);
    form.tree.SetPath(folders.deep);
    MSG waiting;
    EXPECT_TRUE(PeekMessageA(&waiting, form.hWnd(), WM_APP + 5, WM_APP + 5, PM_REMOVE));
    ASSERT_EQ(form.picked.size(), 1u);
    EXPECT_TRUE(SameText(form.picked[0], folders.deep)) << form.picked[0];
    EXPECT_TRUE(SameText(form.tree.Path(), folders.deep));

    // The same path again is reported again; another case of it too.
    std::string upper = folders.deep;
    CharUpperA(&upper[0]);
    form.tree.SetPath(upper);
    EXPECT_EQ(form.picked.size(), 2u);

    form.tree.SetPath(folders.root + "\\Sub Folder");
    ASSERT_EQ(form.picked.size(), 3u);
    EXPECT_TRUE(SameText(form.picked[2], folders.root + "\\Sub Folder"));

    form.tree.SetPath("DESKTOP");
    ASSERT_EQ(form.picked.size(), 4u);
    EXPECT_EQ(form.picked[3], "Desktop");
    EXPECT_EQ(form.tree.Path(), "Desktop");
}

TEST_F(FolderTreeTest, AMissingPathSelectsNothingAndRaisesNothing) {
    Folders folders;
    TestForm form;
    form.tree.SetPath(folders.root);
    ASSERT_EQ(form.picked.size(), 1u);
    for (const std::string& missing :
         {folders.root + "\\Not There", folders.root + "\\Sub Folder\\Deeper\\x.mp3", std::string("Q:\\none"),
          std::string("")}) {
        form.tree.SetPath(missing);
        EXPECT_EQ(form.picked.size(), 1u) << missing;
        EXPECT_TRUE(SameText(form.tree.Path(), folders.root)) << missing;
    }
    EXPECT_TRUE(forms::testing::PumpUntil([] { return true; }));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FolderTreeTest, AUsersPickIsTheSameEvent) {
    Folders folders;
    TestForm form;
    form.tree.SetPath(folders.deep);
    // The user selects the parent with the keyboard.
    SetFocus(form.tree.hWnd());
    SendMessageA(form.tree.hWnd(), WM_KEYDOWN, VK_UP, 0);
    ASSERT_EQ(form.picked.size(), 2u);
    EXPECT_TRUE(SameText(form.picked[1], folders.root + "\\Sub Folder"));
}

// A folder whose name the code page cannot hold shows the code page's look
// of its name and is reached by its short name, which opens it.
TEST_F(FolderTreeTest, AFolderBeyondTheCodePageGoesByItsShortName) {
    Folders folders;
    const std::wstring wide = std::wstring(folders.root.begin(), folders.root.end()) + L"\\Dvo\u0159\u00e1k";
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
    const auto remove = OnScopeExit([&] { RemoveDirectoryW(wide.c_str()); });
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((folders.root + "\\Dvo*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    const std::string reached = folders.root + "\\" + found.cAlternateFileName;

    TestForm form;
    form.tree.SetPath(reached);
    ASSERT_EQ(form.picked.size(), 1u);
    EXPECT_TRUE(SameText(form.picked[0], reached)) << form.picked[0];
    EXPECT_NE(GetFileAttributesA(form.picked[0].c_str()), INVALID_FILE_ATTRIBUTES);
    char label[MAX_PATH] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(form.tree.hWnd(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = label;
    item.cchTextMax = sizeof label;
    ASSERT_TRUE(SendMessageA(form.tree.hWnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(label, found.cFileName);
}

// Keys come through the forms' message loop, as a user's do; a folder made
// before Right shows as its parent opens again. Closing the folder around
// the selection selects it, and says so.
TEST_F(FolderTreeTest, KeysOpenAndCloseFolders) {
    Folders folders;
    TestForm form;
    form.tree.SetPath(folders.root);
    const HWND tree = form.tree.hWnd();
    const HTREEITEM root = TreeView_GetSelection(tree);
    const UINT items = TreeView_GetCount(tree);
    const std::string later = folders.root + "\\A Later One";
    SetFocus(tree);
    const struct {
        WPARAM key;
        bool open;
        UINT folders;
    } steps[] = {{VK_ADD, true, 1}, {VK_SUBTRACT, false, 1}, {VK_RETURN, true, 1}, {VK_RETURN, false, 1},
                 {VK_RIGHT, true, 2}};
    for (const auto& step : steps) {
        if (step.folders == 2) CreateDirectoryA(later.c_str(), nullptr);
        PostMessageA(tree, WM_KEYDOWN, step.key, 0);
        EXPECT_TRUE(forms::testing::PumpUntil([&] {
            const bool open = (TreeView_GetItemState(tree, root, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
            return open == step.open && TreeView_GetCount(tree) == items + step.folders;
        })) << "key " << step.key;
    }
    PostMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(forms::testing::PumpUntil([&] { return SameText(form.picked.back(), later); }));
    TreeView_Expand(tree, root, TVE_COLLAPSE);
    EXPECT_TRUE(SameText(form.picked.back(), folders.root)) << form.picked.back();
    RemoveDirectoryA(later.c_str());
}

}  // namespace
}  // namespace corvella::platform
