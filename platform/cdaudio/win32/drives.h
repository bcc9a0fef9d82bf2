// The drives the component offers, whatever reaches them: a CD-ROM drive
// through the NT device calls or through an ASPI manager, or a disc image.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdaudio {

class Drive {
public:
    virtual ~Drive() = default;
    // The record's id, vendor and product; ha:tgt:lun are set by the list.
    CDREC record{};
    // Each returns 0 or an error code.
    virtual int Open() = 0;
    virtual int ReadToc(bool msf, TOC* toc) = 0;
    virtual int Read(uint32_t start, uint32_t count, uint8_t* out, uint32_t* got) = 0;
    virtual void Close() = 0;
};

using Drives = std::vector<std::shared_ptr<Drive>>;

// Fills the record's text fields (cut to their width).
void Describe(CDREC* record, const std::string& id, const std::string& vendor = {},
              const std::string& product = {}, const std::string& revision = {});

// CD-ROM drives by drive letter, opened as \\.\X:.
Drives NtDrives();

// CD-ROM devices of the ASPI manager in `dll`; *error gets -1 to -3 when
// the manager cannot be loaded or lacks its calls, 0 otherwise.
Drives AspiDrives(const char* dll, int* error);

// The images listed in CORVELLA_DISC_IMAGES, else in "Disc Images" under
// HKEY_CURRENT_USER\Software\Corvella\Options\CD Audio; paths split at ";".
// An image that cannot be read is left out.
Drives ImageDrives();
// The same for a given list (the test's way in).
Drives ImageDrives(const std::string& list);

}  // namespace corvella::cdaudio
