// The program's layer over the CD component: one drive open at a time, its
// handle and table of contents program-wide.
#pragma once

#include <cstdint>
#include <string>

#include "app/cdrip/core/cd_toc.h"
#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdrip {

// The open drive's handle (0 = none) and its table of contents.
extern uint32_t CDHandle;
extern cdaudio::TOC TOC;

// Drive record `index` (0 to 7) of the component's list; another index is
// std::out_of_range.
cdaudio::CDREC GetCDInfo(int index);

// Opens drive `index` and reads its table of contents, addresses as frame
// numbers. The TOC is emptied first; on any failure the drive is let go,
// CDHandle is 0 and the TOC stays empty, and AKRipErrorText gives why.
bool OpenCDDrive(int index);

// Closes the open drive; the component's result. CDHandle is 0 afterwards.
int16_t CloseCDDrive();

// The message for the component's last failure.
std::string AKRipErrorText();

}  // namespace corvella::cdrip
