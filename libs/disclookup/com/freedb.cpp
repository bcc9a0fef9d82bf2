// Discoral.FreeDB: looks a disc up by id and category over the CDDB
// protocol, or finds discs by a text search of the web search page. Both
// calls block their caller while the message loop runs inside them, and
// return when the reply is complete, the host stops them, or 30 ticks of the
// control's clock have passed. A read ends with "quit": the call returns
// as soon as the entry is in, and the connection stays open behind it until
// the server's goodbye or close, a second at most, so the command leaves
// before the socket closes. After each query the control tells why it
// ended without its whole reply, if it did: the socket's error, the
// server's refusal, the time-out or the host's stop, with the server it
// asked, so the host can tell "nothing found" from "never reached". The
// dialogues themselves are the portable ones of the core; this file
// connects them to the socket and the clock.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "libs/common/com/ole_control.h"
#include "libs/common/tcpclient/tcp_client.h"
#include "libs/disclookup/com/discoral.h"
#include "libs/disclookup/core/cddb_dialogue.h"
#include "libs/disclookup/core/lookup_settings.h"
#include "libs/disclookup/core/query_failure.h"
#include "libs/disclookup/core/web_search.h"

namespace corvella::disclookup {
namespace {

using com::ComPtr;
using com::Variant;

constexpr char kSource[] = "Discoral.FreeDB";
constexpr DISPID kQueryDiscIdId = 0x60030000;
constexpr DISPID kQueryTextStringId = 0x60030001;
constexpr DISPID kTimerEvent = 1;
constexpr int kMaxTicks = 30;
constexpr UINT kGoodbyeWait = 1000;  // ms the quit may take before the socket closes
constexpr int kWidth = 125, kHeight = 25;  // pixels, whatever the host asks

// The record identities of the type library.
constexpr GUID kTrackInfoId = {0x2DF69E62, 0x80A7, 0x4533, {0x91, 0x03, 0x10, 0x18, 0xC7, 0xF9, 0xCE, 0x82}};
constexpr GUID kDiscInfoId = {0x89D19986, 0x3E56, 0x4EE1, {0x8B, 0x78, 0x04, 0x9B, 0x4A, 0xE6, 0x10, 0x4F}};
constexpr GUID kDiscIdId = {0x374ACF92, 0x08F8, 0x4D96, {0x8E, 0x11, 0x74, 0x5B, 0xE0, 0x43, 0xE6, 0x18}};

// ---- settings ---------------------------------------------------------------

// A missing or unreadable value is written with its default, as every
// setting of the program is; numbers are read as DWORD or as their text.
DWORD ReadNumber(HKEY key, const char* name, DWORD fallback, DWORD low, DWORD high) {
    char text[32] = {};
    DWORD type = 0, size = sizeof text;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS) {
        DWORD n = 0;
        if (type == REG_DWORD && size == sizeof n) n = *reinterpret_cast<DWORD*>(text);
        else if (type == REG_SZ)
            for (const char* c = text; *c >= '0' && *c <= '9' && n < 100000000; ++c) n = n * 10 + DWORD(*c - '0');
        if (n >= low && n <= high) return n;
    }
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&fallback), sizeof fallback);
    return fallback;
}

std::string ReadText(HKEY key, const char* name, const std::string& fallback) {
    char text[256] = {};
    DWORD type = 0, size = sizeof text - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
        type == REG_SZ && text[0] != '\0')
        return text;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(fallback.c_str()),
                   static_cast<DWORD>(fallback.size() + 1));
    return fallback;
}

LookupSettings ReadSettings() {
    LookupSettings s;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kLookupSettingsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return s;
    s.cddbHost = ReadText(key, kCddbHostValue, s.cddbHost);
    s.cddbPort = static_cast<uint16_t>(ReadNumber(key, kCddbPortValue, s.cddbPort, 1, 65535));
    s.searchHost = ReadText(key, kSearchHostValue, s.searchHost);
    s.searchPort = static_cast<uint16_t>(ReadNumber(key, kSearchPortValue, s.searchPort, 1, 65535));
    s.tickInterval = ReadNumber(key, kTickIntervalValue, s.tickInterval, 1, 60000);
    RegCloseKey(key);
    return s;
}

