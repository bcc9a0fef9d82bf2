#include "libs/tags/ID3v2/core/id3v2_v22.h"

#include <cstring>

namespace corvella {
namespace id3v2 {
namespace {

// Every frame ID2.2 defines that 2.3 defines too, with its 2.3 ID. "CRM"
// (encrypted meta frame) has no 2.3 form and is absent.
const char* const kV22[][2] = {
    {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"},
    {"EQU", "EQUA"}, {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"LNK", "LINK"}, {"MCI", "MCDI"},
    {"MLL", "MLLT"}, {"PIC", "APIC"}, {"POP", "POPM"}, {"REV", "RVRB"}, {"RVA", "RVAD"},
    {"SLT", "SYLT"}, {"STC", "SYTC"}, {"TAL", "TALB"}, {"TBP", "TBPM"}, {"TCM", "TCOM"},
    {"TCO", "TCON"}, {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"}, {"TEN", "TENC"},
    {"TFT", "TFLT"}, {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"},
    {"TMT", "TMED"}, {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"},
    {"TOT", "TOAL"}, {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"},
    {"TPA", "TPOS"}, {"TPB", "TPUB"}, {"TRC", "TSRC"}, {"TRD", "TRDA"}, {"TRK", "TRCK"},
    {"TSI", "TSIZ"}, {"TSS", "TSSE"}, {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"},
    {"TXT", "TEXT"}, {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"}, {"ULT", "USLT"},
    {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"},
    {"WPB", "WPUB"}, {"WXX", "WXXX"},
};

// 2.2 names a picture's format by three letters, 2.3 by a MIME type.
const char* const kPictureTypes[][2] = {
    {"JPG", "image/jpeg"}, {"PNG", "image/png"}, {"GIF", "image/gif"}, {"BMP", "image/bmp"},
};

const char* V23Id(const std::string& id) {
    for (const auto& row : kV22)
        if (id == row[0]) return row[1];
    return nullptr;
}

std::string MimeOf(const std::string& format) {
    for (const auto& row : kPictureTypes)
        if (format == row[0]) return row[1];
    if (format == "-->") return format;  // a link to the picture, the same in both
    std::string mime = "image/";
    for (char c : format)
        if (c != '\0') mime.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    return mime;
}

}  // namespace

bool ConvertV22Frame(std::string& id, std::string& body) {
    const char* v23 = V23Id(id);
    if (!v23) return false;
    if (std::strcmp(v23, "APIC") == 0) {
        // encoding, format (3), picture type, description, data
        if (body.size() < 5) return false;
        body = body.substr(0, 1) + MimeOf(body.substr(1, 3)) + '\0' + body.substr(4);
    } else if (std::strcmp(v23, "LINK") == 0) {
        // the linked frame's ID, then URL and ID data as they are
        const char* linked = body.size() >= 3 ? V23Id(body.substr(0, 3)) : nullptr;
        if (!linked) return false;
        body = linked + body.substr(3);
    }
    id = v23;
    return true;
}

}  // namespace id3v2
}  // namespace corvella
