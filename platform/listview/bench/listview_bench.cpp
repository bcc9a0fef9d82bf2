// Fills the list view with 10,000 rows of 13 columns, redraw locked as the
// listing locks it, once through the wrapper (a keyed row, then its
// sub-items) and once with the bare LVM_INSERTITEM / LVM_SETITEMTEXT calls.
// Prints both times and, last, their ratio.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/listview/list_view.h"

using namespace corvella;

namespace {

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    forms::Form form;
    platform::ListView lv;
    lv.width = 9000;
    lv.height = 6000;
    for (int c = 0; c < 13; ++c) lv.ColumnHeaders.Add("c" + std::to_string(c), "Column", 1700);
    form.width = 9600;
    form.height = 7000;
    form.CreateControls = [&] { lv.Create(form); };
    form.Show();
    HWND list = lv.hWnd();

    std::vector<std::vector<std::string>> texts(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        auto& row = texts[static_cast<size_t>(r)];
        row.push_back("C:\\Music\\Artist " + std::to_string(r % 97) + "\\Track " + std::to_string(r) + ".mp3");
        for (int k = 1; k <= 11; ++k) row.push_back("Field " + std::to_string(k) + " of row " + std::to_string(r));
    }

    // Each way runs twice, alternately, and keeps its best time, so neither
    // pays alone for the list's first growth.
    double wrapper = 1e9, bare = 1e9;
    for (int run = 0; run < 4; ++run) {
        const int pass = run % 2;
        LARGE_INTEGER t0, t1;
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        QueryPerformanceCounter(&t0);
        if (pass == 0) {
            for (const auto& row : texts) {
                platform::ListItem& item = lv.ListItems.Add();
                item.SetKey(row[0]);
                for (int k = 1; k <= 11; ++k) item.SetSubItem(k, row[static_cast<size_t>(k)]);
                item.SetSubItem(12, item.Key());
            }
        } else {
            for (size_t r = 0; r < texts.size(); ++r) {
                const auto& row = texts[r];
                LVITEMA item{};
                item.mask = LVIF_TEXT | LVIF_PARAM;
                item.iItem = static_cast<int>(r);
                item.pszText = const_cast<char*>("");
                const int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
                for (int k = 1; k <= 12; ++k) {
                    LVITEMA sub{};
                    sub.iSubItem = k;
                    sub.pszText = const_cast<char*>(row[static_cast<size_t>(k == 12 ? 0 : k)].c_str());
                    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
                }
            }
        }
        QueryPerformanceCounter(&t1);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        double& best = pass == 0 ? wrapper : bare;
        if (Seconds(t0, t1) < best) best = Seconds(t0, t1);
        lv.ListItems.Clear();
    }
    std::printf("list view wrapper: %d rows of 13 columns in %.3f s\n", rows, wrapper);
    std::printf("bare list-view messages: %d rows of 13 columns in %.3f s\n", rows, bare);
    std::printf("ratio wrapper/bare: %.2f\n", bare > 0 ? wrapper / bare : 0.0);
    form.Unload();
    return 0;
}
