# Cross-compiling PLENWICKDLL.dll for 64-bit Windows (64-bit Java) with
# MinGW-w64, from the same sources as the 32-bit DLL. The posix-threads
# compilers give a C++ runtime with std::mutex (GoogleTest needs it). Tests
# run under Wine's 64-bit loader through the emulator wrapper.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# WINEARCH decides the architecture of the tree's Wine prefix when a test
# is the first to start Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEARCH=win64 ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
