// Helpers of the forms tests: message boxes are captured instead of shown,
// and the tests pump messages themselves while they wait.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/forms.h"

namespace corvella::forms::testing {

struct ShownBox {
    std::string prompt;
    unsigned buttons = 0;
    std::string title;
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::vector<ShownBox> boxes;  // every message box, in order
};

// A form shown for the test, unloaded at the end.
struct TestForm : Form {
    TestForm() {
        name = "frmTest";
        width = 6000;
        height = 4500;
    }
    ~TestForm() override { Unload(); }
};

// Handles messages until done() holds or the time is up; false on time-out.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Pumps for about `ms` milliseconds.
void PumpFor(int ms);

// The notification a combo sends when the user picks an item.
void UserSelects(const ComboBox& combo, int at);

// Keys typed on the keyboard, through the system's input queue to the
// window with the focus, as a user types them: names separated by blanks,
// "Enter", "Esc", "Tab", "Alt", "F10", "Left", "Right", "Up", "Down", or a
// letter or digit; "Alt+H" holds Alt while H is typed, "Shift+Tab" and
// "Ctrl+Tab" Shift or Ctrl while Tab is. Returns once they are queued; the
// test waits for what they do.
void Type(const std::string& keys);

}  // namespace corvella::forms::testing
