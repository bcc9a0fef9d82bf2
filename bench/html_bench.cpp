// `make bench`: the tip pane's work for every tip of a 300-line tips file
// (assigning the wrapped tip, which lays it out, then painting it), against
// the same number of plain word-wrapped text draws of the same tips on a
// page of the same size. Prints both times; the last line is the ratio.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/controls/htmllabel/win32/html_label.h"

using corvella::htmllabel::HtmlLabel;

namespace {

const char* const kPhrases[] = {
    "Press <b>F5</b> to read every listed file again after another program changed it.",
    "Tick the files you want to change and press <b>Update</b>: only ticked rows are written.",
    "The <i>Quick Extract</i> tool fills tag fields from parts of the file name.",
    "Use <font color=\"#800000\">#Track#</font> and <font color=\"#800000\">#Title#</font> in the rename mask.",
    "Visit <a href=\"http://corvella.example/help\">the help pages</a> for more about masks and wizards.",
    "Both tag versions can be written in one step: tick <b>Update both</b> under the edit panel.",
};

std::string WrapTipHtml(const std::string& tip) {
    return "<html><head></head><body bgcolor=\"#FFFFFF\" text=\"#494949\"><font face=\"Tahoma\" size=\"2.5\">" + tip +
           "</font></body></html>";
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) {
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? atoi(argv[1]) : 20;
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "bench_tips.tip";
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 300; ++i)
            out << "Tip " << i + 1 << ": " << kPhrases[i % 6] << ' ' << kPhrases[(i * 7 + 3) % 6] << "\r\n";
    }
    std::vector<std::string> tips;
    {
        std::ifstream in(path, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            tips.push_back(line);
        }
    }
    DeleteFileA(path.c_str());

    struct TipForm : corvella::forms::Form {
        HtmlLabel label;
    } form;
    form.name = "frmBench";
    form.width = 10000;
    form.height = 3000;
    HtmlLabel& label = form.label;
    label.name = "HTMLLabel";
    label.width = corvella::forms::Screen.ToTwipsX(520);
    label.height = corvella::forms::Screen.ToTwipsY(90);
    label.borderStyle = 0;
    label.enableAnchors = true;
    bool made = false;
    form.CreateControls = [&] { made = label.Create(form); };
    if (!form.Load() || !made) return 1;
    form.Show();

    // The plain draws get a page and a font like the label's.
    HDC screen = GetDC(nullptr);
    HDC plain = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 520;
    bi.bmiHeader.biHeight = -90;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP page = CreateDIBSection(plain, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    SelectObject(plain, page);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
    SelectObject(plain, font);
    SetBkMode(plain, TRANSPARENT);
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));

    LARGE_INTEGER f, t0, t1, t2;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    for (int r = 0; r < rounds; ++r)
        for (const std::string& tip : tips) {
            label.SetDocumentHTML(WrapTipHtml(tip));
            label.Refresh(true);
        }
    QueryPerformanceCounter(&t1);
    for (int r = 0; r < rounds; ++r)
        for (const std::string& tip : tips) {
            RECT rc{0, 0, 520, 90};
            FillRect(plain, &rc, white);
            SetTextColor(plain, RGB(0x49, 0x49, 0x49));
            DrawTextA(plain, tip.data(), static_cast<int>(tip.size()), &rc, DT_WORDBREAK | DT_NOPREFIX);
            HDC view = GetDC(label.Viewport());  // and shown, as the label shows its page
            BitBlt(view, 0, 0, 520, 90, plain, 0, 0, SRCCOPY);
            ReleaseDC(label.Viewport(), view);
        }
    QueryPerformanceCounter(&t2);
    const double html = Seconds(t0, t1, f), text = Seconds(t1, t2, f);
    const int n = rounds * static_cast<int>(tips.size());
    printf("tips: %d laid out and painted in %.3f s (%.1f us each)\n", n, html, html * 1e6 / n);
    printf("plain text draws: %d in %.3f s (%.1f us each)\n", n, text, text * 1e6 / n);
    printf("ratio html/plain: %.2f (target at most 3)\n", text > 0 ? html / text : 0.0);
    form.Unload();
    DeleteObject(white);
    DeleteObject(font);
    DeleteDC(plain);
    DeleteObject(page);
    return 0;
}
