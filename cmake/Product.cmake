# The Win32 side of the seam and the executable (Windows presets only).

# The control toolkit has a folder of its own, one file per control kind.
file(GLOB LR_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp platform/win32/ui/*.cpp)
list(FILTER LR_WIN32_SOURCES EXCLUDE REGEX "/runtime_throws\\.cpp$")
add_library(lumora_win32 STATIC ${LR_WIN32_SOURCES})
# Only the system's known DLLs (and comctl32 through the manifest's assembly) are imported:
# version.dll and shfolder.dll are loaded from the system folder at run time.
target_link_libraries(lumora_win32 PUBLIC lumora_core
  comctl32 shell32 ole32 advapi32 gdi32 user32 kernel32)

# Icons and cursor are drawn by a script in the tree; the .rc picks them up from here.
set(LR_ART_DIR ${CMAKE_BINARY_DIR}/art)
set(LR_ART_FILES ${LR_ART_DIR}/app.ico ${LR_ART_DIR}/repair16.ico ${LR_ART_DIR}/hand.cur)
# Debian's python3: it has python3-pefile for the product check (a python3 earlier on PATH may not).
find_program(LR_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_custom_command(OUTPUT ${LR_ART_FILES}
  COMMAND ${LR_PYTHON} ${CMAKE_SOURCE_DIR}/app/resources/art/make_art.py ${LR_ART_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/app/resources/art/make_art.py
  COMMENT "Drawing icons and cursor")
add_custom_target(lumora_art DEPENDS ${LR_ART_FILES})

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(LR_MANIFEST_ARCH amd64)
else()
  set(LR_MANIFEST_ARCH x86)
endif()
# The manifest goes into the exe without its comments and indentation (they are for readers).
file(READ app/resources/LumoraRepair.manifest.in LR_MANIFEST)
string(REGEX REPLACE "<!--[^>]*-->" "" LR_MANIFEST "${LR_MANIFEST}")
string(REGEX REPLACE "[ \n]+" " " LR_MANIFEST "${LR_MANIFEST}")
string(REPLACE "> <" "><" LR_MANIFEST "${LR_MANIFEST}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/LumoraRepair.manifest CONTENT "${LR_MANIFEST}" @ONLY)

# One object library for the resources, so the test programs carry the same text table.
set(LR_RC ${CMAKE_SOURCE_DIR}/app/resources/LumoraRepair.rc)
file(GLOB LR_RC_PARTS CONFIGURE_DEPENDS app/resources/*.rc app/resources/*.h platform/text_ids.h)
set_source_files_properties(${LR_RC} PROPERTIES
  OBJECT_DEPENDS "${LR_ART_FILES};${CMAKE_BINARY_DIR}/LumoraRepair.manifest;${LR_RC_PARTS}")
add_library(lumora_resources OBJECT ${LR_RC})
target_include_directories(lumora_resources PRIVATE
  ${CMAKE_SOURCE_DIR}/app/resources ${CMAKE_SOURCE_DIR} ${LR_ART_DIR} ${CMAKE_BINARY_DIR})
add_dependencies(lumora_resources lumora_art)

add_executable(LumoraRepair WIN32 entry/winmain.cpp platform/win32/runtime_throws.cpp
  $<TARGET_OBJECTS:lumora_resources>)
target_link_libraries(LumoraRepair PRIVATE lumora_win32)
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  target_link_options(LumoraRepair PRIVATE -s -Wl,--gc-sections)
endif()
add_custom_command(TARGET LumoraRepair POST_BUILD
  COMMAND sh -c "echo \"LumoraRepair.exe ($1): $(stat -c %s \"$2\") bytes\"" size
          ${CMAKE_SYSTEM_PROCESSOR} $<TARGET_FILE:LumoraRepair>
  VERBATIM)
