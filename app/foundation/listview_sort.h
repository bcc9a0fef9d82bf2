// The parts of the file list's column sorting that need no window: which
// column sorts in which direction after a header click, how rows compare,
// and the header item formats that put the sort arrow beside a column's
// text. The Win32 shell sends the messages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvella {
namespace foundation {

// List-view state images under LVIS_STATEIMAGEMASK.
constexpr uint32_t kStateImageMask = 0xF000;
constexpr uint32_t kStateUnchecked = 0x1000;
constexpr uint32_t kStateChecked = 0x2000;

// Header item bits.
constexpr uint32_t kHdiFormatImage = 0x24;  // HDI_FORMAT | HDI_IMAGE
constexpr int32_t kHdfRight = 0x1;
constexpr int32_t kHdfImage = 0x800;
constexpr int32_t kHdfBitmapOnRight = 0x1000;
constexpr int32_t kHdfString = 0x4000;

struct SortClick {
    std::string column_tag;  // the clicked column's new direction tag ("0" or "-1")
    int32_t sort_key = 0;    // 0-based column the list sorts by
    int32_t sort_order = 0;  // 0 ascending, 1 descending
};

// A click on the header of column `column_index` (1-based, not the
// check-box column). A second click on the sort column reverses that
// column's direction; another column sorts in the direction it had last
// (ascending the first time). Each column keeps its direction in its tag.
SortClick OnSortColumnClick(int32_t column_index, int32_t current_sort_key, const std::string& column_tag);

// Row order for the list's text sort: case-insensitive (ASCII letters),
// then by byte; `descending` swaps the result. <0, 0, >0.
int CompareSortText(const std::string& a, const std::string& b, bool descending);

struct HeaderItemFormat {
    int32_t column = 0;
    uint32_t mask = kHdiFormatImage;
    int32_t format = kHdfString;
    int32_t image = 0;  // 0 ascending arrow, 1 descending
};

// The header items SetHeaderIcons writes: one for each column from 1 to
// count - 1 (column 0 is left alone). The sort column gets the arrow image,
// on the right of a left-aligned text and on the left of a right-aligned one.
std::vector<HeaderItemFormat> SortHeaderFormats(const std::vector<bool>& right_aligned, int32_t sort_column,
                                                int32_t descending);

}  // namespace foundation
}  // namespace corvella
