#include "libs/common/storage/win32_find_names.h"

#include "libs/common/text/text_primitives.h"

namespace corvella {

bool LongNameOpens(const std::string& folder, const WIN32_FIND_DATAA& found) {
    const std::string name = TrimAtNull(found.cFileName, sizeof found.cFileName);
    if (name.empty() || name.find_first_of("?*") != std::string::npos) return false;
    const std::string alternate = TrimAtNull(found.cAlternateFileName, sizeof found.cAlternateFileName);
    // A plain ASCII name with no short name beside it is a short name
    // itself, which every code page holds.
    bool plain = alternate.empty();
    for (const char c : name) plain = plain && static_cast<unsigned char>(c) < 0x80;
    if (plain) return true;
    // A look-alike may name nothing or another file: only the entry itself
    // answers with the same names.
    WIN32_FIND_DATAA again;
    HANDLE find = FindFirstFileA((folder + name).c_str(), &again);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return name == TrimAtNull(again.cFileName, sizeof again.cFileName) &&
           alternate == TrimAtNull(again.cAlternateFileName, sizeof again.cAlternateFileName);
}

std::string OpenableName(const std::string& folder, const WIN32_FIND_DATAA& found) {
    if (LongNameOpens(folder, found)) return TrimAtNull(found.cFileName, sizeof found.cFileName);
    return TrimAtNull(found.cAlternateFileName, sizeof found.cAlternateFileName);
}

std::string NarrowName(const wchar_t* name, int chars, bool& exact) {
    exact = true;
    if (chars <= 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, name, chars, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        exact = false;
        return std::string();
    }
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, name, chars, &out[0], bytes, nullptr, nullptr);
    // The conversion puts look-alikes or "?" in place of what the code page
    // lacks: the name comes back different.
    std::wstring back(static_cast<size_t>(chars), L'\0');
    exact = MultiByteToWideChar(CP_ACP, 0, out.data(), bytes, &back[0], chars) == chars &&
            back.compare(0, std::wstring::npos, name, static_cast<size_t>(chars)) == 0;
    return TrimAtNull(out);
}

}  // namespace corvella
