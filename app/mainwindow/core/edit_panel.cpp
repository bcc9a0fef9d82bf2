#include "app/mainwindow/core/edit_panel.h"

#include <map>

namespace corvella::mainwindow {

// The tab ends the caption's text; the menu shows nothing after it.
std::string LiteralCaption(const std::string& text) {
    if (text == "-") return "-\t";
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

std::string LiteralCaptionText(const std::string& caption) {
    if (caption == "-\t") return "-";
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        out += caption[i];
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') ++i;
    }
    return out;
}

std::vector<MenuEntry> FieldMenuEntries(const std::vector<std::string>& userFields,
                                        const std::vector<std::string>& namePieces) {
    std::vector<MenuEntry> m = {
        {0, "Pre-Defined Fields", ""},
        {1, "Title", "mnuTitle"},
        {1, "Artist", "mnuArtist"},
        {1, "Album", "mnuAlbum"},
        {1, "Track", "mnuTrack"},
        {1, "Comments", "mnuComments"},
        {1, "Year", "mnuYear"},
        {1, "Genre", "mnuGenre"},
        {1, "Original Artist", "mnuOrgArtist"},
        {1, "Copyright", "mnuCopyright"},
        {1, "Composer", "mnuComposer"},
        {1, "Web Link", "mnuWebLink"},
        {1, "Encoded By", "mnuEncodedBy"},
        {1, "-", ""},
        {1, "Track Order", "mnuOrder"},
        {1, "Track Count", "mnuTotal"},
        {1, "-", ""},
        {1, "Syncronize Tags", "mnuSync"},
        {0, "User Defined Fields", ""},
    };
    for (const std::string& name : userFields) m.push_back({1, LiteralCaption(name), ""});
    if (!userFields.empty()) m.push_back({1, "-", ""});
    m.push_back({1, "Customise Fields...", "mnuAddMore"});
    if (!namePieces.empty()) {
        m.push_back({0, "-", ""});
        for (const std::string& piece : namePieces) m.push_back({0, LiteralCaption(piece), piece});
    }
    const std::vector<MenuEntry> tail = {
        {0, "-", ""},
        {0, "Extract Tag...", ""},
        {1, "From a Version 1 Tag Field...", "mnuExtractv1"},
        {1, "From a Version 2 Tag Field...", "mnuExtractv2"},
        {1, "-", ""},
        {1, "By Parsing a File Name...", "mnuParseFile"},
        {1, "By Parsing a Folder Name...", "mnuParseFolder"},
        {1, "-", ""},
        {1, "From Opposite Tag Version", "mnuSync"},
    };
    m.insert(m.end(), tail.begin(), tail.end());
    return m;
}

std::string FieldMenuToken(const std::string& key) {
    static const std::map<std::string, std::string> tokens = {
        {"mnuTitle", "#Title#"},         {"mnuArtist", "#Artist#"},     {"mnuAlbum", "#Album#"},
        {"mnuTrack", "#Track#"},         {"mnuComments", "#Comments#"}, {"mnuYear", "#Year#"},
        {"mnuGenre", "#Genre#"},         {"mnuOrgArtist", "#Org. Artist#"},
        {"mnuCopyright", "#Copyright#"}, {"mnuComposer", "#Composer#"}, {"mnuWebLink", "#WebLink#"},
        {"mnuEncodedBy", "#Encoded By#"}, {"mnuSync", "#Sync#"},        {"mnuOrder", "#Order#"},
        {"mnuTotal", "#Total#"},         {kTrackOrderKey, "#Order#"},
    };
    auto it = tokens.find(key);
    return it == tokens.end() ? std::string() : it->second;
}

bool GenreTypeAheadTakes(int keyAscii) {
    if (keyAscii == 8) return true;
    return keyAscii >= 32 && keyAscii != 127 && keyAscii <= 255;
}

bool CancelColumnTrack(long column, int32_t widthTwips) {
    if (column == 1) return true;
    if (column == 2) return false;
    return widthTwips == 0;
}

}  // namespace corvella::mainwindow