// The hello's names: the login and the machine (the dialogue makes them
// single words).
std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "";
}

std::string MachineName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? name : "";
}

// ---- records ----------------------------------------------------------------

// Records in arrays and variants need the automation of 1998 (oleaut32
// 2.40); an older system answers the record calls with E_NOTIMPL.
struct RecordCalls {
    HRESULT(WINAPI* fromTypeInfo)(ITypeInfo*, IRecordInfo**) = nullptr;
    SAFEARRAY*(WINAPI* createEx)(VARTYPE, UINT, SAFEARRAYBOUND*, void*) = nullptr;
    RecordCalls() {
        if (HMODULE oleaut = GetModuleHandleA("oleaut32.dll")) {
            fromTypeInfo = reinterpret_cast<decltype(fromTypeInfo)>(
                reinterpret_cast<void*>(GetProcAddress(oleaut, "GetRecordInfoFromTypeInfo")));
            createEx = reinterpret_cast<decltype(createEx)>(
                reinterpret_cast<void*>(GetProcAddress(oleaut, "SafeArrayCreateEx")));
        }
    }
};

const RecordCalls& Records() {
    static const RecordCalls calls;
    return calls;
}

HRESULT RecordInfoOf(REFGUID id, IRecordInfo** out) {
    *out = nullptr;
    if (!Records().fromTypeInfo) return E_NOTIMPL;
    ComPtr<ITypeInfo> ti;
    const HRESULT hr = com::GetTypeInfoOf(id, ti.Put());
    return FAILED(hr) ? hr : Records().fromTypeInfo(ti.Get(), out);
}

// A one-dimensional array of records with the lower bound `lower`.
template <class Record>
HRESULT RecordArray(REFGUID id, size_t count, long lower, SAFEARRAY** out, Record** items) {
    *out = nullptr;
    ComPtr<IRecordInfo> info;
    HRESULT hr = RecordInfoOf(id, info.Put());
    if (FAILED(hr)) return hr;
    if (!Records().createEx) return E_NOTIMPL;
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count), lower};
    SAFEARRAY* sa = Records().createEx(VT_RECORD, 1, &bound, info.Get());
    if (!sa) return E_OUTOFMEMORY;
    hr = SafeArrayAccessData(sa, reinterpret_cast<void**>(items));
    if (FAILED(hr)) {
        SafeArrayDestroy(sa);
        return hr;
    }
    *out = sa;
    return S_OK;
}

// Fills a zeroed DiscInfo record. "No tracks" is an empty array with the
// lower bound 1, so the host's track count (the upper bound) is 0, as it is
// for a read that failed, timed out or was stopped; a missing array would
// fail the host's count instead.
HRESULT FillDisc(const DiscInfo& disc, ::DiscInfo* record) {
    record->Artist = com::AnsiToBstr(disc.Artist);
    record->Title = com::AnsiToBstr(disc.Title);
    record->Genre = com::AnsiToBstr(disc.Genre);
    record->Year = com::AnsiToBstr(disc.Year);
    ::TrackInfo* items = nullptr;
    const HRESULT hr = RecordArray(kTrackInfoId, disc.Tracks.size(), 1, &record->Tracks, &items);
    if (FAILED(hr)) return hr;
    for (size_t i = 0; i < disc.Tracks.size(); ++i) {
        items[i].Title = com::AnsiToBstr(disc.Tracks[i].Title);
        items[i].Artist = com::AnsiToBstr(disc.Tracks[i].Artist);
    }
    SafeArrayUnaccessData(record->Tracks);
    return S_OK;
}

