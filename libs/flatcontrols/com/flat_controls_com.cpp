// FlatControls: the facade a form calls to take and give back the flat look.
// It walks the form's controls through the form's automation face, changes
// the properties and edges the look needs, and keeps one painter for every
// combo, check and option box until the look is undone.
#include "libs/common/com/com_server.h"
#include "libs/flatcontrols/com/planomir.h"
#include "libs/flatcontrols/win32/flat_painter.h"
#include "libs/flatcontrols/win32/late_bound.h"
#include "libs/flatcontrols/win32/os_version_win32.h"
#include "libs/flatcontrols/win32/soft_border.h"

#include <oleauto.h>

#include <memory>
#include <vector>

namespace {

using corvella::flat::CFlatControls;

enum class Action { SoftBorder, NoBorder, NoAppearance, Painter, TallPainter };

struct Rule {
    const wchar_t* typeName;
    Action action;
};

// Exact, case-sensitive type names; the first match acts.
const Rule kRules[] = {
    {L"ProgressBar", Action::SoftBorder},  {L"FolderTreeview", Action::SoftBorder},
    {L"TreeView", Action::SoftBorder},     {L"TextBox", Action::NoBorder},
    {L"ListBox", Action::NoAppearance},    {L"ComboBox", Action::Painter},
    {L"CheckBox", Action::TallPainter},    {L"OptionButton", Action::TallPainter},
};

constexpr long kCheckHeightTwips = 255;

// A facade's index list names the painter slots it took from its thread's
// live count, so nested forms get 1..k and k+1..k+m.
short& LiveCount() { return corvella::flat::CurrentThreadState().livePainters; }

void SoftBorderOf(IDispatch* control) {
    long hwnd = 0;
    if (SUCCEEDED(corvella::flat::GetLongProperty(control, L"hwnd", hwnd)))
        corvella::flat::SetSoftBorder(reinterpret_cast<HWND>(static_cast<INT_PTR>(hwnd)), true);
}

class FlatControls : public corvella::com::Dual<_FlatControls> {
public:
    ~FlatControls() override {
        if (!indices_.empty()) Unsmooth();
        if (form_) form_->Release();
        corvella::flat::SyncModuleLock();
    }

    STDMETHODIMP CreateFlatControls(IDispatch** parentForm, VARIANT_BOOL* result) override {
        // Painters of an earlier pass are let go first, not left hooked.
        Unsmooth();
        IDispatch* form = parentForm ? *parentForm : nullptr;
        if (form) form->AddRef();
        if (form_) form_->Release();
        form_ = form;
        Smooth();
        return corvella::com::BoolResult(false, result);
    }

    STDMETHODIMP DestroyFlatControls(VARIANT_BOOL* result) override {
        Unsmooth();
        return corvella::com::BoolResult(false, result);
    }

    STDMETHODIMP CreateSoftBorder(IDispatch* control, VARIANT_BOOL softBorder, VARIANT_BOOL* result) override {
        if (result) *result = VARIANT_FALSE;
        long hwnd = 0;
        HRESULT hr = control ? corvella::flat::GetLongProperty(control, L"hwnd", hwnd) : E_POINTER;
        if (FAILED(hr)) {
            return corvella::com::RaiseError(
                hr, "Planomir.FlatControls",
                control ? "Object doesn't support this property or method" : "Object variable not set",
                __uuidof(_FlatControls));
        }
        corvella::flat::SetSoftBorder(reinterpret_cast<HWND>(static_cast<INT_PTR>(hwnd)), softBorder != 0);
        return S_OK;
    }

private:
    // Every failing step is passed over and the walk goes on.
    void Smooth() {
        if (!form_ || corvella::ReadOSVersion().IsWinXP()) return;
        IDispatch* controls = nullptr;
        if (FAILED(corvella::flat::GetObjectProperty(form_, L"Controls", &controls))) return;
        long count = 0;
        if (SUCCEEDED(corvella::flat::GetLongProperty(controls, L"Count", count))) {
            for (long i = 0; i < count; ++i) {
                IDispatch* control = nullptr;
                if (FAILED(corvella::flat::GetItem(controls, i, &control))) continue;
                Apply(control);
                control->Release();
            }
        }
        controls->Release();
    }

    void Apply(IDispatch* control) {
        const std::wstring type = corvella::flat::TypeNameOf(control);
        for (const Rule& rule : kRules) {
            if (type != rule.typeName) continue;
            switch (rule.action) {
            case Action::SoftBorder: SoftBorderOf(control); break;
            case Action::NoBorder:
                corvella::flat::PutLongProperty(control, L"BorderStyle", 0);
                SoftBorderOf(control);
                break;
            case Action::NoAppearance:
                corvella::flat::PutLongProperty(control, L"Appearance", 0);
                SoftBorderOf(control);
                break;
            case Action::TallPainter:
                corvella::flat::PutLongProperty(control, L"Height", kCheckHeightTwips);
                NewPainter(control);
                break;
            case Action::Painter: NewPainter(control); break;
            }
            return;
        }
    }

    void NewPainter(IDispatch* control) {
        auto painter = std::make_unique<CFlatControls>();
        indices_.push_back(++LiveCount());
        painter->Attach(control);
        painters_.push_back(std::move(painter));
    }

    void Unsmooth() {
        LiveCount() = static_cast<short>(LiveCount() - indices_.size());
        painters_.clear();  // each painter unhooks as it goes
        indices_.clear();
        corvella::flat::SyncModuleLock();
    }

    IDispatch* form_ = nullptr;
    std::vector<short> indices_;
    std::vector<std::unique_ptr<CFlatControls>> painters_;
};

const corvella::com::ClassEntry kClasses[] = {
    {&planomir::CLSID_FlatControls, "FlatControls", "Planomir.FlatControls",
     &corvella::com::CreateInstance<FlatControls>},
};
const corvella::com::ServerInfo kServer = {&planomir::LIBID_Planomir, 1, 0, kClasses, 1};

}  // namespace

const corvella::com::ServerInfo& corvella::com::Server() { return kServer; }
