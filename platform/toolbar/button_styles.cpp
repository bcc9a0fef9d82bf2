#include "platform/toolbar/button_styles.h"

namespace corvella::platform {

namespace {

constexpr int32_t kSeparatorBit = 0x01;
constexpr int32_t kCheckBit = 0x02;
constexpr int32_t kGroupBit = 0x04;
constexpr int32_t kDropDownBit = 0x08;
constexpr int32_t kAutoSizeBit = 0x10;
constexpr int32_t kWholeDropDownBit = 0x80;

struct CommonStyle {
    int32_t style;
    ButtonBehaviour behaviour;
};

constexpr CommonStyle kCommonStyles[] = {
    {0, {ButtonKind::kPush, false, false}},
    {1, {ButtonKind::kCheck, false, false}},
    {2, {ButtonKind::kCheck, false, true}},
    {3, {ButtonKind::kSeparator, false, false}},
    {4, {ButtonKind::kSeparator, false, false}},
    {5, {ButtonKind::kSplit, false, false}},
};

}  // namespace

ButtonBehaviour BandoletButton(int32_t style) {
    ButtonBehaviour b;
    b.autoSize = (style & kAutoSizeBit) != 0;
    if ((style & kSeparatorBit) != 0) {
        b.kind = ButtonKind::kSeparator;
        b.autoSize = false;
    } else if ((style & (kDropDownBit | kWholeDropDownBit)) != 0) {
        b.kind = ButtonKind::kSplit;
    } else if ((style & kCheckBit) != 0) {
        b.kind = b.autoSize ? ButtonKind::kCheck : ButtonKind::kHeldCheck;
        b.group = (style & kGroupBit) != 0;
    }
    return b;
}

ButtonBehaviour CommonToolbarButton(int32_t style) {
    for (const CommonStyle& s : kCommonStyles)
        if (s.style == style) return s.behaviour;
    return {};
}

}  // namespace corvella::platform
