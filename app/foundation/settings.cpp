#include "app/foundation/settings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/foundation/text_helpers.h"
#include "libs/common/numeric/rounding.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {

const char kSettingsRoot[] = "Software\\Corvella";
const char kCustomFieldsSection[] = "Software\\Corvella\\Custom Fields";
const char kSettingsRootFullPath[] = "HKEY_CURRENT_USER\\Software\\Corvella";
const char kRegistryErrorSource[] = "Corvella.m_Registryistry";

namespace {

const char kApplicationDefinedError[] = "Application-defined or object-defined error";

std::string Decimal(int32_t v) { return std::to_string(v); }

// Text of a string value: the data without its terminating zero. A value
// stored without one (by another program) keeps its last character.
std::string TextOfData(const std::vector<uint8_t>& data) {
    size_t n = data.size();
    if (n > 0 && data[n - 1] == 0) --n;
    return std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
}

uint32_t DwordOfData(const std::vector<uint8_t>& data) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4 && i < data.size(); ++i) v |= static_cast<uint32_t>(data[i]) << (8 * i);
    return v;
}

std::vector<uint8_t> DataOfDword(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

// A "%" with a further "%" at least two characters after it, so that a
// name can stand between them.
bool LooksExpandable(const std::string& text) {
    size_t first = text.find('%');
    return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}

bool IsMissing(const Variant& v) {
    return v.IsEmpty() || (v.kind() == Variant::Kind::kString && v.AsString().empty());
}

bool IsCustomFields(const std::string& subPath) {
    // The registry matches key names without regard to case, so the spared
    // key is recognised the same way.
    return EqualsNoCase(subPath, kCustomFieldsSection);
}

// Plain decimal numbers only ("12", "-3.5", "1E+3"); no hex, no "inf".
bool ParseNumber(const std::string& raw, double& out) {
    std::string s = TrimBlanks(raw);
    if (s.empty()) return false;
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    out = std::strtod(s.c_str(), nullptr);
    return std::isfinite(out);
}

bool DoubleToLong(double d, int32_t& out) {
    if (!(d >= -2147483648.5 && d < 2147483647.5)) return false;
    out = RoundHalfEven(d);
    return true;
}

int32_t ParseRootHandle(const std::string& root) {
    std::string s = TrimBlanks(root);
    char* end = nullptr;
    long long v = s.empty() ? 0 : std::strtoll(s.c_str(), &end, 10);
    if (s.empty() || end == nullptr || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        throw RegistryError(kErrTypeMismatch, "Type mismatch");
    return static_cast<int32_t>(v);
}

}  // namespace

std::string Variant::Text() const {
    switch (kind()) {
    case Kind::kEmpty: return "";
    case Kind::kInteger: return std::to_string(AsInteger());
    case Kind::kLong: return std::to_string(AsLong());
    case Kind::kBoolean: return AsBoolean() ? "True" : "False";
    case Kind::kDouble: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15G", AsDouble());
        return buf;
    }
    case Kind::kString: return AsString();
    case Kind::kBytes: return std::string(AsBytes().begin(), AsBytes().end());
    }
    return "";
}

