#include "platform/foldertree/folder_tree.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

#include "libs/common/storage/win32_find_names.h"
#include "libs/common/text/text_primitives.h"

namespace corvella::platform {

namespace {

enum Kind { kDesktop, kComputer, kDrive, kFolder };

struct ShellLook {
    std::string name;
    int icon = 0;
    int openIcon = 0;
};

// Name and small icons of a special folder, or of a path.
ShellLook LookOf(int specialFolder, const std::string& path) {
    ShellLook look;
    SHFILEINFOA info{};
    LPITEMIDLIST pidl = nullptr;
    const char* what = path.c_str();
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME;
    if (path.empty()) {
        if (FAILED(SHGetSpecialFolderLocation(nullptr, specialFolder, &pidl)) || pidl == nullptr) return look;
        what = reinterpret_cast<const char*>(pidl);
        flags |= SHGFI_PIDL;
    }
    if (SHGetFileInfoA(what, 0, &info, sizeof info, flags)) {
        look.name = info.szDisplayName;
        look.icon = info.iIcon;
    }
    look.openIcon = look.icon;
    if (SHGetFileInfoA(what, 0, &info, sizeof info, (flags & ~SHGFI_DISPLAYNAME) | SHGFI_OPENICON))
        look.openIcon = info.iIcon;
    if (pidl != nullptr) CoTaskMemFree(pidl);
    return look;
}

std::string DesktopFolder() {
    LPITEMIDLIST pidl = nullptr;
    char path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &pidl)) && pidl != nullptr) {
        if (!SHGetPathFromIDListA(pidl, path)) path[0] = '\0';
        CoTaskMemFree(pidl);
    }
    return path;
}

