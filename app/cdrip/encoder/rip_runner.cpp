#include "app/cdrip/encoder/rip_runner.h"

#include "app/cdrip/encoder/rip_io.h"
#include "app/cdrip/progress/frm_mp3_encoding_info.h"

namespace corvella::cdrip {
namespace {

const unsigned kBoxFlags[] = {MB_OK, MB_OK | MB_ICONINFORMATION, MB_OK | MB_ICONSTOP, MB_OK | MB_ICONEXCLAMATION};

RunEnd RunNow(const RunInput& input, const RipRules& rules, const tags::TagPair& tags) {
    EncodingWindowProgress window;
    LameStream lame;
    DriveSource cd;
    RunServices s;
    s.progress = &window;
    s.tags = tags;
    s.appTitle = forms::App.Title();
    s.loadEncoder = [&lame](std::string* why) { return lame.Load(why); };
    s.prepareFolders = rules.prepareFolders;
    s.fileName = rules.fileName;
    s.ripTrack = [&](const TrackJob& job, const BE_CONFIG& config) {
        TempTrackFile file;
        return RipAndEncodeTrack(job, config, cd, lame, file, window);
    };
    s.message = [](const std::string& text, MessageKind kind, const std::string& title) {
        forms::MsgBox(text, kBoxFlags[int(kind)], title);
    };
    s.hideProgress = [] { frmMP3EncodingInfo().Hide(); };
    s.unloadProgress = [] { frmMP3EncodingInfo().Unload(); };
    return EncodeSelectedTracks(input, s);
}

}  // namespace

RunEnd RunRip(forms::Form& owner, const RunInput& input, const RipRules& rules, const tags::TagPair& tags) {
    FrmMP3EncodingInfo& window = frmMP3EncodingInfo();
    forms::Timer timer;
    timer.name = "m_Timer";
    timer.interval = 10;
    timer.enabled = true;
    bool busy = false, ran = false;
    RunEnd end = RunEnd::Cancelled;
    timer.Tick = [&](int) {
        // The run yields after every block; a later tick must not start it again.
        if (busy) return;
        busy = ran = true;
        timer.SetEnabled(false);
        try {
            end = RunNow(input, rules, tags);
        } catch (...) {
            busy = false;
            window.Unload();
            throw;
        }
        busy = false;
        // Hidden at the end of a run or by Cancel: the modal show ends either way.
        window.Unload();
    };
    if (!owner.Loaded() || !timer.Create(owner)) return RunEnd::Cancelled;
    window.Show(forms::kModal, &owner);
    if (!ran) window.Unload();
    return end;
}

}  // namespace corvella::cdrip
