#include "app/mainwindow/hand_over.h"

#include <windows.h>

#include <cstdio>

#include "app/mainwindow/frm_loading.h"

namespace corvella {

void LogHandOver(const std::string& event) {
    static const std::string path = [] {
        char buf[MAX_PATH + 1] = {};
        const DWORD n = GetEnvironmentVariableA("CORVELLA_HANDOVER_LOG", buf, sizeof buf);
        return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
    }();
    if (path.empty()) return;
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s\n", event.c_str());
        std::fclose(f);
    }
}

std::string SplashValue() {
    FrmLoading& splash = frmLoading();
    return splash.Loaded() ? std::to_string(splash.pLoading.Value()) : std::string("-");
}

}  // namespace corvella