bool SamePath(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

std::string Join(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace

struct FolderTree::Node {
    std::string path;
    int kind = kFolder;
    bool populated = false;
};

FolderTree::FolderTree() {
    width = 2500;
    height = 4000;
}

FolderTree::~FolderTree() { Destroy(); }

bool FolderTree::Create(forms::Container& parent) {
    if (Created()) return true;
    InitCommonControls();
    const DWORD style = WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    if (!CreateWindowIn(parent, WC_TREEVIEWA, style, WS_EX_CLIENTEDGE, "")) return false;
    // The shell's own small icons; the system keeps that list, the tree never frees it.
    SHFILEINFOA info{};
    const auto icons = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (icons != nullptr) SendMessageA(hWnd(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons));
    ++building_;
    const ShellLook desk = LookOf(CSIDL_DESKTOP, "");
    desktop_ = AddNode(TVI_ROOT, desk.name.empty() ? "Desktop" : desk.name, "", kDesktop);
    Populate(desktop_);
    SendMessageA(hWnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(desktop_));
    // Selected quietly: a tree without a selection picks one itself when it
    // first gets the focus, which would look like the user's pick.
    SendMessageA(hWnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(desktop_));
    --building_;
    return true;
}

void FolderTree::OnDetach() {
    nodes_.clear();
    desktop_ = computer_ = nullptr;
}

HTREEITEM FolderTree::AddNode(HTREEITEM parent, const std::string& label, const std::string& path, int kind) {
    std::unique_ptr<Node> node(new Node);
    node->path = path;
    node->kind = kind;
    ShellLook look = kind == kDesktop    ? LookOf(CSIDL_DESKTOP, "")
                     : kind == kComputer ? LookOf(CSIDL_DRIVES, "")
                                         : LookOf(0, path);
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(label.c_str());
    insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
    insert.item.cChildren = 1;  // known when the node is first opened
    insert.item.iImage = look.icon;
    insert.item.iSelectedImage = look.openIcon;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(hWnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item != nullptr) nodes_.push_back(std::move(node));
    return item;
}

FolderTree::Node* FolderTree::NodeOf(HTREEITEM item) const {
    if (item == nullptr || hWnd() == nullptr) return nullptr;
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!SendMessageA(hWnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
    return reinterpret_cast<Node*>(tv.lParam);
}

void FolderTree::Populate(HTREEITEM item) {
    Node* node = NodeOf(item);
    if (node == nullptr || node->populated) return;
    node->populated = true;
    ++building_;
    // Names, or drive roots for the computer; with each the name that opens
    // it (a short name where the code page cannot hold the shown one).
    std::vector<std::pair<std::string, std::string>> folders;
    if (node->kind == kDesktop) {
        const ShellLook computer = LookOf(CSIDL_DRIVES, "");
        computer_ = AddNode(item, computer.name.empty() ? "My Computer" : computer.name, "", kComputer);
    }
    const std::string base = node->kind == kDesktop ? DesktopFolder() : node->path;
    if (node->kind == kComputer) {
        char drives[512] = {};
        const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
        for (const char* d = drives; length < sizeof drives && *d != '\0'; d += lstrlenA(d) + 1)
            folders.emplace_back(d, d);
    } else if (!base.empty()) {
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA(Join(base, "*.*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            const std::string folder = Join(base, "");
            do {
                const std::string name = found.cFileName;
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == "." || name == "..") continue;
                // A folder that no name opens cannot be listed: left out.
                const std::string opens = OpenableName(folder, found);
                if (!opens.empty()) folders.emplace_back(name, opens);
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) {
            return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.first.c_str(), -1, b.first.c_str(), -1) ==
                   CSTR_LESS_THAN;
        });
    }
    for (const auto& [name, opens] : folders) {
        if (node->kind == kComputer) {
            // Removable and CD drives are not asked for a label: that would
            // spin up or prompt for the medium.
            const UINT type = GetDriveTypeA(name.c_str());
            const bool ask = type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_RAMDISK;
            const std::string label = ask ? LookOf(0, name).name : std::string();
            AddNode(item, label.empty() ? name.substr(0, 2) : label, name, kDrive);
        } else {
            AddNode(item, name, Join(base, opens), kFolder);
        }
    }
    if (folders.empty() && node->kind != kDesktop) {
        TVITEMA tv{};
        tv.mask = TVIF_CHILDREN;
        tv.hItem = item;
        tv.cChildren = 0;
        SendMessageA(hWnd(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    }
    --building_;
}

HTREEITEM FolderTree::FindChild(HTREEITEM parent, const std::string& path) {
    Populate(parent);
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(hWnd(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; item != nullptr; item = reinterpret_cast<HTREEITEM>(SendMessageA(
                                hWnd(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        const Node* node = NodeOf(item);
        if (node != nullptr && SamePath(node->path, path)) return item;
    }
    return nullptr;
}

std::string FolderTree::Path() const {
    if (hWnd() == nullptr) return std::string();
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(hWnd(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    const Node* node = NodeOf(item);
    if (node == nullptr) return std::string();
    return node->kind == kDesktop ? "Desktop" : node->path;
}

void FolderTree::SetPath(const std::string& path) {
    if (hWnd() == nullptr) return;
    HTREEITEM target = nullptr;
    if (LowerAscii(path) == "desktop") {
        target = desktop_;
    } else {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return;
        char full[MAX_PATH] = {};
        char* name = nullptr;
        const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
        if (length == 0 || length >= sizeof full || full[1] != ':' || full[2] != '\\') return;  // drives only
        const std::string whole = full;
        target = FindChild(computer_, whole.substr(0, 3));
        size_t at = 3;
        while (target != nullptr && at < whole.size()) {
            size_t end = whole.find('\\', at);
            if (end == std::string::npos) end = whole.size();
            if (end > at) target = FindChild(target, whole.substr(0, end));
            at = end + 1;
        }
    }
    if (target == nullptr) return;
    const auto current = reinterpret_cast<HTREEITEM>(SendMessageA(hWnd(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    SendMessageA(hWnd(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(target));
    if (current == target) {
        // The tree reports no change; the program's pick is reported all the same.
        RaiseSelected(target);
        return;
    }
    SendMessageA(hWnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(target));
}

void FolderTree::RaiseSelected(HTREEITEM item) {
    const Node* node = NodeOf(item);
    if (node == nullptr || !FolderSelected) return;
    const FolderItem folder{node->kind == kDesktop ? "Desktop" : node->path};
    Fire("FolderSelected", [&] { FolderSelected(folder); });
}

bool FolderTree::OnNotify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
    case TVN_ITEMEXPANDINGA: {
        auto* view = reinterpret_cast<NMTREEVIEWA*>(header);
        if ((view->action & TVE_EXPAND) != 0) Populate(view->itemNew.hItem);
        result = FALSE;
        return true;
    }
    case TVN_SELCHANGEDA:
        if (building_ == 0) RaiseSelected(reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem);
        return false;
    default:
        return false;
    }
}

}  // namespace corvella::platform
