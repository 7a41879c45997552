# What both MinGW-w64 toolchains share; the toolchain files set `triplet` first.
set(CMAKE_SYSTEM_NAME Windows)
# LR_MINGW_THREADS picks the compiler variant. win32 for the product and its tests: it links
# no threads library, which the program does not use (GoogleTest gets what it lacks from
# tests/gtest_notification.h). posix (the default) for the 64-bit test build.
if(NOT DEFINED LR_MINGW_THREADS)
  set(LR_MINGW_THREADS posix)
endif()
if(NOT LR_MINGW_THREADS MATCHES "^(posix|win32)$")
  message(FATAL_ERROR "LR_MINGW_THREADS must be posix or win32, not '${LR_MINGW_THREADS}'")
endif()
set(CMAKE_C_COMPILER ${triplet}-gcc-${LR_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${triplet}-g++-${LR_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