// The search result, lower bound 0; nothing found is an empty array.
HRESULT DiscArray(const std::vector<DiscID>& discs, SAFEARRAY** out) {
    ::DiscID* items = nullptr;
    const HRESULT hr = RecordArray(kDiscIdId, discs.size(), 0, out, &items);
    if (FAILED(hr)) return hr;
    for (size_t i = 0; i < discs.size(); ++i) {
        items[i].DiscID = com::AnsiToBstr(discs[i].DiscID);
        items[i].Album = com::AnsiToBstr(discs[i].Album);
        items[i].Artist = com::AnsiToBstr(discs[i].Artist);
        items[i].Catagory = com::AnsiToBstr(discs[i].Catagory);
    }
    SafeArrayUnaccessData(*out);
    return S_OK;
}

// An argument of a late call as text, whatever the caller passed.
HRESULT TextArgument(const DISPPARAMS& params, UINT position, std::string& out) {
    if (position >= params.cArgs) return DISP_E_PARAMNOTFOUND;
    Variant text;
    const HRESULT hr =
        VariantChangeType(text.Put(), &params.rgvarg[params.cArgs - 1 - position], 0, VT_BSTR);
    if (FAILED(hr)) return hr;
    out = text.Ansi();
    return S_OK;
}

// ---- the control ------------------------------------------------------------

class FreeDBControl;
// The clock is a thread timer, so the control ticks without a window of
// its own (a script creates it without a site).
std::vector<std::pair<UINT_PTR, FreeDBControl*>> g_clocks;
// The same for the wait for a server's goodbye.
std::vector<std::pair<UINT_PTR, FreeDBControl*>> g_goodbyes;

FreeDBControl* Owner(std::vector<std::pair<UINT_PTR, FreeDBControl*>>& timers, UINT_PTR id) {
    for (const auto& t : timers)
        if (t.first == id) return t.second;
    return nullptr;
}

void Forget(std::vector<std::pair<UINT_PTR, FreeDBControl*>>& timers, UINT_PTR id) {
    for (auto it = timers.begin(); it != timers.end(); ++it)
        if (it->first == id) {
            timers.erase(it);
            return;
        }
}

class FreeDBControl : public com::Control<FreeDBControl, _FreeDB, &CLSID_FreeDB, &DIID___FreeDB> {
public:
    static com::InterfaceTable Interfaces() { return ControlInterfaces(); }

    FreeDBControl() {
        socket_.onConnect = [this] { SocketConnected(); };
        socket_.onDataArrival = [this](long) { SocketData(); };
        socket_.onClose = [this] { SocketClosed(); };
        socket_.onError = [this](int number, const std::string& description) {
            socketFailure_ = SocketFailure(number, description);
            done_ = true;
            EndGoodbye();
        };
    }
    ~FreeDBControl() override {
        StopClock();
        EndGoodbye();
    }

    // ---- _FreeDB, for early-bound callers ----
    STDMETHODIMP QueryDiscID(BSTR id, BSTR category, ::DiscInfo* result) override {
        if (!result) return E_POINTER;
        return FillDisc(ReadDisc(com::BstrToAnsi(id), com::BstrToAnsi(category)), result);
    }
    STDMETHODIMP QueryTextString(BSTR words, SAFEARRAY** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        return DiscArray(Search(com::BstrToAnsi(words)), result);
    }
    STDMETHODIMP StopQuery(VARIANT* result) override {
        if (result) VariantInit(result);
        stopped_ = true;
        done_ = true;
        StopClock();
        EndGoodbye();
        socket_.Close();
        return S_OK;
    }
    STDMETHODIMP get_QueryError(long* value) override {
        if (!value) return E_POINTER;
        *value = static_cast<long>(last_.kind);
        return S_OK;
    }
    STDMETHODIMP get_QueryErrorText(BSTR* value) override {
        if (!value) return E_POINTER;
        *value = com::AnsiToBstr(last_.reason);
        return S_OK;
    }
    STDMETHODIMP get_QueryHost(BSTR* value) override {
        if (!value) return E_POINTER;
        *value = com::AnsiToBstr(last_.host);
        return S_OK;
    }
    STDMETHODIMP get_QueryPort(long* value) override {
        if (!value) return E_POINTER;
        *value = last_.port;
        return S_OK;
    }

