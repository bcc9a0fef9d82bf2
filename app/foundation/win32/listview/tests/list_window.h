// A top-level window with a report-view list of four columns (column 2 is
// right-aligned) and a number of rows, for the list-view tests.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace corvella {
namespace foundation {
namespace testing {

class ListWindow {
public:
    explicit ListWindow(int rows, DWORD style = LVS_REPORT) : top_(SharedTop()) {
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 580, 360, top_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        const char* names[] = {"", "Title", "Year", "Path"};
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNA c = {};
            c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            c.fmt = i == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT;
            c.cx = 100;
            c.pszText = const_cast<char*>(names[i]);
            SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
        }
        for (int r = 0; r < rows; ++r) {
            std::string text = "row " + std::to_string(r);
            LVITEMA it = {};
            it.mask = LVIF_TEXT;
            it.iItem = r;
            it.pszText = const_cast<char*>(text.c_str());
            SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
        }
        Pump();
    }
    ~ListWindow() {
        if (IsWindow(list_)) DestroyWindow(list_);
        Pump();
    }
    ListWindow(const ListWindow&) = delete;
    ListWindow& operator=(const ListWindow&) = delete;

    HWND list() const { return list_; }
    HWND top() const { return top_; }
    HWND header() const { return reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0)); }

    UINT State(int row) const {
        return static_cast<UINT>(SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
    }
    HDITEMA HeaderItem(int column) const {
        HDITEMA item = {};
        item.mask = HDI_FORMAT | HDI_IMAGE;
        SendMessageA(header(), HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        return item;
    }

    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

private:
    // One visible top-level window for the whole run: Wine takes seconds to
    // tear one down without a window manager, a child list view no time.
    static HWND SharedTop() {
        static HWND top = [] {
            INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
            InitCommonControlsEx(&icc);
            WNDCLASSA wc = {};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "CorvellaListTest";
            RegisterClassA(&wc);
            return CreateWindowExA(0, "CorvellaListTest", "List test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                   600, 400, nullptr, nullptr, wc.hInstance, nullptr);
        }();
        return top;
    }

    HWND top_ = nullptr;
    HWND list_ = nullptr;
};

// An image list of `count` 16x16 images.
inline HIMAGELIST MakeImages(int count) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, count, 0);
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < count; ++i) {
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
        ImageList_Add(images, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    return images;
}

}  // namespace testing
}  // namespace foundation
}  // namespace corvella
