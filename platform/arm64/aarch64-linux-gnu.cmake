# Cross-building for 64-bit ARM Linux (a Raspberry Pi with a 64-bit
# Raspberry Pi OS, which is Debian 12) with Debian's cross compilers and
# its arm64 libraries, installed beside the machine's own (multiarch:
# scripts/setup.sh arm64).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(triple aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)

# Libraries, headers and CMake packages are arm64's, never the machine's
# own; programs are the machine's. pkg-config, which CMake asks for GLUT
# first, must read arm64's .pc files, or it names the amd64 library.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_LIBRARY_ARCHITECTURE ${triple})
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${triple}/pkgconfig:/usr/share/pkgconfig)

# The tests run the arm64 programs under QEMU's user-mode emulation, with
# the arm64 loader and libraries of the multiarch folders.
find_program(QEMU_AARCH64 qemu-aarch64-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_AARCH64})