    // Both queries are answered here rather than by the type library's
    // invocation: it can neither copy a record holding an array (the disc,
    // E_INVALIDARG under Wine) nor return an array of records (E_NOTIMPL).
    // The caller's variant receives the record or the array itself and owns
    // it: it reads it in place and clears it.
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argerr) override {
        const bool disc = id == kQueryDiscIdId;
        if ((!disc && id != kQueryTextStringId) || !(flags & DISPATCH_METHOD))
            return com::TypeLibDispatch<_FreeDB>::Invoke(id, iid, lcid, flags, params, result, excep, argerr);
        if (!params) return E_INVALIDARG;
        if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
        const UINT count = disc ? 2 : 1;
        if (params->cArgs != count) return DISP_E_BADPARAMCOUNT;
        std::string text[2];
        for (UINT i = 0; i < count; ++i) {
            const HRESULT hr = TextArgument(*params, i, text[i]);
            if (FAILED(hr)) {
                if (argerr) *argerr = params->cArgs - 1 - i;
                return DISP_E_TYPEMISMATCH;
            }
        }
        HRESULT hr = S_OK;
        if (disc) {
            const DiscInfo found = ReadDisc(text[0], text[1]);
            if (!result) return S_OK;
            ComPtr<IRecordInfo> info;
            hr = RecordInfoOf(kDiscInfoId, info.Put());
            void* record = SUCCEEDED(hr) ? info->RecordCreate() : nullptr;
            if (SUCCEEDED(hr) && !record) hr = E_OUTOFMEMORY;
            if (SUCCEEDED(hr)) hr = FillDisc(found, static_cast<::DiscInfo*>(record));
            if (SUCCEEDED(hr)) {
                VariantInit(result);
                V_VT(result) = VT_RECORD;
                V_RECORD(result) = record;
                V_RECORDINFO(result) = info.Detach();
                return S_OK;
            }
            if (record) info->RecordDestroy(record);
        } else {
            const std::vector<DiscID> found = Search(text[0]);
            if (!result) return S_OK;
            SAFEARRAY* array = nullptr;
            hr = DiscArray(found, &array);
            if (SUCCEEDED(hr)) {
                VariantInit(result);
                V_VT(result) = VT_ARRAY | VT_RECORD;
                V_ARRAY(result) = array;
                return S_OK;
            }
        }
        return com::RaiseError(hr, kSource, "The result could not be handed over", IID__FreeDB);
    }

    // ---- the queries ----
    DiscInfo ReadDisc(const std::string& id, const std::string& category) {
        if (busy_) return DiscInfo();  // one at a time: the running one goes on
        EndGoodbye();
        // The id as the fixed 8-character field holds it; a padded one is
        // refused by the dialogue and never reaches a command.
        std::string fixed = id.substr(0, 8);
        fixed.resize(8, ' ');
        const LookupSettings settings = ReadSettings();
        Begin(settings.cddbHost, settings.cddbPort);
        cddb_ = std::make_unique<CddbDialogue>(CddbRequest{category, fixed, UserName(), MachineName()});
        mode_ = kDisc;
        if (cddb_->Result() == Outcome::kRunning) Run(settings.cddbHost, settings.cddbPort, settings);
        End(QueryEnd(cddb_->Result(), cddb_->Failure(), socketFailure_, stopped_));
        // An entry cut short (stopped, timed out) may end inside a title
        // continued on the next line: only a complete entry is handed over.
        DiscInfo disc = cddb_->Disc();
        if (!awaitingGoodbye_) cddb_.reset();
        return disc;
    }

    std::vector<DiscID> Search(const std::string& words) {
        if (busy_) return {};
        EndGoodbye();
        const LookupSettings settings = ReadSettings();
        Begin(settings.searchHost, settings.searchPort);
        web_ = std::make_unique<WebSearch>();
        mode_ = kSearch;
        request_ = SearchRequest(settings.searchHost, settings.searchPort, words);
        Run(settings.searchHost, settings.searchPort, settings);
        End(QueryEnd(web_->Result(), web_->Failure(), socketFailure_, stopped_));
        // Stopped or timed out: the complete links that came so far.
        std::vector<DiscID> discs = web_->Gathered();
        web_.reset();
        return discs;
    }

    // ---- control ----
    com::PropertyTable Persisted() const override {
        static const com::PersistedProperty kNone[] = {{0, "", VT_EMPTY}};
        com::PropertyTable table(kNone);
        table.count = 0;  // the control keeps no design values
        return table;
    }
    Variant DefaultOf(int) const override { return Variant(); }
    Variant GetPersisted(int) const override { return Variant(); }
    void SetPersisted(int, const Variant&) override {}

    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override {
        if (!size) return E_POINTER;
        SIZEL fixed = FixedExtent();
        return ControlBase::SetExtent(aspect, &fixed);
    }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_WINDOWPOSCHANGING) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
            pos->cx = kWidth;
            pos->cy = kHeight;
        }
        return ControlBase::OnMessage(msg, wp, lp);
    }
    void Paint(HDC dc, const RECT& r) override {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        RECT edge = r;
        DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
        const std::string caption = AmbientDisplayName();
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &edge,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    void OnAmbientChanged(DISPID id) override {
        if ((id == DISPID_AMBIENT_DISPLAYNAME || id == DISPID_UNKNOWN) && Window())
            InvalidateRect(Window(), nullptr, TRUE);
    }
    // The form goes: a query still waiting ends.
    void OnClosing() override {
        stopped_ = true;
        done_ = true;
    }

    void Tick() {
        if (!busy_ || done_ || inTick_) return;
        ++ticks_;
        // The host sees a copy of the count: a handler cannot stretch the wait.
        short time = static_cast<short>(ticks_);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        Variant timeArg;
        V_VT(timeArg.Put()) = VT_BYREF | VT_I2;
        V_I2REF(timeArg.Get()) = &time;
        inTick_ = true;
        RaiseEvent(kTimerEvent, {timeArg, Variant::ByRef(&cancel)});
        inTick_ = false;
        if (cancel) stopped_ = done_ = true;
    }

private:
    enum Mode { kDisc, kSearch };

    static SIZEL FixedExtent() {
        HDC dc = GetDC(nullptr);
        SIZEL size = {MulDiv(kWidth, 2540, GetDeviceCaps(dc, LOGPIXELSX)),
                      MulDiv(kHeight, 2540, GetDeviceCaps(dc, LOGPIXELSY))};
        ReleaseDC(nullptr, dc);
        return size;
    }

    // A new query: nothing known yet of how it ends.
    void Begin(const std::string& host, uint16_t port) {
        last_ = QueryFailure();
        last_.host = host;
        last_.port = port;
        socketFailure_ = QueryFailure();
        stopped_ = false;
    }

    // How the query ended, kept beside the server it asked.
    void End(const QueryFailure& end) {
        last_.kind = end.kind;
        last_.reason = end.reason;
    }

    // Connects and waits, the message loop running, until the dialogue is
    // over, the host stops it or the clock has ticked 30 times.
    void Run(const std::string& host, uint16_t port, const LookupSettings& settings) {
        const ComPtr<IUnknown> hold = KeepAlive();  // a form closed meanwhile goes down cleanly
        busy_ = true;
        done_ = false;
        ticks_ = 0;
        StartClock(settings.tickInterval);
        socket_.Connect(host, port);
        while (!done_ && ticks_ < kMaxTicks) {
            MSG msg;
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                // Sleeps until a message comes instead of spinning.
                MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
                continue;
            }
            if (msg.message == WM_QUIT) {  // the program ends: leave it to the outer loop
                PostQuitMessage(static_cast<int>(msg.wParam));
                stopped_ = true;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        StopClock();
        // The entry is in and "quit" is on its way: the call returns now,
        // while the socket stays open for the goodbye or the server's close,
        // so the command is not cut off.
        if (mode_ == kDisc && cddb_ && cddb_->CurrentStep() == CddbDialogue::Step::kQuit &&
            socket_.State() == tcp::kStateConnected)
            StartGoodbye();
        else
            socket_.Close();
        busy_ = false;
        done_ = true;
    }

    static void CALLBACK GoodbyeOver(HWND, UINT, UINT_PTR id, DWORD) {
        if (FreeDBControl* c = Owner(g_goodbyes, id)) c->EndGoodbye();
    }
    void StartGoodbye() {
        goodbye_ = SetTimer(nullptr, 0, kGoodbyeWait, &GoodbyeOver);
        if (!goodbye_) return socket_.Close();
        g_goodbyes.emplace_back(goodbye_, this);
        awaitingGoodbye_ = true;
    }
    // Harmless when no goodbye is awaited.
    void EndGoodbye() {
        if (!awaitingGoodbye_) return;
        awaitingGoodbye_ = false;
        KillTimer(nullptr, goodbye_);
        Forget(g_goodbyes, goodbye_);
        goodbye_ = 0;
        socket_.Close();
        cddb_.reset();
    }

    static void CALLBACK Clock(HWND, UINT, UINT_PTR id, DWORD) {
        if (FreeDBControl* c = Owner(g_clocks, id)) c->Tick();
    }
    void StartClock(UINT interval) {
        StopClock();
        clock_ = SetTimer(nullptr, 0, interval, &Clock);
        if (clock_) g_clocks.emplace_back(clock_, this);
    }
    void StopClock() {
        if (!clock_) return;
        KillTimer(nullptr, clock_);
        Forget(g_clocks, clock_);
        clock_ = 0;
    }

    // ---- the socket's events ----
    void SocketConnected() {
        if (mode_ == kSearch && web_) socket_.SendData(request_);
    }
    void SocketData() {
        const std::string data = socket_.GetData();
        if (awaitingGoodbye_) {
            cddb_->Receive(data);
            if (cddb_->CurrentStep() != CddbDialogue::Step::kQuit) EndGoodbye();
        } else if (mode_ == kDisc && cddb_) {
            const std::string reply = cddb_->Receive(data);
            if (!reply.empty()) socket_.SendData(reply);
            if (cddb_->Result() != Outcome::kRunning) done_ = true;
        } else if (mode_ == kSearch && web_) {
            web_->Receive(data);
            if (web_->Result() != Outcome::kRunning) done_ = true;
        }
    }
    void SocketClosed() {
        if (awaitingGoodbye_) return EndGoodbye();
        if (mode_ == kDisc && cddb_) cddb_->Closed();
        else if (mode_ == kSearch && web_) web_->Closed();
        done_ = true;
    }

    tcp::TcpClient socket_;
    std::unique_ptr<CddbDialogue> cddb_;
    std::unique_ptr<WebSearch> web_;
    std::string request_;
    Mode mode_ = kDisc;
    bool busy_ = false;
    bool done_ = true;
    bool inTick_ = false;
    int ticks_ = 0;
    UINT_PTR clock_ = 0;
    // How the last query ended, and the server it asked.
    QueryFailure last_;
    QueryFailure socketFailure_;
    bool stopped_ = false;
    bool awaitingGoodbye_ = false;
    UINT_PTR goodbye_ = 0;
};

const com::ClassEntry kClasses[] = {
    {&CLSID_FreeDB, "FreeDB", "Discoral.FreeDB", &com::CreateInstance<FreeDBControl>, &com::kStandardControl},
};
const com::ServerInfo kServer = {&LIBID_Discoral, 1, 0, kClasses, 1};

}  // namespace
}  // namespace corvella::disclookup

const corvella::com::ServerInfo& corvella::com::Server() { return corvella::disclookup::kServer; }
