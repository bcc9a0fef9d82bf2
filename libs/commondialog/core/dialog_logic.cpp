#include "libs/commondialog/core/dialog_logic.h"

#include <cmath>

namespace corvella::commondialog {

using namespace flags;

namespace {
uint32_t If(bool on, uint32_t bits) { return on ? bits : 0; }
}  // namespace

uint32_t OpenFlags(const OpenChoices& c) {
    uint32_t f = If(c.read_only, kOfnReadOnly) | If(c.hide_read_only, kOfnHideReadOnly) |
                 If(c.file_must_exist, kOfnFileMustExist) |
                 If(c.multi_select, kOfnAllowMultiSelect | kOfnExplorer);
    f |= If((c.caller_flags & kOfnEnableTemplate) && c.has_template, kOfnEnableTemplate);
    return f | If(c.hook, kOfnEnableHook | kOfnExplorer);
}

uint32_t SaveFlags(const SaveChoices& c) {
    uint32_t f = kOfnHideReadOnly | If(c.overwrite_prompt, kOfnOverwritePrompt);
    f |= If((c.caller_flags & kOfnEnableTemplate) && c.has_template, kOfnEnableTemplate);
    return f | If(c.hook, kOfnEnableHook | kOfnExplorer);
}

uint32_t ColorFlags(bool any_color, bool full_open, bool disable_full_open, bool hook) {
    uint32_t f = kCcRgbInit | (any_color ? kCcAnyColor : kCcSolidColor) | If(full_open, kCcFullOpen) |
                 If(disable_full_open, kCcPreventFullOpen);
    f &= ~(kCcEnableHook | kCcEnableTemplate);
    return f | If(hook, kCcEnableHook);
}

uint32_t FontFlags(uint32_t caller_flags, bool has_printer_dc, uint32_t color, long min_size,
                   long max_size, bool hook) {
    uint32_t f = caller_flags | If(has_printer_dc, kCfPrinterFonts);
    if (!(f & kCfPrinterFonts)) f |= kCfScreenFonts;
    f |= If(color != 0, kCfEffects) | If(min_size != 0 || max_size != 0, kCfLimitSize);
    f &= ~(kCfEnableHook | kCfEnableTemplate | kCfApply);
    f |= kCfInitToLogFont;
    return f | If(hook, kCfEnableHook);
}

uint32_t PrintFlags(const PrintChoices& c) {
    uint32_t f = c.caller_flags | If(c.disable_page_numbers, kPdNoPageNums) |
                 If(c.disable_print_to_file, kPdDisablePrintToFile) |
                 If(c.disable_selection, kPdNoSelection) | If(c.print_to_file, kPdPrintToFile) |
                 If(!c.show_print_to_file, kPdHidePrintToFile) | If(c.prevent_warning, kPdNoWarning) |
                 If(c.collate, kPdCollate) | kPdUseDevModeCopiesAndCollate | kPdReturnDc;
    f |= If(c.print_range == 1, kPdPageNums) | If(c.print_range == 2, kPdSelection);
    f &= ~(kPdEnablePrintHook | kPdEnablePrintTemplate | kPdEnableSetupHook | kPdEnableSetupTemplate);
    if (c.hook) f |= (f & kPdPrintSetup) ? kPdEnableSetupHook : kPdEnablePrintHook;
    return f;
}

uint32_t PageSetupFlags(const PageSetupChoices& c) {
    return If(c.disable_margins, kPsdDisableMargins) |
           If(c.disable_orientation, kPsdDisableOrientation) |
           If(c.disable_paper, kPsdDisablePaper) | If(c.disable_printer, kPsdDisablePrinter) |
           (c.units == 0 ? kPsdInThousandthsOfInches : kPsdInHundredthsOfMillimeters) |
           If(c.hook, kPsdEnablePageSetupHook);
}

long PrintRangeOf(uint32_t returned_flags) {
    if (returned_flags & kPdPageNums) return 1;
    if (returned_flags & kPdSelection) return 2;
    return 0;
}

std::string ConvertFilter(const std::string& filter) {
    std::string out = filter.substr(0, 32767);
    for (char& ch : out)
        if (ch == '|' || ch == ':') ch = '\0';
    return out + std::string(2, '\0');
}

std::string ChosenFilterPair(const std::string& converted, long index) {
    // The pairs end where the two appended NULs begin.
    size_t end = converted.size();
    if (end >= 2 && converted[end - 1] == '\0' && converted[end - 2] == '\0') end -= 2;
    size_t pos = 0;
    std::string pair;
    for (long i = 0; i < index; ++i) {
        const size_t first = converted.find('\0', pos);
        const size_t second = first == std::string::npos ? first : converted.find('\0', first + 1);
        if (pos >= end || second == std::string::npos || second > end) return std::string();
        pair = converted.substr(pos, second - pos);
        pos = second + 1;
    }
    return pair;
}

void ParseMultiFileName(const std::string& filename, std::string& dir,
                        std::vector<std::string>& files, long& count) {
    const size_t list_end = filename.find(std::string(2, '\0'));
    if (list_end != std::string::npos) {
        // The folder first, then the names; the text after the last NUL is
        // always a name, so one chosen file is a full path with no folder.
        std::string rest = filename.substr(0, list_end);
        auto add = [&](const std::string& name) {
            ++count;
            files.resize(static_cast<size_t>(count > 0 ? count : 0));
            if (count > 0) files[static_cast<size_t>(count - 1)] = name;
        };
        for (size_t nul = rest.find('\0'); nul != std::string::npos; nul = rest.find('\0')) {
            const std::string piece = rest.substr(0, nul);
            if (dir.empty()) dir = piece;
            else add(piece);
            rest.erase(0, nul + 1);
        }
        add(rest);
        return;
    }
    count = 1;
    const size_t slash = filename.rfind('\\');
    if (slash == std::string::npos || slash == 0) {
        dir.clear();
        files.assign(1, filename);
    } else {
        dir = filename.substr(0, slash);
        files.assign(1, filename.substr(slash + 1));
    }
}

std::optional<std::string> PadToBuffer(const std::string& text, size_t size) {
    if (text.size() >= size) return std::nullopt;
    return text + std::string(size - text.size(), '\0');
}

std::string CutAtNul(const std::string& buffer) { return buffer.substr(0, buffer.find('\0')); }

// The run-time's conversions round half to even, as lrint does by default.
long FontHeight(double points, double twips_per_pixel_y) {
    return -std::lrint(points * 20.0 / twips_per_pixel_y);
}

long PointSizeTenths(double points) { return std::lrint(points * 10.0); }

double PointsFromTenths(long tenths) { return tenths / 10.0; }

std::array<char, 32> FaceNameField(const std::string& name) {
    std::array<char, 32> field{};
    name.copy(field.data(), field.size() - 1);
    return field;
}

namespace {
double MarginFactor(long units) { return units == 0 ? 1000.0 : 100.0; }
}  // namespace

long MarginToDialog(float margin, long units) {
    return std::lrint(static_cast<double>(margin) * MarginFactor(units));
}

float MarginFromDialog(long value, long units) {
    return static_cast<float>(value / MarginFactor(units));
}

long DialogErrorNumber(uint32_t extended_error, bool cancel_error) {
    if (extended_error != 0) return kErrBaseCommonDialog | static_cast<long>(extended_error);
    return cancel_error ? kErrCancel : 0;
}

long HelpErrorNumber(uint32_t last_error) {
    return last_error != 0 ? static_cast<long>(last_error) : kErrInvalidArgument;
}

bool IsRefusedHelpCommand(long command) { return command == 0x201 || command == 0x203; }

std::array<unsigned char, 26> HelpWinInfo(long x, long y, long dx, long dy, long window_type) {
    std::array<unsigned char, 26> record{};
    const long fields[] = {26, x, y, dx, dy, window_type};
    for (size_t i = 0; i < 6; ++i) {
        const auto v = static_cast<uint32_t>(fields[i]);
        for (size_t b = 0; b < 4; ++b) record[i * 4 + b] = static_cast<unsigned char>(v >> (8 * b));
    }
    return record;  // the member name stays empty
}

std::optional<std::pair<long, long>> CentredOrigin(const Rect& dialog, const Rect& target) {
    if (target.right <= 0 || target.bottom <= 0) return std::nullopt;
    return std::make_pair(target.left + (target.Width() - dialog.Width()) / 2,
                          target.top + (target.Height() - dialog.Height()) / 2);
}

}  // namespace corvella::commondialog