RegistryError::RegistryError(int32_t number, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(kRegistryErrorSource),
      description_(std::move(description)) {}

// ---- GetSetting / SaveSetting ----------------------------------------------

namespace {

// The type rule of the shortcuts: Long -> REG_DWORD, a Boolean as its text,
// everything else as REG_SZ text.
void ApplyTypeRule(cRegistry& reg, Variant& value) {
    if (value.kind() == Variant::Kind::kLong) {
        reg.SetValueType(kRegDword);
    } else {
        reg.SetValueType(kRegSz);
        if (value.kind() == Variant::Kind::kBoolean) value = Variant::String(value.Text());
    }
}

}  // namespace

Variant cRegistry::GetSetting(int32_t hKey, const std::string& section, const std::string& key,
                              const Variant& defaultValue) {
    cRegistry reg(store_);
    reg.SetClassKey(hKey);
    reg.SetSectionKey(section);
    reg.SetValueKey(key);
    Variant stored = reg.Value();
    if (!IsMissing(stored)) return stored;

    Variant value = defaultValue;
    ApplyTypeRule(reg, value);
    reg.SetValue(value);
    return reg.Value();
}

void cRegistry::SaveSetting(int32_t hKey, const std::string& section, const std::string& key,
                            const Variant& value) {
    cRegistry reg(store_);
    reg.SetClassKey(hKey);
    reg.SetSectionKey(section);
    reg.SetValueKey(key);
    Variant v = value;
    ApplyTypeRule(reg, v);
    reg.SetValue(v);
}

// ---- Keys --------------------------------------------------------------------

bool cRegistry::KeyExists() { return store_.KeyExists(classKey_, sectionKey_); }

bool cRegistry::CreateKey() {
    if (!store_.CreateKey(classKey_, sectionKey_))
        throw RegistryError(kErrRegistry, "Failed to create registry Key: '" + sectionKey_);
    return true;
}

bool cRegistry::DeleteKey() {
    if (!store_.DeleteKey(classKey_, sectionKey_))
        throw RegistryError(kErrRegistry, "Failed to delete registry Key: '" + Decimal(classKey_) +
                                              "',Section: '" + sectionKey_);
    return true;
}

bool cRegistry::DeleteValue() {
    switch (store_.DeleteValue(classKey_, sectionKey_, valueKey_)) {
    case StoreResult::kOk:
        return true;
    case StoreResult::kNoKey:
        throw RegistryError(kErrRegistry, "Failed to open key '" + Decimal(classKey_) +
                                              "',Section: '" + sectionKey_ + "' for delete access");
    case StoreResult::kFailed:
        break;
    }
    throw RegistryError(kErrRegistry, "Failed to delete registry Key: '" + Decimal(classKey_) +
                                          "',Section: '" + sectionKey_ + "',Key: '" + valueKey_);
}

// ---- Values ------------------------------------------------------------------

Variant cRegistry::Value() {
    int32_t type = kRegNone;
    std::vector<uint8_t> data;
    if (!store_.QueryValue(classKey_, sectionKey_, valueKey_, type, data)) return default_;
    valueType_ = type;
    switch (type) {
    case kRegSz:
    case kRegMultiSz:
        return Variant::String(TextOfData(data));
    case kRegExpandSz:
        return Variant::String(store_.ExpandEnvironment(TextOfData(data)));
    case kRegDword:
        return Variant::Long(static_cast<int32_t>(DwordOfData(data)));
    case kRegDwordBigEndian: {
        uint32_t v = DwordOfData(data);
        v = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
        return Variant::Long(static_cast<int32_t>(v));
    }
    default:
        // Exactly the stored bytes, so that a value read and written back
        // stays the same length.
        return Variant::FromBytes(std::move(data));
    }
}

void cRegistry::SetValue(const Variant& value) {
    const std::string failure = "Failed to set registry value Key: '" + Decimal(classKey_) +
                                "',Section: '" + sectionKey_ + "',Key: '" + valueKey_ +
                                "' to value: '" + value.Text() + "'";
    int32_t type = kRegNone;
    std::vector<uint8_t> data;
    bool writable = true;
    bool badBinary = false;
    switch (valueType_) {
    case kRegSz:
    case kRegExpandSz: {
        std::string text = value.Text();
        type = LooksExpandable(text) ? kRegExpandSz : kRegSz;
        data.assign(text.begin(), text.end());
        data.push_back(0);
        break;
    }
    case kRegBinary:
        if (value.kind() == Variant::Kind::kBytes) {
            type = kRegBinary;
            data = value.AsBytes();
        } else {
            badBinary = true;
        }
        break;
    case kRegDword:
    case kRegDwordBigEndian:
        type = kRegDword;
        if (value.kind() == Variant::Kind::kLong) {
            data = DataOfDword(static_cast<uint32_t>(value.AsLong()));
        } else if (value.kind() == Variant::Kind::kInteger) {
            data = DataOfDword(static_cast<uint32_t>(static_cast<int32_t>(value.AsInteger())));
        } else {
            // Only integers go into a DWORD; anything else is skipped
            // without an error, once the key is there.
            if (!store_.CreateKey(classKey_, sectionKey_)) throw RegistryError(kErrRegistry, failure);
            return;
        }
        break;
    default:
        writable = false;
        break;
    }

    if (badBinary || !writable) {
        // The key is created first either way; only then does the value fail.
        if (!store_.CreateKey(classKey_, sectionKey_)) throw RegistryError(kErrRegistry, failure);
        if (badBinary) throw RegistryError(kErrRegistry, kApplicationDefinedError);
        throw RegistryError(kErrSetValue, failure);
    }
    switch (store_.SetValue(classKey_, sectionKey_, valueKey_, type, data)) {
    case StoreResult::kOk:
        return;
    case StoreResult::kNoKey:
        throw RegistryError(kErrRegistry, failure);
    case StoreResult::kFailed:
        break;
    }
    throw RegistryError(kErrSetValue, failure);
}

// ---- Enumeration -------------------------------------------------------------

bool cRegistry::EnumerateValues(std::vector<std::string>& values, int32_t& count) {
    values.clear();
    count = 0;
    if (store_.EnumValues(classKey_, sectionKey_, values)) count = static_cast<int32_t>(values.size());
    else values.clear();
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& sections, int32_t& count) {
    sections.clear();
    count = 0;
    if (store_.EnumSubKeys(classKey_, sectionKey_, sections)) {
        // A name is taken up to its first NUL, as the registry returns it.
        for (std::string& s : sections) s = TrimAtNull(s);
        count = static_cast<int32_t>(sections.size());
    } else {
        sections.clear();
    }
    return true;
}

// ---- File associations -------------------------------------------------------

void cRegistry::WriteBothClassRoots(const std::string& keyPath, const std::string& text) {
    cRegistry reg(store_);
    reg.SetValueKey("");
    reg.SetValueType(kRegSz);
    reg.SetClassKey(kHkeyClassesRoot);
    reg.SetSectionKey(keyPath);
    reg.SetValue(Variant::String(text));
    reg.SetClassKey(kHkeyLocalMachine);
    reg.SetSectionKey("SOFTWARE\\Classes\\" + keyPath);
    reg.SetValue(Variant::String(text));
}

void cRegistry::CreateEXEAssociation(const std::string& exePath, const std::string& className,
                                     const std::string& classDescription,
                                     const std::string& association,
                                     const std::string& openMenuText, bool supportPrint,
                                     const std::string& printMenuText, bool supportNew,
                                     const std::string& newMenuText, bool supportInstall,
                                     const std::string& installMenuText,
                                     int32_t defaultIconIndex) {
    std::string exe = TrimBlanks(exePath);
    if (exe.empty() || exe.front() != '"') exe.insert(exe.begin(), '"');
    if (exe.size() < 2 || exe.back() != '"') exe += '"';
    const std::string shell = className + "\\shell\\";
    auto verb = [&](const std::string& name, const std::string& text, const std::string& option) {
        WriteBothClassRoots(shell + name, text);
        WriteBothClassRoots(shell + name + "\\command", exe + " " + option + "\"%1\"");
    };

    WriteBothClassRoots("." + association, className);
    WriteBothClassRoots(className, classDescription);
    verb("open", openMenuText.empty() ? "&Open" : openMenuText, "");
    if (supportPrint) verb("print", printMenuText.empty() ? "&Print" : printMenuText, "/p ");
    if (supportInstall)
        verb("add", installMenuText.empty() ? "&Install " + association : installMenuText, "/a ");
    if (supportNew) verb("new", newMenuText.empty() ? "&New" : newMenuText, "/n ");
    if (defaultIconIndex > -1)
        WriteBothClassRoots(className + "\\DefaultIcon", exe + "," + Decimal(defaultIconIndex));
}

void cRegistry::CreateAdditionalEXEAssociations(const std::string& className,
                                                const std::vector<std::string>& triples) {
    if (triples.size() % 3 != 0)
        throw RegistryError(kErrAssociationArguments,
                            "Invalid parameter list passed to CreateAdditionalEXEAssociations - "
                            "expected Name/Text/Command");
    if (!store_.KeyExists(classKey_, className))
        throw RegistryError(kErrAssociationNoClass,
                            "Error - attempt to create additional associations before class defined.");
    for (size_t i = 0; i < triples.size(); i += 3) {
        const std::string key = className + "\\shell\\" + triples[i];
        WriteBothClassRoots(key, triples[i + 1]);
        WriteBothClassRoots(key + "\\command", triples[i + 2]);
    }
}

// ---- The tree wipe -----------------------------------------------------------

bool SplitRegistryPath(const std::string& fullPath, std::string& root, std::string& subPath) {
    size_t p = fullPath.find('\\');
    if (p == std::string::npos) {
        root.clear();
        subPath.clear();
        return false;
    }
    root = fullPath.substr(0, p);
    subPath = fullPath.substr(p + 1);
    if (root == "HKEY_CLASSES_ROOT") root = Decimal(kHkeyClassesRoot);
    else if (root == "HKEY_CURRENT_USER") root = Decimal(kHkeyCurrentUser);
    else if (root == "HKEY_LOCAL_MACHINE") root = Decimal(kHkeyLocalMachine);
    else if (root == "HKEY_USERS") root = Decimal(kHkeyUsers);
    return true;
}

void EnumRegistrySubkeys(cRegistry& registry, const std::string& path,
                         std::vector<std::string>& keyList) {
    std::string root, subPath;
    if (!SplitRegistryPath(path, root, subPath) || subPath.empty())
        throw RegistryError(kErrTypeMismatch, "Type mismatch");
    const int32_t handle = ParseRootHandle(root);

    registry.SetClassKey(handle);
    registry.SetSectionKey(subPath);
    std::vector<std::string> sections, values;
    int32_t count = 0;
    registry.EnumerateSections(sections, count);
    registry.EnumerateValues(values, count);

    for (const std::string& name : sections) {
        std::string child = root + "\\" + subPath + "\\" + name;
        keyList.push_back(child);
        EnumRegistrySubkeys(registry, child, keyList);
    }

    if (IsCustomFields(subPath)) return;
    // The walk below moved the shared object to the last descendant; the
    // values of this level are deleted in this level's key.
    registry.SetClassKey(handle);
    registry.SetSectionKey(subPath);
    for (const std::string& name : values) {
        registry.SetValueKey(name);
        registry.DeleteValue();
    }
}

void DeleteRegistryTree(SettingsStore& store, const std::string& fullPath) {
    std::string root, subPath;
    if (!SplitRegistryPath(fullPath, root, subPath))
        throw RegistryError(kErrTypeMismatch, "Type mismatch");
    while (!subPath.empty() && subPath.back() == '\\') subPath.pop_back();
    if (subPath.empty()) throw RegistryError(kErrTypeMismatch, "Type mismatch");
    ParseRootHandle(root);

    std::vector<std::string> keyList;
    cRegistry registry(store);
    EnumRegistrySubkeys(registry, root + "\\" + subPath, keyList);

    for (auto it = keyList.rbegin(); it != keyList.rend(); ++it) {
        std::string r, s;
        SplitRegistryPath(*it, r, s);
        if (IsCustomFields(s)) continue;
        registry.SetClassKey(ParseRootHandle(r));
        registry.SetSectionKey(s);
        registry.DeleteKey();
    }
}

// ---- Start-up version check --------------------------------------------------

std::string FormatVersion(int32_t major, int32_t minor, int32_t revision) {
    return Decimal(major) + "." + Decimal(minor) + "." + Decimal(revision);
}

VersionCheck CheckSettingsVersion(SettingsStore& store, const std::string& runningVersion) {
    cRegistry probe(store);
    probe.SetClassKey(kHkeyCurrentUser);
    probe.SetSectionKey(kSettingsRoot);
    probe.SetValueKey("Version");
    const bool wasMissing = IsMissing(probe.Value());

    cRegistry reg(store);
    Variant stored = reg.GetSetting(kHkeyCurrentUser, kSettingsRoot, "Version",
                                    Variant::String(runningVersion));
    if (stored.kind() == Variant::Kind::kString && stored.AsString() == runningVersion)
        return wasMissing ? VersionCheck::kFirstRun : VersionCheck::kSame;
    DeleteRegistryTree(store, kSettingsRootFullPath);
    return VersionCheck::kWiped;
}

// ---- Typed shortcuts ---------------------------------------------------------

bool VariantToBool(const Variant& v, bool& out) {
    switch (v.kind()) {
    case Variant::Kind::kBoolean: out = v.AsBoolean(); return true;
    case Variant::Kind::kInteger: out = v.AsInteger() != 0; return true;
    case Variant::Kind::kLong: out = v.AsLong() != 0; return true;
    case Variant::Kind::kDouble: out = v.AsDouble() != 0.0; return true;
    case Variant::Kind::kString: {
        std::string s = TrimBlanks(v.AsString());
        if (EqualsNoCase(s, "True")) { out = true; return true; }
        if (EqualsNoCase(s, "False")) { out = false; return true; }
        double d = 0;
        if (!ParseNumber(s, d)) return false;
        out = d != 0.0;
        return true;
    }
    default:
        return false;
    }
}

bool VariantToLong(const Variant& v, int32_t& out) {
    switch (v.kind()) {
    case Variant::Kind::kBoolean: out = v.AsBoolean() ? -1 : 0; return true;
    case Variant::Kind::kInteger: out = v.AsInteger(); return true;
    case Variant::Kind::kLong: out = v.AsLong(); return true;
    case Variant::Kind::kDouble: return DoubleToLong(v.AsDouble(), out);
    case Variant::Kind::kString: {
        std::string s = TrimBlanks(v.AsString());
        if (EqualsNoCase(s, "True")) { out = -1; return true; }
        if (EqualsNoCase(s, "False")) { out = 0; return true; }
        double d = 0;
        return ParseNumber(s, d) && DoubleToLong(d, out);
    }
    default:
        return false;
    }
}

std::string GetSettingText(SettingsStore& store, const std::string& section,
                           const std::string& key, const std::string& defaultValue) {
    Variant v = cRegistry(store).GetSetting(kHkeyCurrentUser, section, key,
                                            Variant::String(defaultValue));
    if (v.kind() == Variant::Kind::kBytes || v.IsEmpty()) return defaultValue;
    return v.Text();
}

bool GetSettingBool(SettingsStore& store, const std::string& section, const std::string& key,
                    bool defaultValue) {
    Variant v = cRegistry(store).GetSetting(kHkeyCurrentUser, section, key,
                                            Variant::Boolean(defaultValue));
    bool out = defaultValue;
    return VariantToBool(v, out) ? out : defaultValue;
}

int32_t GetSettingLong(SettingsStore& store, const std::string& section, const std::string& key,
                       int32_t defaultValue) {
    Variant v = cRegistry(store).GetSetting(kHkeyCurrentUser, section, key,
                                            Variant::Long(defaultValue));
    int32_t out = defaultValue;
    return VariantToLong(v, out) ? out : defaultValue;
}

int16_t GetSettingInteger(SettingsStore& store, const std::string& section,
                          const std::string& key, int16_t defaultValue) {
    Variant v = cRegistry(store).GetSetting(kHkeyCurrentUser, section, key,
                                            Variant::Integer(defaultValue));
    int32_t out = 0;
    if (!VariantToLong(v, out) || out < INT16_MIN || out > INT16_MAX) return defaultValue;
    return static_cast<int16_t>(out);
}

void SaveSettingText(SettingsStore& store, const std::string& section, const std::string& key,
                     const std::string& value) {
    cRegistry(store).SaveSetting(kHkeyCurrentUser, section, key, Variant::String(value));
}

void SaveSettingBool(SettingsStore& store, const std::string& section, const std::string& key,
                     bool value) {
    cRegistry(store).SaveSetting(kHkeyCurrentUser, section, key, Variant::Boolean(value));
}

void SaveSettingLong(SettingsStore& store, const std::string& section, const std::string& key,
                     int32_t value) {
    cRegistry(store).SaveSetting(kHkeyCurrentUser, section, key, Variant::Long(value));
}

void SaveSettingInteger(SettingsStore& store, const std::string& section,
                        const std::string& key, int16_t value) {
    cRegistry(store).SaveSetting(kHkeyCurrentUser, section, key, Variant::Integer(value));
}

cRegistry CurrentUserSection(SettingsStore& store, const std::string& section) {
    cRegistry reg(store);
    reg.SetClassKey(kHkeyCurrentUser);
    reg.SetSectionKey(section);
    return reg;
}

std::vector<std::string> ListSettingNames(SettingsStore& store, const std::string& section) {
    std::vector<std::string> names;
    int32_t count = 0;
    CurrentUserSection(store, section).EnumerateValues(names, count);
    return names;
}

std::vector<std::string> ListSettingSections(SettingsStore& store, const std::string& section) {
    std::vector<std::string> names;
    int32_t count = 0;
    CurrentUserSection(store, section).EnumerateSections(names, count);
    return names;
}

}  // namespace corvella
