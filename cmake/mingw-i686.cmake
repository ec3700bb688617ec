# Cross-compiling PLENWICKDLL.dll for 32-bit Windows with MinGW-w64. The
# posix-threads compilers give a C++ runtime with std::mutex (GoogleTest
# needs it). Tests run under Wine through the emulator wrapper.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# WINEARCH decides the architecture of the tree's Wine prefix when a test
# is the first to start Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEARCH=win32 ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
