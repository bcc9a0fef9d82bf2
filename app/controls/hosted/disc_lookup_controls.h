// Typed wrappers of the network controls for the program's forms: the disc
// lookup control (Discoral.FreeDB) and the TCP client control
// (Wirelet.TcpClient). Each member calls its control late-bound by dispatch
// id; each event comes as a handler with the control's index first.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "libs/disclookup/com/discoral.h"
#include "libs/disclookup/core/query_failure.h"
#include "libs/disclookup/core/records.h"
#include "libs/tcpclient/com/wirelet.h"
#include "platform/forms/activex/ole_site.h"

namespace corvella::forms {

namespace detail {

// A text field of a record, read where it lies. GetField is not used: under
// Wine it hands over the record's own string instead of a copy, so clearing
// the copy freed the string under the record, and the record's own clearing
// freed it again, corrupting the heap a little more with every record read.
inline std::string RecordText(IRecordInfo* info, void* record, const wchar_t* field) {
    VARIANT v;
    VariantInit(&v);
    void* array = nullptr;
    if (FAILED(info->GetFieldNoCopy(record, field, &v, &array)) || V_VT(&v) != (VT_BYREF | VT_BSTR) ||
        !V_BSTRREF(&v))
        return std::string();
    return com::BstrToAnsi(*V_BSTRREF(&v));
}

// Each record of a one-dimensional array of records, in index order.
inline void EachRecord(SAFEARRAY* array, const std::function<void(IRecordInfo*, void*)>& take) {
    com::ComPtr<IRecordInfo> info;
    LONG low = 0, high = -1;
    if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetRecordInfo(array, info.Put())) || !info ||
        FAILED(SafeArrayGetLBound(array, 1, &low)) || FAILED(SafeArrayGetUBound(array, 1, &high)))
        return;
    for (LONG i = low; i <= high; ++i) {
        void* item = nullptr;
        if (SUCCEEDED(SafeArrayPtrOfIndex(array, &i, &item))) take(info.Get(), item);
    }
}

}  // namespace detail

// The disc lookup (Discoral.FreeDB): both queries block, the form's events
// running, until the reply is complete, StopQuery, a cancelling Timer
// handler or 30 ticks.
class FreeDB : public OleControlSite {
public:
    // Once a tick while a query waits: the tick count, and Cancel to end it.
    std::function<void(int index, int time, bool& cancel)> Timer;

    FreeDB() {
        clsid = CLSID_FreeDB;
        width = 1875;  // the control keeps itself at 125 x 25 pixels
        height = 375;
        On(1, "Timer", [this](com::EventArgs& a) {
            if (!Timer) return;
            bool cancel = a.Bool(1);
            Timer(index, static_cast<int>(a.Long(0)), cancel);
            a.SetBool(1, cancel);
        });
    }

    // The disc `discId` of `category`; no tracks when the read failed,
    // timed out or was stopped. The control hands its record over without
    // a copy: it is read in place here and cleared.
    disclookup::DiscInfo QueryDiscID(const std::string& discId, const std::string& category) {
        com::Variant result = Call(0x60030000, {com::Variant(discId), com::Variant(category)});
        disclookup::DiscInfo disc;
        VARIANT* v = result.Get();
        if (V_VT(v) != VT_RECORD || !V_RECORDINFO(v) || !V_RECORD(v)) return disc;
        IRecordInfo* info = V_RECORDINFO(v);
        void* record = V_RECORD(v);
        disc.Artist = detail::RecordText(info, record, L"Artist");
        disc.Title = detail::RecordText(info, record, L"Title");
        disc.Genre = detail::RecordText(info, record, L"Genre");
        disc.Year = detail::RecordText(info, record, L"Year");
        // The track array is read where it lies: the field comes by
        // reference, as an array field cannot be copied everywhere.
        VARIANT tracks;
        VariantInit(&tracks);
        void* field = nullptr;
        if (SUCCEEDED(info->GetFieldNoCopy(record, L"Tracks", &tracks, &field)) && (V_VT(&tracks) & VT_BYREF) &&
            V_BYREF(&tracks))
            detail::EachRecord(*static_cast<SAFEARRAY**>(V_BYREF(&tracks)), [&](IRecordInfo* ti, void* item) {
                disc.Tracks.push_back({detail::RecordText(ti, item, L"Title"), detail::RecordText(ti, item, L"Artist")});
            });
        info->RecordDestroy(record);
        info->Release();
        V_VT(v) = VT_EMPTY;
        return disc;
    }

