#include "platform/foldertree/folder_tree.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "libs/common/scope/scope_exit.h"
#include "libs/common/storage/win32_find_names.h"
#include "libs/common/text/text_primitives.h"

namespace corvella::platform {

namespace {

enum Kind { kDesktop, kComputer, kDrive, kFolder };

// Posted by the tree to itself: the folder just selected has gone, and its
// node goes once the selection that reported it is over.
constexpr UINT kDropGoneMessage = WM_APP + 0x62;

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

// The order in which SamePath finds equal paths next to each other.
bool Before(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A folder or drive as it is on disk now: the path that opens it (with a
// short name where the code page cannot hold the shown one) and its name.
// Hidden and system folders are there but not shown, as the shell's own
// folder views leave them out (Wine reports a Unix name that starts with
// "." as hidden).
struct OnDisk {
    std::string path;
    std::string name;
    bool shown = true;
};

std::vector<OnDisk> DrivesNow() {
    std::vector<OnDisk> drives;
    char roots[512] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof roots, roots);
    for (const char* d = roots; length < sizeof roots && *d != '\0'; d += lstrlenA(d) + 1) drives.push_back({d, d});
    return drives;
}

// The folder `found` in `base`; no path when no name opens it.
OnDisk FolderFound(const std::string& base, const WIN32_FIND_DATAA& found) {
    const std::string opens = OpenableName(Join(base, ""), found);
    const bool shown = (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
    return {opens.empty() ? std::string() : Join(base, opens), found.cFileName, shown};
}

std::vector<OnDisk> FoldersNow(const std::string& base) {
    std::vector<OnDisk> folders;
    if (base.empty()) return folders;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(Join(base, "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return folders;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == "." || name == "..") continue;
        // A folder that no name opens cannot be listed: left out.
        OnDisk folder = FolderFound(base, found);
        if (!folder.path.empty()) folders.push_back(std::move(folder));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return folders;
}

// What a node of `kind` holds now: the drives of the system's drive list
// under My Computer, else the folders.
std::vector<OnDisk> ListingNow(int kind, const std::string& path) {
    return kind == kComputer  ? DrivesNow()
           : kind == kDesktop ? FoldersNow(DesktopFolder())
                              : FoldersNow(path);
}

}  // namespace

struct FolderTree::Node {
    std::string path;
    std::string name;  // as shown
    int kind = kFolder;
    bool filled = false;
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
    Send(TVM_EXPAND, TVE_EXPAND, desktop_);  // lists it
    --building_;
    // A tree without a selection picks one itself when it first gets the
    // focus, which would look like the user's pick.
    SelectQuietly(desktop_);
    return true;
}

void FolderTree::OnDetach() {
    nodes_.clear();
    desktop_ = computer_ = told_ = nullptr;
}

HTREEITEM FolderTree::Send(UINT message, WPARAM code, HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(hWnd(), message, code, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM FolderTree::AddNode(HTREEITEM parent, const std::string& label, const std::string& path, int kind) {
    std::unique_ptr<Node> node(new Node);
    node->path = path;
    node->name = label;
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
    insert.item.cChildren = 1;  // known when the node is opened
    insert.item.iImage = look.icon;
    insert.item.iSelectedImage = look.openIcon;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(hWnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item != nullptr) nodes_.push_back(std::move(node));
    return item;
}

// A drive or folder under `parent`, named as the tree shows it.
HTREEITEM FolderTree::AddChild(HTREEITEM parent, const std::string& path, const std::string& name) {
    if (parent != computer_) return AddNode(parent, name, path, kFolder);
    // Removable and CD drives are not asked for a label: that would spin up
    // or prompt for the medium.
    const UINT type = GetDriveTypeA(path.c_str());
    const bool ask = type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_RAMDISK;
    const std::string label = ask ? LookOf(0, path).name : std::string();
    return AddNode(parent, label.empty() ? path.substr(0, 2) : label, path, kDrive);
}

FolderTree::Node* FolderTree::NodeOf(HTREEITEM item) const {
    if (item == nullptr || hWnd() == nullptr) return nullptr;
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    if (!SendMessageA(hWnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
    return reinterpret_cast<Node*>(tv.lParam);
}

// Sorts the children and shows the button only where there are any.
void FolderTree::Settle(HTREEITEM item) {
    struct Order {
        static int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM) {
            const auto* x = reinterpret_cast<const Node*>(a);
            const auto* y = reinterpret_cast<const Node*>(b);
            if ((x->kind == kComputer) != (y->kind == kComputer)) return x->kind == kComputer ? -1 : 1;
            // Drives by letter, folders by the name shown.
            const std::string& first = x->kind == kDrive ? x->path : x->name;
            const std::string& second = y->kind == kDrive ? y->path : y->name;
            return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, first.c_str(), -1, second.c_str(), -1) -
                   CSTR_EQUAL;
        }
    };
    TVSORTCB sort{item, &Order::Compare, 0};
    SendMessageA(hWnd(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    SetButton(item, Send(TVM_GETNEXTITEM, TVGN_CHILD, item) != nullptr || item == desktop_);
}

void FolderTree::SetButton(HTREEITEM item, bool on) {
    TVITEMA tv{};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = item;
    tv.cChildren = on ? 1 : 0;
    SendMessageA(hWnd(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

// Lists the node's folders as they are now: new ones come in, gone ones go,
// those still there keep their nodes, their children and their state. The
// node is closed, so the selection is never among them.
void FolderTree::Fill(HTREEITEM item) {
    Node* node = NodeOf(item);
    if (node == nullptr) return;
    node->filled = true;
    ++building_;
    const auto built = OnScopeExit([this] { --building_; });
    if (node->kind == kDesktop && computer_ == nullptr) {
        const ShellLook computer = LookOf(CSIDL_DRIVES, "");
        computer_ = AddNode(item, computer.name.empty() ? "My Computer" : computer.name, "", kComputer);
    }
    std::vector<OnDisk> now = ListingNow(node->kind, node->path);
    const auto byPath = [](const OnDisk& a, const OnDisk& b) { return Before(a.path, b.path); };
    std::sort(now.begin(), now.end(), byPath);
    // A case-sensitive disk may hold names that differ in case only: one node for them.
    const auto samePath = [](const OnDisk& a, const OnDisk& b) { return SamePath(a.path, b.path); };
    now.erase(std::unique(now.begin(), now.end(), samePath), now.end());
    std::vector<bool> inTree(now.size());
    HTREEITEM next = nullptr;
    for (HTREEITEM child = Send(TVM_GETNEXTITEM, TVGN_CHILD, item); child != nullptr; child = next) {
        next = Send(TVM_GETNEXTITEM, TVGN_NEXT, child);
        const Node* known = NodeOf(child);
        if (known == nullptr || known->kind == kComputer) continue;
        const auto there = std::lower_bound(now.begin(), now.end(), OnDisk{known->path}, byPath);
        if (there != now.end() && SamePath(there->path, known->path)) {
            inTree[there - now.begin()] = true;
            // Folders may have been made in it too: known when it is opened.
            if (Send(TVM_GETNEXTITEM, TVGN_CHILD, child) == nullptr) SetButton(child, true);
            continue;
        }
        Send(TVM_DELETEITEM, 0, child);
    }
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i].shown && !inTree[i]) AddChild(item, now[i].path, now[i].name);
    Settle(item);
}

// The child for `path`; a folder that is there but not shown (made since,
// or hidden) is added, as the program asks for it by name. Only what the
// parent's listing holds is added: the parent's next opening drops anything
// else, and SetPath's own scrolling to the node may be that opening (a drive
// that the drive list does not report is reachable, yet never listed).
HTREEITEM FolderTree::FindChild(HTREEITEM parent, const std::string& path) {
    Node* node = NodeOf(parent);
    if (node == nullptr) return nullptr;
    if (!node->filled) Fill(parent);
    // The folder as the tree has it: another short or long name, or another
    // case, would add it twice. (A drive's root has none.)
    OnDisk wanted{path, path};
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        wanted = FolderFound(node->path, found);
    }
    for (HTREEITEM item = Send(TVM_GETNEXTITEM, TVGN_CHILD, parent); item != nullptr;
         item = Send(TVM_GETNEXTITEM, TVGN_NEXT, item)) {
        const Node* child = NodeOf(item);
        if (child != nullptr && SamePath(child->path, wanted.path)) return item;
    }
    const std::vector<OnDisk> now = ListingNow(node->kind, node->path);
    const auto there =
        std::find_if(now.begin(), now.end(), [&](const OnDisk& d) { return SamePath(d.path, wanted.path); });
    if (there == now.end()) return nullptr;
    ++building_;
    const auto built = OnScopeExit([this] { --building_; });
    const HTREEITEM added = AddChild(parent, there->path, there->name);
    if (added != nullptr) Settle(parent);
    return added;
}

std::string FolderTree::Path() const {
    if (hWnd() == nullptr) return std::string();
    const Node* node = NodeOf(Send(TVM_GETNEXTITEM, TVGN_CARET, nullptr));
    if (node == nullptr) return std::string();
    return node->kind == kDesktop ? "Desktop" : node->path;
}

void FolderTree::SetPath(const std::string& path) {
    if (hWnd() == nullptr) return;
    HTREEITEM target = nullptr;
    if (LowerAscii(path) == "desktop") {
        target = desktop_;
    } else {
        if (!IsFolder(path)) return;
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
    const HTREEITEM current = Send(TVM_GETNEXTITEM, TVGN_CARET, nullptr);
    Send(TVM_ENSUREVISIBLE, 0, target);
    if (current == target) {
        // The tree reports no change; the program's pick is reported all the same.
        RaiseSelected(target);
        return;
    }
    Send(TVM_SELECTITEM, TVGN_CARET, target);
}

void FolderTree::RaiseSelected(HTREEITEM item) {
    const Node* node = NodeOf(item);
    if (node == nullptr) return;
    told_ = item;
    if (!FolderSelected) return;
    const FolderItem folder{node->kind == kDesktop ? "Desktop" : node->path};
    Fire("FolderSelected", [&] { FolderSelected(folder); });
}

// The selected folder's node, when its folder has gone: its parent is
// selected quietly (the listing of the gone folder was emptied already).
void FolderTree::DropGoneSelection() {
    const HTREEITEM item = Send(TVM_GETNEXTITEM, TVGN_CARET, nullptr);
    const Node* node = NodeOf(item);
    if (node == nullptr || node->kind != kFolder || IsFolder(node->path)) return;
    const HTREEITEM parent = Send(TVM_GETNEXTITEM, TVGN_PARENT, item);
    SelectQuietly(parent);
    ++building_;
    const auto built = OnScopeExit([this] { --building_; });
    Send(TVM_DELETEITEM, 0, item);
    Settle(parent);
}

void FolderTree::SelectQuietly(HTREEITEM item) {
    ++building_;
    Send(TVM_SELECTITEM, TVGN_CARET, item);
    --building_;
    told_ = item;
}

// Closing a folder that holds the selection selects that folder; Wine's
// tree does so without telling (Windows tells), so it is reported here.
void FolderTree::ReportUntoldSelection() {
    const HTREEITEM caret = Send(TVM_GETNEXTITEM, TVGN_CARET, nullptr);
    if (building_ == 0 && caret != nullptr && caret != told_) RaiseSelected(caret);
}

LRESULT FolderTree::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kDropGoneMessage:
        DropGoneSelection();
        return 0;
    case TVM_EXPAND: {
        // The tree tells of a program's expanding only the first time; every
        // opening lists the folders anew.
        const auto item = reinterpret_cast<HTREEITEM>(lp);
        const UINT state = static_cast<UINT>(
            SendMessageA(hWnd(), TVM_GETITEMSTATE, lp, TVIS_EXPANDED | TVIS_EXPANDEDONCE));
        const UINT action = static_cast<UINT>(wp) & TVE_TOGGLE;  // the action, without its flags
        if ((action == TVE_EXPAND || action == TVE_TOGGLE) && state == TVIS_EXPANDEDONCE) Fill(item);
        const LRESULT done = Control::OnMessage(msg, wp, lp);
        ReportUntoldSelection();
        return done;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const LRESULT done = Control::OnMessage(msg, wp, lp);
        ReportUntoldSelection();
        return done;
    }
    case WM_GETDLGCODE: {
        // Enter belongs to the tree, not to the form's dialog keys.
        const auto* key = reinterpret_cast<const MSG*>(lp);
        const bool enter = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
        return DefaultMessage(msg, wp, lp) | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
        // Enter opens or closes the selected folder.
        if (wp == VK_RETURN) {
            Send(TVM_EXPAND, TVE_TOGGLE, Send(TVM_GETNEXTITEM, TVGN_CARET, nullptr));
            return 0;
        }
        break;
    default:
        break;
    }
    return Control::OnMessage(msg, wp, lp);
}

bool FolderTree::OnNotify(NMHDR* header, LRESULT& result) {
    auto* view = reinterpret_cast<NMTREEVIEWA*>(header);
    switch (header->code) {
    case TVN_ITEMEXPANDINGA:
        if ((view->action & TVE_EXPAND) != 0) Fill(view->itemNew.hItem);
        result = FALSE;
        return true;
    case TVN_SELCHANGEDA: {
        if (building_ != 0) return false;
        RaiseSelected(view->itemNew.hItem);
        const Node* node = NodeOf(view->itemNew.hItem);
        if (node != nullptr && node->kind == kFolder && !IsFolder(node->path))
            PostMessageA(hWnd(), kDropGoneMessage, 0, 0);
        return false;
    }
    case TVN_DELETEITEMA: {
        const auto* gone = reinterpret_cast<const Node*>(view->itemOld.lParam);
        nodes_.erase(std::remove_if(nodes_.begin(), nodes_.end(),
                                    [gone](const std::unique_ptr<Node>& n) { return n.get() == gone; }),
                     nodes_.end());
        return false;
    }
    default:
        return false;
    }
}

}  // namespace corvella::platform
