# 32-bit Windows, as the program ships. The win32 thread-model compilers: the
# -posix ones link a thread library that imports calls Windows XP and older
# lack (GetTickCount64, AddVectoredExceptionHandler, TryEnterCriticalSection),
# so nothing built with them would load there. The tests use the same
# compilers, so they run against the very code that ships; GoogleTest takes
# its Win32 mutex (gtest_disable_pthreads), and tests start threads with
# CreateThread, not std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CORVELLA_WIDL i686-w64-mingw32-widl)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
