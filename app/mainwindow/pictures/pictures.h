// The main window's design-time pictures, drawn for the program at run time
// into the image lists the form owns: the main toolbar's images (coloured
// for the hot list, greyed for the normal one), the list header's sort arrows
// and check boxes, the check-box state images, the bars' close glyph and the
// menu's help icon. Every list gets its images keyed and in the order the
// main window addresses them (1-based in the ImageList, 0-based where a
// toolbar or header takes the index).
#pragma once

#include "platform/forms/image_list.h"

namespace corvella {

enum class PictureSet {
    kToolbarHot,     // "Rename", "CDDB", "Sort", "Case", "Export", "CDRip", "Folder", "Help"; 16 pixels
    kToolbarNormal,  // the same, greyed
    kHeader,         // "Ascending", "Descending", "Unchecked", "Checked"; 16 pixels
    kCheckBoxes,     // state images: "Unchecked", "Checked"; 16 pixels
    kClose,          // "Close"; 10 pixels
    kMenu,           // "Help"; 16 pixels
};

// Sets the list's image size and adds the set's pictures to it; returns the
// number added (the list should be empty before).
int LoadPictures(forms::ImageList& list, PictureSet set);

}  // namespace corvella
