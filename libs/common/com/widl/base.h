// Stands for the header widl would write for base.idl, which only restates
// the automation declarations for widl's sake: a generated interface header
// that includes <base.h> gets the system's own.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
