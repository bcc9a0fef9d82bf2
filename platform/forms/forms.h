// The forms run-time in one include: App, Screen, MsgBox, DoEvents, Run,
// the error rules, forms, controls, timers and control arrays.
#pragma once

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/image_list.h"
#include "platform/forms/runtime.h"
