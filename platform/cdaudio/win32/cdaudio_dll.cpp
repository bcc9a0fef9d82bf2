// cdaudio.dll: the exported calls over one component for the process. NT
// reaches its drives through the CD-ROM class driver, Windows 9x through
// WNASPI32.DLL; disc images follow either.
#include <windows.h>

#include "platform/cdaudio/cdaudio.h"
#include "platform/cdaudio/win32/component.h"

using namespace corvella::cdaudio;

namespace {

Drives RealDrives(int* error) {
    *error = kOk;
    if (GetVersion() & 0x80000000u) return AspiDrives("WNASPI32.DLL", error);
    return NtDrives();
}

// Never destroyed: its drives hold devices and libraries that must not be
// let go while the process detaches.
Component& The() {
    static Component* component = new Component(RealDrives, [] { return ImageDrives(); });
    return *component;
}

}  // namespace

CDAUDIO_API int GetNumAdapters(void) { return The().NumAdapters(); }
CDAUDIO_API int GetCDList(CDLIST* list) { return The().List(list); }
CDAUDIO_API unsigned char GetCDHandle(GETCDHAND* request) { return The().Open(request); }
CDAUDIO_API int CloseCDHandle(unsigned char handle) { return The().Close(handle); }
CDAUDIO_API void ModifyCDParms(unsigned char handle, int parm, unsigned long value) {
    The().Modify(handle, parm, value);
}
CDAUDIO_API int ReadTOC(unsigned char handle, TOC* toc) { return The().ReadToc(handle, toc); }
CDAUDIO_API int ReadCDAudioLBA(unsigned char handle, TRACKBUF* buf) { return The().ReadAudio(handle, buf); }
CDAUDIO_API int GetAspiLibError(void) { return The().LastError(); }
