// The program's design-time pictures, drawn at run time into the image
// lists the forms own: the main toolbar's images (coloured for the hot list,
// greyed for the normal one), the list header's sort arrows and check boxes,
// the check-box state images, the bars' close glyph, the menu's help icon
// and the CD ripper's tab icons. Every list gets its images keyed and in the
// order its form addresses them (1-based in the ImageList, 0-based where a
// toolbar, header or tab strip takes the index). Larger single pictures go
// to the controls that show one.
#pragma once

#include <ocidl.h>

#include "libs/common/com/com_ptr.h"
#include "platform/forms/image_list.h"

namespace corvella {

enum class PictureSet {
    kToolbarHot,     // "Rename", "CDDB", "Sort", "Case", "Export", "CDRip", "Folder", "Help"; 16 pixels
    kToolbarNormal,  // the same, greyed
    kHeader,         // "Ascending", "Descending", "Unchecked", "Checked"; 16 pixels
    kCheckBoxes,     // state images: "Unchecked", "Checked"; 16 pixels
    kClose,          // "Close"; 10 pixels
    kMenu,           // "Help"; 16 pixels
    kRipperTabs,     // the CD ripper's tabs: "General", "Encoding", "Output"; 16 pixels
};

// Sets the list's image size and adds the set's pictures to it; returns the
// number added (the list should be empty before).
int LoadPictures(forms::ImageList& list, PictureSet set);

// Pictures of their own sizes, each for one control's picture.
enum class Drawing {
    kLookupLogo,    // the album lookup's logo: a disc beside the word "freedb"; 120 x 37 pixels
    kWizardSplash,  // the wizards' splash band: a disc going into a folder; 169 x 240
};

// The drawing as a picture object, clear around what is drawn; empty when
// it cannot be made.
com::ComPtr<IPictureDisp> MakePicture(Drawing which);

}  // namespace corvella
