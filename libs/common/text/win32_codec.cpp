// The system's ANSI code page, through kernel32.
#include "libs/common/text/codec.h"

#include <windows.h>

namespace corvella {
namespace {

class AcpCodec : public AnsiCodec {
public:
    std::string from_utf16(const std::u16string& text) const override {
        if (text.empty()) return std::string();
        const wchar_t* w = reinterpret_cast<const wchar_t*>(text.data());
        int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
        if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
        return out;
    }
    std::u16string to_utf16(const std::string& ansi) const override {
        if (ansi.empty()) return std::u16string();
        int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
        std::u16string out(static_cast<size_t>(n > 0 ? n : 0), u'\0');
        if (n > 0)
            MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                reinterpret_cast<wchar_t*>(&out[0]), n);
        return out;
    }
};

}  // namespace

const AnsiCodec& system_codec() {
    static AcpCodec codec;
    return codec;
}

}  // namespace corvella
