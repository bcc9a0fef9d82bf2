#include "platform/forms/image_list.h"

#include "platform/forms/runtime.h"

namespace corvella::forms {

ImageList::~ImageList() { Clear(); }

int ImageList::AddIcon(HICON icon, const std::string& key) {
    if (!key.empty() && IndexOf(key) != 0) throw Error("Key is not unique in collection", 35602);
    if (icon == nullptr) return 0;
    if (list_ == nullptr) {
        InitCommonControls();
        list_ = ImageList_Create(imageWidth, imageHeight, ILC_COLOR24 | ILC_MASK, 4, 4);
        if (list_ == nullptr) return 0;
    }
    if (ImageList_AddIcon(list_, icon) < 0) return 0;
    keys_.push_back(key);
    return Count();
}

int ImageList::IndexOf(const std::string& key) const {
    if (key.empty()) return 0;
    for (size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == key) return static_cast<int>(i) + 1;
    return 0;
}

void ImageList::Clear() {
    if (list_ != nullptr) ImageList_Destroy(list_);
    list_ = nullptr;
    keys_.clear();
}

HICON ImageList::ExtractIcon(int index) const {
    if (list_ == nullptr || index < 1 || index > Count()) return nullptr;
    return ImageList_GetIcon(list_, index - 1, ILD_NORMAL);
}

}  // namespace corvella::forms
