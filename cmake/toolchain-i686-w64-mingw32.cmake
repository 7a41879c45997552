# The product: 32-bit Windows, because the components it probes and registers are 32-bit.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triplet i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Its tests run under the 32-bit Wine of an i386 chroot (scripts/wine32.sh --setup makes it):
# this kernel runs no 32-bit Linux program itself, qemu-user does.
get_filename_component(LR_WINE32 ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine32.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR sh ${LR_WINE32})
