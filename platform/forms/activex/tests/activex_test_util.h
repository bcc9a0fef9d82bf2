// The fixture of the hosted-control tests: the forms tests' message-box
// capture, inside an OLE apartment as the program starts one.
#pragma once

#include <ole2.h>

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::forms::testing {

struct OleApartment {
    OleApartment() { OleInitialize(nullptr); }
    ~OleApartment() { OleUninitialize(); }
};

class HostedControlTest : public FormsTest {
protected:
    OleApartment ole;
};

}  // namespace corvella::forms::testing
