# Cross-compiles for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu;
# the tests run the programs under qemu-user (Debian's qemu-user), with the
# target's C library from the cross sysroot.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# GoogleTest's build, made for the target from Debian's sources, enables C.
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(WORDGRID_AARCH64_SYSROOT /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH ${WORDGRID_AARCH64_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L ${WORDGRID_AARCH64_SYSROOT})
