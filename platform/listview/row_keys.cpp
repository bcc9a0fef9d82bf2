#include "platform/listview/row_keys.h"

#include <algorithm>

#include "libs/common/text/text_primitives.h"

namespace corvella::platform {

void RowKeys::Add(const std::string& key, const void* row) {
    if (key.empty() || row == nullptr) return;
    rows_[LowerAscii(key)].push_back({key, row});
}

void RowKeys::Remove(const std::string& key, const void* row) {
    if (key.empty()) return;
    auto it = rows_.find(LowerAscii(key));
    if (it == rows_.end()) return;
    auto& entries = it->second;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const Entry& e) { return e.row == row && e.key == key; }),
                  entries.end());
    if (entries.empty()) rows_.erase(it);
}

const void* RowKeys::Find(const std::string& key) const {
    if (key.empty()) return nullptr;
    auto it = rows_.find(LowerAscii(key));
    if (it == rows_.end()) return nullptr;
    for (const Entry& e : it->second)
        if (e.key == key) return e.row;
    return it->second.front().row;
}

}  // namespace corvella::platform
