#include "app/tools/case/win32/frm_case.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmCase::Design() {
    forms::DesignDialog(*this, "frmCase", "Tag Case", 4560, 4440);
    {
        auto& c = DESIGN(Label1);
        c.caption = "Convert Case to:";
        c.Move(120, 180, 1500, 255);
    }
    {
        auto& c = DESIGN(Combo1);
        c.style = forms::kDropDownList;
        c.items = {"Initial Case", "Upper Case", "Lower Case"};
        c.Move(1680, 120, 2655, 315);
    }
    {
        auto& c = DESIGN(Combo2);
        c.style = forms::kDropDownList;
        c.items = {"Version 1 Tags", "Version 2 Tags", "Both Tag Versions"};
        c.Move(1680, 540, 2655, 315);
    }
    {
        auto& c = DESIGN(Label2);
        c.caption = "Apply To:";
        c.Move(120, 1020, 1335, 255);
    }
    {
        auto& c = DESIGN(Combo3);
        c.style = forms::kDropDownList;
        c.items = {"Selected File", "All Files"};
        c.Move(1680, 960, 2655, 315);
    }
    {
        auto& c = DESIGN(Label3);
        c.caption = "Tag Fields:";
        c.Move(120, 1440, 1335, 255);
    }
    // Two columns of five; Year and Track exist but lie beyond the right
    // edge, hidden, so that no key gives them the focus the user cannot see.
    struct Box {
        const char* caption;
        int left, top;
    };
    const Box boxes[tags::kFieldCount] = {
        {"Title", 240, 1740},     {"Artist", 240, 2040},         {"Album", 240, 2340},
        {"Year", 9000, 1740},     {"Comments", 240, 2640},       {"Genre", 240, 2940},
        {"Track", 9000, 2040},    {"Composer", 2280, 1740},      {"Original Artist", 2280, 2040},
        {"Copyright", 2280, 2340}, {"Web Link", 2280, 2640},     {"Encoded By", 2280, 2940},
    };
    for (int i = 0; i < tags::kFieldCount; ++i) {
        auto& c = Designed(Check1[i], "Check1");
        c.index = i;
        c.caption = boxes[i].caption;
        c.visible = boxes[i].left < width;
        c.Move(boxes[i].left, boxes[i].top, 1935, 255);
    }
    const char* buttons[2] = {"&Update", "&Cancel"};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(cmdMain[i], "cmdMain");
        c.index = i;
        c.caption = buttons[i];
        c.enabled = i != 0;
        c.isDefault = i == 0;
        c.cancel = i == 1;
        c.Move(1800 + i * 1320, 3480, 1200, 375);
    }
}

}  // namespace corvella
