#include "libs/wizard/core/wizard_logic.h"

#include "libs/common/text/text_primitives.h"

namespace corvella::wizard {

EMoveDirection DirectionOf(int to, int from) {
    return to == from ? Still : to > from ? Forward : BackWard;
}

std::string PageInfoText(int page, int count) {
    return "Page " + std::to_string(page) + " of " + std::to_string(count);
}

bool ButtonLefts(int helpPosition, int sw, int w, std::array<int, 4>& lefts) {
    // Per help position: Cancel, Next, Back, Help as (slot, gap) pairs; a
    // slot of 0 is the fixed left margin of 120.
    struct Slot {
        int n, gap;
    };
    static const Slot kTable[4][4] = {
        {{1, 120}, {2, 120}, {3, 80}, {0, 0}},    // Left
        {{2, 120}, {3, 120}, {4, 90}, {1, 120}},  // Right
        {{1, 120}, {2, 120}, {3, 80}, {4, 90}},   // Middle
        {{1, 120}, {3, 120}, {4, 90}, {2, 120}},  // Between
    };
    if (helpPosition < 0 || helpPosition > 3) return false;
    static const EButtons kOrder[4] = {ButtonCancel, ButtonNext, ButtonBack, ButtonHelp};
    for (int i = 0; i < 4; ++i) {
        const Slot s = kTable[helpPosition][i];
        lefts[kOrder[i]] = s.n == 0 ? 120 : sw - s.n * (w + s.gap);
    }
    return true;
}

int RuleStart(const std::string& description, int labelWidth, int labelLeft) {
    return description.empty() ? 0 : labelWidth - labelLeft + 200;
}

int PageHeight(int parentHeight, int barsHeight) {
    const int h = parentHeight - barsHeight;
    return h < 0 ? 0 : h;
}

StyleParts PartsOf(int style) {
    switch (style) {
    case Banner: return {false, true, true, true};
    case Splash: return {true, false, false, false};
    default: return {false, false, false, false};
    }
}

bool SameKeyText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

}  // namespace corvella::wizard
