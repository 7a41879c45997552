# Tests that run under Wine: wine64 for win64, the 32-bit Wine of the i386 chroot for win32
# (the toolchain's emulator, scripts/wine32.sh). One throw-away prefix per ctest run, made by
# the first test.

set(LR_WINE ${CMAKE_CROSSCOMPILING_EMULATOR})
set(LR_WINE_PREFIX_SCRIPT sh ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The chroot's own prefix, one per build folder (work trees may share the chroot).
  set(LR_WINEPREFIX /root/lr-prefixes${CMAKE_BINARY_DIR})
  set(LR_WINE_PREFIX_SCRIPT ${LR_WINE} --exec ${LR_WINE_PREFIX_SCRIPT})
  set(LR_WINE_ENV "WINEPREFIX=${LR_WINEPREFIX}" "WINEARCH=win32")
else()
  set(LR_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(LR_WINE_ENV "WINEPREFIX=${LR_WINEPREFIX}")
endif()
list(APPEND LR_WINE_ENV "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=")

add_test(NAME wine_prefix COMMAND ${LR_WINE_PREFIX_SCRIPT} ${LR_WINEPREFIX})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300
  ENVIRONMENT "${LR_WINE_ENV}")
# Its wineserver and Wine's own programs end with the run instead of a minute later.
add_test(NAME wine_end COMMAND ${LR_WINE_PREFIX_SCRIPT} --end ${LR_WINEPREFIX})
set_tests_properties(wine_end PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60
  ENVIRONMENT "${LR_WINE_ENV}")

# Every Wine test asks for the prefix and for English unless it says otherwise.
function(lr_wine_test_properties)
  set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine
    ENVIRONMENT "${LR_WINE_ENV};LANG=en_US.UTF-8;LC_ALL=")
endfunction()

gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${LR_WINE_ENV};LANG=en_US.UTF-8;LC_ALL=")

