// The about box on a real window: its lines and its "&Ok".
#include <windows.h>

#include <gtest/gtest.h>

#include "app/mainwindow/about/frm_about.h"

namespace corvella {
namespace {

TEST(AboutBox, ShowsTheVersionAndTheYearsToNow) {
    EXPECT_EQ(AboutProductLine("Corvella", 2, 0, 17), "Velmora Corvella (2.0.17)");
    EXPECT_EQ(AboutYearLine(2031), "Copyright (C) 2004-2031 Velmora. All rights reserved.");

    FrmAbout& box = frmAbout();
    ASSERT_TRUE(box.Load());
    EXPECT_EQ(box.Caption(), "About...");
    EXPECT_EQ(box.Label1.Caption(), AboutProductLine(forms::App.Title(), forms::App.Major(), forms::App.Minor(),
                                                     forms::App.Revision()));
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_NE(box.Label3.Caption().find("-" + std::to_string(now.wYear) + " "), std::string::npos)
        << box.Label3.Caption();
    box.Show();
    box.cmdMain[0].DoClick();
    EXPECT_FALSE(box.Loaded());
}

}  // namespace
}  // namespace corvella
