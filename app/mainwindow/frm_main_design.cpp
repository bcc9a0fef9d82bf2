#include "app/mainwindow/frm_main.h"
#include "app/foundation/tags/field_table.h"
#include "platform/forms/form_style.h"

namespace corvella {

namespace {

constexpr int kRowHeight = 420;     // rows of both views
constexpr int kV2RowHeight = 360;   // rows of the ID3v2-only panel

}  // namespace

void FrmMain::Design() {
    name = "frmMain";
    caption = "Corvella";
    borderStyle = forms::kSizable;
    startUpPosition = forms::kStartManual;
    width = 12000;
    height = 9000;
    fontName = "Tahoma";
    keyPreview = true;

    {
        auto& c = DESIGN(ReBar1);
        c.Move(0, 0, 12000, 400);
    }
    {
        auto& c = DESIGN(Picture1);
        c.borderStyle = forms::kBorderNone;
        c.Move(0, 0, 1950, 330);
    }
    {
        auto& c = DESIGN_IN(cboVersion, Picture1);
        c.style = forms::kDropDownList;
        c.items = {"Version 1 Tags", "Version 2 Tags"};
        c.Move(0, 0, 1900, 315);
    }
    {
        auto& c = DESIGN(SB1);
        c.panels = {{"", "", 3000, false}, {"File", "", 1440, true}};
    }
    {
        auto& c = DESIGN(picContainer);
        c.borderStyle = forms::kBorderNone;
        c.Move(0, 450, 12000, 7500);
    }

    // The folder pane.
    {
        auto& c = DESIGN_IN(picFolderContainer, picContainer);
        c.borderStyle = forms::kBorderNone;
        c.Move(0, 0, 3000, 7400);
    }
    {
        auto& c = DESIGN_IN(ToolbarHost2, picFolderContainer);
        c.Move(2640, 0, 330, 330);
    }
    {
        auto& c = DESIGN_IN(FolderHeader, picFolderContainer);
        c.caption = " Folders";
        c.useMnemonic = false;
        c.Move(0, 45, 3000, 255);
    }
    {
        auto& c = DESIGN_IN(FTVWFiles, picFolderContainer);
        c.Move(0, 330, 3000, 7000);
    }
    {
        auto& c = DESIGN_IN(imgSplitter, picContainer);
        c.mousePointer = forms::kPointerSizeWE;
        c.Move(3000, 0, 70, 7400);
    }
    {
        auto& c = DESIGN_IN(picSplitter, picContainer);
        c.borderStyle = forms::kBorderNone;
        c.backColor = RGB(128, 128, 128);
        c.visible = false;
        c.Move(3000, 0, 35, 7400);
    }

    // The list pane.
    {
        auto& c = DESIGN_IN(picLVContainer, picContainer);
        c.borderStyle = forms::kBorderNone;
        c.Move(3070, 0, 4300, 5000);
    }
    {
        auto& c = DESIGN_IN(lvFiles, picLVContainer);
        c.view = platform::kViewReport;
        c.hideSelection = false;
        c.Move(0, 0, 4300, 5000);
    }
    {
        auto& c = DESIGN_IN(imgSplitterH, picContainer);
        c.mousePointer = forms::kPointerSizeNS;
        c.Move(3070, 5000, 4300, 60);
    }
    {
        auto& c = DESIGN_IN(picSplitterH, picContainer);
        c.borderStyle = forms::kBorderNone;
        c.backColor = RGB(128, 128, 128);
        c.visible = false;
        c.Move(3070, 5000, 4300, 45);
    }

    // The tip pane.
    {
        auto& c = DESIGN_IN(picQEditContainer, picContainer);
        c.borderStyle = forms::kBorderNone;
        c.backColor = RGB(255, 255, 255);
        c.Move(3070, 5090, 4300, 1500);
    }
    {
        auto& c = DESIGN_IN(ToolbarHost1, picQEditContainer);
        c.Move(15, 30, 330, 330);
    }
    {
        auto& c = DESIGN_IN(TipBarHeader, picQEditContainer);
        c.caption = "";
        c.Move(0, 0, 390, 1500);
    }
    {
        auto& c = DESIGN_IN(HTMLLabel, picQEditContainer);
        c.appearance = 0;
        c.borderStyle = 0;
        c.backColor = RGB(255, 255, 255);
        c.defaultFontName = "Tahoma";
        c.Move(450, 300, 3400, 1100);
    }
    {
        auto& c = DESIGN_IN(lblMoreTips, picQEditContainer);
        c.caption = "More Tips";
        c.Move(3300, 45, 1000, 255);
    }

    // The tag side bar.
    {
        auto& c = DESIGN_IN(picSideBar, picContainer);
        c.borderStyle = forms::kBorderNone;
        c.Move(7370, 0, mainwindow::kSideBarOpen, 7400);
    }
    {
        auto& c = DESIGN_IN(FlatBoxContainer1, picSideBar);
        c.Move(0, 0, mainwindow::kSideBarOpen, 7400);
    }
    {
        auto& c = DESIGN_IN(ToolbarHost4, FlatBoxContainer1);
        c.Move(45, 45, 345, 330);
    }
    {
        auto& c = DESIGN_IN(Picture3, FlatBoxContainer1);
        c.borderStyle = forms::kBorderNone;
        c.Move(60, 420, 4500, 6600);
    }
    {
        auto& c = DESIGN_IN(Picture4, Picture3);
        c.borderStyle = forms::kBorderNone;
        c.visible = false;
        c.Move(0, 7 * kRowHeight, 4500, 5 * kV2RowHeight);
    }
    for (const tags::FieldInfo& field : tags::Fields()) {
        const int i = field.index;
        forms::Container& in = field.v2Only ? static_cast<forms::Container&>(Picture4) : Picture3;
        const int top = field.v2Only ? 30 + (i - tags::kV1FieldCount) * kV2RowHeight : 60 + i * kRowHeight;
        {
            auto& c = Designed(lblField.Add(i), "lblField", &in);
            c.caption = field.label;
            c.Move(0, top + 45, 1080, 255);
        }
        {
            auto& c = Designed(Toolbar4.Add(i), "Toolbar4", &in);
            c.buttons = {{"Field" + std::to_string(i), "\x95", 1, 0, 0, "Write this field into every ticked file"}};
            c.Move(1095, top - 15, 360, 345);
        }
        if (i == tags::kGenreField) {
            auto& c = DESIGN_IN(cboGenre, in);
            c.style = forms::kDropDownCombo;
            c.Move(1470, top, 2820, 315);
            continue;
        }
        auto& c = Designed(txtField.Add(i), "txtField", &in);
        c.Move(1470, top, 2820, 300);
    }
    {
        auto& c = DESIGN_IN(Picture2, Picture3);
        c.borderStyle = forms::kBorderNone;
        c.Move(0, 7 * kRowHeight, 4500, 1800);
    }
    const char* const kButtons[3] = {"Update...", "Sync Versions", "Options..."};
    for (int i = 0; i < 3; ++i) {
        auto& c = Designed(Command2.Add(i), "Command2", &Picture2);
        c.caption = kButtons[i];
        if (i == 0) c.toolTipText = "Perform the ID3 tag update";
        c.Move(i * 1440, 90, 1380, 360);
    }
    {
        auto& c = DESIGN_IN(chkUpdateBoth, Picture2);
        c.caption = "Apply Update to Both Tag Versions";
        c.Move(0, 600, 4300, 255);
    }
    {
        auto& c = DESIGN_IN(chkEllipsis, Picture2);
        c.caption = "Ellipsis (...) Long Version 1 Fields";
        c.Move(0, 900, 4300, 255);
    }
    DesignPart2();
}

}  // namespace corvella