# The real platform: Win32 implementations against Wine's registry, files and loader.
file(GLOB LR_PLATFORM_SOURCES CONFIGURE_DEPENDS platform/*.cpp)
add_executable(platform_tests ${LR_PLATFORM_SOURCES} $<TARGET_OBJECTS:lumora_resources>)
target_link_libraries(platform_tests PRIVATE lumora_win32 ${LR_GTEST_MAIN})
target_include_directories(platform_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
gtest_discover_tests(platform_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${LR_WINE_ENV};LANG=en_US.UTF-8;LC_ALL=")
# The same binary once more with a German user: the language-bound tests check themselves.
add_test(NAME platform_tests_german COMMAND ${LR_WINE} $<TARGET_FILE:platform_tests>)
set_tests_properties(platform_tests_german PROPERTIES FIXTURES_REQUIRED wine
  ENVIRONMENT "${LR_WINE_ENV};LANG=de_DE.UTF-8;LC_ALL=")

# The real window in-process: the Win32 toolkit and frmLumoraRepair inside a test program.
# One window at a time on one display: serial, like the end-to-end scenarios.
file(GLOB LR_WINDOW_SOURCES CONFIGURE_DEPENDS window/*.cpp snapshots/*.cpp)
add_executable(window_tests ${LR_WINDOW_SOURCES} $<TARGET_OBJECTS:lumora_resources>)
target_link_libraries(window_tests PRIVATE lumora_win32 ${LR_GTEST_MAIN})
target_include_directories(window_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# Wine's browser for the window test's links: it notes each address it is given.
set(LR_BROWSER ${CMAKE_CURRENT_BINARY_DIR}/browser)
file(MAKE_DIRECTORY ${LR_BROWSER})
file(WRITE ${LR_BROWSER}/browser.sh "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n")
file(CHMOD ${LR_BROWSER}/browser.sh PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ WORLD_READ)
target_compile_definitions(window_tests PRIVATE LR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" LR_BROWSER_DIR="${LR_BROWSER}")
gtest_discover_tests(window_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX window.
  PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON ENVIRONMENT "${LR_WINE_ENV};LANG=en_US.UTF-8;LC_ALL=")

# Readable in every setting: the window test Readable.* (English, test prefix) once more in
# German, and both in a prefix with Wine's default fonts alone; each run goes over the DPIs.
add_test(NAME wine_plain_prefix
  COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh ${LR_WINEPREFIX}-plain plain)
set_tests_properties(wine_plain_prefix PROPERTIES FIXTURES_SETUP wine_plain TIMEOUT 300
  ENVIRONMENT "WINEPREFIX=${LR_WINEPREFIX}-plain;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
foreach(setting "test;de_DE" "plain;en_US" "plain;de_DE")
  list(GET setting 0 fonts)
  list(GET setting 1 language)
  set(prefix ${LR_WINEPREFIX})
  set(fixture wine)
  if(fonts STREQUAL "plain")
    set(prefix ${LR_WINEPREFIX}-plain)
    set(fixture wine_plain)
  endif()
  add_test(NAME window.Readable.${fonts}_${language}
    COMMAND ${LR_WINE} $<TARGET_FILE:window_tests> --gtest_filter=Readable.*)
  set_tests_properties(window.Readable.${fonts}_${language} PROPERTIES FIXTURES_REQUIRED ${fixture} RUN_SERIAL ON
    ENVIRONMENT "WINEPREFIX=${prefix};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;LANG=${language}.UTF-8;LC_ALL=;LR_FONTS=${fonts}")
endforeach()

# The registration check after a re-register run, and the snapshots, once more with a German user.
add_test(NAME window.de_DE
  COMMAND ${LR_WINE} $<TARGET_FILE:window_tests>
    --gtest_filter=RealWindow.ReRegisterShowsTheClassReachingItsFile:RealSnapshots.*)
set_tests_properties(window.de_DE PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON
  ENVIRONMENT "${LR_WINE_ENV};LANG=de_DE.UTF-8;LC_ALL=")

# The registration workers are the product's exe, started as the window starts them; with
# LR_AS_XP set, its twin that takes Windows XP's way as the test programs then do.
add_executable(LumoraRepairXP WIN32 ${CMAKE_SOURCE_DIR}/entry/winmain.cpp
  ${CMAKE_SOURCE_DIR}/platform/win32/runtime_throws.cpp as_xp.cpp $<TARGET_OBJECTS:lumora_resources>)
target_link_libraries(LumoraRepairXP PRIVATE lumora_win32)
# Under the product's own name, as the tests count the workers by it.
set_target_properties(LumoraRepairXP PROPERTIES OUTPUT_NAME LumoraRepair RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/xp)
foreach(user platform_tests window_tests)
  target_sources(${user} PRIVATE as_xp.cpp)
  target_compile_definitions(${user} PRIVATE LR_PRODUCT_EXE="$<TARGET_FILE:LumoraRepair>"
    LR_PRODUCT_XP_EXE="$<TARGET_FILE:LumoraRepairXP>")
  add_dependencies(${user} LumoraRepair LumoraRepairXP)
endforeach()

# A C++ library error inside a handler reaches the user as a message: a window linked as the
# exe is (with its stand-ins for the library's error helpers) writes the box it showed.
add_executable(library_error WIN32 library_error.cpp ${CMAKE_SOURCE_DIR}/platform/win32/runtime_throws.cpp
  $<TARGET_OBJECTS:lumora_resources>)
target_link_libraries(library_error PRIVATE lumora_win32)
add_test(NAME library_error_shown COMMAND ${LR_WINE} $<TARGET_FILE:library_error>)
set_tests_properties(library_error_shown PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON TIMEOUT 120
  ENVIRONMENT "${LR_WINE_ENV};LANG=en_US.UTF-8;LC_ALL="
  PASS_REGULAR_EXPRESSION "basic_string::at: __n \\(which is 5\\) >= this->size\\(\\) \\(which is 2\\)")

# Windows XP's way: every function of a later Windows reported missing, in the test programs
# and their workers. The platform tests whole, and the real window with its real workers.
add_test(NAME platform_tests_as_xp COMMAND ${LR_WINE} $<TARGET_FILE:platform_tests>)
set_tests_properties(platform_tests_as_xp PROPERTIES FIXTURES_REQUIRED wine
  ENVIRONMENT "${LR_WINE_ENV};LANG=en_US.UTF-8;LC_ALL=;LR_AS_XP=1")
add_test(NAME window.as_xp COMMAND ${LR_WINE} $<TARGET_FILE:window_tests> --gtest_filter=RealWindow.*)
set_tests_properties(window.as_xp PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON
  ENVIRONMENT "${LR_WINE_ENV};LANG=en_US.UTF-8;LC_ALL=;LR_AS_XP=1")

add_subdirectory(e2e)