    // The discs whose result links the search page holds, in page order.
    std::vector<disclookup::DiscID> QueryTextString(const std::string& words) {
        com::Variant result = Call(0x60030001, {com::Variant(words)});
        std::vector<disclookup::DiscID> discs;
        if ((result.Type() & VT_ARRAY) && (result.Type() & VT_TYPEMASK) == VT_RECORD)
            detail::EachRecord(V_ARRAY(result.Get()), [&](IRecordInfo* info, void* item) {
                discs.push_back({detail::RecordText(info, item, L"DiscID"), detail::RecordText(info, item, L"Album"),
                                 detail::RecordText(info, item, L"Artist"),
                                 detail::RecordText(info, item, L"Catagory")});
            });
        return discs;
    }

    void StopQuery() { Call(0x60030002); }

    // How the last query ended: kNone when its reply came whole, listing a
    // disc or none; else why not, in words, and the server it asked.
    disclookup::QueryFailure LastError() {
        disclookup::QueryFailure e;
        e.kind = static_cast<disclookup::FailureKind>(std::atol(Get(0x60030003).Ansi().c_str()));
        e.reason = Get(0x60030004).Ansi();
        e.host = Get(0x60030005).Ansi();
        e.port = static_cast<uint16_t>(std::atol(Get(0x60030006).Ansi().c_str()));
        return e;
    }
};

// The TCP client (Wirelet.TcpClient): connect by host and port, text out and
// in as 8-bit characters, the connection's events.
class TcpClientControl : public OleControlSite {
public:
    enum : int { StateClosed = 0, StateConnecting = 6, StateConnected = 7, StateClosing = 8, StateError = 9 };

    ClickHandler ConnectEvent;
    std::function<void(int index, long bytesTotal)> DataArrival;
    ClickHandler CloseEvent;  // the server closed

    TcpClientControl() {
        clsid = CLSID_TcpClient;
        On(0, "DataArrival", [this](com::EventArgs& a) {
            if (DataArrival) DataArrival(index, a.Long(0));
        });
        On(1, "Connect", [this](com::EventArgs&) {
            if (ConnectEvent) ConnectEvent(index);
        });
        On(5, "Close", [this](com::EventArgs&) {
            if (CloseEvent) CloseEvent(index);
        });
    }

    long RemotePort() { return std::atol(Get(1).Ansi().c_str()); }
    void SetRemotePort(long port) { Put(1, {}, com::Variant(port)); }
    long Port() { return std::atol(Get(2).Ansi().c_str()); }
    void SetPort(long port) { Put(2, {}, com::Variant(port)); }
    int State() { return std::atoi(Get(8).Ansi().c_str()); }
    std::string RemoteHost() { return Get(10).Ansi(); }
    void SetRemoteHost(const std::string& host) { Put(10, {}, com::Variant(host)); }
    // The port as the forms pass it: a number, or its text ("25").
    void Connect(const std::string& host, const com::Variant& port) { Call(64, {com::Variant(host), port}); }
    void Connect() { Call(64); }
    void SendData(const std::string& text) { Call(67, {com::Variant(text)}); }
    std::string GetData() {
        com::Bstr text;
        com::Variant ref;
        V_VT(ref.Put()) = VT_BYREF | VT_BSTR;
        V_BSTRREF(ref.Get()) = text.InOut();
        Call(68, {ref});
        return text.Ansi();
    }
    void Close() { Call(70); }
};

}  // namespace corvella::forms
