# Cross build for AArch64 Linux with Debian's cross compiler
# (apt-get install g++-aarch64-linux-gnu), producing static executables that
# need no loader or shared C library on the device.
#
#   cmake -S . -B build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
#   cmake --build build-aarch64 -j2 && ctest --test-dir build-aarch64
#
# or simply `cmake --workflow --preset aarch64` (CMakePresets.json).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(cross_triple aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${cross_triple}-gcc)
set(CMAKE_CXX_COMPILER ${cross_triple}-g++)

# Libraries and CMake packages come from the cross tree only, never from the
# build machine's /usr/lib. Extra cross-built prefixes (a GoogleTest built
# with this file, say) can be added with -DAPPLIST_CROSS_PREFIX=dir;dir.
set(CMAKE_FIND_ROOT_PATH /usr/${cross_triple} ${APPLIST_CROSS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Headers may also come from the build machine's /usr/include: Debian's cross
# compiler searches it itself, after its own tree, which is where header-only
# libraries such as uthash (uthash-dev) live. CMake leaves that directory off
# the command line because the compiler already searches it, so the cross
# C library headers always win over the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)

# Static executables: the binary is pushed to a phone on its own.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# CMake's convention for running target executables on the build machine:
# ctest then runs the tests under the emulator (apt-get install
# qemu-user-static). It is called explicitly, so no binfmt registration is
# needed. Without it the tool still builds, but ctest cannot run it.
find_program(APPLIST_QEMU_AARCH64 qemu-aarch64-static)
if(APPLIST_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${APPLIST_QEMU_AARCH64})
endif()
