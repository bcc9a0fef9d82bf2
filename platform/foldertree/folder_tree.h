// The folder tree of the main window over SysTreeView32: the Desktop at the
// root, "My Computer" with the drives under it, and folders, with the
// shell's small icons. Each opening of a node, by the user or by TVM_EXPAND,
// reads its folders again: new ones come in, gone ones go, the others keep
// their nodes. Hidden and system folders are left out unless SetPath asks
// for one. Selecting a folder that has gone reports it (the main window
// empties its list), then drops its node and selects its parent quietly.
// Closing a folder that holds the selection selects and reports it. Enter
// opens or closes the selected folder.
//
// Path() is the selected folder's file-system path ("Desktop" for the root,
// "" for "My Computer"). SetPath() selects a folder and raises
// FolderSelected synchronously, exactly as a user's pick does, without
// handling any other message on the way, also when the folder is selected
// already. A path that does not exist (or is no folder), or lies on a drive
// that the system's drive list does not report, selects nothing, raises
// nothing and is no error.
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
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    void OnDetach() override;

private:
    struct Node;
    HTREEITEM Send(UINT message, WPARAM code, HTREEITEM item) const;
    HTREEITEM AddNode(HTREEITEM parent, const std::string& label, const std::string& path, int kind);
    HTREEITEM AddChild(HTREEITEM parent, const std::string& path, const std::string& name);
    void Fill(HTREEITEM item);
    void Settle(HTREEITEM item);
    void SetButton(HTREEITEM item, bool on);
    HTREEITEM FindChild(HTREEITEM parent, const std::string& path);
    Node* NodeOf(HTREEITEM item) const;
    void RaiseSelected(HTREEITEM item);
    void DropGoneSelection();
    void SelectQuietly(HTREEITEM item);
    void ReportUntoldSelection();

    std::vector<std::unique_ptr<Node>> nodes_;
    HTREEITEM desktop_ = nullptr;
    HTREEITEM computer_ = nullptr;
    int building_ = 0;          // no events while the tree fills itself
    HTREEITEM told_ = nullptr;  // the selection as last reported, or made quietly
};

}  // namespace corvella::platform
