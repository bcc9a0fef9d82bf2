// The forms run-time in one include: App, Screen, MsgBox, DoEvents, Run,
// the error rules, forms, controls, timers and control arrays.
#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/runtime.h"
