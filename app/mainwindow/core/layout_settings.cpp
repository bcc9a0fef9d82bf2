#include "app/mainwindow/core/layout_settings.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>

#include "app/foundation/settings.h"

namespace corvella::mainwindow {

const char kLayoutSection[] = "Software\\Corvella\\Layout\\Main";
const char kFieldsWidthSection[] = "Software\\Corvella\\Layout\\Main\\Fields Width";
const char kFieldsPositionSection[] = "Software\\Corvella\\Layout\\Main\\Fields Position";
const char kOptionsSection[] = "Software\\Corvella\\Options";

namespace {

constexpr int32_t kHkcu = static_cast<int32_t>(0x80000001u);

const std::vector<LayoutValue> kValues = {
    {"Left", StoredAs::kSingle},          {"Top", StoredAs::kSingle},
    {"Width", StoredAs::kSingle},         {"Height", StoredAs::kSingle},
    {"SplitterV", StoredAs::kSingle},     {"SplitterH", StoredAs::kSingle},
    {"Folder", StoredAs::kString},        {"View Mode", StoredAs::kLong},
    {"Show Tip Bar", StoredAs::kBoolean}, {"Show Status Bar", StoredAs::kBoolean},
    {"Show Folder Bar", StoredAs::kBoolean}, {"Show Tag Bar", StoredAs::kBoolean},
    {"Recursive Searching", StoredAs::kBoolean}, {"Tag Version", StoredAs::kLong},
    {"Sort Direction", StoredAs::kLong},  {"Sort Column", StoredAs::kLong},
    {"Ellipsis", StoredAs::kInteger},     {"Update Both", StoredAs::kInteger},
};

// One read that cannot end the load: a store error gives the default.
template <class T>
T Guarded(const std::function<T()>& read, T fallback) {
    try {
        return read();
    } catch (const std::exception&) {
        return fallback;
    }
}

int32_t ReadNumber(SettingsStore& store, const char* section, const char* name, int32_t def,
                   StoredAs type) {
    return Guarded<int32_t>(
        [&] {
            Variant d = type == StoredAs::kLong      ? Variant::Long(def)
                        : type == StoredAs::kInteger ? Variant::Integer(static_cast<int16_t>(def))
                                                     : Variant::Double(def);
            Variant v = cRegistry(store).GetSetting(kHkcu, section, name, d);
            int32_t out = def;
            return VariantToLong(v, out) ? out : def;
        },
        def);
}

bool ReadFlag(SettingsStore& store, const char* section, const char* name, bool def) {
    return Guarded<bool>([&] { return GetSettingBool(store, section, name, def); }, def);
}

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

const std::vector<LayoutValue>& LayoutValues() { return kValues; }

MainLayout ReadMainLayout(SettingsStore& store, const LayoutLimits& limits) {
    const MainLayout& d = limits.defaults;
    MainLayout m = d;
    // A size that cannot be a window (a negative height after a maximised
    // close, say) gives the design size; a larger one than the work area
    // shrinks to it.
    auto size = [&](const char* name, int32_t def, int32_t least, int32_t most) {
        int32_t v = ReadNumber(store, kLayoutSection, name, def, StoredAs::kSingle);
        if (v < least) return def;
        return most > 0 ? std::min(v, std::max(most, least)) : v;
    };
    m.width = size("Width", d.width, limits.minWidth, limits.workWidth);
    m.height = size("Height", d.height, limits.minHeight, limits.workHeight);
    // The window keeps at least its title bar on the work area.
    m.left = ReadNumber(store, kLayoutSection, "Left", d.left, StoredAs::kLong);
    m.top = ReadNumber(store, kLayoutSection, "Top", d.top, StoredAs::kLong);
    if (limits.workWidth > 0) m.left = Clamp(m.left, -m.width / 2, limits.workWidth - m.width / 2);
    if (limits.workHeight > 0) m.top = Clamp(m.top, 0, limits.workHeight - 300);
    m.splitterV = ReadNumber(store, kLayoutSection, "SplitterV", d.splitterV, StoredAs::kSingle);
    m.splitterH = ReadNumber(store, kLayoutSection, "SplitterH", d.splitterH, StoredAs::kSingle);
    if (m.splitterV < 0) m.splitterV = d.splitterV;
    if (m.splitterH < 0) m.splitterH = d.splitterH;
    m.folder = Guarded<std::string>(
        [&] { return GetSettingText(store, kLayoutSection, "Folder", d.folder); }, d.folder);
    if (m.folder.empty()) m.folder = d.folder;
    m.recursive = ReadFlag(store, kLayoutSection, "Recursive Searching", d.recursive);
    m.tagVersion = ReadNumber(store, kLayoutSection, "Tag Version", d.tagVersion, StoredAs::kLong);
    if (m.tagVersion != 0 && m.tagVersion != 1) m.tagVersion = d.tagVersion;
    m.viewMode = ReadNumber(store, kLayoutSection, "View Mode", d.viewMode, StoredAs::kLong);
    if (m.viewMode < 0 || m.viewMode > 3) m.viewMode = d.viewMode;
    m.showFolderBar = ReadFlag(store, kLayoutSection, "Show Folder Bar", d.showFolderBar);
    m.showStatusBar = ReadFlag(store, kLayoutSection, "Show Status Bar", d.showStatusBar);
    m.showTipBar = ReadFlag(store, kLayoutSection, "Show Tip Bar", d.showTipBar);
    m.sortColumn = ReadNumber(store, kLayoutSection, "Sort Column", d.sortColumn, StoredAs::kInteger);
    if (m.sortColumn < 0 || m.sortColumn >= limits.columnCount) m.sortColumn = d.sortColumn;
    m.sortDirection =
        ReadNumber(store, kLayoutSection, "Sort Direction", d.sortDirection, StoredAs::kInteger);
    if (m.sortDirection != 0 && m.sortDirection != 1) m.sortDirection = d.sortDirection;
    m.showTagBar = ReadFlag(store, kLayoutSection, "Show Tag Bar", d.showTagBar);
    m.ellipsis = Clamp(ReadNumber(store, kLayoutSection, "Ellipsis", d.ellipsis, StoredAs::kLong), 0, 1);
    m.updateBoth =
        Clamp(ReadNumber(store, kLayoutSection, "Update Both", d.updateBoth, StoredAs::kLong), 0, 1);
    return m;
}

void SaveMainLayout(SettingsStore& store, const MainLayout& m, bool normalState) {
    cRegistry reg(store);
    auto put = [&](const char* name, const Variant& v) { reg.SaveSetting(kHkcu, kLayoutSection, name, v); };
    auto integer = [](int32_t v) { return Variant::Integer(static_cast<int16_t>(v)); };
    if (normalState) {
        put("Left", Variant::Double(m.left));
        put("Top", Variant::Double(m.top));
        put("Width", Variant::Double(m.width));
        put("Height", Variant::Double(m.height));
    }
    put("SplitterV", Variant::Double(m.splitterV));
    put("SplitterH", Variant::Double(m.splitterH));
    put("Folder", Variant::String(m.folder));
    put("View Mode", Variant::Long(m.viewMode));
    put("Show Tip Bar", Variant::Boolean(m.showTipBar));
    put("Show Status Bar", Variant::Boolean(m.showStatusBar));
    put("Show Folder Bar", Variant::Boolean(m.showFolderBar));
    put("Show Tag Bar", Variant::Boolean(m.showTagBar));
    put("Recursive Searching", Variant::Boolean(m.recursive));
    put("Tag Version", Variant::Long(m.tagVersion));
    put("Sort Direction", Variant::Long(m.sortDirection));
    put("Sort Column", Variant::Long(m.sortColumn));
    put("Ellipsis", integer(m.ellipsis));
    put("Update Both", integer(m.updateBoth));
}

int32_t ReadColumnWidth(SettingsStore& store, const std::string& header) {
    constexpr int32_t kDefault = 1700;
    int32_t w = Guarded<int32_t>(
        [&] { return GetSettingLong(store, kFieldsWidthSection, header, kDefault); }, kDefault);
    // Wider than any screen, or negative: a value no column can take.
    return w < 0 || w > 200000 ? kDefault : w;
}

std::vector<int32_t> ReadColumnOrder(SettingsStore& store, const std::vector<std::string>& headers) {
    const int32_t n = static_cast<int32_t>(headers.size());
    std::vector<int32_t> order(headers.size());
    for (int32_t i = 0; i < n; ++i) {
        order[i] = Guarded<int32_t>(
            [&] { return GetSettingLong(store, kFieldsPositionSection, headers[i], i); }, i);
    }
    std::vector<int32_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int32_t i = 0; i < n; ++i) {
        if (sorted[i] != i) {
            for (int32_t j = 0; j < n; ++j) order[j] = j;
            break;
        }
    }
    return order;
}

void SaveColumns(SettingsStore& store, const std::vector<std::string>& headers,
                 const std::vector<int32_t>& widths, const std::vector<int32_t>& order) {
    cRegistry reg(store);
    for (size_t i = 0; i < headers.size() && i < widths.size(); ++i)
        reg.SaveSetting(kHkcu, kFieldsWidthSection, headers[i], Variant::Double(widths[i]));
    for (size_t j = 0; j < order.size() && j < headers.size(); ++j)
        reg.SaveSetting(kHkcu, kFieldsPositionSection, headers[j], Variant::Long(order[j]));
}

bool ReadAutoCheck(SettingsStore& store) {
    return Guarded<int32_t>([&] { return GetSettingLong(store, kOptionsSection, "Auto-Check", 1); },
                            1) == 1;
}

}  // namespace corvella::mainwindow
