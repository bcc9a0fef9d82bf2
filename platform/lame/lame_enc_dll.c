/* lame_enc.dll: the encoder's own DLL front end, built from its copy with
   the settings record packed under GCC as well (see CMakeLists.txt). */
#include <windows.h>

/* The front end reports a bad settings record in a message box of its own;
   the program reports the failed call itself, and a rip must never stop
   to wait for a click inside the encoder. */
#define MessageBoxA(owner, text, caption, flags) ((void)(text), 0)

#include "BladeMP3EncDLL.c"

_Static_assert(sizeof(BE_CONFIG) == 331, "BE_CONFIG is 331 bytes");
