// An image list the form owns: images by 1-based index or by key, for menus,
// list views and toolbars. The system list is made on the first Add and
// destroyed with the object, so no list outlives the form that made it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace corvella::forms {

class ImageList {
public:
    std::string name;
    int imageWidth = 16;  // pixels; fixed once the first image is in
    int imageHeight = 16;

    ImageList() = default;
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    ~ImageList();

    // Adds a copy of the icon (the caller keeps its own) and returns the new
    // image's 1-based index; 0 when it cannot be added. A key already in use
    // is Error 35602.
    int AddIcon(HICON icon, const std::string& key = std::string());
    // The image of that key, 0 when none.
    int IndexOf(const std::string& key) const;
    int Count() const { return static_cast<int>(keys_.size()); }
    // Removes every image; the size may be set anew afterwards.
    void Clear();
    // The system list (null before the first image); it stays the object's.
    HIMAGELIST hImageList() const { return list_; }
    // A new icon of the image (the caller destroys it); null out of range.
    HICON ExtractIcon(int index) const;

private:
    HIMAGELIST list_ = nullptr;
    std::vector<std::string> keys_;
};

}  // namespace corvella::forms
