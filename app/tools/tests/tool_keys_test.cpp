// The CSV export and the case tool opened by the main window's keys over
// its real list of LAME-encoded files: each shows modal over the window, and
// after a case run the list shows what the files now hold.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/foundation/settings.h"
#include "app/foundation/tags/win32/com_tag.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/mainwindow/frm_main.h"
#include "app/tools/case/win32/frm_case.h"
#include "app/tools/csv/win32/frm_csv.h"
#include "app/tools/tests/window_test_util.h"
#include "libs/tags/ID3v1/com/lumbrel.h"
#include "libs/tags/ID3v2/com/tesselor.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using namespace tooltest;
using forms::testing::PumpUntil;

TEST(ToolKeys, TheWindowOpensBothToolsAndReadsItsListAgainAfterACaseRun) {
    std::vector<std::string> boxes;
    forms::SetMsgBoxHook([&](const std::string& prompt, unsigned, const std::string&) {
        boxes.push_back(prompt);
        return IDOK;
    });
    OleInitialize(nullptr);
    Win32SettingsStore store;
    DeleteRegistryTree(store, kSettingsRootFullPath);
    const std::string data = WinPath(std::getenv("CORVELLA_MAIN_DATA")) + "\\three";
    const std::string folder = data + "_keys_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = folder + "\\01 - Track 1.mp3";
    ASSERT_TRUE(CopyFileA((data + "\\01 - Track 1.mp3").c_str(), file.c_str(), FALSE));
    cRegistry(store).SaveSetting(kHkeyCurrentUser, "Software\\Corvella\\Layout\\Main", "Folder", Variant::String(folder));
    com::ComPtr<_CID3v1> v1;
    com::ComPtr<_CID3v2> v2;
    ASSERT_HRESULT_SUCCEEDED(v1.Create(lumbrel::CLSID_CID3v1));
    ASSERT_HRESULT_SUCCEEDED(v2.Create(tesselor::CLSID_CID3v2));
    std::vector<std::string> genres{"Blues"};
    tags::ComTagPair pair(v1.Get(), v2.Get());
    {
        FrmMain f;
        f.SetShared({pair.Pair(), &genres});
        f.Show();
        ASSERT_TRUE(PumpUntil([&] { return !f.ListingRunning() && f.lvFiles.ListItems.Count() == 1; }, 30000));
        ASSERT_EQ(f.lvFiles.ListItems(1)->SubItem(1), "Morning Hush");
        FrmMain::ConnectTool("frmCase", OpenCaseTool);
        FrmMain::ConnectTool("frmCSV", OpenCsvTool);

        bool caseModal = false, csvModal = false;
        Later([&] {
            FrmCase& c = frmCase();
            caseModal = c.Visible() && !IsWindowEnabled(f.hWnd()) && c.Owner() == &f;
            c.Combo1.SetListIndex(1);  // "Upper Case"
            c.Combo3.SetListIndex(1);  // "All Files"
            c.Check1[0].SetValue(1);   // Title
            c.cmdMain[0].DoClick();
            c.cmdMain[1].DoClick();
        });
        f.RunCommand("btnCase");
        EXPECT_TRUE(caseModal);
        EXPECT_EQ(f.lvFiles.ListItems(1)->SubItem(1), "MORNING HUSH") << "the list shows the file's new title";

        Later([&] {
            FrmCSV& c = frmCSV();
            csvModal = c.Visible() && !IsWindowEnabled(f.hWnd()) && c.List1[0].ListCount() == 12;
            c.Command1[1].DoClick();
        });
        f.RunCommand("mnuComma");
        EXPECT_TRUE(csvModal);
        EXPECT_TRUE(boxes.empty());
        FrmMain::ConnectTool("frmCase", nullptr);
        FrmMain::ConnectTool("frmCSV", nullptr);
        f.Unload();
    }
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
    DeleteRegistryTree(store, kSettingsRootFullPath);
    forms::SetMsgBoxHook(nullptr);
}

}  // namespace
}  // namespace corvella
