// What the common-dialog library computes without a window: the flags of
// each dialog kind, filters, file-name lists, font and margin units, error
// numbers and the centring of a dialog over its owner.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvella::commondialog {

// The comdlg32 flag values this library sets or reads.
namespace flags {
constexpr uint32_t kOfnReadOnly = 0x1, kOfnOverwritePrompt = 0x2, kOfnHideReadOnly = 0x4,
                   kOfnEnableHook = 0x20, kOfnEnableTemplate = 0x40, kOfnAllowMultiSelect = 0x200,
                   kOfnFileMustExist = 0x1000, kOfnExplorer = 0x80000;
constexpr uint32_t kCcRgbInit = 0x1, kCcFullOpen = 0x2, kCcPreventFullOpen = 0x4,
                   kCcEnableHook = 0x10, kCcEnableTemplate = 0x20, kCcSolidColor = 0x80,
                   kCcAnyColor = 0x100;
constexpr uint32_t kCfScreenFonts = 0x1, kCfPrinterFonts = 0x2, kCfEnableHook = 0x8,
                   kCfEnableTemplate = 0x10, kCfInitToLogFont = 0x40, kCfEffects = 0x100,
                   kCfApply = 0x200, kCfLimitSize = 0x2000;
constexpr uint32_t kPdSelection = 0x1, kPdPageNums = 0x2, kPdNoSelection = 0x4,
                   kPdNoPageNums = 0x8, kPdCollate = 0x10, kPdPrintToFile = 0x20,
                   kPdPrintSetup = 0x40, kPdNoWarning = 0x80, kPdReturnDc = 0x100,
                   kPdEnablePrintHook = 0x1000, kPdEnableSetupHook = 0x2000,
                   kPdEnablePrintTemplate = 0x4000, kPdEnableSetupTemplate = 0x8000,
                   kPdDisablePrintToFile = 0x80000, kPdHidePrintToFile = 0x100000,
                   kPdUseDevModeCopiesAndCollate = 0x40000;
constexpr uint32_t kPsdInThousandthsOfInches = 0x4, kPsdInHundredthsOfMillimeters = 0x8,
                   kPsdDisableMargins = 0x10, kPsdDisablePrinter = 0x20,
                   kPsdDisableOrientation = 0x100, kPsdDisablePaper = 0x200,
                   kPsdEnablePageSetupHook = 0x2000;
}  // namespace flags

// ---- Flags of each dialog kind ----------------------------------------------
// Each builder takes the caller's choices, keeps none of the caller's hook
// or template bits and adds its own enable-hook flag last, so a hooked dialog
// always calls its hook.

struct OpenChoices {
    bool read_only = false, hide_read_only = false, file_must_exist = false, multi_select = false;
    uint32_t caller_flags = 0;
    bool has_template = false;  // a template module was given (hInstance above 0)
    bool hook = false;
};
uint32_t OpenFlags(const OpenChoices& c);

struct SaveChoices {
    bool overwrite_prompt = false;
    uint32_t caller_flags = 0;
    bool has_template = false;
    bool hook = false;
};
uint32_t SaveFlags(const SaveChoices& c);

uint32_t ColorFlags(bool any_color, bool full_open, bool disable_full_open, bool hook);

// `has_printer_dc`: a printer device context is passed (printer fonts).
uint32_t FontFlags(uint32_t caller_flags, bool has_printer_dc, uint32_t color, long min_size,
                   long max_size, bool hook);

struct PrintChoices {
    uint32_t caller_flags = 0;
    bool disable_page_numbers = false, disable_print_to_file = false, disable_selection = false,
         print_to_file = false, show_print_to_file = true, prevent_warning = false, collate = false;
    long print_range = 0;  // 1 pages, 2 selection
    bool hook = false;
};
uint32_t PrintFlags(const PrintChoices& c);

struct PageSetupChoices {
    bool disable_margins = false, disable_orientation = false, disable_paper = false,
         disable_printer = false;
    long units = 0;  // 0 thousandths of inches, else hundredths of millimetres
    bool hook = false;
};
uint32_t PageSetupFlags(const PageSetupChoices& c);

// Print range from the flags a print dialog returned: 1 pages, 2 selection, 0 all.
long PrintRangeOf(uint32_t returned_flags);

// ---- Filters and file names -------------------------------------------------

// "Music (*.mp3)|*.mp3" as the dialog wants it: every "|" and ":" a NUL, at
// most 32767 characters taken, two NULs after.
std::string ConvertFilter(const std::string& filter);
// The `index`-th (1-based) "description NUL pattern" pair of a converted
// filter; "" when there are fewer pairs.
std::string ChosenFilterPair(const std::string& converted, long index);

// Splits a file dialog's result into a folder and file names. `files` and
// `count` continue from the caller's values for a multi-selection.
void ParseMultiFileName(const std::string& filename, std::string& dir,
                        std::vector<std::string>& files, long& count);

// `text` NUL-padded to a buffer of `size` characters; nullopt when it does
// not fit with its terminator (the caller raises invalid-argument).
std::optional<std::string> PadToBuffer(const std::string& text, size_t size);
std::string CutAtNul(const std::string& buffer);

// The file buffer's size in characters for the open and save dialogs.
constexpr size_t kFileBuffer = 260, kMultiSelectBuffer = 8192;

// ---- Fonts, margins ---------------------------------------------------------

// LOGFONT height of a font of `points` on a screen of `twips_per_pixel_y`.
long FontHeight(double points, double twips_per_pixel_y);
// CHOOSEFONT's iPointSize (tenths of a point) and back.
long PointSizeTenths(double points);
double PointsFromTenths(long tenths);
// The face name as the 32-byte LOGFONT field: cut at 31 bytes, terminated.
std::array<char, 32> FaceNameField(const std::string& name);

// Page-setup margins: user units to the dialog's and back.
long MarginToDialog(float margin, long units);
float MarginFromDialog(long value, long units);

// ---- Errors -----------------------------------------------------------------

constexpr long kErrCancel = 20001;          // "User selected cancel."
constexpr long kErrBaseCommonDialog = 13450;
constexpr long kErrBadHelpCommand = 13705;  // "Invalid WinHelp Command Passed to ShowHelp function."
constexpr long kErrInvalidArgument = 5;     // the run-time's "Invalid procedure call or argument"

// The error a failed dialog call raises; 0 for none (a cancel without
// CancelError).
long DialogErrorNumber(uint32_t extended_error, bool cancel_error);
// ShowHelp's error for a failed WinHelp: the system error, and never 0
// (which reads as success).
long HelpErrorNumber(uint32_t last_error);
// HELP_MULTIKEY and HELP_SETWINPOS are refused by ShowHelp.
bool IsRefusedHelpCommand(long command);
// The 26-byte HELPWININFO record of SetHelpPosition.
std::array<unsigned char, 26> HelpWinInfo(long x, long y, long dx, long dy, long window_type);

// ---- Centring -----------------------------------------------------------------

struct Rect {
    long left = 0, top = 0, right = 0, bottom = 0;
    long Width() const { return right - left; }
    long Height() const { return bottom - top; }
};
// Where the dialog's top-left corner goes to centre it on `target`; nullopt
// when the target is empty (its right or bottom not above 0).
std::optional<std::pair<long, long>> CentredOrigin(const Rect& dialog, const Rect& target);

}  // namespace corvella::commondialog
