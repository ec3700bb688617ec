# Cross-compiling the Linux library for 64-bit ARM (arm64) with Debian's
# cross toolchain, against the arm64 libraries that multiarch installs
# beside the machine's own (libcups2-dev:arm64 and alike). Its programs run
# under qemu-user, called with the arm64 loader's root explicitly, so no
# binfmt registration is needed.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# pkg-config reads the arm64 libraries' files only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
set(PLENWICK_DEB_ARCH arm64)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)
