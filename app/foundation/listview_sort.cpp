#include "app/foundation/listview_sort.h"

#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace foundation {
namespace {

// The whole-number value of a tag: leading blanks, sign, digits; 0 otherwise.
int64_t TagValue(const std::string& tag) {
    size_t i = tag.find_first_not_of(' ');
    if (i == std::string::npos) return 0;
    bool negative = false;
    if (tag[i] == '-' || tag[i] == '+') negative = tag[i++] == '-';
    int64_t v = 0;
    for (int digits = 0; i < tag.size() && tag[i] >= '0' && tag[i] <= '9' && digits < 9; ++i, ++digits)
        v = v * 10 + (tag[i] - '0');
    return negative ? -v : v;
}

}  // namespace

SortClick OnSortColumnClick(int32_t column_index, int32_t current_sort_key, const std::string& column_tag) {
    SortClick r;
    int64_t direction = TagValue(column_tag);
    if (current_sort_key == column_index - 1) direction = ~direction;  // Not: 0 <-> -1
    r.column_tag = std::to_string(direction);
    r.sort_order = direction != 0 ? 1 : 0;
    r.sort_key = column_index - 1;
    return r;
}

int CompareSortText(const std::string& a, const std::string& b, bool descending) {
    int result = 0;
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n && result == 0; ++i) {
        const unsigned char x = static_cast<unsigned char>(LowerAscii(a[i]));
        const unsigned char y = static_cast<unsigned char>(LowerAscii(b[i]));
        if (x != y) result = x < y ? -1 : 1;
    }
    if (result == 0 && a.size() != b.size()) result = a.size() < b.size() ? -1 : 1;
    if (result == 0) result = a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
    return descending ? -result : result;
}

std::vector<HeaderItemFormat> SortHeaderFormats(const std::vector<bool>& right_aligned, int32_t sort_column,
                                                int32_t descending) {
    std::vector<HeaderItemFormat> items;
    for (size_t i = 1; i < right_aligned.size(); ++i) {
        HeaderItemFormat item;
        item.column = static_cast<int32_t>(i);
        const bool right = right_aligned[i];
        item.format = kHdfString | (right ? kHdfRight : 0);
        if (item.column == sort_column) {
            item.format |= kHdfImage;
            if (!right) item.format |= kHdfBitmapOnRight;
        }
        item.image = descending != 0 ? 1 : 0;
        items.push_back(item);
    }
    return items;
}

}  // namespace foundation
}  // namespace corvella
