#include "app/startup/mod_main.h"

#include <commctrl.h>
#include <ole2.h>

#include <exception>
#include <memory>

#include "app/foundation/settings.h"
#include "app/foundation/tags/win32/com_tag.h"
#include "app/mainwindow/frm_loading.h"
#include "app/mainwindow/frm_main.h"
#include "libs/tags/ID3v1/com/lumbrel.h"
#include "libs/flatcontrols/win32/os_version_win32.h"
#include "app/startup/start_tables.h"
#include "app/startup/tool_connections.h"
#include "libs/tags/ID3v2/com/tesselor.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "platform/forms/runtime.h"

namespace corvella {

COSVersion gOSVersion;
com::ComPtr<_CID3v1> gID3v1;
com::ComPtr<_CID3v2> gID3v2;
std::vector<std::string> gV1FieldNames;
std::vector<std::string> gV2FieldNames;
std::vector<std::string> gGenres;

namespace {

// The shared objects as the tag pair the windows get.
std::unique_ptr<tags::ComTagPair>& SharedTags() {
    static std::unique_ptr<tags::ComTagPair> pair;
    return pair;
}

// A failed start-up step: its description and the step it happened in.
void ReportStepError(const std::string& description, int step) {
    forms::MsgBox(nullptr, forms::ErrorText(description, "modMain.Main", step), MB_OK);
}

// The program cannot run on without its tag objects: say which library is
// missing and let the caller end the start.
bool CreateTagObject(REFCLSID clsid, REFIID iid, void** out, const char* library) {
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
    if (SUCCEEDED(hr) && *out != nullptr) return true;
    *out = nullptr;
    const std::string text = std::string("The tag library ") + library +
                             " cannot be created. " + forms::App.Title() + " cannot start without it.";
    forms::MsgBox(nullptr, text, MB_OK | MB_ICONERROR);
    return false;
}

}  // namespace

int Main(HINSTANCE) {
    gOSVersion = ReadOSVersion();
    InitCommonControls();
    forms::ReportSubclassFailures();

    if (!CreateTagObject(lumbrel::CLSID_CID3v1, __uuidof(_CID3v1),
                         gID3v1.PutVoid(), "Lumbrel.dll"))
        return 2;
    if (!CreateTagObject(tesselor::CLSID_CID3v2, __uuidof(_CID3v2),
                         gID3v2.PutVoid(), "Tesselor.dll"))
        return 3;

    gV1FieldNames = BuildV1FieldNames();
    gV2FieldNames = BuildV2FieldNames();
    gGenres = BuildGenreList();

    // A settings failure is reported and the start goes on with what is there.
    try {
        Win32SettingsStore store;
        // The running version is the version resource's, as App reads it.
        CheckSettingsVersion(
            store, FormatVersion(forms::App.Major(), forms::App.Minor(), forms::App.Revision()));
    } catch (const RegistryError& e) {
        ReportStepError(e.Description(), 8);
    } catch (const std::exception& e) {
        ReportStepError(e.what(), 8);
    }

    SharedTags() = std::make_unique<tags::ComTagPair>(gID3v1.Get(), gID3v2.Get());
    frmMain().SetShared({SharedTags()->Pair(), &gGenres});
    ConnectTools();
    frmLoading().Show(forms::kModeless);
    if (!frmLoading().Loaded()) {
        forms::MsgBox(nullptr, "The start-up window cannot be created.", MB_OK | MB_ICONERROR);
        return 4;
    }
    return 0;
}

void ReleaseShared() {
    SharedTags().reset();
    gID3v1.Reset();
    gID3v2.Reset();
}

}  // namespace corvella

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // OLE, not only COM: the ActiveX controls on the forms need in-place
    // activation, drag and drop and the clipboard.
    if (FAILED(OleInitialize(nullptr))) return 1;
    int code = corvella::Main(instance);
    if (code == 0) {
        // The program lives in its forms and ends with the last of them.
        const int quit = corvella::forms::Run();
        const int set = corvella::forms::App.ExitCode();
        code = set != 0 ? set : quit;
    }
    corvella::ReleaseShared();
    OleUninitialize();
    return code;
}
