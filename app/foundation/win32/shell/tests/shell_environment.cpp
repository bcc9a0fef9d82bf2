// The shell tests run inside an OLE apartment, with the common controls'
// progress and bar classes registered, as the program runs.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

namespace corvella {
namespace shell {
namespace {

class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void TearDown() override { OleUninitialize(); }
};
::testing::Environment* const kOle = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

}  // namespace
}  // namespace shell
}  // namespace corvella
