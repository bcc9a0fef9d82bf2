// The folder tree of the main window over SysTreeView32: the Desktop at the
// root, "My Computer" with the drives under it, and folders, each level
// read when it is first opened, with the shell's small icons.
//
// Path() is the selected folder's file-system path ("Desktop" for the root,
// "" for "My Computer"). SetPath() selects a folder and raises
// FolderSelected synchronously, exactly as a user's pick does, without
// handling any other message on the way, also when the folder is selected
// already. A path that does not exist (or is no folder) selects nothing,
// raises nothing and is no error.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/forms.h"

namespace corvella::platform {

// What the folder-selected event passes.
struct FolderItem {
    std::string path;
    std::string Path() const { return path; }
};

class FolderTree : public forms::Control {
public:
    std::function<void(const FolderItem& folder)> FolderSelected;

    FolderTree();
    ~FolderTree() override;

    bool Create(forms::Container& parent) override;
    std::string Path() const;
    void SetPath(const std::string& path);

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    void OnDetach() override;

private:
    struct Node;
    HTREEITEM AddNode(HTREEITEM parent, const std::string& label, const std::string& path, int kind);
    void Populate(HTREEITEM item);
    HTREEITEM FindChild(HTREEITEM parent, const std::string& path);
    Node* NodeOf(HTREEITEM item) const;
    void RaiseSelected(HTREEITEM item);

    std::vector<std::unique_ptr<Node>> nodes_;
    HTREEITEM desktop_ = nullptr;
    HTREEITEM computer_ = nullptr;
    int building_ = 0;  // no events while the tree fills itself
};

}  // namespace corvella::platform
